#include "dialogs/main_window_win.h"

namespace kelvane {

namespace {

// Another running copy has windows of the same classes; only this process's count.
HWND OwnTopLevelWindow(const wchar_t* className) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return window;
  }
  return nullptr;
}

}  // namespace

HWND MainFormWindow() { return OwnTopLevelWindow(L"TFrmKelvaneMain"); }

HWND ApplicationWindow() { return OwnTopLevelWindow(L"KelvaneApplication"); }

}  // namespace kelvane
