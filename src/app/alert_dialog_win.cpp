#include "app/alert_dialog_win.h"

#include "common/text_win.h"

namespace kelvane {

// TODO: both dialogs go through RunTaskDialog once the task dialog is in the tree. Until then a
// message box stands in: Yes, No and Cancel for the three captions, OK for one; it has no
// verification box, so the dialog cannot be switched off from here meanwhile.

AlertDialogResult RunAlertDialog(const AlertDialogRequest& request, HWND parent) {
  const bool threeButtons = request.ButtonCaptions.find('\n') != std::string::npos;
  const std::wstring text = toWide(request.MainInstruction + "\n\n" + request.Content);
  const std::wstring title = toWide(request.WindowTitle);
  const int answer = MessageBoxW(parent, text.c_str(), title.c_str(),
                                 MB_ICONWARNING | (threeButtons ? MB_YESNOCANCEL : MB_OK));
  AlertDialogResult result;
  switch (answer) {
    case IDOK: case IDYES: result.result = 100; break;
    case IDNO: result.result = 101; break;
    case IDCANCEL: result.result = threeButtons ? 102 : 2; break;
    default: result.result = 0; break;
  }
  return result;
}

void ShowLogNoticeDialog(const ShowLogNotice& notice, HWND parent) {
  const std::wstring text =
      toWide(notice.MainInstruction + "\n\n" + notice.Content + "\n\n" + notice.FooterText);
  const std::wstring title = toWide(notice.WindowTitle);
  MessageBoxW(parent, text.c_str(), title.c_str(), MB_ICONINFORMATION | MB_OK);
}

}  // namespace kelvane
