#include "menu/static_tray_menu_win.h"

#include "actions/double_click.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

constexpr const char* kShowLogCaption = "显示日志(&S)";
constexpr const char* kReleaseCaption = "内存碎片整理(&D)";

void appendItem(HMENU menu, UINT command, const char* caption) {
  AppendMenuW(menu, MF_STRING, command, Utf8ToWide(caption).c_str());
}

bool hasItem(HMENU menu, UINT command) {
  return GetMenuState(menu, command, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

}  // namespace

HMENU CreateStaticTrayMenu() {
  HMENU menu = CreatePopupMenu();
  appendItem(menu, kCmdLaunchTaskManager1, "启动任务管理器(&T)");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);  // N1
  appendItem(menu, kCmdMemoryDefragmenter1, kReleaseCaption);
  appendItem(menu, kCmdMneShowLog, kShowLogCaption);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);  // N2
  appendItem(menu, kCmdSettings1, "设置(&S)");
  appendItem(menu, kCmdAbout1, "关于(&A)");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);  // N4
  appendItem(menu, kCmdClose1, "退出(&E)");
  SetMenuDefaultItem(menu, kCmdLaunchTaskManager1, FALSE);
  return menu;
}

void InitDefaultMenu(HMENU menu, std::int32_t doubleClickAction) {
  switch (DefaultMenuItemFor(doubleClickAction)) {
    case DefaultMenuItem::LaunchTaskManager: SetMenuDefaultItem(menu, kCmdLaunchTaskManager1, FALSE); break;
    case DefaultMenuItem::MemoryDefragmenter: SetMenuDefaultItem(menu, kCmdMemoryDefragmenter1, FALSE); break;
    case DefaultMenuItem::Settings: SetMenuDefaultItem(menu, kCmdSettings1, FALSE); break;
    case DefaultMenuItem::None: SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE); break;
  }
}

void SetShowLogVisible(HMENU menu, bool visible) {
  const bool present = hasItem(menu, kCmdMneShowLog);
  if (!visible && present) {
    DeleteMenu(menu, kCmdMneShowLog, MF_BYCOMMAND);
    return;
  }
  if (!visible || present) return;
  // Its place is right after the release item.
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (GetMenuItemID(menu, i) == kCmdMemoryDefragmenter1) {
      InsertMenuW(menu, static_cast<UINT>(i + 1), MF_BYPOSITION | MF_STRING, kCmdMneShowLog,
                  Utf8ToWide(kShowLogCaption).c_str());
      return;
    }
  }
}

void SetMemoryDefragmenterEnabled(HMENU menu, bool enabled) {
  EnableMenuItem(menu, kCmdMemoryDefragmenter1, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void SetMemoryDefragmenterShortcut(HMENU menu, const std::string& shortcut) {
  std::string caption = kReleaseCaption;
  if (!shortcut.empty()) caption += "\t" + shortcut;
  const std::wstring text = Utf8ToWide(caption);
  MENUITEMINFOW item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  item.dwTypeData = const_cast<wchar_t*>(text.c_str());
  SetMenuItemInfoW(menu, kCmdMemoryDefragmenter1, FALSE, &item);
}

}  // namespace kelvane
