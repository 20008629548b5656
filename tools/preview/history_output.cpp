#include "history_output.h"

#include <fstream>

#include "history/history_file.h"
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

bool writeSampleHistory(const std::string& samples, const std::string& outPath) {
  MemoryHistoryIo io;
  if (!createHistoryFile(io)) return false;
  HistoryFile file(io);
  MinuteRecorder recorder(file);
  forEachSampleLine(samples, [&](const HistorySample& sample) { recorder.add(sample); });
  recorder.flush();
  std::ofstream stream(outPath, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(io.bytes.data()),
               static_cast<std::streamsize>(io.bytes.size()));
  stream.close();
  return static_cast<bool>(stream);
}

bool printHistoryFile(const std::string& bytes, std::ostream& out, std::string& note) {
  MemoryHistoryIo io(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  const auto content = checkHistoryFile(io) == HistoryFileState::Current ? readHistory(io) : std::nullopt;
  if (!content) {
    note = "not a history file of this version";
    return false;
  }
  for (const MinuteRecord& minute : content->minutes) out << minuteLine(minute) << "\n";
  for (const HistoryEvent& event : content->events) out << eventLine(event) << "\n";
  if (content->skippedMinutes + content->skippedEvents > 0)
    note = "skipped " + std::to_string(content->skippedMinutes) + " minute and " +
           std::to_string(content->skippedEvents) + " event records that are torn or corrupt";
  return true;
}

}  // namespace preview
