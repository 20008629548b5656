// libFuzzer target: the version file from the maker's site and the comparison of versions.
// Checked for any input:
//  - a text is a version exactly when it is one to four dot-separated numbers of one to five
//    digits, each at most 65535; its parts are those numbers, the missing ones 0, and its
//    string reads back as the same version;
//  - a check offers the download exactly when the site's version is later than the program's
//    (part by part, major first), says up to date when it is not later, and fails whenever
//    either version is unknown;
//  - any download reads the same offered version both ways, and never offers a version that is
//    not later than the program's own;
//  - the short label of a four-part version starts with its first two numbers.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "common/version_text.h"
#include "settings/ini_codec.h"
#include "update/update_check.h"

#include "fuzz_check.h"

using namespace kelvane;

namespace {

// The version a text names, read by the header's words.
std::optional<FourPartVersion> expectedVersion(const std::string& text) {
  FourPartVersion version{};
  std::size_t part = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(text.find('.', start), text.size());
    const std::string digits = text.substr(start, end - start);
    if (part == 4 || digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos || std::stoul(digits) > 65535)
      return std::nullopt;
    version[part++] = static_cast<std::uint32_t>(std::stoul(digits));
    if (end == text.size()) return version;
    start = end + 1;
  }
}

void versions(const std::string& offered, const std::string& own) {
  const auto parsed = parseVersion(offered);
  FUZZ_CHECK(parsed == expectedVersion(offered));
  if (parsed) FUZZ_CHECK(parseVersion(versionString(*parsed)) == parsed);

  // Blanks round a value, quotes and line breaks are the INI text's, not the version's.
  if (std::any_of(offered.begin(), offered.end(), isIniBlank) ||
      offered.find_first_of("\r\n\"'=[];#") != std::string::npos)
    return;
  const std::string file = "[CurrentVersions]\r\nKelvane=" + offered + "\r\n";
  const UpdateAnswer answer = judgeVersionFile(file, "Kelvane", own);
  const auto mine = expectedVersion(own);
  if (!parsed || !mine) {
    FUZZ_CHECK(answer.state == DownloadLabelState::Failed);
  } else if (*mine < *parsed) {
    FUZZ_CHECK(answer.state == DownloadLabelState::DownloadLink && answer.available == *parsed);
  } else {
    FUZZ_CHECK(answer.state == DownloadLabelState::UpToDate);
  }
}

void anyDownload(const std::string& text, const std::string& own) {
  const auto file = readVersionFile(text, "Kelvane");
  const auto offered = offeredVersion(text, "Kelvane");
  FUZZ_CHECK(offered.has_value() == file.has_value());
  if (file) FUZZ_CHECK(*offered == file->currentVersion);
  const UpdateAnswer answer = judgeVersionFile(text, "Kelvane", own);
  if (answer.state == DownloadLabelState::DownloadLink) FUZZ_CHECK(*parseVersion(own) < answer.available);
}

void shortLabel(const std::string& text) {
  const std::string label = VersionText(text);
  const auto version = expectedVersion(text);
  if (version && std::count(text.begin(), text.end(), '.') == 3)
    FUZZ_CHECK(label.starts_with(std::to_string((*version)[0]) + "." + std::to_string((*version)[1])));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string offered = in.ConsumeRandomLengthString(40);
  const std::string own = in.ConsumeRandomLengthString(40);
  const std::string rest = in.ConsumeRemainingBytesAsString();
  versions(offered, own);
  anyDownload(rest, own);
  shortLabel(offered);
  return 0;
}
