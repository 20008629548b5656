#pragma once
// The hot-key value as the settings store it: the virtual key in the low byte and modifier
// bits above it. Its low 16 bits are the menu shortcut word, so the same value also labels the
// release menu item. Kept apart from RegisterHotKey, whose modifier flags differ.

#include <cstdint>
#include <functional>
#include <string>

namespace kelvane {

inline constexpr std::uint32_t kHotKeyShift = 0x2000;
inline constexpr std::uint32_t kHotKeyCtrl = 0x4000;
inline constexpr std::uint32_t kHotKeyAlt = 0x8000;
inline constexpr std::uint32_t kHotKeyWin = 0x10000;

// RegisterHotKey's modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr std::uint32_t kModAlt = 1;
inline constexpr std::uint32_t kModControl = 2;
inline constexpr std::uint32_t kModShift = 4;
inline constexpr std::uint32_t kModWin = 8;

struct HotKeyParts {
  std::uint32_t virtualKey = 0;
  std::uint32_t modifiers = 0;  // RegisterHotKey flags
  bool operator==(const HotKeyParts&) const = default;
};

HotKeyParts SplitHotKey(std::uint32_t value);

// The value a WM_HOTKEY stands for: modifier flags in the low word of lParam, the virtual key
// in its high word.
std::uint32_t HotKeyFromMessage(std::uint32_t lParam);

// The name of the global atom that identifies a registration.
std::string HotKeyAtomName(std::uint32_t value);

// The shortcut word a menu item shows (the Win bit has no place in it).
inline std::uint16_t MenuShortcutWord(std::uint32_t value) {
  return static_cast<std::uint16_t>(value & 0xFFFF);
}

// Our own name for a key when it has a fixed one ("A", "F5", "Del"); empty otherwise, and the
// shell asks the keyboard layout.
std::string BuiltinKeyName(std::uint32_t virtualKey);

// "Shift+Ctrl+Alt+key" for a shortcut word; empty for 0 (no shortcut) or an unnamed key.
std::string ShortcutText(std::uint16_t shortcut, const std::string& keyName);

// Names a key that our own table does not: the shell asks the keyboard layout.
using LayoutKeyName = std::function<std::string(std::uint32_t virtualKey)>;

// The release item's shortcut text for a RefreshHotkey value, as the menu shows it
// ("Shift+Ctrl+Alt+0"; "" for none). A key outside our table is named by `layoutKeyName`;
// without one (a tool that has no keyboard layout) such a key has no text.
std::string RefreshShortcutText(std::uint32_t refreshHotkey, const LayoutKeyName& layoutKeyName = {});

}  // namespace kelvane
