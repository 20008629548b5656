#include "app/timer_intervals.h"

#include <algorithm>

namespace kelvane {

std::uint32_t defragIntervalMs(std::int32_t minutes) {
  const std::int64_t ms = static_cast<std::int64_t>(std::max<std::int32_t>(minutes, 0)) * 60000;
  return static_cast<std::uint32_t>(std::min<std::int64_t>(ms, kLongestTimerMs));
}

}  // namespace kelvane
