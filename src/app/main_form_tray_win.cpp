// The main form's tray handlers: the icon's clicks, its menu, a second start's notice and the
// session's lock.
#include "app/main_form_win.h"

#include "actions/command_win.h"
#include "actions/tray_actions_win.h"
#include "common/language.h"
#include "common/text_win.h"
#include "menu/tray_menu_win.h"

namespace kelvane {

void TFrmKelvaneMain::onInstanceNotice() {
  Tray->ShowBalloon(trWide(TextId::RunningBalloonTitle), trWide(TextId::RunningBalloonText),
                    BalloonKind::Info, 10);
}

void TFrmKelvaneMain::onSessionChange(WPARAM event) {
  OnSessionChange(*this, event);
}

void TFrmKelvaneMain::TrayMouseDown(MouseButton button, ShiftState, POINT at) {
  if (button != MouseButton::Right) return;
  PopupTrayMenu(at);
}

void TFrmKelvaneMain::TrayDblClick() { kelvane::TrayDblClick(*this); }

void TFrmKelvaneMain::TrayMouseMove(bool arrived) {
  // The tip of the sample the picture shows, so the two agree; a tick brings newer ones.
  if (!closing_) showOnTray(true, arrived);
}

TrayMenuInputs TFrmKelvaneMain::trayMenuInputs() const {
  TrayMenuInputs inputs;
  inputs.options = options_;
  inputs.lastSample = lastSample_;
  inputs.hintText = currentHint();
  inputs.numberFormat = numberFormat_;
  inputs.releaseShortcutText = releaseShortcutText_;
  inputs.releaseEnabled = releaseEnabled_;
  return inputs;
}

void TFrmKelvaneMain::PopupTrayMenu(POINT at) {
  if (trayMenuBusy_ || exitRequested_) return;
  std::optional<Command> chosen;
  {
    // Reset on every way out, a failed snapshot included.
    struct BusyScope {
      TFrmKelvaneMain& form;
      explicit BusyScope(TFrmKelvaneMain& f) : form(f) {
        form.trayMenuBusy_ = true;
        form.Tray->holdTip(true);
      }
      ~BusyScope() {
        form.trayMenuBusy_ = false;
        if (form.Tray) form.Tray->holdTip(false);
      }
    } busy(*this);
    const std::vector<MenuEntry> entries = BuildSystemTrayMenu(trayMenuInputs());
    if (!PopupMenu1) PopupMenu1 = std::make_unique<TPopupMenu>(applicationWindow_, vistaOrLater_);
    chosen = PopupMenu1->Popup(entries, at, GetProcMenuHighlighColor(options_, false));
  }
  CloseNotifyIconOverflow();
  if (chosen) execute(*this, *chosen);
}

}  // namespace kelvane
