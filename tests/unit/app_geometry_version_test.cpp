#include <gtest/gtest.h>

#include "common/window_placement.h"
#include "app/version_text.h"

using namespace kelvane;

TEST(VersionText, FourPartsOnly) {
  EXPECT_EQ(VersionText("2.4.0.0"), "2.4");
  EXPECT_EQ(VersionText("2.4.1.0"), "2.41");
  EXPECT_EQ(VersionText("2.4.0.3"), "2.4 SR3");
  EXPECT_EQ(VersionText("2.4.1.3"), "2.41 SR3");
  EXPECT_EQ(VersionText("1.0.12.0"), "1.012");
  EXPECT_EQ(VersionText("2.4.1"), "");
  EXPECT_EQ(VersionText("2.4.1.3.5"), "");
  EXPECT_EQ(VersionText(""), "");
  EXPECT_EQ(VersionText("2.x.1.3"), "");
  EXPECT_EQ(VersionText("2..1.3"), "");
  EXPECT_EQ(VersionText("-2.4.1.3"), "");
}

TEST(TrayPlacement, EdgeFromTheTaskbarRectangle) {
  const Rect screen{0, 0, 1024, 768};
  EXPECT_EQ(TaskbarEdge({0, 728, 1024, 768}, screen), TaskbarEdgeKind::Bottom);
  EXPECT_EQ(TaskbarEdge({0, 0, 1024, 40}, screen), TaskbarEdgeKind::Top);
  EXPECT_EQ(TaskbarEdge({0, 0, 60, 768}, screen), TaskbarEdgeKind::Left);
  EXPECT_EQ(TaskbarEdge({964, 0, 1024, 768}, screen), TaskbarEdgeKind::Right);
  // Auto-hidden taskbars stick out by a pixel or two beyond the screen.
  EXPECT_EQ(TaskbarEdge({-2, 766, 1026, 806}, screen), TaskbarEdgeKind::Bottom);
  EXPECT_EQ(TaskbarEdge({-60, -2, 2, 770}, screen), TaskbarEdgeKind::Left);
  // A bottom bar that does not reach the right edge of the screen is not recognised.
  EXPECT_EQ(TaskbarEdge({0, 728, 800, 768}, screen), TaskbarEdgeKind::None);
}

TEST(TrayPlacement, CornerNextToTheTaskbar) {
  const Rect work{0, 0, 1024, 728};
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Bottom, work, 300, 200), (Point{704, 508}));
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Right, {0, 0, 964, 768}, 300, 200), (Point{644, 548}));
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Top, {0, 40, 1024, 768}, 300, 200), (Point{704, 50}));
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Left, {60, 0, 1024, 768}, 300, 200), (Point{80, 548}));
  EXPECT_FALSE(placeNearTray(TaskbarEdgeKind::None, work, 300, 200).has_value());
}

// Two monitors: the primary with Wine's 20-pixel taskbar at its bottom, and a larger one to its
// right, reaching higher.
namespace {
const MonitorArea kPrimary{{0, 0, 1024, 768}, {0, 0, 1024, 748}};
const MonitorArea kSecondary{{1024, -100, 2304, 924}, {1024, -100, 2304, 884}};
const std::vector<MonitorArea> kMonitors{kPrimary, kSecondary};
const Rect kPrimaryTaskbar{0, 748, 1024, 768};
Rect dialogAt(int left, int top) { return {left, top, left + 470, top + 300}; }
}  // namespace

TEST(DialogPlacement, AnAreaBelongsToTheMonitorItOverlapsMostOrElseTheNearest) {
  EXPECT_EQ(monitorOf(kMonitors, {1000, 100, 1200, 200}), 1u);
  EXPECT_EQ(monitorOf(kMonitors, {900, 100, 1100, 200}), 0u);
  EXPECT_EQ(monitorOf(kMonitors, {2400, 0, 2500, 100}), 1u);   // right of the second
  EXPECT_EQ(monitorOf(kMonitors, {100, -300, 200, -200}), 0u);  // above the primary
  EXPECT_EQ(monitorOf({kPrimary}, {5000, 5000, 5100, 5100}), 0u);
}

TEST(DialogPlacement, KeptWhollyInsideTheWorkAreaOrWithItsCaptionInside) {
  const Rect work = kPrimary.work;
  EXPECT_EQ(keepInside(dialogAt(100, 100), work), dialogAt(100, 100));
  EXPECT_EQ(keepInside(dialogAt(587, 430), work), dialogAt(554, 430));
  EXPECT_EQ(keepInside(dialogAt(-40, 600), work), dialogAt(0, 448));
  EXPECT_EQ(keepInside({-96, -72, 1004, 728}, work), (Rect{0, 0, 1100, 800}));
}

TEST(DialogPlacement, TheQuestionOpensInTheMiddleOfTheTraysMonitorWhereverItsOwnerIs) {
  // Where the question appeared at the hidden owner's corner, half beyond the screen's edge.
  DialogFacts question{dialogAt(587, 430), std::nullopt, kPrimaryTaskbar, kMonitors};
  EXPECT_EQ(placeDialog(question, DialogPlace::Centred), dialogAt(277, 224));
  EXPECT_EQ(placeDialog(question, DialogPlace::OverOwner), dialogAt(277, 224));  // no owner on the screen
  question.visibleOwner = Rect{2100, 700, 2300, 880};
  EXPECT_EQ(placeDialog(question, DialogPlace::Centred), dialogAt(277, 224));
  question.taskbar = Rect{1024, 884, 2304, 924};
  EXPECT_EQ(placeDialog(question, DialogPlace::Centred), dialogAt(1429, 242));
  // Without a taskbar the primary monitor is the tray's.
  question.taskbar.reset();
  EXPECT_EQ(placeDialog(question, DialogPlace::Centred), dialogAt(277, 224));
}

TEST(DialogPlacement, OverAVisibleOwnerInsideTheOwnersMonitor) {
  const DialogFacts notice{dialogAt(0, 0), Rect{2100, 700, 2300, 880}, kPrimaryTaskbar, kMonitors};
  EXPECT_EQ(placeDialog(notice, DialogPlace::OverOwner), dialogAt(1834, 584));
  const DialogFacts overOptions{dialogAt(0, 0), Rect{300, 200, 700, 600}, kPrimaryTaskbar, kMonitors};
  EXPECT_EQ(placeDialog(overOptions, DialogPlace::OverOwner), dialogAt(265, 250));
}

TEST(DialogPlacement, NearTheTrayInTheCornerOfTheTaskbarsMonitor) {
  DialogFacts process{dialogAt(0, 0), std::nullopt, kPrimaryTaskbar, kMonitors};
  EXPECT_EQ(placeDialog(process, DialogPlace::NearTray), dialogAt(534, 428));
  // Larger than the work area (a high DPI on a small screen): the caption stays on the screen.
  process.window = {0, 0, 1100, 800};
  EXPECT_EQ(placeDialog(process, DialogPlace::NearTray), (Rect{0, 0, 1100, 800}));
  // The taskbar on the left edge of the second monitor.
  const MonitorArea leftBar{kSecondary.monitor, {1084, -100, 2304, 924}};
  process = {dialogAt(0, 0), std::nullopt, Rect{1024, -100, 1084, 924}, {kPrimary, leftBar}};
  EXPECT_EQ(placeDialog(process, DialogPlace::NearTray), dialogAt(1104, 604));
  // No taskbar: it stays where it is, brought inside the monitor it is on.
  process = {dialogAt(-50, 700), std::nullopt, std::nullopt, kMonitors};
  EXPECT_EQ(placeDialog(process, DialogPlace::NearTray), dialogAt(0, 448));
}
