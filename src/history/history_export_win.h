#pragma once
// The system's side of showing and exporting the history: the clock, the local time of a moment
// (the time zone's rules at that moment), the user's date and time formats, and the CSV file.

#include <windows.h>

#include <cstdint>
#include <string>

#include "history/history_csv.h"
#include "history/history_file.h"

namespace kelvane {

// Now, in UTC seconds since 1970.
std::int64_t utcSecondsNow();

// The local wall clock of a UTC moment, by the time zone's rules in force then.
LocalTimeOf systemLocalTimeOf();

// A moment in the user's short date format and short time format ("2026/12/7 18:05"); with
// `to` after it, the span ("2026/12/7 18:05 - 19:17"), its end's date only when it differs.
std::string userMomentText(std::int64_t from, std::int64_t to);

// The system's words for an error code, or "error N" when it has none.
std::string systemFailureText(DWORD error);

// Writes the bytes as the file's whole content; false with the reason in the user's words.
bool writeWholeFile(const std::wstring& path, const std::string& bytes, std::string& failure);

// `/export-history`: the CSV of the last `days` days up to the minute of `now`, from what the
// running copy holds or what a command-line run read from the history file.
bool exportRecentHistory(const HistoryContent& held, int days, std::int64_t now, const std::wstring& csvPath,
                         std::string& failure);

}  // namespace kelvane
