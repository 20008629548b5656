#pragma once
// The release hot key: the setting RefreshHotkey registered system-wide and shown as the
// release item's shortcut.

#include <windows.h>

#include <cstdint>
#include <string>

#include "actions/hotkey_registry_win.h"

namespace kelvane {

// The keyboard layout's name for a key that our own table does not name; "" when it has none.
std::string LayoutKeyNameText(std::uint32_t virtualKey);

// Replaces every registration by this one and returns the shortcut text the release menu item
// shows ("" for none). The registration may fail (the keys are taken): the text stays anyway.
std::string ApplyRefreshHotkey(THotKeyRegistry& registry, std::uint32_t refreshHotkey);

}  // namespace kelvane
