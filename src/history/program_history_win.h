#pragma once
// The running copy's memory history: Kelvane.History opened for the run beside the settings
// file, the minute recorder the tick feeds, the events (starts and exits, alerts, releases) and
// the process snapshots of the last day. Only this copy writes the file.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/history_event.h"
#include "history/history_file.h"
#include "history/history_io_win.h"
#include "history/minute_recorder.h"
#include "history/process_growth.h"
#include "memory/memory_status.h"

namespace kelvane {

// The history file that belongs to a settings file: beside it (in portable mode, beside the
// program, as the settings file is).
std::wstring historyFileBeside(const std::wstring& settingsFileName);

// The processes of this moment, as the tray menu walks them (working set or page-file usage).
std::vector<TNxProcessRec> walkProcesses(bool usePagefile);

class ProgramHistory {
 public:
  // A line for the log, when there is one: the opening's notice and the move into memory, in the
  // speaking language and in English (for a code page that cannot hold the first).
  using LogLine = std::function<void(const std::string& line, const std::string& englishLine)>;

  // Opens (or creates) the file and continues its newest minute, and keeps a Start event.
  ProgramHistory(const std::wstring& path, std::int64_t now, LogLine log);
  ProgramHistory(const ProgramHistory&) = delete;
  ProgramHistory& operator=(const ProgramHistory&) = delete;

  void sample(const MemorySample& sample, std::int64_t now);
  // A process snapshot for the "grew most" list.
  void snapshot(const std::vector<TNxProcessRec>& processes, std::int64_t now);
  // An alert with the processes using most memory at that moment.
  void alert(std::uint32_t load, const std::vector<TNxProcessRec>& processes, std::int64_t now);
  void release(ReleaseSource source, std::uint64_t availBefore, std::uint64_t availAfter, std::int64_t time);
  // The open minute written and an Exit event.
  void exit(std::int64_t now);

  // Every minute held, the open one included, and the events.
  HistoryContent held();
  std::vector<Grower> growers(std::int64_t from, std::int64_t to) const { return snapshots_.growers(from, to); }

 private:
  void append(const HistoryEvent& event);
  void noticeMemory();

  std::wstring path_;
  OpenedHistory opened_;
  HistoryFile file_;
  MinuteRecorder recorder_;
  ProcessSnapshots snapshots_;
  LogLine log_;
  bool inMemoryNoticed_ = false;
};

}  // namespace kelvane
