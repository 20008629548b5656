#pragma once
// Where the settings, the default log and the themes live. The shell asks the system for the
// folders and whether files exist; the rules that join them are here.

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr std::string_view kLogFileName = "Kelvane.log";
inline constexpr std::string_view kDataSubfolder = "Brimvale\\Kelvane\\";
inline constexpr std::string_view kThemeSubfolder = "Themes\\";

// A folder path with exactly one trailing backslash added when it has none.
std::string WithTrailingBackslash(std::string_view folder);

// The per-user data folder under the application-data folder.
std::string UserDataFolder(std::string_view appDataFolder);

// GetDataFolder's answer: the program folder in portable mode, else the per-user folder; with
// forThemes the theme subfolder of it.
std::string DataFolderFor(bool portableMode, std::string_view programFolder,
                          std::string_view userDataFolder, bool forThemes);

// The temporary file a save writes before it takes the target's place, beside the target:
// "<target name>.<process id>-<serial>.kelvane-save". One left behind by a save that was cut
// short is recognisably ours, and whose.
inline constexpr std::string_view kSaveTemporaryExtension = ".kelvane-save";
std::string SaveTemporaryName(std::string_view targetName, unsigned long processId, unsigned serial);
// The process id in a name of exactly that form; nullopt for any other name.
std::optional<unsigned long> SaveTemporaryOwner(std::string_view fileName);

// What FileExistsOnReadyDrive must check before it may look for the file.
enum class DriveCheck {
  Fail,        // empty or relative path
  Pass,        // network path: nothing to wait for
  QueryDrive,  // a drive letter: its size must be readable first
};
DriveCheck DriveCheckFor(std::string_view path);

}  // namespace kelvane
