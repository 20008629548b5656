#pragma once
// The history as lines of text, for the preview and for scripts: samples read from a file,
// minutes and events printed one a line.
//
// A sample line is `T LOAD USED_PHYS TOTAL_PHYS USED_PAGE TOTAL_PAGE`: exactly six fields of
// ASCII digits (leading zeros allowed, value below 2^63) separated by runs of spaces or tabs,
// with LOAD at most 100. Lines end at LF; one CR before the end is not part of the line.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_event.h"
#include "history/minute_record.h"

namespace kelvane {

std::optional<HistorySample> parseSampleLine(std::string_view line);

// Every well-formed sample of a file, in file order; other lines are skipped.
void forEachSampleLine(std::string_view text, const std::function<void(const HistorySample&)>& take);
std::vector<HistorySample> parseSampleLines(std::string_view text);

// "minute: START COUNT MIN AVG10 MAX MAX_USED_PHYS MAX_USED_PAGE"
std::string minuteLine(const MinuteRecord& minute);

// "event: TIME start", "event: TIME exit",
// "event: TIME release SOURCE BEFORE AFTER" (available physical bytes),
// "event: TIME alert LOAD" followed by ` "NAME" BYTES` for each of its processes.
std::string eventLine(const HistoryEvent& event);

// "menu", "hotkey", "double-click", "timer", "high-load", "command-line"
const char* releaseSourceName(ReleaseSource source);

}  // namespace kelvane
