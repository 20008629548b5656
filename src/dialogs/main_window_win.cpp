#include "dialogs/main_window_win.h"

namespace kelvane {

namespace {

HWND mainForm = nullptr;
HWND application = nullptr;

HWND ifAlive(HWND window) { return window && IsWindow(window) ? window : nullptr; }

}  // namespace

HWND MainFormWindow() { return ifAlive(mainForm); }

void SetMainFormWindow(HWND window) { mainForm = window; }

HWND ApplicationWindow() { return ifAlive(application); }

void SetApplicationWindow(HWND window) { application = window; }

void ForgetProgramWindow(HWND window) {
  if (window == mainForm) mainForm = nullptr;
  if (window == application) application = nullptr;
}

}  // namespace kelvane
