#include "common/text_win.h"

#include <cstring>

#include "common/language.h"

namespace kelvane {

namespace {

std::wstring decode(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int count = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), count);
  return out;
}

std::string encode(UINT codePage, const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), count, nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring toWide(const std::string& utf8) { return decode(CP_UTF8, utf8); }
std::string toUtf8(const std::wstring& wide) { return encode(CP_UTF8, wide); }
std::wstring trWide(TextId id) { return toWide(tr(id)); }
std::wstring trWide(TextId id, std::initializer_list<TextArgument> arguments) { return toWide(tr(id, arguments)); }
std::string ansiToUtf8(const std::string& ansi) { return toUtf8(decode(CP_ACP, ansi)); }
std::string utf8ToAnsi(const std::string& utf8) { return encode(CP_ACP, toWide(utf8)); }

namespace {

constexpr wchar_t kEscapedByteBase = 0xF700;

bool isEscapedByte(wchar_t c) { return c >= kEscapedByteBase && c <= kEscapedByteBase + 0xFF; }

// One character of the code page at `bytes`, if it decodes and encodes back to the same bytes
// and cannot be mistaken for an escaped byte.
bool decodeExactly(UINT codePage, const char* bytes, int length, wchar_t& out) {
  wchar_t wide[2];
  if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, wide, 2) != 1)
    return false;
  if (isEscapedByte(wide[0])) return false;
  char back[4];
  BOOL usedDefault = FALSE;
  const int count = WideCharToMultiByte(codePage, 0, wide, 1, back, 4, nullptr, &usedDefault);
  if (usedDefault || count != length || memcmp(back, bytes, static_cast<std::size_t>(length)) != 0)
    return false;
  out = wide[0];
  return true;
}

}  // namespace

std::string ansiFileToUtf8(const std::string& bytes) {
  const UINT codePage = GetACP();
  if (codePage == CP_UTF8) return bytes;
  std::wstring wide;
  wide.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      wide += static_cast<wchar_t>(byte);
      ++i;
      continue;
    }
    const int length = IsDBCSLeadByteEx(codePage, byte) && i + 1 < bytes.size() ? 2 : 1;
    wchar_t decoded = 0;
    if (decodeExactly(codePage, bytes.data() + i, length, decoded)) {
      wide += decoded;
      i += static_cast<std::size_t>(length);
    } else {
      wide += static_cast<wchar_t>(kEscapedByteBase + byte);
      ++i;
    }
  }
  return toUtf8(wide);
}

namespace {

// `wide` in the code page; `lost` is set when a character of it has no form there, so that
// decoding the bytes would not give the text back.
std::string encodeCounted(const std::wstring& wide, bool& lost) {
  std::string bytes = encode(CP_ACP, wide);
  if (decode(CP_ACP, bytes) != wide) lost = true;
  return bytes;
}

std::string ansiFileBytes(const std::string& utf8, bool& lost) {
  if (GetACP() == CP_UTF8) return utf8;
  const std::wstring wide = toWide(utf8);
  std::string out;
  std::wstring run;
  for (const wchar_t c : wide) {
    if (!isEscapedByte(c)) {
      run += c;
      continue;
    }
    out += encodeCounted(run, lost);
    run.clear();
    out += static_cast<char>(c - kEscapedByteBase);
  }
  return out + encodeCounted(run, lost);
}

}  // namespace

std::string utf8ToAnsiFile(const std::string& utf8) {
  bool lost = false;
  return ansiFileBytes(utf8, lost);
}

std::optional<std::string> utf8ToAnsiFileExactly(const std::string& utf8) {
  bool lost = false;
  std::string bytes = ansiFileBytes(utf8, lost);
  if (lost) return std::nullopt;
  return bytes;
}

bool ansiHolds(const std::string& utf8) {
  bool lost = false;
  encodeCounted(toWide(utf8), lost);
  return !lost;
}

std::size_t ansiByteLength(const std::wstring& wide) { return encode(CP_ACP, wide).size(); }

std::wstring cutToAnsiBytes(const std::wstring& wide, std::size_t maxBytes) {
  std::size_t used = 0;
  std::size_t i = 0;
  while (i < wide.size()) {
    const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    const std::size_t length = pair ? 2 : 1;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data() + i, static_cast<int>(length),
                                          nullptr, 0, nullptr, nullptr);
    if (used + static_cast<std::size_t>(bytes) > maxBytes) break;
    used += static_cast<std::size_t>(bytes);
    i += length;
  }
  return wide.substr(0, i);
}

}  // namespace kelvane
