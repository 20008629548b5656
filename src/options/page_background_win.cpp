#include "options/page_background_win.h"

#include "common/visual_theme_win.h"

namespace kelvane {

PageBackground::PageBackground(HWND dialog) : dialog_(dialog) {
  constexpr int kTabBody = 10;  // TABP_BODY
  const VisualTheme theme(dialog, L"TAB");
  if (!theme.active()) return;
  // The body's own picture, tiled from the dialog's corner; a style that gives no size gets
  // one picture of the whole dialog.
  RECT client{};
  GetClientRect(dialog, &client);
  const SIZE size = theme.trueSize(kTabBody, 0).value_or(SIZE{client.right, client.bottom});
  const ScreenDc screen;
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  body_.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
  if (!memory || !body_) return;
  {
    const SelectObjectScope select(memory.get(), body_.get());
    const RECT box{0, 0, size.cx, size.cy};
    FillRect(memory.get(), &box, GetSysColorBrush(COLOR_3DFACE));
    if (!theme.drawBackground(memory.get(), kTabBody, 0, box)) return;
  }
  brush_.reset(CreatePatternBrush(body_.get()));
}

HBRUSH PageBackground::colorFor(HWND control, HDC dc) const {
  if (!brush_) return nullptr;
  POINT origin{0, 0};
  MapWindowPoints(control, dialog_, &origin, 1);
  SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  SetBkMode(dc, TRANSPARENT);
  return brush_.get();
}

}  // namespace kelvane
