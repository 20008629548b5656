#include "history_output.h"

#include <fstream>
#include <vector>

#include "history/history_file.h"
#include "history/history_format.h"
#include "history/history_text.h"
#include "history/memory_history_io.h"
#include "history/minute_recorder.h"

namespace preview {

using namespace kelvane;

void printSampleMinutes(const std::string& samples, std::ostream& out) {
  MinuteList list;
  MinuteRecorder recorder(list);
  forEachSampleLine(samples, [&](const HistorySample& sample) { recorder.add(sample); });
  for (const MinuteRecord& minute : heldMinutes(list.list(), recorder.open()))
    out << minuteLine(minute) << "\n";
}

bool writeSampleHistory(const std::string& samples, std::int64_t now, const std::string& outPath) {
  MemoryHistoryIo io;
  if (!createHistoryFile(io)) return false;
  HistoryFile file(io, now);
  MinuteRecorder recorder(file);
  forEachSampleLine(samples, [&](const HistorySample& sample) { recorder.add(sample); });
  recorder.flush();
  std::ofstream stream(outPath, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(io.bytes.data()),
               static_cast<std::streamsize>(io.bytes.size()));
  stream.close();
  return static_cast<bool>(stream);
}

bool printHistoryFile(const std::string& bytes, std::int64_t now, std::ostream& out, std::string& note) {
  MemoryHistoryIo io(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  const HistoryFileState state = checkHistoryFile(io);
  const bool readable = state == HistoryFileState::Current || state == HistoryFileState::WrongLength;
  const auto content = readable ? readHistory(io, now) : std::nullopt;
  if (!content) {
    note = "not a history file of this version";
    return false;
  }
  for (const MinuteRecord& minute : content->minutes) out << minuteLine(minute) << "\n";
  for (const HistoryEvent& event : content->events) out << eventLine(event) << "\n";
  std::vector<std::string> notes;
  if (state == HistoryFileState::WrongLength)
    notes.push_back(std::to_string(bytes.size()) + " bytes instead of " + std::to_string(history_format::kFileSize) +
                    ", read as the program repairs it");
  if (content->skippedMinutes + content->skippedEvents > 0)
    notes.push_back("skipped " + std::to_string(content->skippedMinutes) + " minute and " +
                    std::to_string(content->skippedEvents) + " event records that are torn or corrupt");
  for (const std::string& line : notes) note += (note.empty() ? "" : "; ") + line;
  return true;
}

}  // namespace preview
