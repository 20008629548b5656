#include "common/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace kelvane {

namespace {

std::int64_t overlapArea(const Rect& a, const Rect& b) {
  const std::int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
  const std::int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

// The gap between two rectangles that do not touch, squared (0 when they overlap or touch).
std::int64_t gapSquared(const Rect& a, const Rect& b) {
  const std::int64_t dx = std::max({0, b.left - a.right, a.left - b.right});
  const std::int64_t dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

Rect sized(Point at, int width, int height) { return {at.x, at.y, at.x + width, at.y + height}; }

Rect centredOn(const Rect& area, int width, int height) {
  return sized({area.left + (area.width() - width) / 2, area.top + (area.height() - height) / 2}, width, height);
}

}  // namespace

TaskbarEdgeKind TaskbarEdge(const Rect& taskbar, const Rect& monitor) {
  const int middleX = monitor.left + monitor.width() / 2;
  const int middleY = monitor.top + monitor.height() / 2;
  if (taskbar.top > middleY && taskbar.right >= monitor.right) return TaskbarEdgeKind::Bottom;
  if (taskbar.top < middleY && taskbar.bottom <= middleY) return TaskbarEdgeKind::Top;
  if (taskbar.left < middleX && taskbar.top <= monitor.top) return TaskbarEdgeKind::Left;
  if (taskbar.left >= middleX) return TaskbarEdgeKind::Right;
  return TaskbarEdgeKind::None;
}

std::optional<Point> placeNearTray(TaskbarEdgeKind edge, const Rect& workArea, int width, int height) {
  constexpr int kSideGap = 20, kTopGap = 10;
  switch (edge) {
    case TaskbarEdgeKind::Top:
      return Point{workArea.right - width - kSideGap, workArea.top + kTopGap};
    case TaskbarEdgeKind::Bottom:
    case TaskbarEdgeKind::Right:
      return Point{workArea.right - width - kSideGap, workArea.bottom - height - kSideGap};
    case TaskbarEdgeKind::Left:
      return Point{workArea.left + kSideGap, workArea.bottom - height - kSideGap};
    case TaskbarEdgeKind::None:
      return std::nullopt;
  }
  return std::nullopt;
}

std::size_t monitorOf(const std::vector<MonitorArea>& monitors, const Rect& area) {
  std::size_t best = 0;
  std::int64_t bestOverlap = -1, bestGap = 0;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    const std::int64_t overlap = overlapArea(area, monitors[i].monitor);
    const std::int64_t gap = gapSquared(area, monitors[i].monitor);
    if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap)) {
      best = i;
      bestOverlap = overlap;
      bestGap = gap;
    }
  }
  return best;
}

Rect keepInside(const Rect& window, const Rect& work) {
  const int left = std::max(work.left, std::min(window.left, work.right - window.width()));
  const int top = std::max(work.top, std::min(window.top, work.bottom - window.height()));
  return sized({left, top}, window.width(), window.height());
}

Rect placeDialog(const DialogFacts& facts, DialogPlace place) {
  const int width = facts.window.width(), height = facts.window.height();
  if (place == DialogPlace::OverOwner && facts.visibleOwner) {
    const MonitorArea& ownerMonitor = facts.monitors[monitorOf(facts.monitors, *facts.visibleOwner)];
    return keepInside(centredOn(*facts.visibleOwner, width, height), ownerMonitor.work);
  }
  const Rect trayAnchor = facts.taskbar ? *facts.taskbar : facts.monitors.front().monitor;
  const MonitorArea& trayMonitor = facts.monitors[monitorOf(facts.monitors, trayAnchor)];
  if (place != DialogPlace::NearTray) return keepInside(centredOn(trayMonitor.work, width, height), trayMonitor.work);
  const TaskbarEdgeKind edge = facts.taskbar ? TaskbarEdge(*facts.taskbar, trayMonitor.monitor) : TaskbarEdgeKind::None;
  if (const auto corner = placeNearTray(edge, trayMonitor.work, width, height))
    return keepInside(sized(*corner, width, height), trayMonitor.work);
  // No corner to go to: the window stays where it is, on its own monitor.
  return keepInside(facts.window, facts.monitors[monitorOf(facts.monitors, facts.window)].work);
}

}  // namespace kelvane
