// Kelvane.History: what the file holds is what the recorder holds, across wraps of its rings,
// restarts, kills, clock jumps, and records spoilt by a write cut short.
#include "history/history_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>

#include "history/history_format.h"
#include "history/history_text.h"
#include "history/memory_history_io.h"

using namespace kelvane;
namespace format = kelvane::history_format;

namespace {

constexpr std::int64_t t0 = 1'700'000'040;

MemoryHistoryIo newFile() {
  MemoryHistoryIo io;
  EXPECT_TRUE(createHistoryFile(io));
  return io;
}

std::vector<MinuteRecord> minutesIn(MemoryHistoryIo& io, std::int64_t now) {
  EXPECT_EQ(checkHistoryFile(io), HistoryFileState::Current);
  const auto content = readHistory(io, now);
  return content ? content->minutes : std::vector<MinuteRecord>();
}

HistoryEvent alert(std::int64_t time, std::vector<TopProcess> top) {
  HistoryEvent event;
  event.time = time;
  event.kind = HistoryEventKind::Alert;
  event.load = 93;
  event.top = std::move(top);
  return event;
}

// A writer that fails from its nth write on.
struct FailingIo : MemoryHistoryIo {
  int writesLeft = 0;
  bool write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    return writesLeft-- > 0 && MemoryHistoryIo::write(offset, data, size);
  }
};

}  // namespace

TEST(HistoryFile, HoldsWhatTheRecorderHoldsThroughJumpsWrapsRestartsAndKills) {
  // A month and more of ticks that fills the ring and wraps it, then another with sleeps and
  // large clock jumps both ways; all along small set-backs, restarts (the open minute flushed as
  // at exit) and kills (it is lost). A list in memory sees the same samples.
  MemoryHistoryIo io = newFile();
  MinuteList list;
  std::optional<MinuteRecorder> inMemory(list);
  auto file = std::make_unique<HistoryFile>(io, t0);
  auto recorder = std::make_unique<MinuteRecorder>(*file);
  std::mt19937_64 random(7);
  std::int64_t clock = t0;
  std::int64_t farthest = t0;
  std::size_t mostHeld = 0;
  for (int step = 0; step < 140'000; ++step) {
    const bool calm = step < 70'000;
    const int dice = static_cast<int>(random() % 10'000);
    if (dice < 5 && !calm) clock += static_cast<std::int64_t>(random() % (9 * 86400));  // sleep
    else if (dice < 25) clock -= static_cast<std::int64_t>(random() % 700);             // set back
    else if (dice < 27 && !calm) clock -= static_cast<std::int64_t>(random() % (3 * 86400));
    else clock += 45;
    farthest = std::max(farthest, clock);
    const HistorySample sample{clock, static_cast<std::uint32_t>(random() % 101), random() % (1ull << 40),
                               random() % (1ull << 40)};
    inMemory->add(sample);
    recorder->add(sample);
    const bool exits = dice >= 30 && dice < 40;
    const bool killed = dice >= 40 && dice < 45;
    if (exits || killed) {
      if (exits) recorder->flush();
      file = std::make_unique<HistoryFile>(io, clock);
      recorder = std::make_unique<MinuteRecorder>(*file);
      if (killed) {
        ASSERT_EQ(minutesIn(io, clock), list.list()) << "a kill at step " << step;
        // The minute under way is lost: the memory side forgets it too, to go on alike.
        inMemory.emplace(list);
      }
      if (auto newest = file->newest()) {
        recorder->resume(*newest);
        if (killed) inMemory->resume(*newest);
      }
    }
    ASSERT_FALSE(file->inMemory());
    if (calm) mostHeld = std::max(mostHeld, list.minutes().size());
  }
  recorder->flush();
  inMemory->flush();
  EXPECT_EQ(minutesIn(io, clock), list.list());
  EXPECT_GT(farthest - t0, 62 * 86400);  // the ring went round more than twice
  EXPECT_GT(mostHeld, 44'500u);  // full, besides the open minute and those lost to kills
}

TEST(HistoryFile, ATornOrCorruptRecordIsSkippedAloneAndAForeignFileIsNotTaken) {
  MemoryHistoryIo io = newFile();
  {
    HistoryFile file(io, t0);
    MinuteRecorder recorder(file);
    for (int i = 0; i < 5; ++i) recorder.add({t0 + 60 * i, 50, 1000, 2000});
    recorder.flush();
    for (int i = 0; i < 3; ++i) file.append(alert(t0 + i, {{"a.exe", 1u << 30}}));
  }
  ASSERT_EQ(minutesIn(io, t0 + 300).size(), 5u);
  // A write cut short: the first half of the second minute's record is new, the rest old.
  const std::uint64_t second = format::minuteOffset(format::minuteSlotOf(t0 + 60));
  std::fill_n(io.bytes.begin() + static_cast<std::ptrdiff_t>(second), 16, 0);
  // One bit flipped in the third event.
  io.bytes[format::eventOffset(format::eventSlotOf(3)) + 40] ^= 0x10;
  auto content = readHistory(io, t0 + 300);
  ASSERT_TRUE(content);
  ASSERT_EQ(content->minutes.size(), 4u);
  EXPECT_EQ(content->minutes[1].start, t0 + 120);
  EXPECT_EQ(content->skippedMinutes, 1u);
  EXPECT_EQ(content->events.size(), 2u);
  EXPECT_EQ(content->skippedEvents, 1u);
  // The writer goes on beside the spoilt records, and overwrites them when their turn comes.
  {
    HistoryFile file(io, t0 + 300);
    EXPECT_EQ(file.newest()->start, t0 + 240);
    file.append(alert(t0 + 9, {}));
  }
  EXPECT_EQ(readHistory(io, t0 + 300)->events.back().time, t0 + 9);

  // Not of this version, or without its header: Foreign, left as it is. Only of another size:
  // to be repaired.
  MemoryHistoryIo other = newFile();
  other.bytes[8] = 2;
  EXPECT_EQ(checkHistoryFile(other), HistoryFileState::Foreign);
  MemoryHistoryIo shorter = newFile();
  shorter.bytes.pop_back();
  EXPECT_EQ(checkHistoryFile(shorter), HistoryFileState::WrongLength);
  FailingIo failing;
  failing.writesLeft = 3;
  EXPECT_FALSE(createHistoryFile(failing));
  failing.bytes.resize(format::kFileSize);
  failing.bytes[format::kFileSize / 2] = 1;
  EXPECT_EQ(checkHistoryFile(failing), HistoryFileState::Foreign);
  // What a stop while the file was made leaves, zeros only, holds nothing; past a history
  // file's size it is not ours to judge.
  failing.bytes[format::kFileSize / 2] = 0;
  EXPECT_EQ(checkHistoryFile(failing), HistoryFileState::Blank);
  failing.bytes.push_back(0);
  EXPECT_EQ(checkHistoryFile(failing), HistoryFileState::Foreign);
  EXPECT_EQ(format::kFileSize, 2'083'904u);
}

TEST(HistoryFile, EventsKeepTheLatestInOrderAndAlertNamesAreCutToFit) {
  MemoryHistoryIo io = newFile();
  const std::string longName = std::string(27, 'x') + "\xe5\x86\x85\xe5\xad\x98.exe";  // 27 + 6 + 4 bytes
  {
    HistoryFile file(io, t0);
    for (std::uint32_t i = 0; i < format::kEventSlots + 10; ++i) {
      HistoryEvent release;
      release.time = t0 + i;
      release.kind = HistoryEventKind::Release;
      release.source = ReleaseSource::CommandLine;
      release.availBefore = i;
      release.availAfter = 2ull * i;
      file.append(release);
    }
  }
  {
    HistoryFile file(io, t0);  // a restart numbers on, after the newest
    file.append(alert(t0 + 99'999, {{longName, 5ull << 30}, {"b.exe", 4}, {longName, 3}, {longName, 2}, {"e", 1}}));
  }
  const auto content = readHistory(io, t0);
  ASSERT_TRUE(content);
  ASSERT_EQ(content->events.size(), format::kEventSlots);
  EXPECT_EQ(content->events.front().time, t0 + 11);
  EXPECT_EQ(content->events.front().availAfter, 22u);
  EXPECT_EQ(content->events.front().source, ReleaseSource::CommandLine);
  const HistoryEvent& last = content->events.back();
  ASSERT_EQ(last.kind, HistoryEventKind::Alert);
  ASSERT_EQ(last.top.size(), 5u);
  // 100 bytes for five names and their ends: the short ones whole, the long ones cut at a
  // character boundary to the same length (29 bytes would split the first Chinese character).
  EXPECT_EQ(last.top[1], (TopProcess{"b.exe", 4}));
  EXPECT_EQ(last.top[4], (TopProcess{"e", 1}));
  EXPECT_EQ(last.top[0].bytes, 5ull << 30);
  for (int i : {0, 2, 3}) EXPECT_EQ(last.top[i].name, std::string(27, 'x')) << i;
  // As the preview prints them.
  EXPECT_EQ(eventLine(content->events.front()), "event: 1700000051 release command-line 11 22");
  EXPECT_EQ(eventLine(last).substr(0, 77),
            "event: 1700100039 alert 93 \"xxxxxxxxxxxxxxxxxxxxxxxxxxx\" 5368709120 \"b.exe\" 4");
}

TEST(HistoryFile, AFailedWriteMovesTheHistoryIntoMemoryWithNothingLost) {
  FailingIo io;
  io.writesLeft = 1'000;
  ASSERT_TRUE(createHistoryFile(io));
  io.writesLeft = 2;
  HistoryFile file(io, t0);
  MinuteRecorder recorder(file);
  for (int i = 0; i < 5; ++i) recorder.add({t0 + 60 * i, 50, 1, 1});
  EXPECT_TRUE(file.inMemory());
  EXPECT_EQ(io.writesLeft, -1);  // the failed write was the last one tried
  file.append(alert(t0 + 1, {}));
  file.dropAfter(t0 + 60);
  recorder.add({t0 + 1, 60, 1, 1});
  const HistoryContent held = file.content();
  ASSERT_EQ(held.minutes.size(), 2u);
  EXPECT_EQ(held.minutes[1].start, t0 + 60);
  EXPECT_EQ(held.events.size(), 1u);
  EXPECT_EQ(io.writesLeft, -1);
  EXPECT_EQ(minutesIn(io, t0 + 300).size(), 2u);  // what the file got before it failed stays
}

namespace {

constexpr std::int64_t kNow = t0 + 44'100 * 60;  // a minute's start

// The 31 days before kNow but for a night 22 days ago: 44,000 closed minutes, and 100 events.
MemoryHistoryIo monthOfMinutes() {
  MemoryHistoryIo io = newFile();
  HistoryFile file(io, kNow);
  MinuteRecorder recorder(file);
  for (std::int64_t back = format::kMinuteSlots - 1; back >= 1; --back)
    if (back < 22 * 1440 - 300 || back > 22 * 1440 + 338) recorder.add({kNow - 60 * back, 40, 1, 1});
  recorder.flush();
  for (int i = 0; i < 100; ++i) file.append(alert(kNow - 100 + i, {}));
  return io;
}

void putMinute(MemoryHistoryIo& io, std::int64_t start) {
  MinuteRecord minute;
  minute.start = start;
  minute.count = 1;
  const format::MinuteBytes record = format::encodeMinute(minute);
  std::copy(record.begin(), record.end(), io.bytes.begin() + static_cast<std::ptrdiff_t>(
                                              format::minuteOffset(format::minuteSlotOf(start))));
}

}  // namespace

TEST(HistoryFile, AMinuteFromAClockSetAheadIsErasedAndTheMonthKept) {
  MemoryHistoryIo io = monthOfMinutes();
  // What a clock 40 days ahead left before it was put right, in the slot of that night's minutes.
  putMinute(io, kNow + 40 * 86400);
  ASSERT_EQ(readHistory(io, kNow + 40 * 86400)->minutes.size(), 1u);

  // Read at the true time, the month is there and the stray minute is not.
  std::vector<MinuteRecord> month = readHistory(io, kNow)->minutes;
  ASSERT_EQ(month.size(), 44'000u);
  EXPECT_EQ(month.back().start, kNow - 60);
  {
    // A file that cannot be written (read-only): the month moves into memory without the minute.
    FailingIo readOnly;
    readOnly.bytes = io.bytes;
    HistoryFile file(readOnly, kNow);
    EXPECT_TRUE(file.inMemory());
    EXPECT_EQ(file.content().minutes, month);
  }
  {
    // The next start: the stray minute is erased, the month kept, and the run goes on from it.
    HistoryFile file(io, kNow);
    MinuteRecorder recorder(file);
    recorder.resume(*file.newest());
    recorder.add({kNow + 5, 60, 1, 1});
    recorder.flush();
  }
  month.push_back(MinuteRecord::startedBy({kNow + 5, 60, 1, 1}));
  EXPECT_EQ(readHistory(io, kNow + 40 * 86400)->minutes, month);
  EXPECT_EQ(readHistory(io, kNow)->events.size(), 100u);

  // A minute ahead by the tolerance a running copy allows is held; one a minute further is not.
  MemoryHistoryIo near = newFile();
  for (const std::int64_t start : {kNow - 60, kNow + 600, kNow + 660}) putMinute(near, start);
  { HistoryFile file(near, kNow); }
  const auto held = readHistory(near, kNow + 86400);
  ASSERT_EQ(held->minutes.size(), 2u);
  EXPECT_EQ(held->minutes.back().start, kNow + 600);
}

TEST(HistoryFile, AFileOfTheWrongLengthIsRepairedWhereItLies) {
  MemoryHistoryIo whole = monthOfMinutes();
  const HistoryContent before = *readHistory(whole, kNow);
  whole.bytes[format::minuteOffset(format::minuteSlotOf(kNow - 60)) + 9] ^= 1;  // spoilt before the cut
  MemoryHistoryIo cut(std::vector<std::uint8_t>(whole.bytes.begin(), whole.bytes.begin() + 1'000'000));
  ASSERT_EQ(checkHistoryFile(cut), HistoryFileState::WrongLength);
  const auto repaired = repairHistoryLength(cut);
  ASSERT_TRUE(repaired);
  // Every slot before the cut kept its bytes, the rest is empty: nothing moved or written again.
  ASSERT_EQ(cut.bytes.size(), format::kFileSize);
  EXPECT_TRUE(std::equal(cut.bytes.begin(), cut.bytes.begin() + 1'000'000, whole.bytes.begin()));
  EXPECT_TRUE(std::all_of(cut.bytes.begin() + 1'000'000, cut.bytes.end(), [](std::uint8_t b) { return b == 0; }));
  // 1,000,000 bytes hold the header and minute slots 0 to 31,247 whole.
  std::size_t slotsBeforeCut = 0;
  for (const MinuteRecord& m : before.minutes)
    slotsBeforeCut += format::minuteOffset(format::minuteSlotOf(m.start)) + format::kMinuteRecordSize <= 1'000'000;
  EXPECT_GT(slotsBeforeCut, 31'000u);
  EXPECT_EQ(repaired->minutesKept, slotsBeforeCut - 1);
  EXPECT_EQ(repaired->minutesUnreadable, 1u);
  EXPECT_EQ(repaired->eventsKept, 0u);
  EXPECT_EQ(repaired->bytesAdded, format::kFileSize - 1'000'000);
  EXPECT_EQ(repaired->bytesCut, 0u);
  EXPECT_EQ(checkHistoryFile(cut), HistoryFileState::Current);
  EXPECT_EQ(readHistory(cut, kNow)->minutes.size(), repaired->minutesKept);

  // 4 KB too long: the bytes past the size go, and everything else is as it was.
  MemoryHistoryIo grown = whole;
  grown.bytes.insert(grown.bytes.end(), 4096, 0xAB);
  ASSERT_EQ(checkHistoryFile(grown), HistoryFileState::WrongLength);
  const auto cutBack = repairHistoryLength(grown);
  ASSERT_TRUE(cutBack);
  EXPECT_TRUE(grown.bytes == whole.bytes);
  EXPECT_EQ(cutBack->minutesKept, 43'999u);
  EXPECT_EQ(cutBack->minutesUnreadable, 1u);
  EXPECT_EQ(cutBack->eventsKept, 100u);
  EXPECT_EQ(cutBack->eventsUnreadable, 0u);
  EXPECT_EQ(cutBack->bytesCut, 4096u);
  EXPECT_EQ(cutBack->bytesAdded, 0u);
}
