#include "history/minute_recorder.h"

#include <algorithm>

namespace kelvane {

void MinuteRecorder::change(const HistorySample& sample) {
  const std::int64_t start = minuteStartOf(sample.time);
  if (!open_) {
    open_ = MinuteRecord::startedBy(sample);
    return;
  }
  const std::int64_t newest = open_->start;
  if (start > newest) {
    // The closed minute first, then what fell out of the kept span: a stop in between leaves
    // the history as it was before this sample, plus the closed minute.
    store_.keep(*open_);
    store_.dropBefore(start - kKeptSeconds + kMinuteSeconds);
    open_ = MinuteRecord::startedBy(sample);
    return;
  }
  if (newest - start <= kSetBackToleranceSeconds) return;
  store_.dropAfter(start);
  open_ = store_.find(start);
  if (open_)
    open_->join(sample);
  else
    open_ = MinuteRecord::startedBy(sample);
}

void MinuteList::keep(const MinuteRecord& minute) {
  if (!minutes_.empty() && minutes_.back().start == minute.start)
    minutes_.back() = minute;
  else
    minutes_.push_back(minute);
}

void MinuteList::dropAfter(std::int64_t start) {
  while (!minutes_.empty() && minutes_.back().start > start) minutes_.pop_back();
}

void MinuteList::dropBefore(std::int64_t start) {
  while (!minutes_.empty() && minutes_.front().start < start) minutes_.pop_front();
}

std::optional<MinuteRecord> MinuteList::find(std::int64_t start) {
  const auto at = std::lower_bound(minutes_.begin(), minutes_.end(), start,
                                   [](const MinuteRecord& m, std::int64_t s) { return m.start < s; });
  if (at == minutes_.end() || at->start != start) return std::nullopt;
  return *at;
}

std::vector<MinuteRecord> heldMinutes(std::vector<MinuteRecord> held,
                                      const std::optional<MinuteRecord>& open) {
  if (open) {
    if (!held.empty() && held.back().start == open->start) held.pop_back();
    held.push_back(*open);
  }
  return held;
}

}  // namespace kelvane
