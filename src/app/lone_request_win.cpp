#include "app/lone_request_win.h"

#include "app/command_handover_win.h"
#include "common/clock_win.h"
#include "common/system_info_win.h"
#include "common/text_win.h"
#include "history/history_export_win.h"
#include "history/history_io_win.h"
#include "history/program_history_win.h"
#include "release/memory_release_win.h"
#include "settings/log_file_win.h"
#include "settings/settings_file_win.h"

namespace kelvane {

namespace {

// Reads the history the running copy would write (it is not running: only read, never written)
// and exports it. A failure is told where the command's words go, and into the log when the
// settings keep one.
int exportAlone(const ProgramRequest& request) {
  const SettingsFolders folders = systemSettingsFolders();
  bool portable = false;
  const std::wstring settingsFile = GetSettingsFileName(folders, portable);
  const SettingsContext context{10, toUtf8(GetDefaultLogFileName(folders, portable))};
  const TKelvaneOptions options = loadOptionsFromFile(settingsFile, context).options;
  const std::string dataFolder = toUtf8(GetDataFolder(folders, portable, false));
  knowProgramFiles({toUtf8(settingsFile), toUtf8(historyFileBeside(settingsFile)),
                    toUtf8(LogFilePath(options, dataFolder)), toUtf8(programFolder())});
  std::string failure;
  std::string englishFailure;
  const std::int64_t now = utcSecondsNow();
  const ReadHistoryResult read = readHistoryFile(historyFileBeside(settingsFile), now);
  if (read.content && exportRecentHistory(*read.content, request.days, now, toWide(request.file),
                                          failure, &englishFailure).code == kExitDone)
    return kExitDone;
  if (!read.content) failure = read.failure, englishFailure = read.englishFailure;
  tellCommandWords(failure, CommandWords::Failure, request.quiet);
  UnattendedFailures().failed(options, dataFolder, failure, englishFailure);
  return kExitFailed;
}

}  // namespace

std::optional<int> carryOutAlone(const ProgramRequest& request) {
  using Kind = ProgramRequest::Kind;
  switch (request.kind) {
    case Kind::Release:
      ReleaseWindowedProcesses([](bool) {});  // no menu item to grey
      return kExitDone;
    case Kind::ExportHistory: return exportAlone(request);
    case Kind::Exit: return kExitDone;  // nothing runs that could exit
    case Kind::Usage:
    case Kind::BadCommandLine: return exitCodeOf(request.kind);
    case Kind::Start:
    case Kind::ShowHistory:
    case Kind::ShowSettings: return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace kelvane
