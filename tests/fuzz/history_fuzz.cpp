// libFuzzer target: the history file. Each input is read three ways:
//  - as a writer's life: minutes (oldest first, a repeated START replacing the held minute) and
//    events of every kind go through HistoryFile into a new file, and what readHistory reads back
//    at a given time equals what was written, in order, less the minutes that start more than
//    the set-back tolerance after that time;
//  - the same file with one written record's byte changed: its check sum no longer matches, so
//    reading drops that record alone, counts it as skipped, and every other record survives;
//  - as the bytes of a file behind a current header, at the input's own length and inside a
//    file of the full size: a file of any other length is repaired to the full size with every
//    record where it was, reading the same before and after; no minute read is later than the
//    given time allows, none is 31 days older than the newest; and reading, opening and writing
//    any file never fails other than by saying so.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

#include "history/history_file.h"
#include "history/history_format.h"

#include "fuzz_check.h"

using namespace kelvane;
using namespace kelvane::history_format;

namespace {

// A file of fixed size in memory, as the shell's file is: reads and writes past its end fail.
class MemoryIo : public HistoryIo {
 public:
  explicit MemoryIo(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() override { return bytes_.size(); }
  bool read(std::uint64_t offset, std::uint8_t* data, std::size_t size) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    std::memcpy(data, bytes_.data() + offset, size);
    return true;
  }
  bool write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    std::memcpy(bytes_.data() + offset, data, size);
    return true;
  }
  bool resize(std::uint64_t size) override {
    bytes_.resize(size);
    return true;
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

MinuteRecord someMinute(FuzzedDataProvider& in, std::int64_t start) {
  HistorySample sample{start + in.ConsumeIntegralInRange<std::int64_t>(0, 59), in.ConsumeIntegralInRange(0u, 100u),
                       in.ConsumeIntegral<std::uint64_t>() >> in.ConsumeIntegralInRange(16, 56),
                       in.ConsumeIntegral<std::uint64_t>() >> 16};
  MinuteRecord minute = MinuteRecord::startedBy(sample);
  for (int more = in.ConsumeIntegralInRange(0, 5); more > 0; --more) {
    sample.load = in.ConsumeIntegralInRange(0u, 100u);
    sample.usedPhys = in.ConsumeIntegral<std::uint64_t>() >> 16;
    minute.join(sample);
  }
  return minute;
}

// Events hold only what their kind stores, and alert names that fit the record whole.
HistoryEvent someEvent(FuzzedDataProvider& in) {
  HistoryEvent event;
  event.time = in.ConsumeIntegral<std::int64_t>();
  event.kind = static_cast<HistoryEventKind>(in.ConsumeIntegralInRange(1, 4));
  if (event.kind == HistoryEventKind::Release) {
    event.source = static_cast<ReleaseSource>(in.ConsumeIntegralInRange(0, 5));
    event.availBefore = in.ConsumeIntegral<std::uint64_t>();
    event.availAfter = in.ConsumeIntegral<std::uint64_t>();
  } else if (event.kind == HistoryEventKind::Alert) {
    event.load = in.ConsumeIntegralInRange<std::uint8_t>(0, 100);
    for (int i = in.ConsumeIntegralInRange(0, 5); i > 0; --i) {
      std::string name = in.ConsumeRandomLengthString(kAlertNameBytes / kAlertProcesses - 1);
      std::replace(name.begin(), name.end(), '\0', '?');
      event.top.push_back({name, in.ConsumeIntegral<std::uint64_t>()});
    }
  }
  return event;
}

void writerAndReader(FuzzedDataProvider& in) {
  MemoryIo io{std::vector<std::uint8_t>(kFileSize)};
  FUZZ_CHECK(createHistoryFile(io));
  FUZZ_CHECK(checkHistoryFile(io) == HistoryFileState::Current);
  std::int64_t start = minuteStartOf(in.ConsumeIntegralInRange<std::int64_t>(-(std::int64_t{1} << 45), std::int64_t{1} << 45));
  HistoryFile file(io, start);
  std::map<std::int64_t, MinuteRecord> minutes;  // what a reader should find, by START
  std::vector<HistoryEvent> events;
  // Within 30 days of the first, so that no minute leaves the kept span.
  const std::int64_t last = start + 30 * 86400;
  for (int steps = in.ConsumeIntegralInRange(0, 300); steps > 0 && in.remaining_bytes() > 0; --steps) {
    if (in.ConsumeBool()) {
      start = std::min(last, start + kMinuteSeconds * in.ConsumeIntegralInRange(0, 3000));
      const MinuteRecord minute = someMinute(in, start);
      file.keep(minute);
      minutes[start] = minute;
    } else {
      events.push_back(someEvent(in));
      file.append(events.back());
    }
  }
  FUZZ_CHECK(!file.inMemory());
  // Read at a time from before the first minute to after the last.
  const std::int64_t now = minutes.empty() ? start : in.ConsumeIntegralInRange(minutes.begin()->first - 3600, start + 3600);
  std::erase_if(minutes, [&](const auto& held) { return held.first > now + kSetBackToleranceSeconds; });
  std::vector<MinuteRecord> wantMinutes;
  for (const auto& [at, minute] : minutes) wantMinutes.push_back(minute);
  const std::optional<HistoryContent> read = readHistory(io, now);
  FUZZ_CHECK(read && read->skippedMinutes == 0 && read->skippedEvents == 0);
  FUZZ_CHECK(read->minutes == wantMinutes);
  FUZZ_CHECK(read->events == events);

  // One byte of one written record changed.
  if (minutes.empty() && events.empty()) return;
  const std::size_t victim = in.ConsumeIntegralInRange<std::size_t>(0, minutes.size() + events.size() - 1);
  const bool minute = victim < minutes.size();
  std::uint64_t offset = 0;
  std::size_t size = 0;
  if (minute) {
    const std::int64_t at = std::next(minutes.begin(), static_cast<std::ptrdiff_t>(victim))->first;
    offset = minuteOffset(minuteSlotOf(at));
    size = kMinuteRecordSize;
    wantMinutes.erase(std::find(wantMinutes.begin(), wantMinutes.end(), minutes[at]));
  } else {
    const std::size_t index = victim - minutes.size();
    offset = eventOffset(eventSlotOf(static_cast<std::uint32_t>(index + 1)));
    size = kEventRecordSize;
    events.erase(events.begin() + static_cast<std::ptrdiff_t>(index));
  }
  std::uint8_t* record = io.bytes().data() + offset;
  record[in.ConsumeIntegralInRange<std::size_t>(0, size - 1)] ^= in.ConsumeIntegralInRange<std::uint8_t>(1, 255);
  const bool zeroed = std::all_of(record, record + size, [](std::uint8_t b) { return b == 0; });
  const std::optional<HistoryContent> spoiled = readHistory(io, now);
  FUZZ_CHECK(spoiled.has_value());
  FUZZ_CHECK(spoiled->skippedMinutes == (minute && !zeroed ? 1u : 0u));
  FUZZ_CHECK(spoiled->skippedEvents == (!minute && !zeroed ? 1u : 0u));
  FUZZ_CHECK(spoiled->minutes == wantMinutes);
  FUZZ_CHECK(spoiled->events == events);
}

bool sameContent(const HistoryContent& a, const HistoryContent& b) {
  return a.minutes == b.minutes && a.events == b.events && a.skippedMinutes == b.skippedMinutes &&
         a.skippedEvents == b.skippedEvents;
}

// Whatever a file holds, the program opens it, reads it and writes to it without harm.
void anyFile(std::vector<std::uint8_t> bytes, std::int64_t now) {
  MemoryIo io(std::move(bytes));
  const std::uint64_t length = io.size();
  HistoryFileState state = checkHistoryFile(io);
  FUZZ_CHECK(state != HistoryFileState::Unreadable);
  std::optional<HistoryContent> read = readHistory(io, now);
  if (state == HistoryFileState::WrongLength) {
    FUZZ_CHECK(length != kFileSize && read.has_value());
    const std::optional<HistoryRepair> repair = repairHistoryLength(io);
    FUZZ_CHECK(repair.has_value() && io.size() == kFileSize);
    FUZZ_CHECK(repair->bytesAdded == (length < kFileSize ? kFileSize - length : 0));
    FUZZ_CHECK(repair->bytesCut == (length > kFileSize ? length - kFileSize : 0));
    state = checkHistoryFile(io);
    FUZZ_CHECK(state == HistoryFileState::Current);
    const std::optional<HistoryContent> repaired = readHistory(io, now);
    FUZZ_CHECK(repaired.has_value() && sameContent(*repaired, *read));
  }
  if (state != HistoryFileState::Current) return;
  FUZZ_CHECK(read.has_value());
  FUZZ_CHECK(std::is_sorted(read->minutes.begin(), read->minutes.end(),
                            [](const MinuteRecord& a, const MinuteRecord& b) { return a.start < b.start; }));
  for (const MinuteRecord& minute : read->minutes) {
    FUZZ_CHECK(minute.start <= now + kSetBackToleranceSeconds);
    FUZZ_CHECK(read->minutes.back().start - minute.start < kKeptSeconds);
  }
  HistoryFile file(io, now);
  (void)file.newest();
  HistoryEvent exit;
  exit.kind = HistoryEventKind::Exit;
  file.append(exit);
  const HistoryContent held = file.content();
  FUZZ_CHECK(held.minutes.size() <= read->minutes.size());
  FUZZ_CHECK(!held.events.empty() && held.events.back() == exit);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  writerAndReader(in);
  // The time of reading: the input's last eight bytes.
  std::int64_t now = 0;
  std::memcpy(&now, data + size - std::min<std::size_t>(size, sizeof now), std::min<std::size_t>(size, sizeof now));

  const HeaderBytes header = encodeHeader();
  std::vector<std::uint8_t> headed(header.begin(), header.end());
  headed.insert(headed.end(), data, data + size);
  anyFile(std::move(headed), now);

  // The input as records somewhere in a file of the full size, among the minutes or the events
  // as its first two bytes say.
  std::vector<std::uint8_t> whole(kFileSize);
  std::copy(header.begin(), header.end(), whole.begin());
  const std::size_t place = size >= 2 ? data[0] | data[1] << 8 : 0;
  const std::size_t at = kHeaderSize + place * 31 % (kFileSize - kHeaderSize);
  std::copy(data, data + std::min<std::size_t>(size, kFileSize - at), whole.begin() + static_cast<std::ptrdiff_t>(at));
  // Half of them also grown past the full size by the input once more.
  if (size > 0 && data[0] % 2 == 1) whole.insert(whole.end(), data, data + size);
  anyFile(std::move(whole), now);
  return 0;
}
