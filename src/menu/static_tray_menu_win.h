#pragma once
// The static items of the tray menu, PopupMenu1, and the few things other features change on
// them: the bold default item, the release command's state and shortcut text, and whether the
// show-log item is there. The generated process and memory sections are built elsewhere.

#include <windows.h>

#include <cstdint>
#include <string>

namespace kelvane {

enum TrayMenuCommand : UINT {
  kCmdLaunchTaskManager1 = 0x1001,
  kCmdMemoryDefragmenter1 = 0x1002,
  kCmdMneShowLog = 0x1003,
  kCmdSettings1 = 0x1004,
  kCmdAbout1 = 0x1005,
  kCmdClose1 = 0x1006,
};

// A new popup menu with the static items in their order; the caller owns it (DestroyMenu).
HMENU CreateStaticTrayMenu();

// Marks the item of the double-click action as default (bold), or none.
void InitDefaultMenu(HMENU menu, std::int32_t doubleClickAction);

// The show-log item is in the menu only while the log is written.
void SetShowLogVisible(HMENU menu, bool visible);

void SetMemoryDefragmenterEnabled(HMENU menu, bool enabled);

// Shows `shortcut` ("Alt+A", or empty for none) beside the release item's caption.
void SetMemoryDefragmenterShortcut(HMENU menu, const std::string& shortcut);

}  // namespace kelvane
