#pragma once
// PopupMenu1: renders any tray-menu model as an owner-drawn pop-up menu and tracks it. A small
// window of its own owns the menu and answers the measure, draw and mnemonic messages, so the
// main form carries none of it; it is on the screen (one transparent pixel) only while a menu
// is. The shared icons and fonts are made for the DPI of the screen the menu opens on, again
// when that changes; the process icons live for one showing (what RemoveProcessItems once did
// between showings).

#include <windows.h>

#include <optional>
#include <vector>

#include "commands/command.h"
#include "common/handles_win.h"
#include "common/window_win.h"
#include "menu/menu_draw.h"
#include "menu/menu_model.h"

namespace kelvane {

class VisualTheme;

class TPopupMenu : public WindowBase<TPopupMenu> {
 public:
  // `owner` is a hidden window of the program: the menu's window, owned by it, never gets a
  // taskbar button of its own.
  TPopupMenu(HWND owner, bool vistaOrLater);
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  // Shows the entries with the menu's top-left corner at `at` and returns the chosen entry's
  // command once the menu has closed; none when it was dismissed. `processHighlight` is the
  // row colour of highlighted processes (0x00BBGGRR).
  std::optional<Command> Popup(const std::vector<MenuEntry>& entries, POINT at, TColor processHighlight);

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void loadSharedResources(int dpi);
  void MeasureItem(MEASUREITEMSTRUCT& measure);
  void DrawItem(const DRAWITEMSTRUCT& draw);
  LRESULT onMenuChar(WPARAM wParam, LPARAM lParam);
  void followKeySelection(std::size_t index);
  // The entry under the keyboard or the mouse; none when nothing is selected.
  std::optional<std::size_t> selectedEntry() const;
  static LRESULT CALLBACK filterMenuMessage(int code, WPARAM wParam, LPARAM lParam);
  HFONT fontFor(const MenuEntry& entry) const;
  COLORREF colorOf(MenuColor color, bool selected) const;

  bool vistaOrLater_;
  int dpi_ = 0;       // of the shared icons and fonts; 0 before the first showing
  int iconSize_ = 0;  // the small icon size at that DPI
  UniqueIcon DefaultProcessIcon;
  UniqueIcon TaskManagerIcon;
  UniqueFont menuFont_;
  UniqueFont boldMenuFont_;
  int MenuLineHeight = 0;

  // Valid while a menu is shown.
  HMENU menu_ = nullptr;
  const std::vector<MenuEntry>* entries_ = nullptr;
  std::vector<UniqueIcon> processIcons_;
  TColor processHighlight_ = 0;
  const VisualTheme* theme_ = nullptr;
};

}  // namespace kelvane
