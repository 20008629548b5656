// libFuzzer target: the program's command line and the copy-data message a second start hands
// to the running copy. The input, split at zero bytes, is the arguments. Checked for any input:
//  - a bad command line always says what was wrong, any other request never does, and only a
//    bad one ends with exit code 2;
//  - the first argument is a switch or the line is bad; a switch reads the same with "-" for
//    "/" and its ASCII letters in the other case;
//  - an export names the file given and 1 to 31 days, the number given when there is one;
//  - every request a running copy can carry out comes through its message unchanged, and any
//    message gives either such a request or a bad one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "history/command_line.h"

#include "fuzz_check.h"

using namespace kelvane;
using Kind = ProgramRequest::Kind;

namespace {

bool handedOver(Kind kind) {
  return kind == Kind::ShowHistory || kind == Kind::ShowSettings || kind == Kind::Release || kind == Kind::Exit ||
         kind == Kind::ExportHistory;
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
  if (request.kind == Kind::ExportHistory) {
    FUZZ_CHECK(arguments.size() == 2 || arguments.size() == 3);
    FUZZ_CHECK(request.file == arguments[1] && !request.file.empty());
    FUZZ_CHECK(request.days >= 1 && request.days <= kMostExportDays);
    if (arguments.size() == 2) FUZZ_CHECK(request.days == kDefaultExportDays);
    if (arguments.size() == 3) FUZZ_CHECK(arguments[2].find_first_not_of("0123456789") == std::string::npos &&
                                     std::stoi(arguments[2]) == request.days);
  } else if (request.kind != Kind::BadCommandLine) {
    FUZZ_CHECK(arguments.size() == 1);
  }
  if (handedOver(request.kind)) FUZZ_CHECK(requestFromMessage(requestMessage(request)) == request);
}

void message(const std::string& text) {
  const ProgramRequest request = requestFromMessage(text);
  FUZZ_CHECK(handedOver(request.kind) || request.kind == Kind::BadCommandLine);
  if (request.kind != Kind::BadCommandLine) FUZZ_CHECK(requestFromMessage(requestMessage(request)) == request);
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
