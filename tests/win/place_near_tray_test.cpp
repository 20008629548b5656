#include "common/window_placement_win.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(PlaceNearTray, BottomRightCornerOfTheWorkAreaUnderWinesTaskbar) {
  // Any window makes the Wine desktop start its taskbar.
  HWND window = CreateWindowExW(0, L"STATIC", L"placement", WS_POPUP, 5, 5, 300, 200, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  for (int i = 0; i < 50 && !FindWindowW(L"Shell_TrayWnd", nullptr); ++i) Sleep(100);
  ASSERT_NE(FindWindowW(L"Shell_TrayWnd", nullptr), nullptr);
  EXPECT_EQ(TaskbarEdge(), TaskbarEdgeKind::Bottom);
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  PlaceNearTray(window);
  RECT placed{};
  GetWindowRect(window, &placed);
  EXPECT_EQ(placed.left, work.right - 300 - 20);
  EXPECT_EQ(placed.top, work.bottom - 200 - 20);
  EXPECT_EQ(placed.right - placed.left, 300);
  DestroyWindow(window);
}
