// The main form and the memory history: the recorder fed by the tick, the snapshots, the
// releases' second reading and balloon, the history window's source, and the requests a second
// start hands over.
#include "app/main_form_win.h"

#include <utility>

#include "actions/command_win.h"
#include "common/clock_win.h"
#include "common/system_info_win.h"
#include "common/text_win.h"
#include "history/history_export_win.h"
#include "history/release_feedback.h"
#include "release/memory_release_win.h"
#include "settings/log_file_win.h"
#include "settings/system_colors.h"

namespace kelvane {

namespace {

constexpr UINT kSnapshotIntervalMs = 5 * 60 * 1000;
constexpr int kReleaseBalloonSeconds = 10;
constexpr int kDesignDpi = 96;  // what a kept window size without a DPI was kept at

std::uint32_t colorOf(TColor color, const SystemColorTable& table) {
  return static_cast<std::uint32_t>(resolveSystemColor(color, table));
}

}  // namespace

void TFrmKelvaneMain::openHistory() {
  knowOwnFiles();
  history_ = std::make_unique<ProgramHistory>(historyFileBeside(settingsFileName_), utcSecondsNow(),
                                              [this](const std::string& line, const std::string& englishLine) {
                                                // A notice of its own each time: not an episode.
                                                UnattendedFailures().failed(options_, DataFolder(), line,
                                                                            englishLine);
                                              });
  SetTimer(hwnd_, kTimerSnapshot, kSnapshotIntervalMs, nullptr);
}

void TFrmKelvaneMain::closeHistory() {
  KillTimer(hwnd_, kTimerSnapshot);
  finishRelease();
  if (history_) history_->exit(utcSecondsNow());
  history_.reset();
}

void TFrmKelvaneMain::onTimerSnapshotTimer() {
  if (history_) history_->snapshot(walkProcesses(options_.ShowPage), utcSecondsNow());
}

void TFrmKelvaneMain::RecordAlert(const MemorySample& sample) {
  if (history_) history_->alert(sample.dwMemoryLoad, walkProcesses(options_.ShowPage), utcSecondsNow());
}

void TFrmKelvaneMain::finishRelease() {
  KillTimer(hwnd_, kTimerReleaseSettled);
  if (!pendingRelease_) return;
  const PendingRelease release = *std::exchange(pendingRelease_, std::nullopt);
  const std::uint64_t availAfter = readMemorySample().ullAvailPhys;
  if (history_) history_->release(release.source, release.availBefore, availAfter, release.time);
  if (!closing_ && releaseShowsBalloon(release.source, options_.History.ReleaseBalloon))
    ShowBalloon("Kelvane", releaseFeedbackText(release.availBefore, availAfter, numberFormat_), 1,
                kReleaseBalloonSeconds);
}

void TFrmKelvaneMain::ShowHistory() {
  // Unowned, as the process dialogs are: some shells (Wine's among them) give an owned window no
  // taskbar button whatever its styles, and the form closes it before it ends.
  if (!historyWindow_) historyWindow_ = std::make_unique<HistoryWindow>(*this, nullptr);
  historyWindow_->show();
}

HistoryContent TFrmKelvaneMain::heldHistory() { return history_ ? history_->held() : HistoryContent{}; }

std::vector<Grower> TFrmKelvaneMain::growers(std::int64_t from, std::int64_t to) {
  return history_ ? history_->growers(from, to) : std::vector<Grower>{};
}

HistoryLook TFrmKelvaneMain::look() {
  HistoryLook look;
  look.yellowPercent = options_.YellowPercent;
  look.redPercent = options_.RedPercent;
  look.green = colorOf(paintColor(options_, ColorSlot::GreenColor, systemColors_), systemColors_);
  look.yellow = colorOf(paintColor(options_, ColorSlot::YellowColor, systemColors_), systemColors_);
  look.red = colorOf(paintColor(options_, ColorSlot::RedColor, systemColors_), systemColors_);
  look.window = colorOf(systemColor(COLOR_WINDOW), systemColors_);
  look.windowText = colorOf(systemColor(COLOR_WINDOWTEXT), systemColors_);
  look.face = colorOf(systemColor(COLOR_BTNFACE), systemColors_);
  return look;
}

NumberFormat TFrmKelvaneMain::numberFormat() { return numberFormat_; }

HistoryWindowPlace TFrmKelvaneMain::place() {
  const THistorySettings& kept = options_.History;
  return {kept.WindowLeft, kept.WindowTop, kept.WindowWidth.value_or(0), kept.WindowHeight.value_or(0),
          kept.WindowDpi.value_or(kDesignDpi), historyRangeOf(kept.Range)};
}

void TFrmKelvaneMain::keepPlace(const HistoryWindowPlace& place) {
  // Saved with the rest of the record at exit or when the options dialog closes.
  THistorySettings& kept = options_.History;
  kept.WindowLeft = place.left;
  kept.WindowTop = place.top;
  if (place.width > 0) kept.WindowWidth = place.width;
  if (place.height > 0) kept.WindowHeight = place.height;
  // A size kept at 96 DPI is kept as files always held it, with no DPI beside it.
  if (place.width > 0 || place.height > 0)
    kept.WindowDpi = place.dpi == kDesignDpi ? std::nullopt : std::optional<std::int32_t>(place.dpi);
  kept.Range = static_cast<std::int32_t>(place.range);
}

RequestAnswer TFrmKelvaneMain::carryOutRequest(const ProgramRequest& request) {
  using Kind = ProgramRequest::Kind;
  switch (request.kind) {
    case Kind::Start: onInstanceNotice(); return {};
    case Kind::ShowHistory: execute(*this, Command::of(CommandKind::ShowHistory, CommandOrigin::CommandLine)); break;
    case Kind::ShowSettings: execute(*this, Command::of(CommandKind::Settings, CommandOrigin::CommandLine)); break;
    case Kind::Release: execute(*this, Command::of(CommandKind::ReleaseMemory, CommandOrigin::CommandLine)); break;
    case Kind::Exit: execute(*this, Command::of(CommandKind::Exit, CommandOrigin::CommandLine)); break;
    case Kind::ExportHistory: return exportHistory(request);
    case Kind::Usage:
    case Kind::BadCommandLine: return {exitCodeOf(request.kind)};
  }
  return {};
}

RequestAnswer TFrmKelvaneMain::exportHistory(const ProgramRequest& request) {
  knowOwnFiles();
  std::string failure;
  std::string englishFailure;
  const RequestAnswer answer =
      exportRecentHistory(heldHistory(), request.days, utcSecondsNow(), toWide(request.file), failure, &englishFailure);
  // The start that asked words the failure from the answer; the log keeps it as well.
  if (answer.code != kExitDone) UnattendedFailures().failed(options_, DataFolder(), failure, englishFailure);
  return answer;
}

void TFrmKelvaneMain::knowOwnFiles() {
  knowProgramFiles({toUtf8(settingsFileName_), toUtf8(historyFileBeside(settingsFileName_)),
                    toUtf8(LogFilePath(options_, DataFolder())), toUtf8(programFolder())});
}

}  // namespace kelvane
