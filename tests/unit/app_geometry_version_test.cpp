#include <gtest/gtest.h>

#include "common/tray_placement.h"
#include "common/version_text.h"

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
  const int W = 1024, H = 768;
  EXPECT_EQ(TaskbarEdge({0, 728, 1024, 768}, W, H), TaskbarEdgeKind::Bottom);
  EXPECT_EQ(TaskbarEdge({0, 0, 1024, 40}, W, H), TaskbarEdgeKind::Top);
  EXPECT_EQ(TaskbarEdge({0, 0, 60, 768}, W, H), TaskbarEdgeKind::Left);
  EXPECT_EQ(TaskbarEdge({964, 0, 1024, 768}, W, H), TaskbarEdgeKind::Right);
  // Auto-hidden taskbars stick out by a pixel or two beyond the screen.
  EXPECT_EQ(TaskbarEdge({-2, 766, 1026, 806}, W, H), TaskbarEdgeKind::Bottom);
  EXPECT_EQ(TaskbarEdge({-60, -2, 2, 770}, W, H), TaskbarEdgeKind::Left);
  // A bottom bar that does not reach the right edge of the screen is not recognised.
  EXPECT_EQ(TaskbarEdge({0, 728, 800, 768}, W, H), TaskbarEdgeKind::None);
}

TEST(TrayPlacement, CornerNextToTheTaskbar) {
  const Rect work{0, 0, 1024, 728};
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Bottom, work, 300, 200), (Point{704, 508}));
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Right, {0, 0, 964, 768}, 300, 200), (Point{644, 548}));
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Top, {0, 40, 1024, 768}, 300, 200), (Point{704, 50}));
  EXPECT_EQ(placeNearTray(TaskbarEdgeKind::Left, {60, 0, 1024, 768}, 300, 200), (Point{80, 548}));
  EXPECT_FALSE(placeNearTray(TaskbarEdgeKind::None, work, 300, 200).has_value());
}
