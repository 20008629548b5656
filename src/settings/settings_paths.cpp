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

std::string SaveTemporaryName(std::string_view targetName, unsigned long processId, unsigned serial) {
  return std::string(targetName) + "." + std::to_string(processId) + "-" + std::to_string(serial) +
         std::string(kSaveTemporaryExtension);
}

std::optional<unsigned long> SaveTemporaryOwner(std::string_view fileName) {
  if (!fileName.ends_with(kSaveTemporaryExtension)) return std::nullopt;
  fileName.remove_suffix(kSaveTemporaryExtension.size());
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::nullopt;
  const std::string_view owner = fileName.substr(dot + 1);
  const std::size_t dash = owner.find('-');
  const auto digits = [](std::string_view s) {
    return !s.empty() && s.size() <= 10 && s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (dash == std::string_view::npos || !digits(owner.substr(0, dash)) || !digits(owner.substr(dash + 1)))
    return std::nullopt;
  const unsigned long long id = std::stoull(std::string(owner.substr(0, dash)));
  if (id > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<unsigned long>(id);
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
