#include "common/visual_theme_win.h"

#include "common/system_library_win.h"

namespace kelvane {

VisualTheme::VisualTheme(HWND window, const wchar_t* themeClass) : library_(loadSystemLibrary(L"uxtheme.dll")) {
  using IsAppThemedFn = BOOL(WINAPI*)();
  using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
  const auto isAppThemed = systemExport<IsAppThemedFn>(library_, "IsAppThemed");
  const auto open = systemExport<OpenThemeDataFn>(library_, "OpenThemeData");
  functions_.close = systemExport<decltype(functions_.close)>(library_, "CloseThemeData");
  functions_.draw = systemExport<decltype(functions_.draw)>(library_, "DrawThemeBackground");
  functions_.getColor = systemExport<decltype(functions_.getColor)>(library_, "GetThemeColor");
  functions_.trueSize = systemExport<decltype(functions_.trueSize)>(library_, "GetThemePartSize");
  const bool complete = functions_.close && functions_.draw && functions_.getColor && functions_.trueSize;
  if (isAppThemed && open && complete && isAppThemed()) handle_ = open(window, themeClass);
}

VisualTheme::~VisualTheme() {
  if (handle_) functions_.close(handle_);
}

bool VisualTheme::drawBackground(HDC dc, int part, int state, const RECT& box) const {
  return handle_ && SUCCEEDED(functions_.draw(handle_, dc, part, state, &box, nullptr));
}

std::optional<COLORREF> VisualTheme::color(int part, int state, int property) const {
  COLORREF color = 0;
  if (!handle_ || FAILED(functions_.getColor(handle_, part, state, property, &color))) return std::nullopt;
  return color;
}

std::optional<SIZE> VisualTheme::trueSize(int part, int state) const {
  constexpr int kTrueSize = 1;  // TS_TRUE
  SIZE size{};
  if (!handle_ || FAILED(functions_.trueSize(handle_, nullptr, part, state, nullptr, kTrueSize, &size)) ||
      size.cx <= 0 || size.cy <= 0)
    return std::nullopt;
  return size;
}

}  // namespace kelvane
