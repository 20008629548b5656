#include "app/alert_dialog_win.h"

#include "dialogs/task_dialog_win.h"

namespace kelvane {

AlertDialogResult RunAlertDialog(const AlertDialogRequest& request, HWND parent) {
  TTaskDialog dialog;
  dialog.WindowTitle = request.WindowTitle;
  dialog.MainInstruction = request.MainInstruction;
  dialog.Content = request.Content;
  dialog.ButtonCaptions = request.ButtonCaptions;
  dialog.VerificationText = request.VerificationText;
  dialog.VerificationChecked = 0;
  AlertDialogResult result;
  // The question belongs to the tray, whichever monitor the main form was last shown on.
  result.result = RunTaskDialog(dialog, 0, request.MainIcon, request.FooterIcon, request.Width,
                                DialogWindow(parent, DialogPlace::Centred));
  result.verificationChecked = dialog.VerificationChecked != 0;
  return result;
}

}  // namespace kelvane
