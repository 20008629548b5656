#pragma once
// The DPI a window is shown at, and system metrics for a DPI, through the per-DPI exports of
// user32 where the system has them (Windows 10 on) and the one system DPI otherwise.

#include <windows.h>

namespace kelvane {

// An export of user32 that older systems lack, or nothing. user32 is linked in, so this finds
// the loaded copy and never searches for a file.
template <typename Function>
Function user32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

// The DPI of the screen `window` is on; the system's DPI where it cannot say per window.
int windowDpi(HWND window);

// A system metric at `dpi`, where the system can give it for another DPI than its own.
int metricForDpi(int metric, int dpi);

}  // namespace kelvane
