#include "menu/popup_menu_win.h"

#include "common/handles_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {
constexpr UINT kFirstStaticCommand = 100;
constexpr int kStaticItemCount = static_cast<int>(StaticItem::Close1) + 1;
}  // namespace

UINT commandIdOf(StaticItem item) { return kFirstStaticCommand + static_cast<UINT>(item); }

std::optional<StaticItem> staticItemOfCommand(UINT command) {
  if (command < kFirstStaticCommand || command >= kFirstStaticCommand + kStaticItemCount)
    return std::nullopt;
  return static_cast<StaticItem>(command - kFirstStaticCommand);
}

UINT showTrayMenu(HWND owner, POINT at, const std::vector<StaticMenuItem>& items) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return 0;
  for (const auto& item : items) {
    if (!item.visible) continue;
    if (item.isSeparator()) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring caption = toWide(item.caption);
    if (!item.shortcutText.empty()) caption += L"\t" + toWide(item.shortcutText);
    AppendMenuW(menu.get(), MF_STRING | (item.enabled ? 0u : MF_GRAYED), commandIdOf(item.item),
                caption.c_str());
    if (item.isDefault) SetMenuDefaultItem(menu.get(), commandIdOf(item.item), FALSE);
  }
  // Without the foreground the menu would not close when the user clicks elsewhere, and
  // without the WM_NULL afterwards a second click on the icon would be swallowed.
  SetForegroundWindow(owner);
  const UINT command = static_cast<UINT>(TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  return command;
}

}  // namespace kelvane
