#include "settings/language_files_win.h"

#include <optional>

#include "common/handles_win.h"
#include "common/system_info_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

// Never resized once filled: speak() holds a pointer into it.
std::vector<Language>& keptLanguages() {
  static std::vector<Language> languages;
  return languages;
}

bool endsWithLanguageExtension(const std::wstring& name) {
  constexpr std::wstring_view extension = L".lng";
  return name.size() > extension.size() &&
         _wcsicmp(name.c_str() + name.size() - extension.size(), extension.data()) == 0;
}

// At most one byte past the limit, so that a file far too large is read no further than it
// takes to know; nothing when it is no ordinary disk file or cannot be read.
std::optional<std::string> readLimitedBytes(const std::wstring& path, std::size_t limit) {
  const UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (bytes.size() <= limit) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  if (bytes.size() > limit + 1) bytes.resize(limit + 1);
  return bytes;
}

bool tagKept(const std::vector<Language>& languages, std::string_view tag) {
  for (const Language& language : languages)
    if (sameLanguageTag(language.tag(), tag)) return true;
  return false;
}

void readFolder(const std::wstring& folder, std::vector<Language>& languages, std::vector<std::string>& logLines) {
  const std::wstring languageFolder = folder + std::wstring(kLanguageFolder);
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((languageFolder + L"*.lng").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & kNotOrdinary) || !endsWithLanguageExtension(name)) continue;
    const std::string tag = toUtf8(name.substr(0, name.size() - 4));
    if (tagKept(languages, tag)) continue;  // the data folder's file wins
    const std::wstring path = languageFolder + name;
    const auto bytes = readLimitedBytes(path, kLanguageFileLimit);
    if (!bytes) continue;  // gone or locked since it was listed: as if it were not there
    LanguageFileResult read = readLanguageFile(tag, toUtf8(path), *bytes);
    if (read.language) languages.push_back(std::move(*read.language));
    if (!read.logLine.empty()) logLines.push_back(std::move(read.logLine));
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace

std::vector<std::string> loadLanguageFiles(const std::vector<std::wstring>& folders) {
  std::vector<std::string> logLines;
  std::vector<Language>& kept = keptLanguages();
  if (!kept.empty()) return logLines;
  std::vector<Language> languages;
  for (const std::wstring& folder : folders) readFolder(folder, languages, logLines);
  kept = std::move(languages);
  return logLines;
}

std::span<const Language> fileLanguages() { return keptLanguages(); }

void speakLanguageSetting(std::string_view setting) {
  std::vector<std::string> tags;
  for (const Language& language : fileLanguages()) tags.push_back(language.tag());
  const UiLanguage windows = readUiLanguage();
  speak(languageOfTag(chooseLanguage(setting, windows.id, windows.tag, tags), fileLanguages()));
}

}  // namespace kelvane
