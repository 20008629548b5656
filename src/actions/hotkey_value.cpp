#include "actions/hotkey_value.h"

#include <array>
#include <utility>

namespace kelvane {

HotKeyParts SplitHotKey(std::uint32_t value) {
  HotKeyParts parts;
  parts.virtualKey = value & 0xFF;
  if (value & kHotKeyShift) parts.modifiers |= kModShift;
  if (value & kHotKeyCtrl) parts.modifiers |= kModControl;
  if (value & kHotKeyAlt) parts.modifiers |= kModAlt;
  if (value & kHotKeyWin) parts.modifiers |= kModWin;
  return parts;
}

std::uint32_t HotKeyFromMessage(std::uint32_t lParam) {
  const std::uint32_t modifiers = lParam & 0xFFFF;
  std::uint32_t value = 0;
  if (modifiers & kModShift) value += kHotKeyShift;
  if (modifiers & kModControl) value += kHotKeyCtrl;
  if (modifiers & kModAlt) value += kHotKeyAlt;
  if (modifiers & kModWin) value += kHotKeyWin;
  return value + (lParam >> 16);
}

std::string HotKeyAtomName(std::uint32_t value) {
  return "HotKeyManagerHotKey" + std::to_string(value);
}

std::string BuiltinKeyName(std::uint32_t vk) {
  static constexpr std::array<std::pair<std::uint32_t, const char*>, 16> kNamed = {{
      {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"},
      {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"},
      {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
      {0x13, "Pause"},
  }};
  for (const auto& [key, name] : kNamed)
    if (key == vk) return name;
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  // Appending instead of operator+ keeps GCC 12's -Wrestrict false positive away at -O3.
  std::string name;
  if (vk >= 0x70 && vk <= 0x87) name.append("F").append(std::to_string(vk - 0x70 + 1));
  if (vk >= 0x60 && vk <= 0x69) name.append("Num ").append(std::to_string(vk - 0x60));
  return name;
}

std::string ShortcutText(std::uint16_t shortcut, const std::string& keyName) {
  if (shortcut == 0 || keyName.empty()) return {};
  std::string text;
  if (shortcut & kHotKeyShift) text += "Shift+";
  if (shortcut & kHotKeyCtrl) text += "Ctrl+";
  if (shortcut & kHotKeyAlt) text += "Alt+";
  return text + keyName;
}

std::string RefreshShortcutText(std::uint32_t refreshHotkey, const LayoutKeyName& layoutKeyName) {
  const std::uint16_t shortcut = MenuShortcutWord(refreshHotkey);
  const std::uint32_t virtualKey = shortcut & 0xFFu;
  if (virtualKey == 0) return {};  // no hot key
  std::string keyName = BuiltinKeyName(virtualKey);
  if (keyName.empty() && layoutKeyName) keyName = layoutKeyName(virtualKey);
  return ShortcutText(shortcut, keyName);
}

}  // namespace kelvane
