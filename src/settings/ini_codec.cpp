#include "settings/ini_codec.h"

namespace kelvane {

namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view kCrLf = "\r\n";

// Blanks around names and values in the file: space, tab, vertical tab, form feed.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names passed in by the caller lose spaces only.
std::string_view trimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  return true;
}

enum class LineKind { Other, Comment, Section, Entry };

struct Parsed {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key name
  std::string_view value;  // raw value of an entry, blanks trimmed
  bool hasEquals = false;
};

Parsed classify(std::string_view text) {
  Parsed p;
  const std::string_view body = trimBlanks(text);
  if (body.empty()) return p;
  if (body.front() == ';') {
    p.kind = LineKind::Comment;
    return p;
  }
  if (body.front() == '[') {
    // The name ends at the first ']' (or the line's end); anything after it is ignored.
    std::string_view name = body.substr(1);
    const std::size_t close = name.find(']');
    if (close != npos) name = name.substr(0, close);
    p.kind = LineKind::Section;
    p.name = trimBlanks(name);
    return p;
  }
  p.kind = LineKind::Entry;
  const std::size_t eq = body.find('=');
  if (eq == npos) {
    p.name = body;
    return p;
  }
  p.hasEquals = true;
  p.name = trimBlanks(body.substr(0, eq));
  p.value = trimBlanks(body.substr(eq + 1));
  return p;
}

std::string_view stripQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// The first `limit` characters of UTF-8 text; a broken sequence counts byte by byte.
std::string_view cutCharacters(std::string_view s, std::size_t limit) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto byte = static_cast<unsigned char>(s[i]);
    if ((byte & 0xC0) == 0x80) continue;  // continuation byte of the current character
    if (count == limit) return s.substr(0, i);
    ++count;
  }
  return s;
}

std::string withoutLineBreaks(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument doc;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == npos) {
      doc.lines_.push_back({std::string(text.substr(start)), ""});
      break;
    }
    const std::size_t endLength = text.compare(stop, 2, kCrLf) == 0 ? 2 : 1;
    doc.lines_.push_back(
        {std::string(text.substr(start, stop - start)), std::string(text.substr(stop, endLength))});
    start = stop + endLength;
  }
  return doc;
}

std::size_t IniDocument::findSection(std::string_view section) const {
  const std::string_view wanted = trimSpaces(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Parsed p = classify(lines_[i].text);
    if (p.kind == LineKind::Section && sameName(p.name, wanted)) return i;
  }
  return npos;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && classify(lines_[i].text).kind != LineKind::Section) ++i;
  return i;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key,
                                            std::size_t limit) const {
  const std::size_t header = findSection(section);
  if (header == npos) return std::nullopt;
  const std::string_view wanted = trimSpaces(key);
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Parsed p = classify(lines_[i].text);
    if (p.kind == LineKind::Entry && p.hasEquals && sameName(p.name, wanted))
      return std::string(cutCharacters(stripQuotes(p.value), limit));
  }
  return std::nullopt;
}

std::string IniDocument::get(std::string_view section, std::string_view key,
                             std::string_view fallback, std::size_t limit) const {
  if (auto value = get(section, key, limit)) return *value;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return std::string(cutCharacters(fallback, limit));
}

void IniDocument::ensureLastLineEnded() {
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = kCrLf;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string name(trimSpaces(key));
  const std::string entry = name + "=" + withoutLineBreaks(value);
  const std::size_t header = findSection(section);
  if (header == npos) {
    ensureLastLineEnded();
    lines_.push_back({"[" + std::string(trimSpaces(section)) + "]", std::string(kCrLf)});
    lines_.push_back({entry, std::string(kCrLf)});
    return;
  }
  const std::size_t end = sectionEnd(header);
  std::size_t lastEntry = header;
  for (std::size_t i = header + 1; i < end; ++i) {
    const Parsed p = classify(lines_[i].text);
    if (p.kind != LineKind::Entry) continue;
    lastEntry = i;
    if (p.hasEquals && sameName(p.name, name)) {
      // Keep the key as the user spelt and indented it; only the value changes.
      Line& line = lines_[i];
      line.text = line.text.substr(0, line.text.find('=') + 1) + withoutLineBreaks(value);
      line.end = kCrLf;
      return;
    }
  }
  if (lines_[lastEntry].end.empty()) lines_[lastEntry].end = kCrLf;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1),
                Line{entry, std::string(kCrLf)});
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    const Parsed p = classify(line.text);
    if (p.kind == LineKind::Section) names.emplace_back(p.name);
  }
  return names;
}

std::string IniDocument::serialize() const {
  std::string out;
  for (const Line& line : lines_) out += line.text + line.end;
  return out;
}

}  // namespace kelvane
