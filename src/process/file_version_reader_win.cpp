#include "process/file_version_reader_win.h"

#include <windows.h>

#include "common/text_win.h"
#include "process/file_version.h"

namespace kelvane {

FileVersionReader::FileVersionReader(const std::string& fileName) {
  if (fileName.empty()) return;
  const std::wstring wideName = toWide(fileName);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wideName.c_str(), &ignored);
  if (size == 0) return;
  data_.resize(size);
  if (!GetFileVersionInfoW(wideName.c_str(), 0, size, data_.data())) {
    data_.clear();
    return;
  }
  struct Translation {
    WORD language, codePage;
  };
  void* block = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &block, &length) && block) {
    const auto* entries = static_cast<const Translation*>(block);
    for (UINT i = 0; i < length / sizeof(Translation); ++i)
      translations_.push_back(TranslationName(entries[i].language, entries[i].codePage));
  }
}

std::string FileVersionReader::StringValue(const std::string& key) const {
  if (data_.empty()) return {};
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = toWide(StringValuePath(translations_, key));
  if (!VerQueryValueW(data_.data(), path.c_str(), &value, &length) || !value || length == 0)
    return {};
  // The length counts characters and may include the terminating zero.
  std::wstring text(static_cast<const wchar_t*>(value), length);
  text.resize(wcsnlen(text.c_str(), text.size()));
  return toUtf8(text);
}

std::string FileVersionReader::FileVersion() const {
  if (data_.empty()) return {};
  void* block = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data_.data(), L"\\", &block, &length) || !block ||
      length < sizeof(VS_FIXEDFILEINFO))
    return {};
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
  return FileVersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

}  // namespace kelvane
