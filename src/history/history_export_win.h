#pragma once
// The system's side of showing and exporting the history: the clock, the local time of a moment
// (the time zone's rules at that moment), the user's date and time formats, and the CSV file.

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/language.h"
#include "history/history_csv.h"
#include "history/history_file.h"

namespace kelvane {

// Adds a text in the speaking language to `text` and, when asked for, in English to `english`:
// the log takes the English one where the system code page cannot hold the first. `write(language)`
// writes it in a language; a text already there is followed by the new one after a space.
template <typename Write>
void addInBothLanguages(std::string& text, std::string* english, const Write& write) {
  text += (text.empty() ? "" : " ") + write(speaking());
  if (english) *english += (english->empty() ? "" : " ") + write(Language::english());
}

// `id` of `language` with its placeholders filled.
inline std::string textIn(const Language& language, TextId id, std::initializer_list<TextArgument> arguments) {
  return formatText(language.text(id), arguments);
}

// Now, in UTC seconds since 1970.
std::int64_t utcSecondsNow();

// The local wall clock of a UTC moment, by the time zone's rules in force then.
LocalTimeOf systemLocalTimeOf();

// A moment in the user's short date format and short time format ("2026/12/7 18:05"); with
// `to` after it, the span ("2026/12/7 18:05 - 19:17"), its end's date only when it differs.
std::string userMomentText(std::int64_t from, std::int64_t to);

// The system's words for an error code, or "error N" when it has none.
std::string systemFailureText(DWORD error);

// Writes the bytes as the file's whole content; false with the reason in the user's words, and
// in English too when asked for (the log's line where the code page cannot hold the first).
bool writeWholeFile(const std::wstring& path, const std::string& bytes, std::string& failure,
                    std::string* englishFailure = nullptr);

// `/export-history`: the CSV of the last `days` days up to the minute of `now`, from what the
// running copy holds or what a command-line run read from the history file.
bool exportRecentHistory(const HistoryContent& held, int days, std::int64_t now, const std::wstring& csvPath,
                         std::string& failure, std::string* englishFailure = nullptr);

}  // namespace kelvane
