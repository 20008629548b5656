#include "history/history_file.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace kelvane {

using namespace history_format;

namespace {

// Records read at a time: 16 KB, so that opening the file leaves no large block in the heap.
constexpr std::size_t kChunkRecords = 512;
constexpr std::size_t kChunkEvents = 102;
constexpr std::size_t kZeroRecords = 64;     // minute records erased by one write at most
const std::uint8_t kZeros[kZeroRecords * kMinuteRecordSize] = {};

// Reads the range as far as the file holds it; what lies past its end reads as zero bytes (empty
// records), as it will once a short file has been brought to its size.
bool readPresent(HistoryIo& io, std::uint64_t fileSize, std::uint64_t offset, std::uint8_t* data,
                 std::size_t size) {
  const auto present = static_cast<std::size_t>(offset >= fileSize ? 0 : std::min<std::uint64_t>(size, fileSize - offset));
  std::fill(data + present, data + size, std::uint8_t{0});
  return present == 0 || io.read(offset, data, present);
}

// Every minute slot's state and record, in slot order; false when a read fails.
bool scanMinutes(HistoryIo& io,
                 const std::function<void(std::size_t, RecordState, const MinuteRecord&)>& visit) {
  const std::uint64_t fileSize = io.size();
  std::vector<std::uint8_t> chunk(kChunkRecords * kMinuteRecordSize);
  for (std::size_t first = 0; first < kMinuteSlots; first += kChunkRecords) {
    const std::size_t count = std::min(kChunkRecords, kMinuteSlots - first);
    if (!readPresent(io, fileSize, minuteOffset(first), chunk.data(), count * kMinuteRecordSize)) return false;
    for (std::size_t i = 0; i < count; ++i) {
      MinuteRecord minute;
      const RecordState state = decodeMinute(&chunk[i * kMinuteRecordSize], first + i, minute);
      visit(first + i, state, minute);
    }
  }
  return true;
}

bool scanEvents(HistoryIo& io,
                const std::function<void(RecordState, std::uint32_t, HistoryEvent&)>& visit) {
  const std::uint64_t fileSize = io.size();
  std::vector<std::uint8_t> chunk(kChunkEvents * kEventRecordSize);
  for (std::size_t first = 0; first < kEventSlots; first += kChunkEvents) {
    const std::size_t count = std::min(kChunkEvents, kEventSlots - first);
    if (!readPresent(io, fileSize, eventOffset(first), chunk.data(), count * kEventRecordSize)) return false;
    for (std::size_t i = 0; i < count; ++i) {
      HistoryEvent event;
      std::uint32_t sequence = 0;
      const RecordState state = decodeEvent(&chunk[i * kEventRecordSize], first + i, event, sequence);
      visit(state, sequence, event);
    }
  }
  return true;
}

bool isKeptBeside(std::int64_t start, std::int64_t newest) {
  return newest - start < kKeptSeconds;
}

// The latest START a history opened or read at `now` holds: a running copy keeps the minutes a
// clock set back by the tolerance left ahead of it, and nothing further.
std::int64_t latestStartAt(std::int64_t now) {
  constexpr std::int64_t kLatestNow = std::numeric_limits<std::int64_t>::max() - kSetBackToleranceSeconds;
  return now >= kLatestNow ? std::numeric_limits<std::int64_t>::max() : now + kSetBackToleranceSeconds;
}

// The minutes held at or before `latest` START and the events; the writer's own view reads with
// no limit, since its minutes keep to the recorder's rules.
std::optional<HistoryContent> readUpTo(HistoryIo& io, std::int64_t latest) {
  HistoryContent content;
  // One block for a full ring: the system takes it back whole when the reader is done.
  content.minutes.reserve(kMinuteSlots);
  const bool minutesRead = scanMinutes(io, [&](std::size_t, RecordState state, const MinuteRecord& m) {
    if (state == RecordState::Valid && m.start <= latest) content.minutes.push_back(m);
    if (state == RecordState::Corrupt) ++content.skippedMinutes;
  });
  if (!minutesRead) return std::nullopt;
  if (!content.minutes.empty()) {
    // In slot order the kept minutes are the ascending order turned round once.
    auto& minutes = content.minutes;
    const auto byStart = [](const MinuteRecord& a, const MinuteRecord& b) { return a.start < b.start; };
    const std::int64_t newest = std::max_element(minutes.begin(), minutes.end(), byStart)->start;
    std::erase_if(minutes, [&](const MinuteRecord& m) { return !isKeptBeside(m.start, newest); });
    std::rotate(minutes.begin(), std::min_element(minutes.begin(), minutes.end(), byStart),
                minutes.end());
  }
  std::vector<std::pair<std::uint32_t, HistoryEvent>> events;
  const bool eventsRead = scanEvents(io, [&](RecordState state, std::uint32_t sequence, HistoryEvent& e) {
    if (state == RecordState::Valid) events.emplace_back(sequence, std::move(e));
    if (state == RecordState::Corrupt) ++content.skippedEvents;
  });
  if (!eventsRead) return std::nullopt;
  std::sort(events.begin(), events.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [sequence, event] : events) content.events.push_back(std::move(event));
  return content;
}

// Whether the first `size` bytes are all zero; nothing when a read fails.
std::optional<bool> holdsOnlyZeros(HistoryIo& io, std::uint64_t size) {
  std::vector<std::uint8_t> chunk(64 * 1024);
  for (std::uint64_t at = 0; at < size; at += chunk.size()) {
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - at));
    if (!io.read(at, chunk.data(), count)) return std::nullopt;
    if (std::any_of(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count),
                    [](std::uint8_t b) { return b != 0; }))
      return false;
  }
  return true;
}

}  // namespace

HistoryFileState checkHistoryFile(HistoryIo& io) {
  const std::uint64_t size = io.size();
  if (size >= kHeaderSize) {
    HeaderBytes header{};
    if (!io.read(0, header.data(), header.size())) return HistoryFileState::Unreadable;
    if (isCurrentHeader(header.data()))
      return size == kFileSize ? HistoryFileState::Current : HistoryFileState::WrongLength;
  }
  if (size > kFileSize) return HistoryFileState::Foreign;
  const std::optional<bool> zeros = holdsOnlyZeros(io, size);
  if (!zeros) return HistoryFileState::Unreadable;
  return *zeros ? HistoryFileState::Blank : HistoryFileState::Foreign;
}

bool createHistoryFile(HistoryIo& io) {
  const std::vector<std::uint8_t> zeros(64 * 1024);
  for (std::uint64_t at = kHeaderSize; at < kFileSize; at += zeros.size()) {
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(zeros.size(), kFileSize - at));
    if (!io.write(at, zeros.data(), size)) return false;
  }
  const HeaderBytes header = encodeHeader();
  return io.write(0, header.data(), header.size());
}

std::optional<HistoryRepair> repairHistoryLength(HistoryIo& io) {
  HistoryRepair repair;
  const std::uint64_t size = io.size();
  repair.bytesAdded = size < kFileSize ? kFileSize - size : 0;
  repair.bytesCut = size > kFileSize ? size - kFileSize : 0;
  if (!io.resize(kFileSize)) return std::nullopt;
  const auto count = [](RecordState state, std::size_t& kept, std::size_t& unreadable) {
    if (state == RecordState::Valid) ++kept;
    if (state == RecordState::Corrupt) ++unreadable;
  };
  const bool read =
      scanMinutes(io, [&](std::size_t, RecordState state, const MinuteRecord&) {
        count(state, repair.minutesKept, repair.minutesUnreadable);
      }) &&
      scanEvents(io, [&](RecordState state, std::uint32_t, HistoryEvent&) {
        count(state, repair.eventsKept, repair.eventsUnreadable);
      });
  if (!read) return std::nullopt;
  return repair;
}

std::optional<HistoryContent> readHistory(HistoryIo& io, std::int64_t now) {
  return readUpTo(io, latestStartAt(now));
}

HistoryFile::HistoryFile(HistoryIo& io, std::int64_t now)
    : io_(io), taken_((kMinuteSlots + 63) / 64), latestHeld_(latestStartAt(now)) {
  const std::int64_t latest = latestHeld_;
  bool anyValid = false;
  bool any = false;
  std::int64_t newest = 0;
  std::vector<std::size_t> stale;
  const auto findNewest = [&](std::size_t, RecordState state, const MinuteRecord& m) {
    anyValid = anyValid || state == RecordState::Valid;
    if (state != RecordState::Valid || m.start > latest || (any && m.start <= newest)) return;
    any = true;
    newest = m.start;
  };
  const auto takeKept = [&](std::size_t slot, RecordState state, const MinuteRecord& m) {
    if (state != RecordState::Valid) return;
    if (m.start > latest || !isKeptBeside(m.start, newest)) {
      stale.push_back(slot);
      return;
    }
    setTaken(slot, true);
    low_ = empty_ ? m.start : std::min(low_, m.start);
    empty_ = false;
  };
  const auto countEvents = [&](RecordState state, std::uint32_t sequence, HistoryEvent&) {
    if (state == RecordState::Valid) nextSequence_ = std::max(nextSequence_, sequence + 1);
  };
  if (!scanMinutes(io_, findNewest) || (anyValid && !scanMinutes(io_, takeKept)) ||
      !scanEvents(io_, countEvents)) {
    moveToMemory();
    return;
  }
  high_ = newest;
  for (const std::size_t slot : stale)
    if (!write(minuteOffset(slot), kZeros, kMinuteRecordSize)) return;
  latestHeld_ = std::numeric_limits<std::int64_t>::max();
}

void HistoryFile::moveToMemory() {
  std::optional<HistoryContent> held = readUpTo(io_, latestHeld_);
  memory_.emplace(held ? std::move(held->minutes) : std::vector<MinuteRecord>());
  if (held) memoryEvents_ = std::move(held->events);
}

void HistoryFile::setTaken(std::size_t slot, bool on) {
  const std::uint64_t bit = std::uint64_t{1} << (slot % 64);
  taken_[slot / 64] = on ? taken_[slot / 64] | bit : taken_[slot / 64] & ~bit;
}

bool HistoryFile::write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
  if (memory_) return false;
  if (io_.write(offset, data, size)) return true;
  moveToMemory();
  return false;
}

std::optional<MinuteRecord> HistoryFile::newest() {
  if (memory_) return memory_->minutes().empty() ? std::nullopt : std::optional(memory_->minutes().back());
  if (empty_) return std::nullopt;
  for (std::int64_t start = high_; start >= low_; start -= kMinuteSeconds)
    if (auto minute = find(start)) return minute;
  return std::nullopt;
}

HistoryContent HistoryFile::content() {
  if (!memory_) {
    if (auto held = readUpTo(io_, std::numeric_limits<std::int64_t>::max())) return std::move(*held);
    moveToMemory();
  }
  HistoryContent held;
  held.minutes = memory_->list();
  held.events = memoryEvents_;
  return held;
}

void HistoryFile::append(const HistoryEvent& event) {
  const EventBytes record = encodeEvent(event, nextSequence_);
  if (write(eventOffset(eventSlotOf(nextSequence_)), record.data(), record.size())) {
    ++nextSequence_;
    return;
  }
  memoryEvents_.push_back(event);
  if (memoryEvents_.size() > kEventSlots) memoryEvents_.erase(memoryEvents_.begin());
}

void HistoryFile::keep(const MinuteRecord& minute) {
  if (!canHoldMinute(minute.start)) return;
  const MinuteBytes record = encodeMinute(minute);
  const std::size_t slot = minuteSlotOf(minute.start);
  if (!write(minuteOffset(slot), record.data(), record.size())) {
    memory_->keep(minute);
    return;
  }
  setTaken(slot, true);
  low_ = empty_ ? minute.start : std::min(low_, minute.start);
  high_ = empty_ ? minute.start : std::max(high_, minute.start);
  empty_ = false;
}

void HistoryFile::erase(std::int64_t first, std::int64_t last) {
  const std::int64_t step = first <= last ? kMinuteSeconds : -kMinuteSeconds;
  const std::int64_t minutes = std::min<std::int64_t>((last - first) / step + 1, kKeptMinutes);
  // Neighbouring taken slots are erased by one write, in the direction asked for.
  std::size_t runLow = 0;
  std::size_t runLength = 0;
  const auto flush = [&] {
    if (runLength > 0) write(minuteOffset(runLow), kZeros, runLength * kMinuteRecordSize);
    runLength = 0;
  };
  for (std::int64_t i = 0; i < minutes && !memory_; ++i) {
    const std::size_t slot = minuteSlotOf(first + i * step);
    if (!taken(slot)) {
      flush();
      continue;
    }
    setTaken(slot, false);
    const bool extends = runLength > 0 && runLength < kZeroRecords &&
                         (step > 0 ? slot == runLow + runLength : slot + 1 == runLow);
    if (!extends) flush();
    if (step > 0 && runLength == 0) runLow = slot;
    if (step < 0) runLow = slot;
    ++runLength;
  }
  flush();
}

void HistoryFile::dropBefore(std::int64_t start) {
  if (!memory_ && !empty_ && start > low_) {
    erase(low_, std::min(start - kMinuteSeconds, high_));
    empty_ = start > high_;
    low_ = start;
  }
  if (memory_) memory_->dropBefore(start);
}

void HistoryFile::dropAfter(std::int64_t start) {
  if (!memory_ && !empty_ && start < high_) {
    erase(high_, std::max(start + kMinuteSeconds, low_));
    empty_ = start < low_;
    high_ = start;
  }
  if (memory_) memory_->dropAfter(start);
}

std::optional<MinuteRecord> HistoryFile::find(std::int64_t start) {
  if (memory_) return memory_->find(start);
  const std::size_t slot = minuteSlotOf(start);
  if (empty_ || start < low_ || start > high_ || !taken(slot)) return std::nullopt;
  MinuteBytes record{};
  if (!io_.read(minuteOffset(slot), record.data(), record.size())) {
    moveToMemory();
    return memory_->find(start);
  }
  MinuteRecord minute;
  if (decodeMinute(record.data(), slot, minute) != RecordState::Valid || minute.start != start)
    return std::nullopt;
  return minute;
}

}  // namespace kelvane
