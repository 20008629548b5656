#include "history/program_history_win.h"

#include <algorithm>

#include "history/minute_record.h"
#include "process/process_list.h"
#include "process/process_platform_win.h"

namespace kelvane {

std::wstring historyFileBeside(const std::wstring& settingsFileName) {
  const std::size_t slash = settingsFileName.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : settingsFileName.substr(0, slash + 1);
  return folder + kHistoryFileName;
}

std::vector<TNxProcessRec> walkProcesses(bool usePagefile) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  list.Refresh(usePagefile);
  return std::move(list.Items);
}

ProgramHistory::ProgramHistory(const std::wstring& path, std::int64_t now, LogLine log)
    : path_(path), opened_(openHistoryForWriting(path)), file_(*opened_.io, now), recorder_(file_), log_(std::move(log)) {
  if (!opened_.notice.empty()) log_(opened_.notice, opened_.englishNotice);
  // A history that could not be opened for writing lives in memory from its first write (a
  // read-only file is still read): the notice said so already.
  inMemoryNoticed_ = file_.inMemory() || !opened_.io->writable();
  if (const auto newest = file_.newest()) recorder_.resume(*newest);
  append({.time = now, .kind = HistoryEventKind::Start});
}

void ProgramHistory::sample(const MemorySample& sample, std::int64_t now) {
  recorder_.add(historySampleOf(sample, now));
  noticeMemory();
}

void ProgramHistory::snapshot(const std::vector<TNxProcessRec>& processes, std::int64_t now) {
  snapshots_.add(now, processSizesOf(processes));
}

void ProgramHistory::alert(std::uint32_t load, const std::vector<TNxProcessRec>& processes, std::int64_t now) {
  std::vector<const TNxProcessRec*> largest;
  for (const TNxProcessRec& process : processes) largest.push_back(&process);
  const std::size_t kept = std::min(largest.size(), kAlertProcesses);
  std::partial_sort(largest.begin(), largest.begin() + static_cast<std::ptrdiff_t>(kept), largest.end(),
                    [](const TNxProcessRec* a, const TNxProcessRec* b) { return a->Memory > b->Memory; });
  HistoryEvent event{.time = now, .kind = HistoryEventKind::Alert, .load = static_cast<std::uint8_t>(std::min(load, 100u))};
  for (std::size_t i = 0; i < kept; ++i) event.top.push_back({largest[i]->Name, largest[i]->Memory});
  append(event);
}

void ProgramHistory::release(ReleaseSource source, std::uint64_t availBefore, std::uint64_t availAfter,
                             std::int64_t time) {
  append({.time = time,
          .kind = HistoryEventKind::Release,
          .source = source,
          .availBefore = availBefore,
          .availAfter = availAfter});
}

void ProgramHistory::exit(std::int64_t now) {
  recorder_.flush();
  append({.time = now, .kind = HistoryEventKind::Exit});
}

HistoryContent ProgramHistory::held() {
  HistoryContent content = file_.content();
  content.minutes = heldMinutes(std::move(content.minutes), recorder_.open());
  return content;
}

void ProgramHistory::append(const HistoryEvent& event) {
  file_.append(event);
  noticeMemory();
}

void ProgramHistory::noticeMemory() {
  if (inMemoryNoticed_ || !file_.inMemory()) return;
  inMemoryNoticed_ = true;
  log_(historyInMemoryNotice(speaking(), path_, opened_.io->failure()),
       historyInMemoryNotice(Language::english(), path_, opened_.io->failure()));
}

}  // namespace kelvane
