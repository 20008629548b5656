#pragma once
// What a release the user asked for says afterwards: how much physical memory became available
// about one second after it. Releases the timer or a high load made stay quiet; the history
// holds them.

#include <cstdint>
#include <optional>
#include <string>

#include "common/number_format.h"
#include "history/history_event.h"

namespace kelvane {

// A gain below this is no gain worth a number.
inline constexpr std::uint64_t kLeastReportedGain = 1ull << 20;

// The physical memory a release made available, or nothing when it is no gain worth a number.
std::optional<std::uint64_t> releasedBytes(std::uint64_t availBefore, std::uint64_t availAfter);

// "已释放 " and the gain's size text, or "没有可释放的内存" for a gain under 1 MB.
std::string releaseFeedbackText(std::uint64_t availBefore, std::uint64_t availAfter, const NumberFormat& format);

// Whether a release from `source` shows its balloon, with ReleaseBalloon as the user set it.
bool releaseShowsBalloon(ReleaseSource source, bool releaseBalloon);

}  // namespace kelvane
