#include <gtest/gtest.h>

#include "common/version_text.h"
#include "common/window_placement.h"

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

// The primary monitor with Wine's 20-pixel taskbar at its bottom, and a larger one to its right.
namespace {
const MonitorArea kPrimary{{0, 0, 1024, 768}, {0, 0, 1024, 748}};
const MonitorArea kSecondary{{1024, -100, 2304, 924}, {1024, -100, 2304, 884}};
const std::vector<MonitorArea> kMonitors{kPrimary, kSecondary};
const Rect kTaskbar{0, 748, 1024, 768};
Rect dialogAt(int left, int top) { return {left, top, left + 470, top + 300}; }
}  // namespace

TEST(DialogPlacement, TheMonitorAWindowBelongsToAndItsWorkArea) {
  EXPECT_EQ(monitorOf(kMonitors, {1000, 100, 1200, 200}), 1u);  // mostly on the second
  EXPECT_EQ(monitorOf(kMonitors, {900, 100, 1100, 200}), 0u);
  EXPECT_EQ(monitorOf(kMonitors, {2400, 0, 2500, 100}), 1u);   // off all: the nearest
  EXPECT_EQ(monitorOf(kMonitors, {100, -300, 200, -200}), 0u);
  EXPECT_EQ(keepInside(dialogAt(100, 100), kPrimary.work), dialogAt(100, 100));
  EXPECT_EQ(keepInside(dialogAt(587, 430), kPrimary.work), dialogAt(554, 430));
  EXPECT_EQ(keepInside(dialogAt(-40, 600), kPrimary.work), dialogAt(0, 448));
  // Larger than the work area: the caption stays on the screen.
  EXPECT_EQ(keepInside({-96, -72, 1004, 728}, kPrimary.work), (Rect{0, 0, 1100, 800}));
}

TEST(DialogPlacement, CentredOnTheTraysMonitorOverAShownOwnerOrNextToTheTray) {
  // The question where Wine put it, at its hidden owner's corner half beyond the screen.
  DialogFacts facts{dialogAt(587, 430), std::nullopt, kTaskbar, kMonitors};
  EXPECT_EQ(placeDialog(facts, DialogPlace::Centred), dialogAt(277, 224));
  EXPECT_EQ(placeDialog(facts, DialogPlace::OverOwner), dialogAt(277, 224));
  EXPECT_EQ(placeDialog(facts, DialogPlace::NearTray), dialogAt(534, 428));
  facts.visibleOwner = Rect{2100, 700, 2300, 880};  // shown near the second monitor's corner
  EXPECT_EQ(placeDialog(facts, DialogPlace::OverOwner), dialogAt(1834, 584));
  EXPECT_EQ(placeDialog(facts, DialogPlace::Centred), dialogAt(277, 224));  // the question's rule
  facts.taskbar = Rect{1024, 884, 2304, 924};  // the taskbar on the second monitor
  EXPECT_EQ(placeDialog(facts, DialogPlace::Centred), dialogAt(1429, 242));
  facts.taskbar = Rect{1024, -100, 1084, 924};  // along its left edge
  const MonitorArea leftBar{kSecondary.monitor, {1084, -100, 2304, 924}};
  facts.monitors = {kPrimary, leftBar};
  EXPECT_EQ(placeDialog(facts, DialogPlace::NearTray), dialogAt(1104, 604));
  // Without a taskbar: the primary monitor is the tray's, and the corner is unknown.
  facts = {dialogAt(-50, 700), std::nullopt, std::nullopt, kMonitors};
  EXPECT_EQ(placeDialog(facts, DialogPlace::Centred), dialogAt(277, 224));
  EXPECT_EQ(placeDialog(facts, DialogPlace::NearTray), dialogAt(0, 448));
}
