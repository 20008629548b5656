#include "history/graph_columns.h"

#include <algorithm>

namespace kelvane {

std::size_t columnOf(std::int64_t time, std::int64_t from, std::int64_t to, std::size_t columns) {
  if (time < from || time >= to) return columns;
  return static_cast<std::size_t>(static_cast<std::uint64_t>(time - from) * columns /
                                  static_cast<std::uint64_t>(to - from));
}

std::vector<GraphColumn> graphColumns(std::span<const MinuteRecord> minutes, std::int64_t from,
                                      std::int64_t to, std::size_t columns) {
  std::vector<GraphColumn> result(columns);
  if (to <= from || columns == 0) return result;
  std::vector<std::uint64_t> sums(columns, 0);
  std::vector<std::uint64_t> counts(columns, 0);
  auto minute = std::lower_bound(minutes.begin(), minutes.end(), from - kMinuteSeconds + 1,
                                 [](const MinuteRecord& m, std::int64_t s) { return m.start < s; });
  for (; minute != minutes.end() && minute->start < to; ++minute) {
    // A minute ends where the next one begins: its last column is the one before the column of
    // the next minute's first second, so consecutive minutes meet with no column between them
    // however wide the plot, and a minute narrower than a column still keeps its own.
    const std::size_t first = columnOf(std::max(minute->start, from), from, to, columns);
    const std::size_t next = columnOf(minute->start + kMinuteSeconds, from, to, columns);
    const std::size_t last = next > first ? next - 1 : first;
    for (std::size_t c = first; c <= last; ++c) {
      GraphColumn& column = result[c];
      column.minLoad = column.recorded ? std::min(column.minLoad, minute->minLoad) : minute->minLoad;
      column.maxLoad = column.recorded ? std::max(column.maxLoad, minute->maxLoad) : minute->maxLoad;
      column.maxUsedPhys = std::max(column.maxUsedPhys, minute->maxUsedPhys);
      column.recorded = true;
      sums[c] += minute->loadSum;
      counts[c] += minute->count;
    }
  }
  for (std::size_t c = 0; c < columns; ++c)
    if (counts[c] > 0) result[c].mean10 = static_cast<std::uint16_t>((20 * sums[c] + counts[c]) / (2 * counts[c]));
  return result;
}

}  // namespace kelvane
