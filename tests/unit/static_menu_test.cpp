#include "menu/static_menu.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {
std::vector<StaticItem> defaults(const std::vector<StaticMenuItem>& items) {
  std::vector<StaticItem> out;
  for (const auto& item : items)
    if (item.isDefault) out.push_back(item.item);
  return out;
}
}  // namespace

TEST(StaticMenu, OrderCaptionsAndDefaultItemPerAction) {
  StaticMenuState state;
  const auto items = staticMenuItems(state);
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items[0].caption, "启动任务管理器(&T)");
  EXPECT_EQ(items[0].tag, kTagTaskManager);
  EXPECT_TRUE(items[1].isSeparator());
  EXPECT_EQ(items[2].caption, "内存碎片整理(&D)");
  EXPECT_EQ(items[3].caption, "内存历史(&H)");
  EXPECT_EQ(items[3].tag, 0);
  EXPECT_TRUE(items[3].visible);
  EXPECT_EQ(items[4].caption, "显示日志(&S)");
  EXPECT_EQ(items[6].caption, "设置(&S)");
  EXPECT_EQ(items[7].caption, "关于(&A)");
  EXPECT_EQ(items[9].caption, "退出(&E)");

  EXPECT_EQ(defaults(items), std::vector{StaticItem::LaunchTaskManager1});
  state.doubleClickAction = 1;
  EXPECT_EQ(defaults(staticMenuItems(state)), std::vector{StaticItem::MemoryDefragmenter1});
  state.doubleClickAction = 3;
  EXPECT_EQ(defaults(staticMenuItems(state)), std::vector{StaticItem::Settings1});
  state.doubleClickAction = 8;
  EXPECT_EQ(defaults(staticMenuItems(state)), std::vector{StaticItem::MemoryHistory1});
  for (int action : {2, 4, 5, 6, 7, 9, -1}) {
    state.doubleClickAction = action;
    EXPECT_TRUE(defaults(staticMenuItems(state)).empty()) << action;
  }
}

TEST(StaticMenu, ShowLogFollowsWriteLogAndShortcutGoesOnRelease) {
  StaticMenuState state;
  state.releaseShortcutText = "Ctrl+Alt+M";
  auto items = staticMenuItems(state);
  EXPECT_FALSE(items[4].visible);
  EXPECT_EQ(items[2].shortcutText, "Ctrl+Alt+M");
  EXPECT_EQ(items[0].shortcutText, "");
  state.writeLog = true;
  items = staticMenuItems(state);
  EXPECT_TRUE(items[4].visible);
  // Only the release item is greyed while a release runs.
  EXPECT_TRUE(items[2].enabled);
  state.releaseEnabled = false;
  items = staticMenuItems(state);
  for (const auto& item : items) EXPECT_EQ(item.enabled, item.item != StaticItem::MemoryDefragmenter1);
}
