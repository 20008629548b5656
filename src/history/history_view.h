#pragma once
// The window "Kelvane 内存历史" as data: its layout at a DPI, what it shows for a range (the load
// per pixel column, thresholds, gaps, alerts and releases on the time axis, the processes that
// grew most), the pointed moment and its text, and what each key does. The shell measures text,
// formats the pointed moment's time the user's way, and paints the plan with GDI.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/number_format.h"
#include "history/graph_columns.h"
#include "history/history_csv.h"
#include "history/history_event.h"
#include "history/process_growth.h"

namespace kelvane {

inline constexpr char kHistoryWindowTitle[] = "Kelvane 内存历史";
inline constexpr char kExportCsvText[] = "导出 CSV...";
inline constexpr char kGrowersHeading[] = "增长最多的进程";

enum class HistoryRange : std::uint8_t { Hour = 0, Day = 1, Week = 2, Month = 3 };
inline constexpr std::size_t kHistoryRangeCount = 4;
// The range a stored number names; the default (24 hours) for anything else.
HistoryRange historyRangeOf(int stored);
std::int64_t rangeSeconds(HistoryRange range);
const char* rangeText(HistoryRange range);  // "1 小时", "24 小时", "7 天", "30 天"

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
  ViewRect growers;   // the list beside the plot; empty when the window is too narrow for it
  int dpi = 96;
};
HistoryLayout layoutHistoryWindow(int clientWidth, int clientHeight, int dpi);

// 640 x 360 at 96 DPI, scaled.
ViewPoint defaultHistoryClientSize(int dpi);

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

// What the shell draws, in order. Lines run from `from` to `to`, both ends drawn.
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

// The pointed moment: the span of its column, what was recorded there and what happened.
struct HistoryMoment {
  std::int64_t from = 0;  // UTC seconds, [from, to)
  std::int64_t to = 0;
  GraphColumn column;
  std::vector<HistoryEvent> events;  // alerts and releases inside it
};

// The moment's lines: the time text (the shell's, in the user's format), least/mean/greatest load,
// used physical memory, an alert's processes, a release's freed memory.
std::vector<std::string> momentLines(const HistoryMoment& moment, const std::string& timeText,
                                     const NumberFormat& format);

// "+1.5 GB  chrome.exe": the growth first, so the names line up after it.
std::string growerLine(const Grower& grower, const NumberFormat& format);

enum class HistoryKey { Digit1, Digit2, Digit3, Digit4, Left, Right, CopyKey, Escape, Other };

struct HistoryCommand {
  enum class Kind { None, Redraw, ChooseRange, Copy, Export, Close } kind = Kind::None;
  HistoryRange range = HistoryRange::Day;
};

using TextSize = std::function<ViewPoint(const std::string& text)>;

// The window's state: the range, the minutes of it that the columns come from, the pointed
// column. It holds nothing beyond the shown range, and the shell lets it go when it closes.
class HistoryView {
 public:
  HistoryRange range() const { return range_; }
  std::int64_t from() const { return to_ - rangeSeconds(range_); }
  std::int64_t to() const { return to_; }
  const HistoryLayout& layout() const { return layout_; }

  // A range ending with the minute of `now` (UTC seconds): the shell then hands in its data.
  void choose(HistoryRange range, std::int64_t now);
  // Everything held (oldest first) and the growers of the range: only the range's part is kept.
  void setData(std::span<const MinuteRecord> minutes, std::span<const HistoryEvent> events,
               std::vector<Grower> growers);
  void resize(int clientWidth, int clientHeight, int dpi);

  // The mouse at a client point: the command it gives (a press), or the pointed moment it moves.
  HistoryCommand click(ViewPoint at);
  bool pointAt(ViewPoint at);  // true when the picture changes
  // The pointer left the window: no moment is pointed at any more. True when one was.
  bool leave();
  HistoryCommand key(HistoryKey key);

  std::optional<HistoryMoment> pointedMoment() const;
  // The range's minutes and events as CSV, for the export.
  std::string csv(const LocalTimeOf& localTimeOf) const;

  // The whole client area. `momentText` is the pointed moment's lines (empty when none).
  std::vector<DrawStep> picture(const HistoryLook& look, const LocalTimeOf& localTimeOf,
                                const std::vector<std::string>& momentText,
                                const std::vector<std::string>& growerLines,
                                const TextSize& textSize) const;

  const std::vector<Grower>& growers() const { return growers_; }

 private:
  void reduce();
  // The recorded column nearest to `column`, searching `step` ways; the same when none.
  std::size_t recordedFrom(std::size_t column, int step) const;

  HistoryRange range_ = HistoryRange::Day;
  std::int64_t to_ = 0;
  HistoryLayout layout_;
  std::vector<MinuteRecord> minutes_;
  std::vector<HistoryEvent> events_;
  std::vector<Grower> growers_;
  std::vector<GraphColumn> columns_;
  std::optional<std::size_t> pointed_;
};

}  // namespace kelvane
