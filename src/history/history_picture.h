#pragma once
// The history window's picture as a plan of steps the shell paints in order: the buttons, the
// load per pixel column (the band from least to greatest and the mean line), the thresholds in
// the tray picture's colours, the gaps, alerts and releases on the time axis, the pointed
// moment with its text, and the processes that grew.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "history/graph_columns.h"
#include "history/history_csv.h"
#include "history/history_event.h"
#include "history/history_layout.h"

namespace kelvane {

// Thresholds and colours (0x00BBGGRR) as the tray picture uses them; the system's colours for
// the rest.
struct HistoryLook {
  int yellowPercent = 80;
  int redPercent = 90;
  std::uint32_t green = 0x0000A000;
  std::uint32_t yellow = 0x0000C0E0;
  std::uint32_t red = 0x000000E0;
  std::uint32_t window = 0x00FFFFFF;     // the plot's background
  std::uint32_t windowText = 0x00000000;
  std::uint32_t face = 0x00F0F0F0;       // the window around the plot
  std::uint32_t grid = 0x00D8D8D8;
  std::uint32_t release = 0x00C07000;    // marks of releases
};

// One step of the plan. Lines run from `from` to `to`, both ends drawn.
struct DrawStep {
  enum class Kind { Fill, Line, Text, Triangle, Button };
  enum class Align { Left, Centre, Right };
  Kind kind = Kind::Fill;
  ViewRect rect;                    // Fill, Text, Button
  ViewPoint from, to;               // Line
  std::array<ViewPoint, 3> corners; // Triangle
  std::uint32_t color = 0;
  int width = 1;                    // Line
  std::string text;                 // Text, Button
  Align align = Align::Left;        // Text
  bool pressed = false;             // Button
};

using TextSize = std::function<ViewPoint(const std::string& text)>;

// What one picture shows: the window's state, and the texts the shell made for it.
struct HistoryScene {
  HistoryLayout layout;
  HistoryRange range = HistoryRange::Day;
  std::int64_t from = 0;  // UTC seconds, [from, to)
  std::int64_t to = 0;
  std::span<const GraphColumn> columns;  // one per pixel of the plot's width
  std::span<const std::uint8_t> stopped; // per column: 1 where the program was not running
  std::span<const HistoryEvent> events;  // in the range
  std::optional<std::size_t> pointed;    // the pointed column
  std::vector<std::string> momentText;   // its lines, when there is one
  std::vector<std::string> growerLines;
};

// An alert's or a release's mark under the plot: the column it stands for and the box its
// triangle is drawn in (right and bottom edges excluded). Alerts point up in the upper row,
// releases down in the row below, so that a release right after an alert stays visible.
struct HistoryMark {
  std::size_t column = 0;
  HistoryEventKind kind = HistoryEventKind::Alert;
  ViewRect box;
};
std::vector<HistoryMark> historyMarks(const HistoryLayout& layout, std::span<const HistoryEvent> events,
                                      std::int64_t from, std::int64_t to);

// The column of the mark under the pointer: a mark answers on its box and 3 pixels round it (at
// 96 DPI, scaled), a target a hand can hit; where two marks' areas overlap, the one whose centre
// is nearer wins. Nothing when the pointer is on no mark.
std::optional<std::size_t> markColumnAt(std::span<const HistoryMark> marks, ViewPoint at, int dpi);

std::vector<DrawStep> historyPicture(const HistoryScene& scene, const HistoryLook& look,
                                     const LocalTimeOf& localTimeOf, const TextSize& textSize);

// The list's heading for a range: "增长最多的进程", with "(最近 24 小时)" for a range longer than the
// snapshots kept.
std::string growersHeading(HistoryRange range);

// The widths of the buttons' texts and of the longer heading, for the layout.
HistoryTextWidths historyTextWidths(const TextSize& textSize);

}  // namespace kelvane
