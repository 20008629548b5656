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
// A switch may start with "/" or "-" and is read without regard to case. One switch a start,
// except that /quiet may stand before /release, /exit or /export-history (a scheduled task has
// nobody to read a window); anything else is a bad command line, which shows the usage and does
// nothing else.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

enum ExitCode : int { kExitDone = 0, kExitFailed = 1, kExitBadCommandLine = 2 };
// The running copy's answer to a request it does not understand; never a start's exit code.
inline constexpr int kAnswerNotUnderstood = 3;
// A request larger than this is not read at all: the longest full path is about 96 KB in UTF-8.
inline constexpr std::size_t kMostRequestBytes = 128 * 1024;

inline constexpr int kDefaultExportDays = 1;
inline constexpr int kMostExportDays = 31;  // what the history keeps

struct ProgramRequest {
  enum class Kind { Start, ShowHistory, ShowSettings, Release, Exit, ExportHistory, Usage, BadCommandLine };
  Kind kind = Kind::Start;
  std::string file;  // ExportHistory: as given; the starting process resolves a relative one
  int days = kDefaultExportDays;
  std::string problem;  // BadCommandLine: what was wrong, shown above the usage
  bool quiet = false;   // no window for this start's words; the running copy never hears of it

  friend bool operator==(const ProgramRequest&, const ProgramRequest&) = default;
};

// The arguments after the program's name, UTF-8.
ProgramRequest parseCommandLine(std::span<const std::string> arguments);

// The usage, as the message box shows it.
std::string usageText();

// The usage as a console shows it: the switches in a column kSwitchColumn characters wide, each
// description wrapped inside its column so no line is wider than kConsoleWidth (a Chinese
// character takes two); a switch too long for its column has its description on the next line.
inline constexpr std::size_t kSwitchColumn = 22;
inline constexpr std::size_t kConsoleWidth = 79;
std::string usageTable();

// The usage's rows (switch, what it does), and what follows them.
struct UsageRow {
  std::string name;
  std::string description;
};
std::vector<UsageRow> usageRows();
std::string usageFooter();

// The columns a text takes on a console.
std::size_t consoleColumns(std::string_view text);

// The exit code a request ends with when it cannot be carried out at all: 2 for a bad command
// line, 0 for the usage asked for.
int exitCodeOf(ProgramRequest::Kind kind);

// The request as the running copy receives it (a copy-data message), and back; a message that
// is not one gives BadCommandLine, and so does an export whose file is not a full path or whose
// bytes are not UTF-8 (a start always sends a full path).
std::string requestMessage(const ProgramRequest& request);
ProgramRequest requestFromMessage(const std::string& message);

// Why an export was not written.
enum class ExportProblem : std::uint8_t {
  None,
  WriteFailed,  // the system's error says why
  ProgramFile,  // one of the program's own files
  NotDiskFile,  // a device, a pipe, a folder
  ReadOnly,
  NotUnderstood,  // the running copy did not understand the request
};

// The running copy's answer: the exit code, and for a failed export why, with the system's error
// number. Copies older than this one answer only the code.
struct RequestAnswer {
  int code = kExitDone;
  ExportProblem problem = ExportProblem::None;
  std::uint32_t systemError = 0;

  friend bool operator==(const RequestAnswer&, const RequestAnswer&) = default;
};
std::uint64_t packedAnswer(const RequestAnswer& answer);
RequestAnswer unpackedAnswer(std::uint64_t packed);

// The exit code a start ends with for the running copy's answer: one it did not understand is a
// command line it cannot carry out.
int exitCodeOfAnswer(const RequestAnswer& answer);

}  // namespace kelvane
