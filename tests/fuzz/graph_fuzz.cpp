// libFuzzer target: the graph's columns over widths 0 to 5,000 and ranges up to 2^31 seconds.
// Checked for any input, against the header's words: a minute counts in the columns from its
// start's to the one before the next minute's start's, and at least in its start's; a column is
// recorded exactly when a minute counts in it, and then holds the least,
// the greatest and the mean load and the largest used amount of those minutes; columnOf puts a
// moment in the column whose seconds hold it, and outside the range gives the column count; and
// two consecutive minutes leave no unrecorded column between their starts' columns, however wide.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <vector>

#include "history/graph_columns.h"

#include "fuzz_check.h"

using namespace kelvane;

namespace {

// Column c holds the seconds [from + c*span/columns, from + (c+1)*span/columns).
std::size_t expectedColumn(std::int64_t time, std::int64_t from, std::int64_t to, std::size_t columns) {
  if (time < from || time >= to) return columns;
  return static_cast<std::size_t>(static_cast<unsigned __int128>(time - from) * columns /
                                  static_cast<unsigned __int128>(to - from));
}

MinuteRecord someMinute(FuzzedDataProvider& in, std::int64_t start) {
  MinuteRecord minute;
  minute.start = start;
  minute.count = in.ConsumeIntegralInRange<std::uint64_t>(1, 120);
  minute.minLoad = in.ConsumeIntegralInRange<std::uint8_t>(0, 100);
  minute.maxLoad = in.ConsumeIntegralInRange<std::uint8_t>(minute.minLoad, 100);
  minute.loadSum = in.ConsumeIntegralInRange<std::uint64_t>(minute.count * minute.minLoad, minute.count * minute.maxLoad);
  minute.maxUsedPhys = in.ConsumeIntegral<std::uint64_t>() >> 16;
  return minute;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::size_t columns = in.ConsumeIntegralInRange<std::size_t>(0, 5000);
  const std::int64_t from = in.ConsumeIntegralInRange<std::int64_t>(-(std::int64_t{1} << 40), std::int64_t{1} << 40);
  const std::int64_t span = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int64_t>(1, 4 * 3600)
                                             : in.ConsumeIntegralInRange<std::int64_t>(1, std::int64_t{1} << 31);
  const std::int64_t to = from + span;
  std::set<std::int64_t> starts;
  for (int n = in.ConsumeIntegralInRange(0, 64); n > 0; --n)
    starts.insert(minuteStartOf(from + in.ConsumeIntegralInRange<std::int64_t>(-120, span + 60)));
  std::vector<MinuteRecord> minutes;
  for (const std::int64_t start : starts) minutes.push_back(someMinute(in, start));

  const std::vector<GraphColumn> got = graphColumns(minutes, from, to, columns);
  FUZZ_CHECK(got.size() == columns);
  std::vector<GraphColumn> want(columns);
  std::vector<std::uint64_t> sums(columns), counts(columns);
  for (const MinuteRecord& minute : minutes) {
    if (minute.start + kMinuteSeconds <= from || minute.start >= to || columns == 0) continue;
    const std::size_t first = expectedColumn(std::max(minute.start, from), from, to, columns);
    const std::size_t next = expectedColumn(minute.start + kMinuteSeconds, from, to, columns);
    for (std::size_t c = first; c == first || c < next; ++c) {
      GraphColumn& column = want[c];
      column.minLoad = column.recorded ? std::min(column.minLoad, minute.minLoad) : minute.minLoad;
      column.maxLoad = column.recorded ? std::max(column.maxLoad, minute.maxLoad) : minute.maxLoad;
      column.maxUsedPhys = std::max(column.maxUsedPhys, minute.maxUsedPhys);
      column.recorded = true;
      sums[c] += minute.loadSum;
      counts[c] += minute.count;
    }
  }
  for (std::size_t c = 0; c < columns; ++c) {
    FUZZ_CHECK(got[c].recorded == want[c].recorded);
    if (!want[c].recorded) continue;
    FUZZ_CHECK(got[c].minLoad == want[c].minLoad && got[c].maxLoad == want[c].maxLoad &&
          got[c].maxUsedPhys == want[c].maxUsedPhys);
    FUZZ_CHECK(got[c].mean10 == (20 * sums[c] + counts[c]) / (2 * counts[c]));
  }
  for (std::size_t i = 1; i < minutes.size(); ++i) {
    if (minutes[i].start != minutes[i - 1].start + kMinuteSeconds || minutes[i - 1].start < from) continue;
    const std::size_t end = std::min(columns, expectedColumn(minutes[i].start, from, to, columns) + 1);
    for (std::size_t c = expectedColumn(minutes[i - 1].start, from, to, columns); c < end; ++c) FUZZ_CHECK(got[c].recorded);
  }
  for (int n = 0; n < 8; ++n) {
    const std::int64_t time = from + in.ConsumeIntegralInRange<std::int64_t>(-2, span + 1);
    FUZZ_CHECK(columnOf(time, from, to, columns) == expectedColumn(time, from, to, columns));
  }
  return 0;
}
