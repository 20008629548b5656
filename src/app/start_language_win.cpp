#include "app/start_language_win.h"

#include "settings/language_files_win.h"
#include "settings/settings_file_win.h"

namespace kelvane {

std::vector<std::string> speakStartLanguage() {
  const SettingsFolders folders = systemSettingsFolders();
  bool portableMode = false;
  const std::wstring settingsFile = GetSettingsFileName(folders, portableMode);
  // In portable use the data folder is the program's: read once.
  std::vector<std::wstring> languageFolders{dataFolderPath(folders, portableMode, false)};
  if (!portableMode) languageFolders.push_back(folders.programFolder);
  std::vector<std::string> logLines = loadLanguageFiles(languageFolders);
  std::string setting;
  if (const auto file = readTextFile(settingsFile)) setting = ReadLanguageSetting(IniDocument::parse(file->text));
  speakLanguageSetting(setting);
  return logLines;
}

}  // namespace kelvane
