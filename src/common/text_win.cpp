#include "common/text_win.h"

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
std::string ansiToUtf8(const std::string& ansi) { return toUtf8(decode(CP_ACP, ansi)); }
std::string utf8ToAnsi(const std::string& utf8) { return encode(CP_ACP, toWide(utf8)); }

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
