#pragma once
// What the welcome and about windows share: their fonts at the system DPI, child controls placed
// from a layout box, the white background, and link clicks.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "common/handles_win.h"
#include "common/png_picture_win.h"
#include "dialogs/window_layouts.h"

namespace kelvane {

// The system DPI the windows are laid out for.
int systemDpi();

// `face` at `points` (or, with points 0, `pixels` high) at `dpi`.
UniqueFont createWindowFont(const wchar_t* face, int points, int pixels, bool bold, int dpi);

// "Segoe UI" on Vista and later, "Tahoma" before.
const wchar_t* formFontFace();

HWND addControl(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, const Box& box,
                int id, HFONT font);

// A SysLink control; `markup` uses "<link>" for the link part, as the program's captions do.
HWND addLink(HWND parent, const std::string& markup, const Box& box, int id, HFONT font);
void setLinkText(HWND link, const std::string& markup);

// What a text takes in `font`: the width of one line, and the height wrapped to `width`, as the
// static and link controls draw it (no prefix characters).
int textWidthIn(HFONT font, const std::wstring& text);
int wrappedHeightIn(HFONT font, const std::wstring& text, int width);
// The width of a check box's mark and the gap before its caption, at `dpi`.
int checkMarkWidth(int dpi);

// The frame size that gives a client area of width x height.
SIZE windowSizeFor(DWORD style, DWORD exStyle, int width, int height);

// The common controls with the link class, held by a window with links for as long as it
// stays: nothing of them is loaded before such a window opens, nor kept after it is gone.
UniqueLibrary loadLinkControls();

// The id of the link control a WM_NOTIFY reports as clicked (mouse, or Enter on a focused link);
// 0 for any other notification.
int clickedLink(LPARAM lParam);

// Whether a client point lies in the box.
bool boxContains(const Box& box, POINT at);
// WM_SETCURSOR over a clickable picture: the hand, as over a link. True when it was set.
bool showHandOver(HWND window, const Box& picture, WPARAM wParam, LPARAM lParam);
// WM_ERASEBKGND: the windows are white.
LRESULT eraseWhite(HWND window, WPARAM dc);

// The windows' pictures at `size` (`width` for the illustration) pixels, scaled from the
// nearest stored size; empty when the stored picture does not decode.
Picture programPicture(const PngDecoder& decoder, int size);
Picture donationPicture(const PngDecoder& decoder, int size);
Picture keepVisibleIllustration(const PngDecoder& decoder, int width, int height);

}  // namespace kelvane
