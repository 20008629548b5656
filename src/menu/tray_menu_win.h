#pragma once
// The tray menu's model for this moment, from the running system.

#include <vector>

#include "menu/menu_model.h"

namespace kelvane {

// Takes a process snapshot when the process section is on (ShowPage picks the page-file figure)
// and reads the descriptions of the executables that get an entry.
std::vector<MenuEntry> BuildSystemTrayMenu(const TrayMenuInputs& inputs);

}  // namespace kelvane
