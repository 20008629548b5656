#include "dialogs/message_dlg.h"

#include "common/language.h"

#include "dialogs/task_dialog.h"

namespace kelvane {

std::string MsgDlgCaption(MsgDlgKind kind) {
  switch (kind) {
    case MsgDlgKind::Warning: return tr(TextId::MessageWarning);
    case MsgDlgKind::Error: return tr(TextId::MessageError);
    case MsgDlgKind::Information: return tr(TextId::MessageInformation);
    case MsgDlgKind::Confirmation: return tr(TextId::MessageConfirmation);
  }
  return "";
}

std::uint16_t MsgDlgIconId(MsgDlgKind kind) {
  switch (kind) {
    case MsgDlgKind::Warning: return 32515;
    case MsgDlgKind::Error: return 32513;
    case MsgDlgKind::Information: return 32516;
    case MsgDlgKind::Confirmation: return 32514;
  }
  return 0;
}

const char* MsgDlgSoundAlias(MsgDlgKind kind) {
  switch (kind) {
    case MsgDlgKind::Warning: return "SystemExclamation";
    case MsgDlgKind::Error: return "SystemHand";
    case MsgDlgKind::Information:
    case MsgDlgKind::Confirmation: return "SystemQuestion";
  }
  return "";
}

std::uint32_t MsgDlgTaskDialogButtons(MsgDlgButtons buttons) {
  std::uint32_t bits = 0;
  if (buttons & mbOK) bits |= tcbOk;
  if (buttons & mbYes) bits |= tcbYes;
  if (buttons & mbNo) bits |= tcbNo;
  if (buttons & mbCancel) bits |= tcbCancel;
  if (buttons & mbRetry) bits |= tcbRetry;
  if (buttons & mbAbort) bits |= tcbClose;
  return bits;
}

int MsgDlgResultFromTaskDialog(int pressed) {
  switch (pressed) {
    case mrCancel:
    case mrRetry:
    case mrYes:
    case mrNo: return pressed;
    case 8: return mrAbort;  // the Close button stands in for Abort
    default: return mrOk;
  }
}

}  // namespace kelvane
