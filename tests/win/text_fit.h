#pragma once
// Whether the texts of a window's controls fit them, measured as the controls draw them: with
// the control's own font (WM_GETFONT), DrawText with DT_CALCRECT, '&' taken as the access-key
// mark unless the control says otherwise, and the room the control leaves for its text (a check
// box's box and gap, a button's edges, a drop-down's arrow) taken off its client width.
//
// A single-line text must leave at least kTextFitSpare of that room free: the fonts under Wine
// stand in for the real ones, so a bare fit proves nothing. A multi-line text (a static or a
// button with room for more than one line, or BS_MULTILINE) is broken at words (DT_WORDBREAK)
// and must fit the control's height. A control that would shorten its text with an ellipsis is
// measured on the whole text, so the ellipsis counts as clipping.
//
// Measured: static labels (SS_NOPREFIX honoured), buttons of every kind (push, check box, radio,
// group box), SysLink labels (their markup left out), the items of combo boxes and list boxes.
// Not measured: edit fields, hot-key fields, up-down arrows, tabs (which size themselves).

#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelvane::testing {

// The share of a single-line text's room that must stay free.
inline constexpr double kTextFitSpare = 0.10;

struct TextFitOptions {
  // Pixels an owner-drawn combo box or list box draws before an item's text (a colour
  // swatch, an icon), by control id.
  std::map<int, int> itemIndent;
  // Controls left out, by id: a text that is not the program's, or one set later.
  std::set<int> skip;
};

// The problem with one control's text (or, for a combo box or list box, with its items), in
// words: the control, the text, what it needs and what it has. Nothing when it fits.
std::optional<std::string> textFitProblem(HWND control, int itemIndent = 0);

// textFitProblem for every child of `window`, shown or hidden (a page's controls that are not
// on screen now count as well), in z order.
std::vector<std::string> textFitProblems(HWND window, const TextFitOptions& options = {});

}  // namespace kelvane::testing
