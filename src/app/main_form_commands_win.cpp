// The main form's part in the user commands: the release, its timer and hot key, the about window
// and the alert step of the tick.
#include "app/main_form_win.h"

#include "actions/command_win.h"
#include "actions/refresh_hotkey_win.h"
#include "common/clock_win.h"
#include "release/memory_release_win.h"

namespace kelvane {

namespace {

// A release's gain is read about a second after it, when the trimmed pages have settled.
constexpr UINT kReleaseSettleMs = 1000;

ReleaseSource releaseSourceOf(CommandOrigin origin) {
  switch (origin) {
    case CommandOrigin::Menu: return ReleaseSource::Menu;
    case CommandOrigin::HotKey: return ReleaseSource::HotKey;
    case CommandOrigin::DoubleClick: return ReleaseSource::DoubleClick;
    case CommandOrigin::Timer: return ReleaseSource::Timer;
    case CommandOrigin::HighLoad: return ReleaseSource::HighLoad;
    case CommandOrigin::CommandLine: return ReleaseSource::CommandLine;
  }
  return ReleaseSource::Menu;
}

}  // namespace

void TFrmKelvaneMain::MemoryDefragmenter1Click(CommandOrigin origin) {
  if (!releaseEnabled_) return;  // a release is already running further up this thread
  finishRelease();               // one still waiting for its second reading takes it now
  const std::uint64_t availBefore = readMemorySample().ullAvailPhys;
  const std::int64_t time = utcSecondsNow();
  ReleaseWindowedProcesses([this](bool enabled) { releaseEnabled_ = enabled; });
  pendingRelease_ = PendingRelease{releaseSourceOf(origin), availBefore, time};
  SetTimer(hwnd_, kTimerReleaseSettled, kReleaseSettleMs, nullptr);
}

void TFrmKelvaneMain::About1Click() {
  if (!about_)
    about_ = std::make_unique<TAboutWindow>(hwnd_, AboutFacts::forThisProgram(), [this] { Tray->HideOwnerForm(); },
                                            aboutLabel_);
  Tray->ShowOwnerForm();
  about_->FormShow();
}

void TFrmKelvaneMain::onAboutHidden() {
  if (!about_ || IsWindowVisible(hwnd_)) return;  // shown again before this message came
  aboutLabel_ = about_->keptLabel();
  about_.reset();
}

void TFrmKelvaneMain::onTimerDefragTimer() {
  if (options_.DefragEveryActive) execute(*this, Command::of(CommandKind::ReleaseMemory, CommandOrigin::Timer));
}

void TFrmKelvaneMain::runAlertStep(const MemorySample& sample) {
  RunAlertStep(alerts_, *this, sample, GetTickCount());
}

void TFrmKelvaneMain::ApplyRefreshHotkey() {
  releaseShortcutText_ =
      kelvane::ApplyRefreshHotkey(*HotKeyRegistry1, static_cast<std::uint32_t>(options_.RefreshHotkey));
}

void TFrmKelvaneMain::HotKeyRegistry1HotKeyPressed(std::uint32_t, std::uint16_t) {
  execute(*this, Command::of(CommandKind::ReleaseMemory, CommandOrigin::HotKey));
}

}  // namespace kelvane
