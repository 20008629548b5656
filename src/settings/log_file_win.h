#pragma once
// The log file: one line per alert or unattended failure, in the system's ANSI code page, only
// ever appended to.

#include <windows.h>

#include <stdexcept>
#include <string>

#include "settings/options.h"

namespace kelvane {

class LogWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Appends `line` (UTF-8, without line end) and CR LF. The file is created when it does not
// exist and never truncated. Throws LogWriteError with a message naming the file.
void AppendLogLine(const std::wstring& path, const std::string& line);
// The same for a line in the program's language and in English: a log is text in the system
// code page, and when that cannot hold the language's line (Chinese on a Western system) the
// English one goes in rather than question marks.
void AppendLogLine(const std::wstring& path, const std::string& line, const std::string& englishLine);

// The log's path as written and opened: LogFile, inside the data folder when relative.
std::wstring LogFilePath(const TKelvaneOptions& options, const std::string& dataFolder);

// Failures that nobody is there to see (a save while the session ends, a timer's work): with
// WriteLog on, a line in the log once per episode. The first failure after a success, or ever,
// is written; its repeats are not, until the work succeeds again. A log that cannot be written
// either is let go.
class UnattendedFailures {
 public:
  void failed(const TKelvaneOptions& options, const std::string& dataFolder, const std::string& what);
  // The same for a failure in the program's language and in English (see AppendLogLine).
  void failed(const TKelvaneOptions& options, const std::string& dataFolder, const std::string& what,
              const std::string& englishWhat);
  void succeeded() { inEpisode_ = false; }

 private:
  bool inEpisode_ = false;
};

}  // namespace kelvane
