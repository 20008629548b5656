// Kelvane.History on a real (Wine) file system: kept across restarts while readers look on, a
// file of another kind kept aside, and a file or folder that cannot be written.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "history/program_history_win.h"
#include "history/history_export_win.h"
#include "history/history_format.h"
#include "history/history_io_win.h"
#include "scratch_folder_win.h"

using namespace kelvane;
using kelvane::testing::ScratchFolder;

namespace {

constexpr std::int64_t t0 = 1'700'000'040;

// The tray copy's run: open, resume, record a sample at each of `times`, note an event, exit.
struct TrayRun {
  explicit TrayRun(const std::wstring& path)
      : opened(openHistoryForWriting(path)), file(*opened.io, t0), recorder(file) {
    if (const auto newest = file.newest()) recorder.resume(*newest);
  }
  void record(std::int64_t time, std::uint32_t load) {
    recorder.add({time, load, 1000ull * load, 2000ull * load});
  }
  void exit(std::int64_t time) {
    recorder.flush();
    HistoryEvent event;
    event.time = time;
    event.kind = HistoryEventKind::Exit;
    file.append(event);
  }

  OpenedHistory opened;
  HistoryFile file;
  MinuteRecorder recorder;
};

std::vector<std::int64_t> startsOf(const std::vector<MinuteRecord>& minutes) {
  std::vector<std::int64_t> starts;
  for (const MinuteRecord& m : minutes) starts.push_back(m.start);
  return starts;
}

}  // namespace

TEST(HistoryIo, KeptAcrossRestartsWhileACommandLineRunReads) {
  ScratchFolder folder;
  const std::wstring path = folder.path() + kHistoryFileName;
  {
    TrayRun run(path);
    EXPECT_EQ(run.opened.notice, "");
    EXPECT_TRUE(run.opened.io->writable());
    run.record(t0, 40);
    run.record(t0 + 60, 50);
    run.record(t0 + 130, 60);  // opens the third minute, closing the second

    // A command-line run reads beside the writer, which keeps the file open.
    const ReadHistoryResult read = readHistoryFile(path, t0);
    ASSERT_TRUE(read.content) << read.failure;
    EXPECT_EQ(startsOf(read.content->minutes), (std::vector<std::int64_t>{t0, t0 + 60}));
    run.exit(t0 + 131);
    EXPECT_FALSE(run.file.inMemory());
  }
  EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(ScratchFolder::readBytes(path).size(), history_format::kFileSize);
  {
    // The restart continues the minute it stopped in, then goes on.
    TrayRun run(path);
    EXPECT_EQ(run.opened.notice, "");
    run.record(t0 + 150, 70);
    run.record(t0 + 200, 80);
    run.exit(t0 + 201);
  }
  const ReadHistoryResult read = readHistoryFile(path, t0);
  ASSERT_TRUE(read.content) << read.failure;
  const auto& minutes = read.content->minutes;
  ASSERT_EQ(startsOf(minutes), (std::vector<std::int64_t>{t0, t0 + 60, t0 + 120, t0 + 180}));
  EXPECT_EQ(minutes[2].count, 2u);
  EXPECT_EQ(minutes[2].minLoad, 60);
  EXPECT_EQ(minutes[2].maxLoad, 70);
  EXPECT_EQ(minutes[3].maxUsedPhys, 80'000u);
  ASSERT_EQ(read.content->events.size(), 2u);
  EXPECT_EQ(read.content->events[1].time, t0 + 201);

  // A command-line export of the last day reads that file and writes a CSV a spreadsheet opens:
  // the byte-order mark, a header, the four minutes, the two exits (before and after a minute).
  std::string failure;
  const std::wstring csvPath = folder.path() + L"导出.csv";
  ASSERT_EQ(exportRecentHistory(*read.content, 1, t0 + 250, csvPath, failure).code, kExitDone) << failure;
  const std::string csv = ScratchFolder::readBytes(csvPath);
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBF本地时间,UTC 时间,", 0), 0u);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 4 + 2);
  EXPECT_NE(csv.find(",2023-11-14 22:16:00,分钟,2,60,65.0,70,70000,140000,"), std::string::npos) << csv;
  EXPECT_EQ(exportRecentHistory(*read.content, 1, t0, folder.path() + L"missing\\a.csv", failure).code, kExitFailed);
  EXPECT_NE(failure.find("a.csv"), std::string::npos) << failure;

  // A missing file is an empty history for a reader, not a failure.
  const ReadHistoryResult none = readHistoryFile(folder.path() + L"none.History", t0);
  ASSERT_TRUE(none.content);
  EXPECT_TRUE(none.content->minutes.empty());
}

TEST(HistoryIo, AFileOfAnotherKindIsKeptAsideAndANewOneStarted) {
  ScratchFolder folder;
  const std::wstring path = folder.path() + kHistoryFileName;
  ScratchFolder::writeBytes(path, "not a history");
  ScratchFolder::writeBytes(path + L".1.old", "kept before");

  const ReadHistoryResult foreign = readHistoryFile(path, t0);
  EXPECT_FALSE(foreign.content);
  EXPECT_NE(foreign.failure.find("Kelvane.History"), std::string::npos) << foreign.failure;
  {
    TrayRun run(path);
    EXPECT_EQ(run.opened.keptAside, path + L".2.old");
    EXPECT_NE(run.opened.notice.find(".2.old"), std::string::npos) << run.opened.notice;
    EXPECT_TRUE(run.opened.io->writable());
    run.record(t0, 30);
    run.exit(t0 + 1);
  }
  EXPECT_EQ(ScratchFolder::readBytes(path + L".2.old"), "not a history");
  EXPECT_EQ(ScratchFolder::readBytes(path + L".1.old"), "kept before");
  const ReadHistoryResult read = readHistoryFile(path, t0);
  ASSERT_TRUE(read.content) << read.failure;
  EXPECT_EQ(startsOf(read.content->minutes), std::vector<std::int64_t>{t0});

  // An empty file holds nothing to keep: it simply becomes the history.
  const std::wstring empty = folder.path() + L"empty.History";
  ScratchFolder::writeBytes(empty, "");
  const OpenedHistory opened = openHistoryForWriting(empty);
  EXPECT_EQ(opened.notice, "");
  EXPECT_TRUE(opened.keptAside.empty());
  EXPECT_EQ(opened.io->size(), history_format::kFileSize);
}

TEST(HistoryIo, AFileThatCannotBeWrittenLeavesTheHistoryInMemoryWithWhatItHeld) {
  ScratchFolder folder;
  const std::wstring path = folder.path() + kHistoryFileName;
  {
    TrayRun run(path);
    run.record(t0, 40);
    run.exit(t0 + 1);
  }
  const std::string before = ScratchFolder::readBytes(path);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  {
    TrayRun run(path);
    EXPECT_FALSE(run.opened.io->writable());
    EXPECT_NE(run.opened.notice, "");
    run.record(t0 + 60, 50);
    run.record(t0 + 120, 60);
    EXPECT_TRUE(run.file.inMemory());
    EXPECT_EQ(startsOf(heldMinutes(run.file.content().minutes, run.recorder.open())),
              (std::vector<std::int64_t>{t0, t0 + 60, t0 + 120}));
    run.exit(t0 + 121);
  }
  EXPECT_TRUE(ScratchFolder::readBytes(path) == before);  // unchanged, and 2 MB: no dump
  {
    // The running copy says once in its log that the history lives in memory, at the start.
    std::vector<std::string> lines;
    ProgramHistory history(path, t0 + 180, [&](const std::string& line, const std::string&) { lines.push_back(line); });
    EXPECT_EQ(lines.size(), 1u);
    history.sample({50, 1u << 30, 1u << 29, 1u << 30, 1u << 29}, t0 + 180);
    history.sample({50, 1u << 30, 1u << 29, 1u << 30, 1u << 29}, t0 + 240);
    history.exit(t0 + 241);
    EXPECT_EQ(lines.size(), 1u);
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // A second writer (the file is taken) and a folder that is not there: memory from the start.
  TrayRun first(path);
  TrayRun second(path);
  EXPECT_TRUE(first.opened.io->writable());
  EXPECT_FALSE(second.opened.io->writable());
  EXPECT_NE(second.opened.notice, "");
  TrayRun nowhere(folder.path() + L"missing\\" + kHistoryFileName);
  EXPECT_NE(nowhere.opened.notice, "");
  nowhere.record(t0, 10);
  nowhere.record(t0 + 60, 20);
  EXPECT_TRUE(nowhere.file.inMemory());
  EXPECT_EQ(nowhere.file.content().minutes.size(), 1u);
}

TEST(HistoryIo, StopsWhileTheFileWasMadeAndAWrongLengthLeaveOneWholeFile) {
  ScratchFolder folder;
  const std::wstring path = folder.path() + kHistoryFileName;
  // A start stopped while making the file, before and after this version: a file of zeros, and
  // the new file half written.
  ScratchFolder::writeBytes(path, std::string(1'000'000, '\0'));
  ScratchFolder::writeBytes(path + L".new", std::string(700'000, '\0') + "half");
  {
    TrayRun run(path);
    EXPECT_EQ(run.opened.notice, "");
    EXPECT_TRUE(run.opened.io->writable());
    run.record(t0, 40);
    run.record(t0 + 60, 50);
    run.exit(t0 + 61);
  }
  EXPECT_EQ(folder.listing(), std::wstring(kHistoryFileName) + L";");
  EXPECT_EQ(ScratchFolder::readBytes(path).size(), history_format::kFileSize);

  // Grown by 4 KB: cut back where it lies, with what it kept in the log line.
  ScratchFolder::writeBytes(path, ScratchFolder::readBytes(path) + std::string(4096, 'x'));
  {
    TrayRun run(path);
    EXPECT_NE(run.opened.notice.find(" 2 "), std::string::npos) << run.opened.notice;  // minutes kept
    EXPECT_NE(run.opened.notice.find(" 4096 "), std::string::npos) << run.opened.notice;
    EXPECT_TRUE(run.opened.io->writable());
  }
  EXPECT_EQ(folder.listing(), std::wstring(kHistoryFileName) + L";");
  const ReadHistoryResult read = readHistoryFile(path, t0 + 120);
  ASSERT_TRUE(read.content) << read.failure;
  EXPECT_EQ(startsOf(read.content->minutes), (std::vector<std::int64_t>{t0, t0 + 60}));
  EXPECT_EQ(read.content->events.size(), 1u);
  EXPECT_EQ(ScratchFolder::readBytes(path).size(), history_format::kFileSize);
}
