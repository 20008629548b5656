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

// Replaces every registration by this one and returns the shortcut text the release menu item
// shows ("" for none). The registration may fail (the keys are taken): the text stays anyway.
std::string ApplyRefreshHotkey(THotKeyRegistry& registry, std::uint32_t refreshHotkey);

}  // namespace kelvane
