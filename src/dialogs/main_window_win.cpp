#include "dialogs/main_window_win.h"

namespace kelvane {

HWND MainFormWindow() {
  // Looked up by class so the dialogs need no pointer to the form; another running copy's
  // window of the same class is skipped.
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, L"TFrmKelvaneMain", nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return window;
  }
  return nullptr;
}

}  // namespace kelvane
