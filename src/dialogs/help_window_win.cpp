#include "dialogs/help_window_win.h"

#include <windows.h>

#include "common/handles_win.h"
#include "common/text_win.h"
#include "dialogs/help_layout.h"
#include "dialogs/window_controls_win.h"

namespace kelvane {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kFontPoints = 9;

LRESULT CALLBACK helpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(window);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void showHelpWindow(const std::string& problem, const std::vector<std::string>& names,
                    const std::vector<std::string>& descriptions, const std::string& footer) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = helpProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kHelpWindowClass;
  RegisterClassW(&windowClass);

  const int dpi = systemDpi();
  const UniqueFont font = createWindowFont(formFontFace(), kFontPoints, 0, false, dpi);
  const HelpLayout layout = helpLayout(
      dpi, problem, names, descriptions, footer,
      [&](const std::string& text, int width) { return wrappedHeightIn(font.get(), toWide(text), width); },
      [&](const std::string& text) { return textWidthIn(font.get(), toWide(text)); });

  const SIZE frame = windowSizeFor(kStyle, 0, layout.clientWidth, layout.clientHeight);
  const HWND window = CreateWindowExW(0, kHelpWindowClass, L"Kelvane", kStyle,
                                      (GetSystemMetrics(SM_CXSCREEN) - frame.cx) / 2,
                                      (GetSystemMetrics(SM_CYSCREEN) - frame.cy) / 2, frame.cx, frame.cy, nullptr,
                                      nullptr, instance, nullptr);
  if (!window) return;
  constexpr DWORD kText = SS_LEFT | SS_NOPREFIX;
  if (!problem.empty()) addControl(window, L"STATIC", toWide(problem), kText, layout.problem, -1, font.get());
  for (std::size_t i = 0; i < layout.names.size(); ++i) {
    addControl(window, L"STATIC", toWide(names[i]), kText, layout.names[i], -1, font.get());
    addControl(window, L"STATIC", toWide(descriptions[i]), kText, layout.descriptions[i], -1, font.get());
  }
  addControl(window, L"STATIC", toWide(footer), kText, layout.footer, -1, font.get());
  const HWND ok = addControl(window, L"BUTTON", trWide(TextId::ButtonOk), WS_TABSTOP | BS_DEFPUSHBUTTON, layout.ok,
                             IDOK, font.get());
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(ok);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace kelvane
