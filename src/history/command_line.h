#pragma once
// The program's switches: what a start with arguments asks for, the usage text, the exit codes,
// and the request a second start hands to the running copy.
//
//   /history                  show the memory history window
//   /settings                 show the options dialog
//   /release                  release memory once
//   /exit                     ask the running copy to exit
//   /export-history FILE [D]  write the CSV of the last D days (1 to 31, default 1)
//   /?                        show the usage
//
// A switch may start with "/" or "-" and is read without regard to case. One switch a start;
// anything else is a bad command line, which shows the usage and does nothing else.

#include <span>
#include <string>

namespace kelvane {

enum ExitCode : int { kExitDone = 0, kExitFailed = 1, kExitBadCommandLine = 2 };

inline constexpr int kDefaultExportDays = 1;
inline constexpr int kMostExportDays = 31;  // what the history keeps

struct ProgramRequest {
  enum class Kind { Start, ShowHistory, ShowSettings, Release, Exit, ExportHistory, Usage, BadCommandLine };
  Kind kind = Kind::Start;
  std::string file;  // ExportHistory: as given; the starting process resolves a relative one
  int days = kDefaultExportDays;
  std::string problem;  // BadCommandLine: what was wrong, shown above the usage

  friend bool operator==(const ProgramRequest&, const ProgramRequest&) = default;
};

// The arguments after the program's name, UTF-8.
ProgramRequest parseCommandLine(std::span<const std::string> arguments);

// The usage, as the message box shows it.
std::string usageText();

// The exit code a request ends with when it cannot be carried out at all: 2 for a bad command
// line, 0 for the usage asked for.
int exitCodeOf(ProgramRequest::Kind kind);

// The request as the running copy receives it (a copy-data message), and back; a message that
// is not one gives BadCommandLine.
std::string requestMessage(const ProgramRequest& request);
ProgramRequest requestFromMessage(const std::string& message);

}  // namespace kelvane
