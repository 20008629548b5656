#include "settings/log_file_win.h"

#include <utility>

#include "common/clock_win.h"
#include "common/handles_win.h"
#include "common/language.h"
#include "common/system_error_win.h"
#include "common/text_win.h"
#include "settings/log_path.h"

namespace kelvane {

namespace {

// Drives that are not ready (an empty card reader) would otherwise ask the user to insert a disk.
class NoCriticalErrorPrompt {
 public:
  NoCriticalErrorPrompt() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~NoCriticalErrorPrompt() { SetErrorMode(previous_); }
  NoCriticalErrorPrompt(const NoCriticalErrorPrompt&) = delete;
  NoCriticalErrorPrompt& operator=(const NoCriticalErrorPrompt&) = delete;

 private:
  UINT previous_;
};

}  // namespace

void AppendLogLine(const std::wstring& path, const std::string& line) {
  NoCriticalErrorPrompt quiet;
  // FILE_APPEND_DATA alone: every write goes to the end, and nothing can cut the file short.
  UniqueKernelHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  const std::string pathText = toUtf8(path);
  if (file.get() == INVALID_HANDLE_VALUE)
    throw LogWriteError(tr(TextId::ErrorLogCannotOpen, {{"path", pathText}, {"error", systemReason(GetLastError())}}));
  const std::string bytes = utf8ToAnsi(line) + "\r\n";
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw LogWriteError(tr(TextId::ErrorLogCannotWrite, {{"path", pathText}, {"error", systemReason(GetLastError())}}));
}

void AppendLogLine(const std::wstring& path, const std::string& line, const std::string& englishLine) {
  AppendLogLine(path, ansiHolds(line) ? line : englishLine);
}

std::wstring LogFilePath(const TKelvaneOptions& options, const std::string& dataFolder) {
  return toWide(ResolveLogPath(options.LogFile, dataFolder));
}

void UnattendedFailures::failed(const TKelvaneOptions& options, const std::string& dataFolder,
                                const std::string& what) {
  failed(options, dataFolder, what, what);
}

void UnattendedFailures::failed(const TKelvaneOptions& options, const std::string& dataFolder,
                                const std::string& what, const std::string& englishWhat) {
  if (std::exchange(inEpisode_, true) || !options.WriteLog) return;
  const DateTimeTexts now = CurrentDateTimeTexts();
  const std::string when = now.date + " " + now.time + ": ";
  try {
    AppendLogLine(LogFilePath(options, dataFolder), when + what, when + englishWhat);
  } catch (const LogWriteError&) {
  }
}

}  // namespace kelvane
