#pragma once
// Drives a modal dialog shown on the test's thread from a helper thread, as a user would: wait
// for the window to appear, then click, tick or close it. If the actions do not end the dialog,
// the helper closes it so that a failing test fails instead of hanging.

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kelvane::test {

struct DriveReport {
  bool found = false;         // a window with the title appeared
  bool forcedClose = false;   // the actions left it open and the helper closed it
  std::wstring windowClass;   // which dialog it was
};

inline HWND waitForVisibleWindow(const std::wstring& title, const std::atomic<bool>& shown) {
  for (int i = 0; i < 400 && !shown; ++i) {
    HWND w = FindWindowW(nullptr, title.c_str());
    if (w && IsWindowVisible(w)) return w;
    Sleep(25);
  }
  return nullptr;
}

inline void closeWindowsOfThread(DWORD threadId) {
  EnumThreadWindows(
      threadId,
      [](HWND w, LPARAM) -> BOOL {
        if (IsWindowVisible(w)) PostMessageW(w, WM_CLOSE, 0, 0);
        return TRUE;
      },
      0);
}

// Shows the dialog with `show` on this thread while `act` drives it from a helper thread.
template <typename Show>
auto driveDialog(const std::wstring& title, const std::function<void(HWND)>& act, Show show, DriveReport& report) {
  std::atomic<bool> shown{false};
  const DWORD dialogThread = GetCurrentThreadId();
  std::thread helper([&] {
    HWND w = waitForVisibleWindow(title, shown);
    if (w) {
      report.found = true;
      wchar_t cls[64] = {};
      GetClassNameW(w, cls, 64);
      report.windowClass = cls;
      Sleep(50);  // let the dialog finish its first paint and focus
      act(w);
    }
    for (int i = 0; i < 200 && !shown; ++i) Sleep(25);
    if (!shown) {
      report.forcedClose = true;
      closeWindowsOfThread(dialogThread);
      for (int i = 0; i < 200 && !shown; ++i) Sleep(25);
      if (!shown) closeWindowsOfThread(dialogThread);
    }
  });
  auto result = show();
  shown = true;
  helper.join();
  return result;
}

// The keyboard focus of the thread that owns `w`, or `w` itself.
inline HWND focusOf(HWND w) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) && info.hwndFocus) return info.hwndFocus;
  return w;
}

inline void pressKey(HWND w, WPARAM key) {
  HWND target = focusOf(w);
  PostMessageW(target, WM_KEYDOWN, key, 0x00000001);
  PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
}

inline void clickButton(HWND dialog, int id) {
  if (HWND button = GetDlgItem(dialog, id)) SendMessageW(button, BM_CLICK, 0, 0);
}

// The first auto check box among the dialog's children (the verification box on both paths).
inline HWND findCheckBox(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (lstrcmpiW(cls, L"Button") == 0 && (style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
          *reinterpret_cast<HWND*>(param) = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace kelvane::test
