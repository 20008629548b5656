#include "history/history_export_win.h"

#include <optional>

#include "common/clock_win.h"
#include "common/handles_win.h"
#include "common/system_error_win.h"
#include "common/text_win.h"

namespace kelvane {

std::string systemFailureText(DWORD error) { return systemReason(error); }

namespace {

ProgramFiles& programFiles() {
  static ProgramFiles files;
  return files;
}

std::wstring fullPathOf(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

std::wstring longPathOf(const std::wstring& path) {
  const DWORD length = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = GetLongPathNameW(path.c_str(), full.data(), length);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

// Letters fold as the file system folds them, beyond ASCII too.
std::string foldedUtf8(std::wstring path) {
  if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  return toUtf8(path);
}

struct FileIdentity {
  DWORD volume = 0;
  DWORD high = 0;
  DWORD low = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

std::optional<FileIdentity> identityOf(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  UniqueKernelHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &information))
    return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

RequestAnswer failedWith(ExportProblem problem, DWORD error = 0) {
  return {kExitFailed, problem, static_cast<std::uint32_t>(error)};
}

}  // namespace

void knowProgramFiles(ProgramFiles files) { programFiles() = std::move(files); }

const ProgramFiles& knownProgramFiles() { return programFiles(); }

ExportTarget exportTargetFacts(const std::wstring& path, const ProgramFiles& files) {
  ExportTarget target;
  const std::wstring full = fullPathOf(path);
  const DWORD attributes = GetFileAttributesW(full.c_str());
  target.exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (target.exists) {
    target.path = foldedUtf8(longPathOf(full));
    target.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    const auto identity = identityOf(full);
    // A folder, a device, a pipe or a link's target elsewhere is no file to replace.
    target.diskFile = identity && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                                                   FILE_ATTRIBUTE_REPARSE_POINT));
    if (identity)
      for (const std::string* own : {&files.settingsFile, &files.historyFile, &files.logFile})
        if (!own->empty() && identityOf(toWide(*own)) == identity) target.sameAsProgramFile = true;
    if (identity && !files.programFolder.empty()) {
      wchar_t program[MAX_PATH * 4] = {};
      const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
      if (length > 0 && length < MAX_PATH * 4 && identityOf(program) == identity) target.sameAsProgramFile = true;
    }
  } else {
    const std::size_t slash = full.find_last_of(L"\\/");
    target.path = foldedUtf8(slash == std::wstring::npos ? full
                                                         : longPathOf(full.substr(0, slash)) + full.substr(slash));
  }
  return target;
}

RequestAnswer writeExportFile(const std::wstring& path, const std::string& bytes) {
  ProgramFiles files = knownProgramFiles();
  for (std::string* own : {&files.settingsFile, &files.historyFile, &files.logFile, &files.programFolder})
    if (!own->empty()) *own = foldedUtf8(longPathOf(fullPathOf(toWide(*own))));
  const ExportTarget target = exportTargetFacts(path, files);
  if (const ExportProblem problem = exportTargetProblem(target, files); problem != ExportProblem::None)
    return failedWith(problem);

  const std::wstring full = fullPathOf(path);
  std::wstring temporary;
  UniqueKernelHandle file;
  for (unsigned serial = 0; !file && serial < 100; ++serial) {
    temporary = full + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(serial) +
                L".kelvane-export";
    file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS) return failedWith(ExportProblem::WriteFailed, GetLastError());
  }
  if (!file) return failedWith(ExportProblem::WriteFailed, ERROR_FILE_EXISTS);
  DWORD written = 0;
  const bool whole = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                     written == bytes.size() && FlushFileBuffers(file.get());
  DWORD error = whole ? ERROR_SUCCESS : GetLastError();
  file.reset();
  if (whole && MoveFileExW(temporary.c_str(), full.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {};
  if (whole) error = GetLastError();
  DeleteFileW(temporary.c_str());
  return failedWith(ExportProblem::WriteFailed, error);
}

std::string exportFailureText(const Language& language, const RequestAnswer& answer, const std::string& path) {
  switch (answer.problem) {
    case ExportProblem::ProgramFile: return textIn(language, TextId::ExportProgramFile, {{"path", path}});
    case ExportProblem::NotDiskFile: return textIn(language, TextId::ExportNotDiskFile, {{"path", path}});
    case ExportProblem::ReadOnly: return textIn(language, TextId::ExportReadOnly, {{"path", path}});
    case ExportProblem::NotUnderstood: return textIn(language, TextId::CommandLineNotUnderstood, {});
    case ExportProblem::None:
    case ExportProblem::WriteFailed: break;
  }
  return textIn(language, TextId::HistoryCannotWrite,
                {{"path", path}, {"reason", systemFailureText(answer.systemError)}});
}

void describeExportFailure(const RequestAnswer& answer, const std::string& path, std::string& failure,
                           std::string* englishFailure) {
  failure.clear();
  if (englishFailure) englishFailure->clear();
  addInBothLanguages(failure, englishFailure,
                     [&](const Language& language) { return exportFailureText(language, answer, path); });
}

RequestAnswer exportRecentHistory(const HistoryContent& held, int days, std::int64_t now, const std::wstring& csvPath,
                                  std::string& failure, std::string* englishFailure) {
  const std::int64_t to = minuteStartOf(now) + kMinuteSeconds;
  const std::string csv = historyCsv(held.minutes, held.events, to - std::int64_t{days} * 86400, to,
                                     systemLocalTimeOf());
  const RequestAnswer answer = writeExportFile(csvPath, csv);
  if (answer.code != kExitDone) describeExportFailure(answer, toUtf8(csvPath), failure, englishFailure);
  return answer;
}

}  // namespace kelvane
