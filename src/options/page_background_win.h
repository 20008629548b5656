#pragma once
// The themed page control's body as the background of the dialog that carries it, so labels and
// check boxes on a page do not stand out as boxes of the dialog's colour. The system's dialog
// texture (EnableThemeDialogTexture) paints the same, but on some systems (Wine's) it leaves
// one bitmap behind for every dialog that used it; this one owns its bitmap and brush and gives
// both back with the dialog.

#include <windows.h>

#include "common/handles_win.h"

namespace kelvane {

class PageBackground {
 public:
  // Made once the dialog's size is known. Without an active visual style it paints nothing and
  // the dialog keeps the system's colours.
  explicit PageBackground(HWND dialog);

  // The answer to WM_CTLCOLORDLG, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN: the brush lined up with
  // the dialog (read-only fields take it too), or nullptr without a visual style.
  HBRUSH colorFor(HWND control, HDC dc) const;

 private:
  HWND dialog_;
  UniqueBitmap body_;  // before the brush, which is made from it and goes first
  UniqueHandle<HBRUSH, GdiDeleter> brush_;
};

}  // namespace kelvane
