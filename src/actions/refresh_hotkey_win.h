#pragma once
// The release hot key: the setting RefreshHotkey registered system-wide and shown as the
// release item's shortcut.

#include <windows.h>

#include <cstdint>
#include <string>

#include "actions/hotkey_registry_win.h"

namespace kelvane {

// The key's name as the menu shows it: our own for the common keys, else the keyboard layout's.
std::string KeyNameText(std::uint32_t virtualKey);

// Shows the combination on the release item of `menu`, then replaces every registration by
// this one. The registration may fail (the keys are taken): the shortcut text stays anyway.
void ApplyRefreshHotkey(THotKeyRegistry& registry, HMENU menu, std::uint32_t refreshHotkey);

}  // namespace kelvane
