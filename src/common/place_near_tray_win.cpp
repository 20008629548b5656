#include "common/place_near_tray_win.h"

namespace kelvane {

TaskbarEdgeKind TaskbarEdge() {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT rect{};
  if (!taskbar || !GetWindowRect(taskbar, &rect)) return TaskbarEdgeKind::None;
  return TaskbarEdge(Rect{rect.left, rect.top, rect.right, rect.bottom}, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN));
}

void PlaceNearTray(HWND form) {
  const TaskbarEdgeKind edge = TaskbarEdge();
  RECT work{}, window{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(form, &window)) return;
  const auto place = placeNearTray(edge, Rect{work.left, work.top, work.right, work.bottom},
                                   window.right - window.left, window.bottom - window.top);
  if (place) SetWindowPos(form, nullptr, place->x, place->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kelvane
