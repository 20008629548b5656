#pragma once
// The hidden application window: owner of the main form and of the program's dialogs. Its
// tool-window style is what keeps Kelvane off the taskbar.

#include <windows.h>

#include "common/window_win.h"

namespace kelvane {

class TApplicationWindow : public WindowBase<TApplicationWindow> {
 public:
  explicit TApplicationWindow(const wchar_t* title);
  ~TApplicationWindow();
  TApplicationWindow(const TApplicationWindow&) = delete;
  TApplicationWindow& operator=(const TApplicationWindow&) = delete;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace kelvane
