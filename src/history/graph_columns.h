#pragma once
// The graph's reduction: the minutes of a range spread over the picture's pixel columns, each
// column with the least, mean and greatest load of the minutes it covers, or nothing (a gap).
// Column c covers the seconds [from + c*span/columns, from + (c+1)*span/columns) of the range.
// A minute starting at s counts in the columns from columnOf(s) to columnOf(s + 60) - 1, and at
// least in columnOf(s): consecutive minutes leave no hole between them at any width, and a
// column that straddles two minutes belongs to the later one (when that one was recorded).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "history/minute_record.h"

namespace kelvane {

struct GraphColumn {
  bool recorded = false;  // false: a gap, nothing was recorded
  std::uint8_t minLoad = 0;
  std::uint8_t maxLoad = 0;
  std::uint16_t mean10 = 0;  // ten times the mean load of its samples, rounded half up
  std::uint64_t maxUsedPhys = 0;
};

// `minutes` oldest first; the range [from, to) is at most 2^31 seconds long and `columns` at most
// 2^20.
std::vector<GraphColumn> graphColumns(std::span<const MinuteRecord> minutes, std::int64_t from,
                                      std::int64_t to, std::size_t columns);

// The column a moment falls in (for the marks of alerts and releases), or `columns` when it is
// outside the range.
std::size_t columnOf(std::int64_t time, std::int64_t from, std::int64_t to, std::size_t columns);

}  // namespace kelvane
