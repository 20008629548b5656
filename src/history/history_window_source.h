#pragma once
// What the history window needs from the program that shows it: the held history, the processes
// that grew, the picture's thresholds and colours, and a place to keep its size and range. The
// main form implements it; the window keeps nothing of it once it is closed.

#include <cstdint>
#include <optional>
#include <vector>

#include "common/number_format.h"
#include "history/history_file.h"
#include "history/history_view.h"
#include "history/process_growth.h"

namespace kelvane {

// Where the window was, in screen pixels, and the range it showed.
struct HistoryWindowPlace {
  std::optional<int> left;  // nothing: centred on the taskbar's monitor
  std::optional<int> top;
  int width = 0;  // the window's outer size; 0: 640 x 360 client pixels at 96 DPI, scaled
  int height = 0;
  int dpi = 96;  // the DPI the size was kept at
  HistoryRange range = HistoryRange::Day;
};

class HistoryWindowSource {
 public:
  virtual ~HistoryWindowSource() = default;
  // Every minute held, the open one included, and the events, oldest first.
  virtual HistoryContent heldHistory() = 0;
  // The processes that grew most between `from` and `to` (the snapshots of the last day).
  virtual std::vector<Grower> growers(std::int64_t from, std::int64_t to) = 0;
  // The thresholds and colours the tray picture uses now, and the system's colours.
  virtual HistoryLook look() = 0;
  virtual NumberFormat numberFormat() = 0;
  virtual HistoryWindowPlace place() = 0;
  // Called when the window closes, and when its range changes.
  virtual void keepPlace(const HistoryWindowPlace& place) = 0;
};

}  // namespace kelvane
