#include "settings/theme_folder_win.h"

#include <windows.h>

#include "common/handles_win.h"
#include "common/text_win.h"
#include "resource_ids.h"
#include "settings/settings_file_win.h"

namespace kelvane {

std::vector<std::string> ListThemeNames(const std::wstring& themeFolder) {
  std::vector<std::string> fileNames;
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = themeFolder + L"*" + toWide(std::string(kThemeFileExtension));
  const UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &found));
  if (!search) return {};
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) fileNames.push_back(toUtf8(found.cFileName));
  } while (FindNextFileW(search.get(), &found));
  return ThemeNamesFromListing(fileNames);
}

std::wstring ThemeFilePath(const std::wstring& themeFolder, const std::string& name) {
  std::string fileName = name;
  fileName.append(kThemeFileExtension);
  return themeFolder + toWide(fileName);
}

namespace {

ThemeColors themeFromFile(const std::optional<TextFile>& file) {
  return ReadThemeFile(IniDocument::parse(file.value_or(TextFile{}).text));
}

}  // namespace

ThemeColors readThemeFileAt(const std::wstring& path) {
  return themeFromFile(readSmallDiskFile(path, kMaxThemeFileBytes));
}

ThemeColors readListedTheme(const std::wstring& themeFolder, const std::string& name) {
  if (!IsListableThemeName(name)) return themeFromFile(std::nullopt);  // as a file that cannot be read
  return readThemeFileAt(ThemeFilePath(themeFolder, name));
}

void deleteListedTheme(const std::wstring& themeFolder, const std::string& name) {
  // A failure leaves the file for the next opening of the list.
  if (IsListableThemeName(name)) DeleteFileW(ThemeFilePath(themeFolder, name).c_str());
}

bool SaveThemeFile(const std::wstring& path, const std::string& name, const ThemeColors& colors) {
  return editIniFile(path, [&](IniDocument& theme) { WriteThemeFile(theme, name, colors); });
}

void deliverThemeFiles(const std::wstring& themeFolder) {
  if (!ShouldDeliverThemeFiles(ListThemeNames(themeFolder))) return;
  const HMODULE program = GetModuleHandleW(nullptr);
  for (int style = kFirstDeliveredThemeStyle; style <= kLastDeliveredThemeStyle; ++style) {
    const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(IDR_THEME_FILE_BASE + style), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) continue;
    const std::wstring path = themeFolder + toWide(std::string(FirstRunThemeFileName(style)));
    const DWORD size = SizeofResource(program, found);
    bool complete;
    {
      // CREATE_NEW: a file that appeared meanwhile is the user's.
      const UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!file) continue;
      DWORD written = 0;
      complete = WriteFile(file.get(), bytes, size, &written, nullptr) && written == size;
    }
    if (!complete) DeleteFileW(path.c_str());  // half a theme file would read as a broken theme
  }
}

void applyFirstRunThemeFromFolder(TKelvaneOptions& options, const std::wstring& themeFolder,
                                  int visualStyle) {
  const std::wstring path = themeFolder + toWide(std::string(FirstRunThemeFileName(visualStyle)));
  const auto text = readSmallDiskFile(path, kMaxThemeFileBytes);
  if (!text) return;
  ApplyFirstRunTheme(options, ReadFirstRunThemeFile(IniDocument::parse(text->text)));
}

}  // namespace kelvane
