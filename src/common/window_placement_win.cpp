#include "common/window_placement_win.h"

namespace kelvane {

namespace {

Rect toRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

std::optional<Rect> taskbarRect() {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT rect{};
  if (!taskbar || !GetWindowRect(taskbar, &rect)) return std::nullopt;
  return toRect(rect);
}

// Every monitor with its work area, the primary first.
std::vector<MonitorArea> systemMonitors() {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        auto& areas = *reinterpret_cast<std::vector<MonitorArea>*>(list);
        const MonitorArea area{toRect(info.rcMonitor), toRect(info.rcWork)};
        if (info.dwFlags & MONITORINFOF_PRIMARY) {
          areas.insert(areas.begin(), area);
        } else {
          areas.push_back(area);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT screen = work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    monitors.push_back({toRect(screen), toRect(work)});
  }
  return monitors;
}

std::optional<Rect> visibleOwnerRect(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  RECT rect{};
  if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &rect)) return std::nullopt;
  return toRect(rect);
}

}  // namespace

TaskbarEdgeKind TaskbarEdge() {
  const auto taskbar = taskbarRect();
  if (!taskbar) return TaskbarEdgeKind::None;
  const std::vector<MonitorArea> monitors = systemMonitors();
  return TaskbarEdge(*taskbar, monitors[monitorOf(monitors, *taskbar)].monitor);
}

void placeDialogWindow(HWND dialog, DialogPlace place) {
  RECT window{};
  if (!GetWindowRect(dialog, &window)) return;
  const Rect placed = placeDialog({toRect(window), visibleOwnerRect(dialog), taskbarRect(), systemMonitors()}, place);
  SetWindowPos(dialog, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceNearTray(HWND form) { placeDialogWindow(form, DialogPlace::NearTray); }

void moveInsideWorkArea(HWND window, Point corner) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return;
  const Rect moved{corner.x, corner.y, corner.x + (rect.right - rect.left), corner.y + (rect.bottom - rect.top)};
  const std::vector<MonitorArea> monitors = systemMonitors();
  const Rect inside = keepInside(moved, monitors[monitorOf(monitors, moved)].work);
  SetWindowPos(window, nullptr, inside.left, inside.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kelvane
