#pragma once
// The system's side of exporting the history: the program's own files, the export's target and
// the CSV file.

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/language.h"
#include "history/export_target.h"
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

// The system's words for an error code, or "error N" when it has none.
std::string systemFailureText(DWORD error);

// The program's own files, which no export overwrites: told by the program when it knows them
// (at start, and when the log's place may have changed).
void knowProgramFiles(ProgramFiles files);
const ProgramFiles& knownProgramFiles();

// What the system says about an export's target.
ExportTarget exportTargetFacts(const std::wstring& path, const ProgramFiles& files);

// Writes the bytes as the file's whole content, unless the target is one the export must not
// write: first into a temporary beside it, which takes the target's place only when whole.
RequestAnswer writeExportFile(const std::wstring& path, const std::string& bytes);

// Why an export failed, in a language.
std::string exportFailureText(const Language& language, const RequestAnswer& answer, const std::string& path);

// Why, in the user's words and, when asked for, in English (the log's line where the code page
// cannot hold the first).
void describeExportFailure(const RequestAnswer& answer, const std::string& path, std::string& failure,
                           std::string* englishFailure);

// `/export-history`: the CSV of the last `days` days up to the minute of `now`, from what the
// running copy holds or what a command-line run read from the history file.
RequestAnswer exportRecentHistory(const HistoryContent& held, int days, std::int64_t now, const std::wstring& csvPath,
                                  std::string& failure, std::string* englishFailure = nullptr);

}  // namespace kelvane
