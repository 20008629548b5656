#include "menu/file_version_reader_win.h"

#include <windows.h>

#include <cstdio>

#include "common/text_win.h"

namespace kelvane {

FileVersionReader::FileVersionReader(const std::string& fileName) {
  if (fileName.empty()) return;
  const std::wstring wideName = toWide(fileName);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wideName.c_str(), &ignored);
  if (size == 0) return;
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(wideName.c_str(), 0, size, data.data())) return;
  data_ = std::move(data);

  translation_ = L"040904E4";
  struct LanguageAndCodePage {
    WORD language;
    WORD codePage;
  };
  void* found = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &found, &length) && found &&
      length >= sizeof(LanguageAndCodePage)) {
    const auto* first = static_cast<const LanguageAndCodePage*>(found);
    wchar_t text[9];
    std::swprintf(text, 9, L"%04x%04x", first->language, first->codePage);
    translation_ = text;
  }
}

std::string FileVersionReader::StringValue(const std::string& key) const {
  if (data_.empty()) return {};
  const std::wstring query = L"\\StringFileInfo\\" + translation_ + L"\\" + toWide(key);
  void* found = nullptr;
  UINT length = 0;
  // VerQueryValue takes a non-const block though it only reads it.
  auto* block = const_cast<unsigned char*>(data_.data());
  if (!VerQueryValueW(block, query.c_str(), &found, &length) || !found || length == 0) return {};
  std::wstring value(static_cast<const wchar_t*>(found), length);
  value.resize(wcsnlen(value.c_str(), value.size()));  // the length may count the terminator
  return toUtf8(value);
}

std::string FileVersionReader::FileVersion() const {
  if (data_.empty()) return {};
  void* found = nullptr;
  UINT length = 0;
  auto* block = const_cast<unsigned char*>(data_.data());
  if (!VerQueryValueW(block, L"\\", &found, &length) || !found || length < sizeof(VS_FIXEDFILEINFO)) return {};
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
         "." + std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

}  // namespace kelvane
