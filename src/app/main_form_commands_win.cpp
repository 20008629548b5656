// The main form's part in the user commands: the release's timer and hot key, the about window
// and the alert step of the tick.
#include "app/main_form_win.h"

#include "actions/command_win.h"
#include "actions/refresh_hotkey_win.h"

namespace kelvane {

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
