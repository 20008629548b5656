#pragma once
// PopupMenu1, the tray menu, built from the core's item list each time it is shown.

#include <windows.h>

#include <optional>

#include "menu/static_menu.h"

namespace kelvane {

UINT commandIdOf(StaticItem item);
std::optional<StaticItem> staticItemOfCommand(UINT command);

// Shows the menu at the point and returns the chosen command, 0 when dismissed.
UINT showTrayMenu(HWND owner, POINT at, const std::vector<StaticMenuItem>& items);

}  // namespace kelvane
