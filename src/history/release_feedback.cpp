#include "history/release_feedback.h"

#include "common/language.h"
#include "memory/memory_status.h"

namespace kelvane {

std::optional<std::uint64_t> releasedBytes(std::uint64_t availBefore, std::uint64_t availAfter) {
  const std::uint64_t gain = availAfter > availBefore ? availAfter - availBefore : 0;
  if (gain < kLeastReportedGain) return std::nullopt;
  return gain;
}

std::string releaseFeedbackText(std::uint64_t availBefore, std::uint64_t availAfter, const NumberFormat& format) {
  const std::optional<std::uint64_t> gain = releasedBytes(availBefore, availAfter);
  if (!gain) return tr(TextId::HistoryNothingReleased);
  return tr(TextId::HistoryReleased, {{"size", SizeText(static_cast<std::int64_t>(*gain), format)}});
}

bool releaseShowsBalloon(ReleaseSource source, bool releaseBalloon) {
  switch (source) {
    case ReleaseSource::Menu:
    case ReleaseSource::HotKey:
    case ReleaseSource::DoubleClick:
    case ReleaseSource::CommandLine: return releaseBalloon;
    case ReleaseSource::Timer:
    case ReleaseSource::HighLoad: return false;
  }
  return false;
}

}  // namespace kelvane
