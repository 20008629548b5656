#include "common/tray_placement.h"

namespace kelvane {

TaskbarEdgeKind TaskbarEdge(const Rect& taskbar, int screenWidth, int screenHeight) {
  const int halfWidth = screenWidth / 2;
  const int halfHeight = screenHeight / 2;
  if (taskbar.top > halfHeight && taskbar.right >= screenWidth) return TaskbarEdgeKind::Bottom;
  if (taskbar.top < halfHeight && taskbar.bottom <= halfHeight) return TaskbarEdgeKind::Top;
  if (taskbar.left < halfWidth && taskbar.top <= 0) return TaskbarEdgeKind::Left;
  if (taskbar.left >= halfWidth) return TaskbarEdgeKind::Right;
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

}  // namespace kelvane
