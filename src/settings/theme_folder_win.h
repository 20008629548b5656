#pragma once
// Theme files in the theme folder: listing, reading, saving, and the first-run theme.

#include <string>
#include <vector>

#include "settings/options.h"
#include "settings/theme_file.h"

namespace kelvane {

// Names of the "*.Kelvane Theme" files in the folder, in the order the listing returns them,
// hidden and system files included.
std::vector<std::string> ListThemeNames(const std::wstring& themeFolder);

// theme folder + name + ".Kelvane Theme"
std::wstring ThemeFilePath(const std::wstring& themeFolder, const std::string& name);

// A theme file's content; a file that cannot be read, or is no ordinary disk file of at most
// kMaxThemeFileBytes, reads as an empty one.
ThemeColors readThemeFileAt(const std::wstring& path);

// What the theme list's entries act on: the file of a listable name (IsListableThemeName) in the
// theme folder. A name the list would not hold reads as an empty theme and deletes nothing.
ThemeColors readListedTheme(const std::wstring& themeFolder, const std::string& name);
void deleteListedTheme(const std::wstring& themeFolder, const std::string& name);

// Writes the theme's keys into the file (other keys stay). false when it could not be written.
bool SaveThemeFile(const std::wstring& path, const std::string& name, const ThemeColors& colors);

// The first run: the theme files delivered inside the program are written into the folder
// when it holds none of them. A file of the same name is never replaced.
void deliverThemeFiles(const std::wstring& themeFolder);

// The first run: the theme file that suits the desktop, when the folder has it.
void applyFirstRunThemeFromFolder(TKelvaneOptions& options, const std::wstring& themeFolder,
                                  int visualStyle);

}  // namespace kelvane
