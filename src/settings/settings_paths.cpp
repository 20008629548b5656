#include "settings/settings_paths.h"

namespace kelvane {

std::string WithTrailingBackslash(std::string_view folder) {
  std::string path(folder);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string UserDataFolder(std::string_view appDataFolder) {
  return WithTrailingBackslash(appDataFolder) + std::string(kDataSubfolder);
}

std::string DataFolderFor(bool portableMode, std::string_view programFolder,
                          std::string_view userDataFolder, bool forThemes) {
  std::string folder = WithTrailingBackslash(portableMode ? programFolder : userDataFolder);
  if (forThemes) folder += kThemeSubfolder;
  return folder;
}

DriveCheck DriveCheckFor(std::string_view path) {
  if (path.empty()) return DriveCheck::Fail;
  const char first = path.front();
  if (first == '\\') return DriveCheck::Pass;
  if ((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z'))
    return DriveCheck::QueryDrive;
  return DriveCheck::Fail;
}

}  // namespace kelvane
