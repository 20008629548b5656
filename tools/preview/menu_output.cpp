#include "menu_output.h"

#include <limits>

namespace preview {
using namespace kelvane;

namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::optional<std::uint64_t> parseNumber(const std::string& text, std::uint64_t limit) {
  if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  try {
    const unsigned long long value = std::stoull(text);
    if (value > limit) return std::nullopt;
    return value;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

ProcessFile parseProcessFile(const std::string& text) {
  ProcessFile file;
  std::size_t start = 0;
  int lineNumber = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::vector<std::string> fields = splitTabs(line);
    const auto fail = [&](const std::string& why) {
      file.error = "line " + std::to_string(lineNumber) + ": " + why;
      return file;
    };
    if (fields.size() < 4 || fields.size() > 5)
      return fail("expected 4 or 5 tab-separated fields (id, name, path, memory, description)");
    const auto id = parseNumber(fields[0], std::numeric_limits<std::uint32_t>::max());
    if (!id) return fail("the process id is not a whole number up to 4294967295");
    const auto memory = parseNumber(fields[3], std::numeric_limits<std::uint64_t>::max());
    if (!memory) return fail("the memory is not a whole number of bytes");
    TNxProcessRec record;
    record.ProcessId = static_cast<std::uint32_t>(*id);
    record.Name = fields[1];
    record.Path = fields[2];
    record.Memory = *memory;
    if (fields.size() == 5 && !fields[4].empty() && !record.Path.empty())
      file.descriptions.emplace_back(record.Path, fields[4]);
    file.records.push_back(std::move(record));
  }
  return file;
}

std::string menuLine(const MenuEntry& entry) {
  const char letters[] = {entry.isDefault ? 'D' : '\0', entry.highlighted ? 'H' : '\0',
                          entry.unified ? 'U' : '\0', entry.enabled ? '\0' : 'X'};
  std::string flags;
  for (char letter : letters)
    if (letter != '\0') flags.push_back(letter);
  if (flags.empty()) flags.assign(1, '-');
  const std::string& value = entry.valueText.empty() ? entry.shortcutText : entry.valueText;
  std::string line = "menu: ";
  line.append(std::to_string(entry.tag)).append("\t").append(entry.caption);
  line.append("\t").append(value).append("\t").append(flags);
  return line;
}

}  // namespace preview
