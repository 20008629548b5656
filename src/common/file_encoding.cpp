#include "common/file_encoding.h"

#include <algorithm>
#include <utility>

#include "common/texts.h"

namespace kelvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void appendUnit(std::string& out, char16_t unit, FileEncoding order) {
  const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
  if (order == FileEncoding::Utf16Be) {
    out += high;
    out += low;
  } else {
    out += low;
    out += high;
  }
}

// The character at `at` and its length in bytes. Surrogate values are accepted here (they stand
// for unpaired UTF-16 units); overlong forms, values past U+10FFFF and broken sequences give
// U+FFFD for their first byte.
char32_t decodeUtf8(std::string_view s, std::size_t at, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(at);
  length = 1;
  if (lead < 0x80) return lead;
  std::size_t extra;
  char32_t c, minimum;
  if ((lead & 0xE0) == 0xC0) extra = 1, c = lead & 0x1F, minimum = 0x80;
  else if ((lead & 0xF0) == 0xE0) extra = 2, c = lead & 0x0F, minimum = 0x800;
  else if ((lead & 0xF8) == 0xF0) extra = 3, c = lead & 0x07, minimum = 0x10000;
  else return kReplacement;
  if (at + extra >= s.size()) return kReplacement;
  for (std::size_t i = 1; i <= extra; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF) return kReplacement;
  length = extra + 1;
  return c;
}

char16_t unitAt(std::string_view bytes, std::size_t i, FileEncoding order) {
  const auto first = static_cast<unsigned char>(bytes[2 * i]);
  const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
  return static_cast<char16_t>(order == FileEncoding::Utf16Be ? (first << 8) | second : (second << 8) | first);
}

// UTF-16 text: every high surrogate followed by a low one, every low one preceded by a high one,
// and no zero character. A cut may split a pair or a unit at the end.
bool isUtf16Text(std::string_view bytes, FileEncoding order, bool cutShort) {
  if (bytes.size() % 2 != 0) {
    if (!cutShort) return false;
    bytes.remove_suffix(1);
  }
  const std::size_t units = bytes.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = unitAt(bytes, i, order);
    if (unit == 0 || (unit >= 0xDC00 && unit < 0xE000)) return false;
    if (unit < 0xD800 || unit >= 0xDC00) continue;
    if (i + 1 == units) return cutShort;
    const char16_t next = unitAt(bytes, ++i, order);
    if (next < 0xDC00 || next >= 0xE000) return false;
  }
  return true;
}

// The bytes without a UTF-8 sequence that a cut left unfinished at their end.
std::string_view withoutCutSequence(std::string_view bytes) {
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: its lead is further back
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return length > back ? bytes.substr(0, bytes.size() - back) : bytes;
  }
  return bytes;
}

std::optional<std::string> utf16FileText(std::string_view body, FileEncoding order, bool cutShort) {
  if (!isUtf16Text(body, order, cutShort)) return std::nullopt;
  if (body.size() % 2 != 0) body.remove_suffix(1);
  // A pair the cut split leaves its high half, which is no character of the text.
  if (!body.empty()) {
    const char16_t last = unitAt(body, body.size() / 2 - 1, order);
    if (last >= 0xD800 && last < 0xDC00) body.remove_suffix(2);
  }
  return utf16ToUtf8(body, order);
}

}  // namespace

std::optional<std::string> unicodeFileText(std::string_view bytes, bool cutShort) {
  const MarkedText marked = splitByteOrderMark(bytes);
  switch (marked.encoding) {
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be: return utf16FileText(marked.body, marked.encoding, cutShort);
    case FileEncoding::Utf8:
    case FileEncoding::Ansi: break;
  }
  const std::string_view body = cutShort ? withoutCutSequence(marked.body) : marked.body;
  const bool hasZero = body.find('\0') != std::string_view::npos;
  if (!hasZero && isValidUtf8(body)) return std::string(body);
  if (!hasZero || marked.encoding == FileEncoding::Utf8) return std::nullopt;
  for (const FileEncoding order : {FileEncoding::Utf16Le, FileEncoding::Utf16Be})
    if (auto text = utf16FileText(marked.body, order, cutShort)) return text;
  return std::nullopt;
}

MarkedText splitByteOrderMark(std::string_view bytes) {
  for (const auto& [mark, encoding] : {std::pair{kUtf8Mark, FileEncoding::Utf8},
                                       std::pair{kUtf16LeMark, FileEncoding::Utf16Le},
                                       std::pair{kUtf16BeMark, FileEncoding::Utf16Be}})
    if (bytes.substr(0, mark.size()) == mark) return {encoding, bytes.substr(mark.size())};
  return {FileEncoding::Ansi, bytes};
}

std::string_view byteOrderMark(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::Utf8: return kUtf8Mark;
    case FileEncoding::Utf16Le: return kUtf16LeMark;
    case FileEncoding::Utf16Be: return kUtf16BeMark;
    case FileEncoding::Ansi: break;
  }
  return {};
}

std::string utf16ToUtf8(std::string_view bytes, FileEncoding order) {
  const std::size_t units = bytes.size() / 2;
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = unitAt(bytes, i, order);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
      const char16_t next = unitAt(bytes, i + 1, order);
      if (next >= 0xDC00 && next < 0xE000) {
        appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    appendUtf8(out, unit);
  }
  return out;
}

std::string utf8ToUtf16(std::string_view utf8, FileEncoding order) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t length;
    const char32_t c = decodeUtf8(utf8, at, length);
    at += length;
    if (c >= 0x10000) {
      appendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), order);
      appendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), order);
    } else {
      appendUnit(out, static_cast<char16_t>(c), order);
    }
  }
  return out;
}

}  // namespace kelvane
