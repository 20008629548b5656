#pragma once
// The history's unit: one minute of memory samples, reduced to what the graph and the export
// need (how many samples, least, mean and greatest load, the largest used amounts). A minute is
// named by its START, the sample time rounded down to a whole minute, in UTC seconds.

#include <algorithm>
#include <cstdint>

#include "memory/memory_status.h"

namespace kelvane {

inline constexpr std::int64_t kMinuteSeconds = 60;
// Minutes are kept while their START is less than this before the newest START.
inline constexpr std::int64_t kKeptSeconds = 31 * 86400;
inline constexpr std::int64_t kKeptMinutes = kKeptSeconds / kMinuteSeconds;  // 44,640
// A sample this much older than the newest minute, or less, is dropped: a clock set back a
// little never rewrites what is held. Further back, the clock was far ahead and is now right.
inline constexpr std::int64_t kSetBackToleranceSeconds = 600;

// One sample as the history takes it. Times are UTC seconds; amounts are bytes.
struct HistorySample {
  std::int64_t time = 0;
  std::uint32_t load = 0;  // percent, 0..100
  std::uint64_t usedPhys = 0;
  std::uint64_t usedPage = 0;
};

// The sample the tick already reads, at a given UTC time. A used amount that the system
// reports below zero counts as none.
HistorySample historySampleOf(const MemorySample& sample, std::int64_t utcSeconds);

constexpr std::int64_t minuteStartOf(std::int64_t time) {
  // Times before 1970 round down too, so that every minute holds sixty seconds.
  const std::int64_t rest = time % kMinuteSeconds;
  return time - (rest < 0 ? rest + kMinuteSeconds : rest);
}

struct MinuteRecord {
  std::int64_t start = 0;
  std::uint64_t count = 0;
  std::uint64_t loadSum = 0;
  std::uint8_t minLoad = 0;
  std::uint8_t maxLoad = 0;
  std::uint64_t maxUsedPhys = 0;
  std::uint64_t maxUsedPage = 0;

  static MinuteRecord startedBy(const HistorySample& sample) {
    const auto load = static_cast<std::uint8_t>(sample.load);
    return {minuteStartOf(sample.time), 1, load, load, load, sample.usedPhys, sample.usedPage};
  }

  void join(const HistorySample& sample) {
    const auto load = static_cast<std::uint8_t>(sample.load);
    ++count;
    loadSum += load;
    minLoad = std::min(minLoad, load);
    maxLoad = std::max(maxLoad, load);
    maxUsedPhys = std::max(maxUsedPhys, sample.usedPhys);
    maxUsedPage = std::max(maxUsedPage, sample.usedPage);
  }

  // Ten times the mean load, rounded half up, in integers.
  std::uint64_t average10() const { return count == 0 ? 0 : (20 * loadSum + count) / (2 * count); }

  friend bool operator==(const MinuteRecord&, const MinuteRecord&) = default;
};

}  // namespace kelvane
