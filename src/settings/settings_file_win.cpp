#include "settings/settings_file_win.h"

#include <shlobj.h>

#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>
#include <vector>

#include "common/disk_file_win.h"
#include "common/error_display_win.h"
#include "common/handles_win.h"
#include "common/language.h"
#include "common/system_info_win.h"
#include "common/text_win.h"
#include "settings/settings_paths.h"

namespace kelvane {

namespace {

std::wstring wide(std::string_view utf8) { return toWide(std::string(utf8)); }

bool fileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring folderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".\\") : path.substr(0, slash + 1);
}

bool writeAll(HANDLE file, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
    DWORD done = 0;
    if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) return false;
    written += done;
  }
  return true;
}

std::string fileBytes(const TextFile& file) {
  std::string bytes(byteOrderMark(file.encoding));
  switch (file.encoding) {
    case FileEncoding::Ansi:
      if (auto ansi = utf8ToAnsiFileExactly(file.text)) return *std::move(ansi);
      // The code page cannot hold the text (a Chinese section name on a Western system): as
      // ANSI it would come back as question marks and the section would never be found again.
      return fileBytes({file.text, FileEncoding::Utf16Le});
    case FileEncoding::Utf8: return bytes + file.text;
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be: return bytes + utf8ToUtf16(file.text, file.encoding);
  }
  return bytes;
}

// A copy that is saving right now may own a temporary; our own id at start-up is a reused one.
bool isOtherRunningProcess(unsigned long processId) {
  if (processId == GetCurrentProcessId()) return false;
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace

SettingsFolders systemSettingsFolders() {
  SettingsFolders folders;
  folders.programFolder = programFolder();
  wchar_t appData[MAX_PATH] = L"";
  if (SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, TRUE)) folders.appDataFolder = appData;
  return folders;
}

bool FileExistsOnReadyDrive(const std::wstring& path) {
  switch (DriveCheckFor(toUtf8(path))) {
    case DriveCheck::Fail: return false;
    case DriveCheck::Pass: break;
    case DriveCheck::QueryDrive: {
      const wchar_t letter = path[0] >= L'a' ? static_cast<wchar_t>(path[0] - L'a' + L'A') : path[0];
      const wchar_t root[] = {letter, L':', L'\\', L'\0'};
      const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
      ULARGE_INTEGER total{};
      const BOOL ready = GetDiskFreeSpaceExW(root, nullptr, &total, nullptr);
      SetErrorMode(previous);
      if (!ready) return false;
      break;
    }
  }
  return fileExists(path);
}

std::wstring GetSettingsFileName(const SettingsFolders& folders, bool& portableMode) {
  const std::wstring besideProgram = folders.programFolder + wide(kSettingsFileName);
  if (FileExistsOnReadyDrive(besideProgram)) {
    portableMode = true;
    return besideProgram;
  }
  portableMode = false;
  return GetDataFolder(folders, false, false) + wide(kSettingsFileName);
}

std::wstring dataFolderPath(const SettingsFolders& folders, bool portableMode, bool themeFolder) {
  return wide(DataFolderFor(portableMode, toUtf8(folders.programFolder),
                            UserDataFolder(toUtf8(folders.appDataFolder)), themeFolder));
}

std::wstring GetDataFolder(const SettingsFolders& folders, bool portableMode, bool themeFolder) {
  const std::wstring folder = dataFolderPath(folders, portableMode, themeFolder);
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);  // creates the missing parents too
  return folder;
}

std::wstring GetDefaultLogFileName(const SettingsFolders& folders, bool portableMode) {
  const std::wstring besideProgram = folders.programFolder + wide(kLogFileName);
  if (FileExistsOnReadyDrive(besideProgram)) return besideProgram;
  return GetDataFolder(folders, portableMode, false) + wide(kLogFileName);
}

namespace {

HANDLE openForReading(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::optional<TextFile> readOpenTextFile(HANDLE file, std::uint64_t maxBytes) {
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (true) {
    // A read that fails half-way must not pass for the whole file: saving would lose the rest.
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(buffer, got);
    if (bytes.size() > maxBytes) return std::nullopt;
  }
  return decodeTextFile(bytes);
}

}  // namespace

TextFile decodeTextFile(const std::string& bytes) {
  const MarkedText marked = splitByteOrderMark(bytes);
  switch (marked.encoding) {
    case FileEncoding::Ansi: break;
    case FileEncoding::Utf8: return TextFile{std::string(marked.body), FileEncoding::Utf8};
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be:
      return TextFile{utf16ToUtf8(marked.body, marked.encoding), marked.encoding};
  }
  return TextFile{ansiFileToUtf8(bytes), FileEncoding::Ansi};
}

std::optional<TextFile> readTextFile(const std::wstring& path) {
  const UniqueKernelHandle file(openForReading(path));
  if (!file) return std::nullopt;
  return readOpenTextFile(file.get(), std::numeric_limits<std::uint64_t>::max());
}

std::optional<TextFile> readSmallDiskFile(const std::wstring& path, std::uint64_t maxBytes) {
  if (fileKindOf(path) != FileKind::Ordinary) return std::nullopt;
  const UniqueKernelHandle file(openForReading(path));
  LARGE_INTEGER size{};
  if (!file || !isDiskFile(file.get()) || !GetFileSizeEx(file.get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
    return std::nullopt;
  return readOpenTextFile(file.get(), maxBytes);
}

bool replaceTextFile(const std::wstring& path, const TextFile& text) {
  const DWORD original = GetFileAttributesW(path.c_str());
  if (original != INVALID_FILE_ATTRIBUTES && (original & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const std::wstring folder = folderOf(path);
  const std::string targetName = toUtf8(path.substr(folder.size()));
  std::wstring temporary;
  UniqueKernelHandle file;
  for (unsigned serial = 0; !file && serial < 100; ++serial) {
    temporary = folder + toWide(SaveTemporaryName(targetName, GetCurrentProcessId(), serial));
    file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (!file) return false;
  const bool written = writeAll(file.get(), fileBytes(text)) && FlushFileBuffers(file.get());
  file.reset();
  // A hidden or system settings file stays so.
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (written && original != INVALID_FILE_ATTRIBUTES && (original & kKept))
    SetFileAttributesW(temporary.c_str(), original & kKept);
  if (written &&
      MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  const DWORD error = GetLastError();
  DeleteFileW(temporary.c_str());
  SetLastError(error);
  return false;
}

void removeStaleSaveFiles(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = folder + L"*" + toWide(std::string(kSaveTemporaryExtension));
  const UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &found));
  if (!search) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const auto owner = SaveTemporaryOwner(toUtf8(found.cFileName));
    if (owner && !isOtherRunningProcess(*owner)) DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search.get(), &found));
}

void removeStaleSaveFiles(const SettingsFolders& folders, bool portableMode) {
  for (const bool themeFolder : {false, true})
    removeStaleSaveFiles(dataFolderPath(folders, portableMode, themeFolder));
}

bool editIniFile(const std::wstring& path, const std::function<void(IniDocument&)>& edit) {
  const auto existing = readTextFile(path);
  // A file that is there but cannot be read (locked, no access) is not replaced by a new one.
  if (!existing && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  TextFile file = existing.value_or(TextFile{});
  IniDocument document = IniDocument::parse(file.text);
  edit(document);
  file.text = document.serialize();
  return replaceTextFile(path, file);
}

LoadedOptions loadOptionsFromFile(const std::wstring& path, const SettingsContext& context) {
  return LoadOptionsFromIni(IniDocument::parse(readTextFile(path).value_or(TextFile{}).text), context);
}

bool saveOptionsToFile(const std::wstring& path, const TKelvaneOptions& options) {
  return editIniFile(path, [&](IniDocument& document) { SaveOptionsToIni(document, options); });
}

std::string unableToWriteText(const std::wstring& path) { return tr(TextId::ErrorUnableToWrite, {{"path", toUtf8(path)}}); }

void showUnableToWrite(const std::wstring& path) { showUnexpectedError(unableToWriteText(path)); }

}  // namespace kelvane
