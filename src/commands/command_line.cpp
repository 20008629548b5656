#include "commands/command_line.h"

#include <array>
#include <string_view>

#include "common/ascii_text.h"
#include "common/language.h"

namespace kelvane {

namespace {

using Kind = ProgramRequest::Kind;

struct SwitchName {
  std::string_view name;  // without its "/"
  Kind kind;
};

constexpr std::array<SwitchName, 6> kSwitches = {{{"history", Kind::ShowHistory},
                                                  {"settings", Kind::ShowSettings},
                                                  {"release", Kind::Release},
                                                  {"exit", Kind::Exit},
                                                  {"export-history", Kind::ExportHistory},
                                                  {"?", Kind::Usage}}};

bool isSwitch(const std::string& argument) {
  return argument.size() > 1 && (argument[0] == '/' || argument[0] == '-');
}

ProgramRequest bad(std::string problem) {
  ProgramRequest request;
  request.kind = Kind::BadCommandLine;
  request.problem = std::move(problem);
  return request;
}

// 1 to 31 in plain decimal digits; 0 for anything else.
int parseDays(const std::string& text) {
  if (text.empty() || text.size() > 2) return 0;
  int days = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    days = days * 10 + (c - '0');
  }
  return days >= 1 && days <= kMostExportDays ? days : 0;
}

// The export's operands: FILE, then DAYS when given.
ProgramRequest exportRequest(std::span<const std::string> operands) {
  if (operands.empty() || operands[0].empty()) return bad(tr(TextId::CommandLineNeedsFile));
  if (operands.size() > 2) return bad(tr(TextId::CommandLineExtraArgument, {{"argument", operands[2]}}));
  ProgramRequest request;
  request.kind = Kind::ExportHistory;
  request.file = operands[0];
  if (operands.size() == 2) {
    request.days = parseDays(operands[1]);
    if (request.days == 0)
      return bad(tr(TextId::CommandLineBadDays,
                    {{"most", std::to_string(kMostExportDays)}, {"argument", operands[1]}}));
  }
  return request;
}

// A full path as GetFullPathNameW gives it: a drive's ("C:\\...") or a share's ("\\\\server\\...").
bool isFullPath(const std::string& path) {
  const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                     (path[2] == '\\' || path[2] == '/');
  const bool share = path.size() >= 3 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
  return drive || share;
}

ProgramRequest parseSwitch(std::span<const std::string> arguments) {
  if (arguments.empty()) return {};
  const std::string& first = arguments[0];
  if (!isSwitch(first)) return bad(tr(TextId::CommandLineUnknownArgument, {{"argument", first}}));
  // Switches are ASCII; only their letters fold, so a name in another script is never mangled.
  const std::string name = lowerAsciiText(std::string_view(first).substr(1));
  for (const SwitchName& known : kSwitches) {
    if (name != known.name) continue;
    if (known.kind == Kind::ExportHistory) return exportRequest(arguments.subspan(1));
    if (arguments.size() > 1) return bad(tr(TextId::CommandLineExtraArgument, {{"argument", arguments[1]}}));
    ProgramRequest request;
    request.kind = known.kind;
    return request;
  }
  return bad(tr(TextId::CommandLineUnknownSwitch, {{"argument", first}}));
}

}  // namespace

ProgramRequest parseCommandLine(std::span<const std::string> arguments) {
  if (!arguments.empty() && isSwitch(arguments[0]) && lowerAsciiText(std::string_view(arguments[0]).substr(1)) == "quiet") {
    ProgramRequest request = parseSwitch(arguments.subspan(1));
    const bool quietable = request.kind == Kind::Release || request.kind == Kind::Exit ||
                           request.kind == Kind::ExportHistory || request.kind == Kind::BadCommandLine;
    if (!quietable || arguments.size() == 1) request = bad(tr(TextId::CommandLineQuietAlone));
    request.quiet = true;
    return request;
  }
  return parseSwitch(arguments);
}

std::string usageText() {
  // The switches are the program's words in every language; the tab lines the descriptions up.
  return tr(TextId::CommandLineUsage) + "\n"
         "\n"
         "/history\t" + tr(TextId::CommandLineHistory) + "\n"
         "/settings\t" + tr(TextId::CommandLineSettings) + "\n"
         "/release\t" + tr(TextId::CommandLineRelease) + "\n"
         "/exit\t" + tr(TextId::CommandLineExit) + "\n"
         "/export-history " + tr(TextId::CommandLineExportOperands) + "\n"
         "\t" + tr(TextId::CommandLineExport, {{"default", std::to_string(kDefaultExportDays)},
                                               {"most", std::to_string(kMostExportDays)}}) + "\n"
         "/?\t" + tr(TextId::CommandLineHelp) + "\n"
         "/quiet\t" + tr(TextId::CommandLineQuiet) + "\n"
         "\n" + tr(TextId::CommandLineWithoutCopy) + "\n"
         "\n" + tr(TextId::CommandLineExitCodes);
}

namespace {

// One code point of UTF-8 at `at`: its length in bytes and its columns on a console.
struct Glyph {
  std::size_t bytes = 1;
  std::size_t columns = 1;
};

Glyph glyphAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t bytes = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (bytes == 1 || at + bytes > text.size()) return {1, 1};
  char32_t code = lead & (0xFF >> (bytes + 1));
  for (std::size_t i = 1; i < bytes; ++i) code = (code << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  // The wide scripts and forms: CJK, kana, hangul, full-width punctuation.
  const bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
                    (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
                    (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
                    (code >= 0xFFE0 && code <= 0xFFE6) || code >= 0x20000;
  return {bytes, wide ? 2u : 1u};
}

// Lines of at most `width` columns: broken at spaces, or between two wide characters; a word
// longer than the width stands alone.
std::vector<std::string> wrapped(std::string_view text, std::size_t width) {
  std::vector<std::string> lines(1);
  std::size_t used = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
      continue;
    }
    // The next unbreakable piece: one wide character, or a run of narrow ones.
    std::size_t end = at;
    std::size_t columns = 0;
    const Glyph first = glyphAt(text, at);
    if (first.columns == 2) {
      end += first.bytes, columns = 2;
      // Closing punctuation stays with what it closes.
      while (end < text.size() && (text.substr(end, 3) == "ï¼" || text.substr(end, 3) == "ã" ||
                                   text.substr(end, 3) == "ã" || text[end] == ',' || text[end] == ')'))
        columns += glyphAt(text, end).columns, end += glyphAt(text, end).bytes;
    } else {
      while (end < text.size() && text[end] != ' ') {
        const Glyph glyph = glyphAt(text, end);
        if (glyph.columns == 2) break;
        end += glyph.bytes, columns += 1;
      }
    }
    const bool spaced = at > 0 && text[at - 1] == ' ';
    const std::size_t gap = used > 0 && spaced ? 1 : 0;
    if (used > 0 && used + gap + columns > width) {
      lines.emplace_back();
      used = 0;
    } else if (gap) {
      lines.back() += ' ';
      used += 1;
    }
    lines.back() += text.substr(at, end - at);
    used += columns;
    at = end;
  }
  return lines;
}

void addRow(std::string& table, const std::string& name, const std::string& description) {
  const std::string indent(kSwitchColumn, ' ');
  const std::size_t nameColumns = consoleColumns(name);
  std::string first = name;
  if (nameColumns >= kSwitchColumn) {
    table += name + "\n";
    first = indent;
  } else {
    first += std::string(kSwitchColumn - nameColumns, ' ');
  }
  bool leading = true;
  for (const std::string& line : wrapped(description, kConsoleWidth - kSwitchColumn)) {
    table += (leading ? first : indent) + line + "\n";
    leading = false;
  }
}

void addParagraph(std::string& table, const std::string& text) {
  for (const std::string& line : wrapped(text, kConsoleWidth)) table += line + "\n";
}

}  // namespace

std::size_t consoleColumns(std::string_view text) {
  std::size_t columns = 0;
  for (std::size_t at = 0; at < text.size();) {
    const Glyph glyph = glyphAt(text, at);
    at += glyph.bytes, columns += glyph.columns;
  }
  return columns;
}

std::vector<UsageRow> usageRows() {
  return {{"/history", tr(TextId::CommandLineHistory)},
          {"/settings", tr(TextId::CommandLineSettings)},
          {"/release", tr(TextId::CommandLineRelease)},
          {"/exit", tr(TextId::CommandLineExit)},
          {"/export-history " + tr(TextId::CommandLineExportOperands),
           tr(TextId::CommandLineExport,
              {{"default", std::to_string(kDefaultExportDays)}, {"most", std::to_string(kMostExportDays)}})},
          {"/?", tr(TextId::CommandLineHelp)},
          {"/quiet", tr(TextId::CommandLineQuiet)}};
}

std::string usageFooter() { return tr(TextId::CommandLineWithoutCopy) + "\n\n" + tr(TextId::CommandLineExitCodes); }

std::string usageTable() {
  std::string table = tr(TextId::CommandLineUsage) + "\n\n";
  for (const UsageRow& row : usageRows()) addRow(table, row.name, row.description);
  table += "\n";
  addParagraph(table, tr(TextId::CommandLineWithoutCopy));
  table += "\n";
  addParagraph(table, tr(TextId::CommandLineExitCodes));
  table.pop_back();  // the words' own line end is added where they are written
  return table;
}

int exitCodeOf(ProgramRequest::Kind kind) {
  return kind == Kind::BadCommandLine ? kExitBadCommandLine : kExitDone;
}

std::string requestMessage(const ProgramRequest& request) {
  switch (request.kind) {
    case Kind::ShowHistory: return "history";
    case Kind::ShowSettings: return "settings";
    case Kind::Release: return "release";
    case Kind::Exit: return "exit";
    case Kind::ExportHistory: return "export-history\n" + std::to_string(request.days) + "\n" + request.file;
    case Kind::Start:
    case Kind::Usage:
    case Kind::BadCommandLine: break;
  }
  return {};
}

ProgramRequest requestFromMessage(const std::string& message) {
  if (message.size() > kMostRequestBytes || !isValidUtf8(message)) return bad("");
  const std::size_t firstEnd = message.find('\n');
  const std::string name = message.substr(0, firstEnd);
  if (name == "export-history" && firstEnd != std::string::npos) {
    const std::size_t secondEnd = message.find('\n', firstEnd + 1);
    if (secondEnd == std::string::npos) return bad("");
    const std::string operands[] = {message.substr(secondEnd + 1),
                                    message.substr(firstEnd + 1, secondEnd - firstEnd - 1)};
    const ProgramRequest request = exportRequest(operands);
    return request.kind == Kind::ExportHistory && !isFullPath(request.file) ? bad("") : request;
  }
  for (const SwitchName& known : kSwitches)
    if (known.name == name && known.kind != Kind::ExportHistory && known.kind != Kind::Usage && firstEnd == std::string::npos) {
      ProgramRequest request;
      request.kind = known.kind;
      return request;
    }
  return bad("");
}

// Bits 0-7 the code, 8-15 the problem, 32-63 the system's error: an older copy's bare code reads
// as a code with no problem.
std::uint64_t packedAnswer(const RequestAnswer& answer) {
  return static_cast<std::uint64_t>(answer.code & 0xFF) | (static_cast<std::uint64_t>(answer.problem) << 8) |
         (static_cast<std::uint64_t>(answer.systemError) << 32);
}

RequestAnswer unpackedAnswer(std::uint64_t packed) {
  RequestAnswer answer;
  answer.code = static_cast<int>(packed & 0xFF);
  const auto problem = static_cast<std::uint8_t>(packed >> 8);
  answer.problem = problem <= static_cast<std::uint8_t>(ExportProblem::NotUnderstood)
                       ? static_cast<ExportProblem>(problem)
                       : ExportProblem::WriteFailed;
  answer.systemError = static_cast<std::uint32_t>(packed >> 32);
  if (answer.code == kAnswerNotUnderstood) answer.problem = ExportProblem::NotUnderstood;
  return answer;
}

int exitCodeOfAnswer(const RequestAnswer& answer) {
  return answer.code == kAnswerNotUnderstood ? kExitBadCommandLine : answer.code;
}

}  // namespace kelvane
