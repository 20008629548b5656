#include "history/minute_record.h"

namespace kelvane {

HistorySample historySampleOf(const MemorySample& sample, std::int64_t utcSeconds) {
  return {utcSeconds, std::min<std::uint32_t>(sample.dwMemoryLoad, 100),
          static_cast<std::uint64_t>(std::max<std::int64_t>(sample.usedPhys(), 0)),
          static_cast<std::uint64_t>(std::max<std::int64_t>(sample.usedPageFile(), 0))};
}

}  // namespace kelvane
