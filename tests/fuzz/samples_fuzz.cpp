// libFuzzer target: the history sample lines the preview and scripts feed in. Checked for any
// input: a line is a sample exactly when it is six fields of ASCII digits (below 2^63, LOAD at
// most 100) between runs of spaces or tabs, and then the sample holds those numbers; a file's
// samples are those of its lines, in order, a line ending at LF with one CR before it dropped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_text.h"

#include "fuzz_check.h"

using namespace kelvane;

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

// The fields of a line of digits and blanks, or nothing for any other character or a number of
// 2^63 or more. Blanks before the first and after the last field are left to the parser.
std::optional<std::vector<std::uint64_t>> fieldsOf(std::string_view line) {
  std::vector<std::uint64_t> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    if (blank(line[i])) { ++i; continue; }
    unsigned __int128 value = 0;
    const std::size_t start = i;
    for (; i < line.size() && !blank(line[i]); ++i) {
      if (line[i] < '0' || line[i] > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(line[i] - '0');
      if (value >= (static_cast<unsigned __int128>(1) << 63)) return std::nullopt;
    }
    if (i == start) return std::nullopt;
    fields.push_back(static_cast<std::uint64_t>(value));
  }
  return fields;
}

void oneLine(std::string_view line) {
  const std::optional<HistorySample> sample = parseSampleLine(line);
  const auto fields = fieldsOf(line);
  const bool wellFormed = fields && fields->size() == 6 && (*fields)[1] <= 100;
  const bool edgeBlanks = !line.empty() && (blank(line.front()) || blank(line.back()));
  if (!edgeBlanks) FUZZ_CHECK(sample.has_value() == wellFormed);
  if (sample) {
    FUZZ_CHECK(wellFormed);
    FUZZ_CHECK(sample->time == static_cast<std::int64_t>((*fields)[0]) && sample->load == (*fields)[1] &&
          sample->usedPhys == (*fields)[2] && sample->usedPage == (*fields)[4]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<HistorySample> want;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    oneLine(line);
    if (auto sample = parseSampleLine(line)) want.push_back(*sample);
    start = end + 1;
  }
  const std::vector<HistorySample> got = parseSampleLines(text);
  FUZZ_CHECK(got.size() == want.size());
  for (std::size_t i = 0; i < got.size(); ++i)
    FUZZ_CHECK(got[i].time == want[i].time && got[i].load == want[i].load && got[i].usedPhys == want[i].usedPhys &&
          got[i].usedPage == want[i].usedPage);
  return 0;
}
