#pragma once
// Rectangles and points in pixels, shared by the tray picture's canvas and window placement,
// and the scaling of a design length to the screen's DPI that every window's layout uses.

namespace kelvane {

// A design length at 96 DPI in pixels at `dpi`, rounded to the nearest.
constexpr int scaleToDpi(int length, int dpi) { return (length * dpi + 48) / 96; }

// Left, top, right, bottom; the right and bottom edges are excluded.
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

}  // namespace kelvane
