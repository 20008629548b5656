#include "app/application_window_win.h"

#include <stdexcept>

#include "common/language.h"
#include "dialogs/main_window_win.h"

namespace kelvane {

TApplicationWindow::TApplicationWindow(const wchar_t* title) {
  registerWindowClass(L"KelvaneApplication");
  // Exactly the tool-window style from the start: a style changed later is not seen by every
  // taskbar, and the window would get a button.
  createWindow(WS_EX_TOOLWINDOW, L"KelvaneApplication", title, WS_POPUP, 0, 0, 0, 0, nullptr);
  if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoApplicationWindow));
  SetApplicationWindow(hwnd_);
}

TApplicationWindow::~TApplicationWindow() {
  ForgetProgramWindow(hwnd_);
  destroyWindow();
}

LRESULT TApplicationWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) return 0;  // only the exit command ends the program
  return defaultProc(message, wParam, lParam);
}

}  // namespace kelvane
