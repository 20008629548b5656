// The main form's end: the exit command, the question before closing, the session's end.
#include "app/main_form_win.h"

#include "app/session_notification_win.h"

namespace kelvane {

bool TFrmKelvaneMain::FormCloseQuery(bool sessionEnding) {
  // The program can end while the welcome window waits: its check box counts as if closed now.
  if (welcome_) options_.ShowWelcomeWindow = !welcome_->dontShowAgain();
  // A failed save never keeps the program or the session from ending. While the session ends,
  // Windows waits for our answer, and a message box would hold up the log-off.
  SaveOptions(sessionEnding);
  return true;
}

void TFrmKelvaneMain::FormClose() {
  closing_ = true;
  KillTimer(hwnd_, kTimer1);
  KillTimer(hwnd_, kTimerDefrag);
  PopupMenu1.reset();  // its icons and window go with it
  if (sessionNotificationRegistered_) UnregisterSessionNotification(hwnd_);
  sessionNotificationRegistered_ = false;
}

void TFrmKelvaneMain::Close1Click() {
  // The command arrives from inside the tray icon's own notification handler; tearing the icon
  // down there would pull the handler's object out from under it. So the form closes itself
  // once the handler has returned.
  PostMessageW(hwnd_, WM_CLOSE_PROGRAM, 0, 0);
}

void TFrmKelvaneMain::closeProgram() {
  if (closing_) return;
  if (!FormCloseQuery()) return;
  FormClose();
  about_.reset();  // a running version check is abandoned before the window goes
  Tray.reset();    // removes the icon
  destroyWindow();
  PostQuitMessage(0);
}

}  // namespace kelvane
