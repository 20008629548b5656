#pragma once
// Where the taskbar is and where a window goes next to it: pure geometry, fed with the
// taskbar's rectangle, the screen size and the work area by the shell.

#include <optional>

namespace kelvane {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

enum class TaskbarEdgeKind { None, Top, Bottom, Left, Right };

TaskbarEdgeKind TaskbarEdge(const Rect& taskbar, int screenWidth, int screenHeight);

// The top-left corner for a window of the given size in the work-area corner beside the
// taskbar; nothing when the taskbar's edge is unknown (the window keeps its place).
std::optional<Point> placeNearTray(TaskbarEdgeKind edge, const Rect& workArea, int width, int height);

}  // namespace kelvane
