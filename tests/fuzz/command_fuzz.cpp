// libFuzzer target: the program's command line and the copy-data message a second start hands
// to the running copy. The input, split at zero bytes, is the arguments. Checked for any input:
//  - a bad command line always says what was wrong, any other request never does, and only a
//    bad one ends with exit code 2;
//  - the first argument is a switch or the line is bad; a switch reads the same with "-" for
//    "/" and its ASCII letters in the other case;
//  - an export names the file given and 1 to 31 days, the number given when there is one;
//  - every request a running copy can carry out (an export's file a full path, as a start sends
//    it) comes through its message unchanged, and any message gives either such a request or a
//    bad one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "common/ascii_text.h"
#include "common/texts.h"
#include "commands/command_line.h"

#include "fuzz_check.h"

using namespace kelvane;
using Kind = ProgramRequest::Kind;

namespace {

bool handedOver(Kind kind) {
  return kind == Kind::ShowHistory || kind == Kind::ShowSettings || kind == Kind::Release || kind == Kind::Exit ||
         kind == Kind::ExportHistory;
}

// What the running copy carries out: how a start shows its own words is no part of it.
bool sameRequest(const ProgramRequest& a, const ProgramRequest& b) {
  return a.kind == b.kind && a.file == b.file && a.days == b.days && a.problem == b.problem;
}

std::string otherCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void commandLine(const std::vector<std::string>& arguments) {
  const ProgramRequest request = parseCommandLine(arguments);
  FUZZ_CHECK((request.kind == Kind::BadCommandLine) == !request.problem.empty());
  FUZZ_CHECK((exitCodeOf(request.kind) == kExitBadCommandLine) == (request.kind == Kind::BadCommandLine));
  if (arguments.empty()) {
    FUZZ_CHECK(request == ProgramRequest{});
    return;
  }
  const std::string& first = arguments[0];
  const bool isSwitch = first.size() > 1 && (first[0] == '/' || first[0] == '-');
  if (!isSwitch) FUZZ_CHECK(request.kind == Kind::BadCommandLine);
  if (isSwitch) {
    std::vector<std::string> spelt = arguments;
    spelt[0] = (first[0] == '/' ? "-" : "/") + otherCase(first.substr(1));
    const ProgramRequest same = parseCommandLine(spelt);
    FUZZ_CHECK(same.kind == request.kind && same.file == request.file && same.days == request.days);
  }
  // What follows a leading quiet switch, on a line that is not bad.
  const bool quiet = request.kind != Kind::BadCommandLine && first.size() == 6 && equalsIgnoringAsciiCase(first.substr(1), "quiet");
  const std::span<const std::string> rest = std::span(arguments).subspan(quiet ? 1 : 0);
  if (request.kind == Kind::ExportHistory) {
    FUZZ_CHECK(rest.size() == 2 || rest.size() == 3);
    FUZZ_CHECK(request.file == rest[1] && !request.file.empty());
    FUZZ_CHECK(request.days >= 1 && request.days <= kMostExportDays);
    if (rest.size() == 2) FUZZ_CHECK(request.days == kDefaultExportDays);
    if (rest.size() == 3) FUZZ_CHECK(rest[2].find_first_not_of("0123456789") == std::string::npos &&
                                     std::stoi(rest[2]) == request.days);
  } else if (request.kind != Kind::BadCommandLine) {
    FUZZ_CHECK(rest.size() == 1);
  }
  // A start hands the running copy an export's file as a full path, in UTF-8.
  const auto slash = [](char c) { return c == '\\' || c == '/'; };
  const std::string& file = request.file;
  const bool drive = file.size() >= 3 && (file[0] | 0x20) >= 'a' && (file[0] | 0x20) <= 'z' && file[1] == ':' &&
                     slash(file[2]);
  const bool share = file.size() >= 3 && slash(file[0]) && slash(file[1]);
  const bool fullPath = drive || share;
  if (handedOver(request.kind) && (request.kind != Kind::ExportHistory || (fullPath && isValidUtf8(request.file))))
    FUZZ_CHECK(sameRequest(requestFromMessage(requestMessage(request)), request));
}

void message(const std::string& text) {
  const ProgramRequest request = requestFromMessage(text);
  FUZZ_CHECK(handedOver(request.kind) || request.kind == Kind::BadCommandLine);
  if (request.kind != Kind::BadCommandLine) FUZZ_CHECK(sameRequest(requestFromMessage(requestMessage(request)), request));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\0', start), text.size());
    arguments.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  commandLine(arguments);
  message(text);
  return 0;
}
