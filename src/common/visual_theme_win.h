#pragma once
// One class of parts of the current visual style (a theme class such as "MENU" or "TAB"), open
// for as long as the object lives. uxtheme is reached by handle and given back with the object,
// so drawing a themed part keeps nothing loaded. Inactive when the program is not themed or the
// style has no such class: callers then draw with the system's colours.

#include <windows.h>

#include <optional>

#include "common/handles_win.h"

namespace kelvane {

class VisualTheme {
 public:
  VisualTheme(HWND window, const wchar_t* themeClass);
  ~VisualTheme();
  VisualTheme(const VisualTheme&) = delete;
  VisualTheme& operator=(const VisualTheme&) = delete;

  bool active() const { return handle_ != nullptr; }
  // False when inactive or the part could not be drawn.
  bool drawBackground(HDC dc, int part, int state, const RECT& box) const;
  std::optional<COLORREF> color(int part, int state, int property) const;
  // The part's own size (TS_TRUE); nothing when the style gives none.
  std::optional<SIZE> trueSize(int part, int state) const;

 private:
  struct Functions {
    HRESULT(WINAPI* close)(HANDLE) = nullptr;
    HRESULT(WINAPI* draw)(HANDLE, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* getColor)(HANDLE, int, int, int, COLORREF*) = nullptr;
    HRESULT(WINAPI* trueSize)(HANDLE, HDC, int, int, const RECT*, int, SIZE*) = nullptr;
  };
  UniqueLibrary library_;
  Functions functions_;
  HANDLE handle_ = nullptr;
};

}  // namespace kelvane
