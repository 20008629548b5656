#include "settings/ini_codec.h"

#include <unordered_set>

#include "common/ascii_text.h"

namespace kelvane {

namespace {

constexpr std::size_t npos = std::string::npos;
constexpr std::string_view kCrLf = "\r\n";

// The range [at, at + size) of `s` without blanks at either end.
void trimBlanks(std::string_view s, std::size_t& at, std::size_t& size) {
  while (size > 0 && isIniBlank(s[at])) ++at, --size;
  while (size > 0 && isIniBlank(s[at + size - 1])) --size;
}

// Names passed in by the caller lose spaces only.
std::string_view trimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
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

// Calls `take(line, end)` for each line of the text: CR LF, LF and CR end a line alike, and a
// last line may have no end.
template <typename Take>
void forEachLine(std::string_view text, Take take) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t stop = text.find_first_of("\r\n", start);
    if (stop == npos) {
      take(text.substr(start), std::string_view());
      return;
    }
    const std::size_t endLength = text.compare(stop, 2, kCrLf) == 0 ? 2 : 1;
    take(text.substr(start, stop - start), text.substr(stop, endLength));
    start = stop + endLength;
  }
}

}  // namespace

bool sameIniName(std::string_view a, std::string_view b) { return equalsIgnoringAsciiCase(a, b); }

IniDocument::Line IniDocument::makeLine(std::string text, std::string end) {
  Line line;
  static_cast<Shape&>(line) = shapeOf(text);
  line.text = std::move(text);
  line.end = std::move(end);
  return line;
}

IniDocument::Shape IniDocument::shapeOf(std::string_view s) {
  Shape shape;
  std::size_t at = 0, size = s.size();
  trimBlanks(s, at, size);
  if (size == 0) return shape;
  if (s[at] == ';') {
    shape.kind = Kind::Comment;
  } else if (s[at] == '[') {
    // The name ends at the first ']' (or the line's end); anything after it is ignored.
    shape.kind = Kind::Section;
    shape.nameAt = at + 1;
    const std::size_t close = s.find(']', shape.nameAt);
    shape.nameSize = (close == npos ? at + size : close) - shape.nameAt;
    trimBlanks(s, shape.nameAt, shape.nameSize);
  } else {
    const std::size_t eq = s.find('=', at);
    shape.kind = eq == npos ? Kind::Entry : Kind::Key;
    shape.nameAt = at;
    shape.nameSize = (eq == npos ? at + size : eq) - at;
    trimBlanks(s, shape.nameAt, shape.nameSize);
    if (eq != npos) {
      shape.valueAt = eq + 1;
      shape.valueSize = at + size - shape.valueAt;
      trimBlanks(s, shape.valueAt, shape.valueSize);
    }
  }
  return shape;
}

std::string_view IniDocument::nameOf(const Line& line) {
  return std::string_view(line.text).substr(line.nameAt, line.nameSize);
}

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument doc;
  forEachLine(text, [&](std::string_view line, std::string_view end) {
    doc.lines_.push_back(makeLine(std::string(line), std::string(end)));
  });
  return doc;
}

void IniDocument::scan(std::string_view text, const std::function<void(const ScannedLine&)>& visit,
                       std::size_t limit) {
  std::unordered_set<std::string> seenSections;
  std::string_view section;
  bool reachable = false;  // keys above the first header, or under a repeated one, are not
  forEachLine(text, [&](std::string_view line, std::string_view) {
    const Shape shape = shapeOf(line);
    if (shape.kind == Kind::Section) {
      section = line.substr(shape.nameAt, shape.nameSize);
      reachable = seenSections.insert(lowerAsciiText(section)).second;
      if (reachable) visit({section, true, {}, {}});
    } else if (shape.kind == Kind::Key && reachable) {
      const std::string_view value = line.substr(shape.valueAt, shape.valueSize);
      visit({section, false, line.substr(shape.nameAt, shape.nameSize), cutCharacters(stripQuotes(value), limit)});
    }
  });
}

std::size_t IniDocument::findSection(std::string_view section) const {
  const std::string_view wanted = trimSpaces(section);
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && sameIniName(nameOf(lines_[i]), wanted)) return i;
  return npos;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key,
                                            std::size_t limit) const {
  const std::size_t header = findSection(section);
  if (header == npos) return std::nullopt;
  const std::string_view wanted = trimSpaces(key);
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Key && sameIniName(nameOf(line), wanted)) {
      const std::string_view value =
          std::string_view(line.text).substr(line.valueAt, line.valueSize);
      return std::string(cutCharacters(stripQuotes(value), limit));
    }
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
    std::string headerText = "[";
    headerText.append(trimSpaces(section)).append("]");
    lines_.push_back(makeLine(std::move(headerText), std::string(kCrLf)));
    lines_.push_back(makeLine(entry, std::string(kCrLf)));
    return;
  }
  const std::size_t end = sectionEnd(header);
  std::size_t lastEntry = header;
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& line = lines_[i];
    if (line.kind != Kind::Entry && line.kind != Kind::Key) continue;
    lastEntry = i;
    if (line.kind == Kind::Key && sameIniName(nameOf(line), name)) {
      // Keep the key as the user spelt and indented it; only the value changes.
      line = makeLine(line.text.substr(0, line.text.find('=') + 1) + withoutLineBreaks(value),
                      std::string(kCrLf));
      return;
    }
  }
  if (lines_[lastEntry].end.empty()) lines_[lastEntry].end = kCrLf;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastEntry + 1),
                makeLine(entry, std::string(kCrLf)));
}

void IniDocument::remove(std::string_view section, std::string_view key) {
  const std::size_t header = findSection(section);
  if (header == npos) return;
  const std::string name(trimSpaces(key));
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == Kind::Key && sameIniName(nameOf(lines_[i]), name)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_)
    if (line.kind == Kind::Section) names.emplace_back(nameOf(line));
  return names;
}

bool IniDocument::hasSection(std::string_view section) const { return findSection(section) != npos; }

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
  std::vector<std::string> names;
  const std::size_t header = findSection(section);
  if (header == npos) return names;
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key) names.emplace_back(nameOf(lines_[i]));
  return names;
}

std::string IniDocument::serialize() const {
  std::string out;
  for (const Line& line : lines_) out += line.text + line.end;
  return out;
}

}  // namespace kelvane
