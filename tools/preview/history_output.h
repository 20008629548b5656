#pragma once
// The history as the preview prints it: the minutes a file of samples leaves (the recorder's
// contract), or what a Kelvane.History file holds.
//
//   --history-samples FILE [--write-history OUT]
//       one `minute:` line per minute held after the samples, oldest first, the open one
//       included; OUT receives the history file that the tray's copy would leave at its exit
//   --history-file FILE
//       the file's `minute:` lines, then its `event:` lines, oldest first, as the program keeps
//       them when it opens the file now (a minute far ahead of now is no part of it)
//
// `now` is the clock's time (UTC seconds), or the one --now SECONDS gives.

#include <cstdint>
#include <ostream>
#include <string>

namespace preview {

void printSampleMinutes(const std::string& samples, std::ostream& out);
// False when OUT cannot be written.
bool writeSampleHistory(const std::string& samples, std::int64_t now, const std::string& outPath);
// False when the bytes are not a history file of this version; `note` says why, or how many
// torn or corrupt records were skipped, and whether the file has the wrong length (it is read
// as the program repairs it).
bool printHistoryFile(const std::string& bytes, std::int64_t now, std::ostream& out, std::string& note);

}  // namespace preview
