#include "app/start_language_win.h"

#include "settings/language_files_win.h"
#include "settings/log_file_win.h"
#include "settings/settings_file_win.h"

namespace kelvane {

std::vector<LanguageNotice> speakStartLanguage() {
  const SettingsFolders folders = systemSettingsFolders();
  bool portableMode = false;
  const std::wstring settingsFile = GetSettingsFileName(folders, portableMode);
  // In portable use the data folder is the program's: read once.
  std::vector<std::wstring> languageFolders{dataFolderPath(folders, portableMode, false)};
  if (!portableMode) languageFolders.push_back(folders.programFolder);
  std::vector<LanguageNotice> notices = loadLanguageFiles(languageFolders);
  std::string setting;
  if (const auto file = readTextFile(settingsFile)) setting = ReadLanguageSetting(IniDocument::parse(file->text));
  for (LanguageNotice& notice : speakLanguageSetting(setting)) notices.push_back(std::move(notice));
  return notices;
}

void logLanguageNotices(const TKelvaneOptions& options, const std::string& dataFolder,
                        const std::vector<LanguageNotice>& notices) {
  // A notice of its own each time: not an episode.
  for (const LanguageNotice& notice : notices)
    UnattendedFailures().failed(options, dataFolder, noticeText(notice, speaking()),
                                noticeText(notice, Language::english()));
}

}  // namespace kelvane
