#include "common/dpi_win.h"

#include "common/handles_win.h"

namespace kelvane {

int windowDpi(HWND window) {
  static const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (getDpiForWindow && window)
    if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  const ScreenDc screen;
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int metricForDpi(int metric, int dpi) {
  static const auto getSystemMetricsForDpi = user32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  const int value = getSystemMetricsForDpi ? getSystemMetricsForDpi(metric, static_cast<UINT>(dpi)) : 0;
  return value > 0 ? value : GetSystemMetrics(metric);
}

}  // namespace kelvane
