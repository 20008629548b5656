#include "common/texts.h"

#include <algorithm>

namespace kelvane {

namespace {

struct KeyFacts {
  std::string_view name;
  TextShape shape;
};

constexpr std::array<KeyFacts, kTextCount> kKeys = {{
#define KELVANE_TEXT_FACTS(id, name, shape) {name, TextShape::shape},
    KELVANE_TEXT_KEYS(KELVANE_TEXT_FACTS)
#undef KELVANE_TEXT_FACTS
}};

bool isNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }

// The name of the placeholder that starts at `at` (a '{'), or empty when none starts there.
std::string_view placeholderAt(std::string_view text, std::size_t at) {
  if (at + 2 >= text.size() || text[at] != '{' || !isNameStart(text[at + 1])) return {};
  std::size_t end = at + 1;
  while (end < text.size() && isNameChar(text[end])) ++end;
  if (end >= text.size() || text[end] != '}') return {};
  return text.substr(at + 1, end - at - 1);
}

// The length of the UTF-8 sequence that starts with `lead`, or 0 for a byte no sequence starts with.
std::size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::string_view textKeyName(TextId id) { return kKeys[textIndex(id)].name; }

TextShape textShape(TextId id) { return kKeys[textIndex(id)].shape; }

std::optional<TextId> textIdNamed(std::string_view name) {
  // Sorted once: a hostile language file may hold a million lines, each looked up.
  static const std::vector<std::pair<std::string_view, TextId>> byName = [] {
    std::vector<std::pair<std::string_view, TextId>> names;
    for (std::size_t i = 0; i < kKeys.size(); ++i) names.emplace_back(kKeys[i].name, static_cast<TextId>(i));
    std::sort(names.begin(), names.end());
    return names;
  }();
  const auto found = std::lower_bound(byName.begin(), byName.end(), name,
                                      [](const auto& entry, std::string_view key) { return entry.first < key; });
  if (found == byName.end() || found->first != name) return std::nullopt;
  return found->second;
}

std::string formatText(std::string_view pattern, std::span<const TextArgument> arguments) {
  std::string out;
  out.reserve(pattern.size() + 32);
  std::size_t i = 0;
  while (i < pattern.size()) {
    const std::string_view name = placeholderAt(pattern, i);
    const auto argument = std::find_if(arguments.begin(), arguments.end(),
                                       [&](const TextArgument& a) { return !name.empty() && a.first == name; });
    if (argument == arguments.end()) {
      out += pattern[i++];
      continue;
    }
    out += argument->second;
    i += name.size() + 2;
  }
  return out;
}

std::vector<std::string> placeholdersOf(std::string_view text) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (const std::string_view name = placeholderAt(text, i); !name.empty()) names.emplace_back(name);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

bool isValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = sequenceLength(lead);
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    if (length > 2) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      if (lead == 0xE0 && second < 0xA0) return false;  // overlong
      if (lead == 0xED && second > 0x9F) return false;  // a surrogate
      if (lead == 0xF0 && second < 0x90) return false;  // overlong
      if (lead == 0xF4 && second > 0x8F) return false;  // past U+10FFFF
    }
    i += length;
  }
  return true;
}

namespace {

// The longest start of `utf8` that fits `maxBytes` in the estimate, and its estimated size.
std::pair<std::string_view, std::size_t> fitAnsiEstimate(std::string_view utf8, std::size_t maxBytes) {
  std::size_t used = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t length = std::max<std::size_t>(1, sequenceLength(static_cast<unsigned char>(utf8[i])));
    const std::size_t bytes = length == 1 ? 1 : length == 4 ? 4 : 2;
    if (i + length > utf8.size() || used + bytes > maxBytes) break;
    used += bytes;
    i += length;
  }
  return {utf8.substr(0, i), used};
}

}  // namespace

std::size_t ansiByteEstimate(std::string_view utf8) { return fitAnsiEstimate(utf8, std::string_view::npos).second; }

std::string_view cutToAnsiEstimate(std::string_view utf8, std::size_t maxBytes) {
  return fitAnsiEstimate(utf8, maxBytes).first;
}

}  // namespace kelvane
