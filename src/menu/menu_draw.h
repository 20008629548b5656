#pragma once
// How each tray-menu entry is measured and painted, as data: the shell measures the texts,
// asks for the plan and paints it. Both the classic look and the themed look (the system's
// menu parts) come out of the same function. Lengths are designed at 96 DPI and scaled to the
// menu's DPI, so a menu on a 144-DPI screen keeps its proportions.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "menu/menu_model.h"
#include "settings/options.h"

namespace kelvane {

struct MenuRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const MenuRect&) const = default;
};

// Colours by role; the shell looks the system ones up and reads the theme's text colour.
enum class MenuColor {
  Menu,            // COLOR_MENU
  MenuText,        // COLOR_MENUTEXT
  Highlight,       // COLOR_HIGHLIGHT
  HighlightText,   // COLOR_HIGHLIGHTTEXT
  BtnShadow,       // COLOR_BTNSHADOW
  BtnHighlight,    // COLOR_BTNHIGHLIGHT
  ProcessHighlight,  // GetProcMenuHighlighColor
  ThemeHotText,    // the themed hot item's text colour
};

// Parts and states of the system's menu theme class.
inline constexpr int kMenuPopupBackground = 9;
inline constexpr int kMenuPopupGutter = 13;
inline constexpr int kMenuPopupItem = 14;
inline constexpr int kMenuPopupSeparator = 15;
inline constexpr int kMenuStateNormal = 1;
inline constexpr int kMenuStateHot = 2;
inline constexpr int kMenuStateDisabledHot = 4;

// Text flags as the platform numbers them: hide prefix, tab stop, expand tabs, and vertical
// centring for the caption or right alignment for the value columns.
inline constexpr std::uint32_t kCaptionTextFlags = 0x1000C4;
inline constexpr std::uint32_t kValueTextFlags = 0x1000C2;
inline constexpr std::uint32_t kMeasureTextFlags = 0x100440;
inline constexpr std::uint32_t kTextHidePrefix = 0x100000;  // DT_HIDEPREFIX
inline constexpr std::uint32_t kTextNoPrefix = 0x800;       // DT_NOPREFIX

// `flags` for the texts of `entry`: an entry without a mnemonic draws and measures its "&" as
// an ordinary character instead of hiding it.
std::uint32_t TextFlagsFor(const MenuEntry& entry, std::uint32_t flags);

struct MenuDrawStep {
  enum class Kind { ThemePart, Fill, Line, Frame } kind = Kind::Fill;
  // ThemePart, Fill, Frame (one pixel wide, inside the rectangle); for Line: left..right at
  // row top (right end not drawn)
  MenuRect rect;
  MenuColor color = MenuColor::Menu;
  int part = 0, state = 0;
};

struct MenuTextDraw {
  std::string text;
  MenuRect rect;
  std::uint32_t flags = 0;
};

struct MenuDrawPlan {
  std::vector<MenuDrawStep> steps;  // in painting order
  bool separatorOnly = false;       // nothing follows the steps
  MenuColor textColor = MenuColor::MenuText;
  bool bold = false;
  MenuIcon icon = MenuIcon::None;
  int iconX = 0, iconY = 0, iconSize = 0;  // the icon's square
  std::vector<MenuTextDraw> texts;  // caption, then value or shortcut
};

struct MenuDrawContext {
  MenuRect rect;
  bool selected = false;
  bool themed = false;
  bool vistaOrLater = false;
  int dpi = 96;        // the menu's
  int iconSize = 16;   // the small icon size at that DPI
  int menuLineHeight = 0;
  int valueTextWidth = 0;     // of the entry's value text in the item's font
  int shortcutTextWidth = 0;  // of its shortcut text
};

struct MenuItemSize {
  int width = 0;
  int height = 0;
};

// At 96 DPI a separator is 6 pixels high and keeps the proposed width; any other entry is its
// caption's width plus 127 and the line height plus 7. Other DPIs scale those lengths.
MenuItemSize MeasureMenuEntry(const MenuEntry& entry, int captionTextWidth, int lineHeight,
                              int proposedWidth, int dpi);

// A selected entry that cannot be chosen (a memory line) still shows where the keyboard is:
// the themed disabled-hot item, or a highlight-coloured frame round the row, with the text
// in its unselected colour.
MenuDrawPlan PlanMenuEntry(const MenuEntry& entry, const MenuDrawContext& context);

// The highlighted process rows' colour: the setting's unless it is automatic or `useDefault`,
// then RGB(251, 225, 225).
TColor GetProcMenuHighlighColor(const TKelvaneOptions& options, bool useDefault);

// What a typed key does in an owner-drawn menu, as the system does for its own menus: the
// enabled entries whose captions mark `key` with "&" (ASCII letters and digits, either case)
// are its candidates. One candidate is carried out at once; of several, the first after the
// selected entry (wrapping round; the first when none is selected) is selected, and Enter
// carries it out. No candidate: nothing.
struct MenuKeyChoice {
  enum class Action { Execute, Select } action = Action::Execute;
  std::size_t index = 0;
  bool operator==(const MenuKeyChoice&) const = default;
};
std::optional<MenuKeyChoice> ChooseByMnemonic(const std::vector<MenuEntry>& menu, char key,
                                              std::optional<std::size_t> selected);

// How many presses of Down take the selection from the first entry to `index`: the entries
// between them that are not separators (the keyboard skips only those).
std::size_t DownPressesTo(const std::vector<MenuEntry>& menu, std::size_t index);

}  // namespace kelvane
