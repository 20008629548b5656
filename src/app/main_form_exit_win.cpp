// The main form's end: the exit command, the question before closing, the session's end.
#include "app/main_form_win.h"

#include "actions/process_dialogs_win.h"
#include <cstdio>

#include "app/session_notification_win.h"
#include "common/exit_request_win.h"
#include "common/language.h"

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
  // the loop around it, down to the outermost one. The dialogs whose loops end answer
  // "cancelled", so that nothing is done on the user's behalf on the way out.
  if (trayMenuBusy_) EndMenu();
  endModalLoopsForExit();
}

void TFrmKelvaneMain::messageLoopFailed(long status) {
  // Once per run: whatever made the loop fail may come again and again (any process can send
  // the message Wine cannot hand over), and the log is no place for a flood.
  if (messageLoopFailureLogged_) return;
  messageLoopFailureLogged_ = true;
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
  UnattendedFailures().failed(options_, DataFolder(), tr(TextId::LogMessageLoopFailed, {{"code", code}}),
                              formatText(Language::english().text(TextId::LogMessageLoopFailed), {{"code", code}}));
}

void TFrmKelvaneMain::closeProgram() {
  // Only the refusal at start-up ends without saving: it comes before anything is worth keeping.
  if (platformRefused_ || closing_) return;
  // A loop that ended without an exit asked for (a quit posted by another program, a message
  // loop that could not go on) ends the program as Exit does, with nobody there to answer a box.
  exitUnattended_ = exitUnattended_ || !exitRequested_;
  exitRequested_ = true;
  // The quit that ended the loops is spent: a failed save's message box waits for its answer.
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  exitRequestCarriedOut();
  FormCloseQuery(exitUnattended_);
  FormClose();
  historyWindow_.reset();
  about_.reset();  // a running version check is abandoned before the window goes
  Tray.reset();    // removes the icon
  destroyWindow();
}

}  // namespace kelvane
