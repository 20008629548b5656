#pragma once
// The window "Kelvane 内存历史" as data: the range it shows and the minutes of it reduced to the
// plot's columns, the pointed moment and its text, what each key and click does, and the picture
// (history_picture) of it all. The shell measures text, formats the pointed moment's time the
// user's way, and paints the plan with GDI.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/number_format.h"
#include "history/graph_columns.h"
#include "history/history_csv.h"
#include "history/history_event.h"
#include "history/history_layout.h"
#include "history/history_picture.h"
#include "history/process_growth.h"

namespace kelvane {

// The pointed moment: the span of its column, what was recorded there and what happened.
struct HistoryMoment {
  std::int64_t from = 0;  // UTC seconds, [from, to)
  std::int64_t to = 0;
  GraphColumn column;
  bool stopped = false;              // nothing recorded because the program had been ended
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
  // `texts` holds the widths of the buttons' and the list heading's texts in the window's font.
  void resize(int clientWidth, int clientHeight, int dpi, const HistoryTextWidths& texts = {});

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
  // Per column whether the program had been ended (its last start or exit before was an exit).
  void markStopped();
  // The recorded column nearest to `column`, searching `step` ways; the same when none.
  std::size_t recordedFrom(std::size_t column, int step) const;

  HistoryRange range_ = HistoryRange::Day;
  std::int64_t to_ = 0;
  HistoryLayout layout_;
  std::vector<MinuteRecord> minutes_;
  std::vector<HistoryEvent> events_;
  std::vector<Grower> growers_;
  std::vector<GraphColumn> columns_;
  std::vector<std::uint8_t> stopped_;
  bool runningAtFrom_ = true;  // unknown counts as running: a gap then reads as asleep
  std::optional<std::size_t> pointed_;
};

}  // namespace kelvane
