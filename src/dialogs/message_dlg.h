#pragma once
// The yes/no style message box with sounds: how its kind and button set translate to the
// platform's simple task dialog and back to the modal results callers compare with.

#include <cstdint>
#include <string>

namespace kelvane {

enum class MsgDlgKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };

// The button set, one bit per button.
enum MsgDlgButton : std::uint32_t {
  mbYes = 1,
  mbNo = 2,
  mbOK = 4,
  mbCancel = 8,
  mbAbort = 16,
  mbRetry = 32,
};
using MsgDlgButtons = std::uint32_t;

// Modal results.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrYes = 6, mrNo = 7 };

// "警告", "错误", "信息", "确认".
std::string MsgDlgCaption(MsgDlgKind kind);

// IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION as numbers.
std::uint16_t MsgDlgIconId(MsgDlgKind kind);

// Alias of the system sound the older path plays.
const char* MsgDlgSoundAlias(MsgDlgKind kind);

// The platform's common-button bits for the set; Abort is shown as Close.
std::uint32_t MsgDlgTaskDialogButtons(MsgDlgButtons buttons);

// The modal result for the identifier the platform dialog answered.
int MsgDlgResultFromTaskDialog(int pressed);

}  // namespace kelvane
