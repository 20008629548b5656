// Program entry: one copy per session, a hidden application, and the message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "app/application_window_win.h"
#include "app/main_form_win.h"
#include "common/error_display_win.h"
#include "common/system_library_win.h"
#include "common/window_win.h"

using namespace kelvane;

namespace {

// The running copy is told, and this one ends before reading any settings.
bool handOverToRunningCopy() {
  HWND running = FindWindowW(kMainFormClassName, nullptr);
  if (running) {
    PostMessageW(running, WM_INSTANCE_NOTICE, 0, 0);
    return true;
  }
  // Two starts in quick succession (a double click on the program file) could both miss each
  // other's window; the mutex tells the second one to wait for the first one's window.
  static HANDLE startupMutex = nullptr;
  startupMutex = CreateMutexW(nullptr, FALSE, L"Local\\Brimvale.Kelvane.SingleInstance");
  if (!startupMutex || GetLastError() != ERROR_ALREADY_EXISTS) return false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    running = FindWindowW(kMainFormClassName, nullptr);
    if (running) {
      PostMessageW(running, WM_INSTANCE_NOTICE, 0, 0);
      return true;
    }
    Sleep(50);
  }
  return true;  // the other copy is still starting or hung: two icons would be worse
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  hardenDllSearch();
  if (handOverToRunningCopy()) return 0;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  try {
    TApplicationWindow application(L"Kelvane");
    TFrmKelvaneMain mainForm(application.hwnd());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (handleDialogKeys(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const std::exception& error) {
    showUnexpectedError(error.what());
  }
  return 0;
}
