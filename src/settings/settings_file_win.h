#pragma once
// The settings file and its folders on disk: where they are, reading the file's ANSI text, and
// saving it so that a crash or a full disk never leaves a truncated file behind.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/file_encoding.h"
#include "settings/ini_codec.h"
#include "settings/options.h"
#include "settings/settings_codec.h"

namespace kelvane {

// The two folders every location is derived from.
struct SettingsFolders {
  std::wstring programFolder;  // with a trailing backslash
  std::wstring appDataFolder;  // the user's application-data folder
};
// The program's folder and CSIDL_APPDATA (created when missing).
SettingsFolders systemSettingsFolders();

// True when the file exists; a drive letter is first checked for readiness with the system's
// critical-error pop-ups off, so an empty removable drive stays quiet.
bool FileExistsOnReadyDrive(const std::wstring& path);

// The settings file: beside the program when a Kelvane.Settings is already there (portable
// mode), else in the per-user data folder.
std::wstring GetSettingsFileName(const SettingsFolders& folders, bool& portableMode);

// The data folder (with a trailing backslash), or its Themes subfolder; missing folders are
// created, and a failure to create them shows only later, when a file cannot be written.
std::wstring GetDataFolder(const SettingsFolders& folders, bool portableMode, bool themeFolder);

// The same path, with nothing created.
std::wstring dataFolderPath(const SettingsFolders& folders, bool portableMode, bool themeFolder);
// Kelvane.log beside the program when it is there already, else in the data folder.
std::wstring GetDefaultLogFileName(const SettingsFolders& folders, bool portableMode);

// A file's text as UTF-8, and how it is stored: in the system code page, or after a byte-order
// mark as UTF-8, UTF-16LE (which the profile functions also read and keep) or UTF-16BE. A file
// is written back the way it was read.
struct TextFile {
  std::string text;
  FileEncoding encoding = FileEncoding::Ansi;
};

// nullopt when the file cannot be read (missing counts as such).
std::optional<TextFile> readTextFile(const std::wstring& path);
// The same for a file that must be an ordinary disk file of at most maxBytes: a device, a folder,
// a link or a bigger file counts as unreadable, and a device is never opened.
std::optional<TextFile> readSmallDiskFile(const std::wstring& path, std::uint64_t maxBytes);
// The same reading of bytes that came from elsewhere (a download).
TextFile decodeTextFile(const std::string& bytes);

// Writes the whole text, in its encoding, to a temporary file in the same folder and then puts
// it in the original's place in one step. An ANSI text that the code page cannot hold whole is
// written as UTF-16LE instead, which reads back the same. A read-only original is respected:
// nothing is written and false comes back, as the profile functions would fail.
bool replaceTextFile(const std::wstring& path, const TextFile& file);

// Deletes the temporaries that saves cut short (a crash, a kill) left in the folder, but none
// that a running process may still be writing, and no file of any other name.
void removeStaleSaveFiles(const std::wstring& folder);
// ... in the data folder and its theme folder (neither is created for it).
void removeStaleSaveFiles(const SettingsFolders& folders, bool portableMode);

// Reads the file (a missing one counts as empty), lets `edit` change the document and writes it
// back in one piece; other programs' changes since the last read are kept. A file that exists
// but cannot be read is left alone and false comes back.
bool editIniFile(const std::wstring& path, const std::function<void(IniDocument&)>& edit);

// LoadOptions' file part: the record (and whether this is a first run) from the file.
LoadedOptions loadOptionsFromFile(const std::wstring& path, const SettingsContext& context);

// SaveOptions' file part: every setting into the file. false when it could not be written.
bool saveOptionsToFile(const std::wstring& path, const TKelvaneOptions& options);

// "Unable to write to %s" with the path, shown as the top-level error display shows failures.
std::string unableToWriteText(const std::wstring& path);
void showUnableToWrite(const std::wstring& path);

}  // namespace kelvane
