// The main form's end: the exit command, the question before closing, the session's end.
#include "app/main_form_win.h"

#include "actions/process_dialogs_win.h"
#include "app/session_notification_win.h"

namespace kelvane {

bool TFrmKelvaneMain::FormCloseQuery(bool unattended) {
  // The session can end while the welcome window waits: its check box counts as if closed now.
  if (welcome_) options_.ShowWelcomeWindow = !welcome_->dontShowAgain();
  // The history window keeps its place in the record before the record is saved.
  if (historyWindow_) historyWindow_->close();
  // A failed save never keeps the program or the session from ending. While the session ends,
  // Windows waits for our answer, and an installer that asked for the exit waits for the end:
  // a message box would hold them up.
  SaveOptions(unattended);
  return true;
}

void TFrmKelvaneMain::FormClose() {
  closing_ = true;
  KillTimer(hwnd_, kTimer1);
  KillTimer(hwnd_, kTimerDefrag);
  PopupMenu1.reset();  // its icons and window go with it
  CloseProcessDialogs();
  closeHistory();
  if (sessionNotificationRegistered_) UnregisterSessionNotification(hwnd_);
  sessionNotificationRegistered_ = false;
}

void TFrmKelvaneMain::Close1Click() { requestExit(false); }

void TFrmKelvaneMain::requestExit(bool unattended) {
  exitUnattended_ = exitUnattended_ || unattended;
  if (exitRequested_) return;
  exitRequested_ = true;
  // The request may come while the tray menu is tracked, or from inside a modal box; the tray
  // icon's notification handler, the menu's Popup or an Apply may be waiting further up this
  // thread for it. The menu ends here; every modal loop ends on WM_QUIT and posts it again for
  // the loop around it, down to the outermost one.
  if (trayMenuBusy_) EndMenu();
  PostQuitMessage(0);
}

void TFrmKelvaneMain::closeProgram() {
  if (!exitRequested_ || closing_) return;
  // The quit that ended the loops is spent: a failed save's message box waits for its answer.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  FormCloseQuery(exitUnattended_);
  FormClose();
  historyWindow_.reset();
  about_.reset();  // a running version check is abandoned before the window goes
  Tray.reset();    // removes the icon
  destroyWindow();
}

}  // namespace kelvane
