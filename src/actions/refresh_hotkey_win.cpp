#include "actions/refresh_hotkey_win.h"

#include "actions/hotkey_value.h"
#include "common/text_win.h"

namespace kelvane {

std::string LayoutKeyNameText(std::uint32_t virtualKey) {
  const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  if (scanCode == 0) return {};
  wchar_t buffer[64];
  const int length = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), buffer, 64);
  return length > 0 ? toUtf8(std::wstring(buffer, static_cast<std::size_t>(length))) : std::string();
}

std::string ApplyRefreshHotkey(THotKeyRegistry& registry, std::uint32_t refreshHotkey) {
  std::string shortcutText = RefreshShortcutText(refreshHotkey, LayoutKeyNameText);
  registry.UnregisterAll();
  // Without a key there is no combination to hold (0 is the default: no hot key).
  if ((refreshHotkey & 0xFFu) != 0) registry.RegisterCombination(refreshHotkey);
  return shortcutText;
}

}  // namespace kelvane
