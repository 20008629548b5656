#include "history/history_text.h"

#include <cstdint>

namespace kelvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// A field of ASCII digits whose value is below 2^63; any length, thanks to leading zeros.
std::optional<std::uint64_t> parseField(std::string_view field) {
  constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(INT64_MAX);
  std::uint64_t value = 0;
  for (const char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (kLimit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

std::optional<HistorySample> parseSampleLine(std::string_view line) {
  std::uint64_t fields[6];
  std::size_t count = 0;
  std::size_t at = 0;
  while (true) {
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at == line.size()) break;
    std::size_t end = at;
    while (end < line.size() && !isBlank(line[end])) ++end;
    if (count == 6) return std::nullopt;
    const auto value = parseField(line.substr(at, end - at));
    if (!value) return std::nullopt;
    fields[count++] = *value;
    at = end;
  }
  if (count != 6 || fields[1] > 100) return std::nullopt;
  return HistorySample{static_cast<std::int64_t>(fields[0]), static_cast<std::uint32_t>(fields[1]),
                       fields[2], fields[4]};
}

void forEachSampleLine(std::string_view text, const std::function<void(const HistorySample&)>& take) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (const auto sample = parseSampleLine(line)) take(*sample);
    start = end + 1;
  }
}

std::vector<HistorySample> parseSampleLines(std::string_view text) {
  std::vector<HistorySample> samples;
  forEachSampleLine(text, [&](const HistorySample& sample) { samples.push_back(sample); });
  return samples;
}

std::string minuteLine(const MinuteRecord& minute) {
  return "minute: " + std::to_string(minute.start) + " " + std::to_string(minute.count) + " " +
         std::to_string(minute.minLoad) + " " + std::to_string(minute.average10()) + " " +
         std::to_string(minute.maxLoad) + " " + std::to_string(minute.maxUsedPhys) + " " +
         std::to_string(minute.maxUsedPage);
}

const char* releaseSourceName(ReleaseSource source) {
  switch (source) {
    case ReleaseSource::Menu: return "menu";
    case ReleaseSource::HotKey: return "hotkey";
    case ReleaseSource::DoubleClick: return "double-click";
    case ReleaseSource::Timer: return "timer";
    case ReleaseSource::HighLoad: return "high-load";
    case ReleaseSource::CommandLine: return "command-line";
  }
  return "unknown";
}

std::string eventLine(const HistoryEvent& event) {
  std::string line = "event: " + std::to_string(event.time);
  switch (event.kind) {
    case HistoryEventKind::Start: return line + " start";
    case HistoryEventKind::Exit: return line + " exit";
    case HistoryEventKind::Release:
      return line + " release " + releaseSourceName(event.source) + " " +
             std::to_string(event.availBefore) + " " + std::to_string(event.availAfter);
    case HistoryEventKind::Alert:
      line += " alert " + std::to_string(event.load);
      for (const TopProcess& process : event.top)
        line += " \"" + process.name + "\" " + std::to_string(process.bytes);
      return line;
  }
  return line + " unknown";
}

}  // namespace kelvane
