#pragma once
// The history window's geometry: its ranges, and where its buttons, plot, axes and list of
// growers go in a client area of a given size at a given DPI.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/geometry.h"

namespace kelvane {

enum class HistoryRange : std::uint8_t { Hour = 0, Day = 1, Week = 2, Month = 3 };
inline constexpr std::size_t kHistoryRangeCount = 4;
// The range a stored number names; the default (24 hours) for anything else.
HistoryRange historyRangeOf(int stored);
std::int64_t rangeSeconds(HistoryRange range);
std::string rangeText(HistoryRange range);  // "1 小时", "24 小时", "7 天", "30 天"

struct ViewPoint {
  int x = 0;
  int y = 0;
};

struct ViewRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(ViewPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const ViewRect&, const ViewRect&) = default;
};

// The client area, in pixels at `dpi`.
struct HistoryLayout {
  ViewRect client;
  std::array<ViewRect, kHistoryRangeCount> rangeButtons;
  ViewRect exportButton;
  ViewRect graph;     // the plot, one column per pixel
  ViewRect loadAxis;  // the percent labels left of the plot
  ViewRect timeAxis;  // the marks of alerts and releases and the time labels under the plot
  ViewRect growers;   // the list beside the plot; empty when the window is too small for it
  ViewRect tooSmall;  // in its place, a line under the plot saying so; empty while the list shows
  int dpi = 96;
  int leastWidth = 0;  // the client width the row of buttons needs
};

// The widths of the texts the layout makes room for, in pixels of the window's font: a button or
// the list grows beyond its design size when its text (a longer language) needs it.
struct HistoryTextWidths {
  std::array<int, kHistoryRangeCount> ranges{};
  int exportButton = 0;
  int growersHeading = 0;  // the longer of its two headings
  int lineHeight = 0;      // a line of text; 0: 16 pixels at 96 DPI, scaled
};
HistoryLayout layoutHistoryWindow(int clientWidth, int clientHeight, int dpi, const HistoryTextWidths& texts = {});

// The width a single line of text `textWidth` wide takes with a tenth of it spare: room for a
// font that draws a little wider than the one measured.
int widthWithSpare(int textWidth);

// 640 x 360 at 96 DPI, scaled.
ViewPoint defaultHistoryClientSize(int dpi);

// The least plot the list of growers leaves beside it: 320 x 160 at 96 DPI, scaled. When the list
// does not fit, the plot shrinks first, to this size; below it the list gives way.
ViewPoint leastPlotWithGrowers(int dpi);

}  // namespace kelvane
