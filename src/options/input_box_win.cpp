#include "options/input_box_win.h"

#include <utility>
#include <vector>

#include "common/exit_request_win.h"
#include "common/language.h"
#include "common/text_win.h"
#include "common/window_placement_win.h"
#include "common/window_win.h"
#include "options/dialog_template_win.h"

namespace kelvane {

namespace {

class InputBoxDialog : public DialogBase<InputBoxDialog> {
 public:
  InputBoxDialog(std::wstring prompt, std::wstring text) : prompt_(std::move(prompt)), text_(std::move(text)) {}

  INT_PTR run(const std::vector<WORD>& dialogTemplate, HWND owner) {
    return runModalDialog(dialogTemplate.data(), owner);
  }
  const std::wstring& text() const { return text_; }

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
      case WM_INITDIALOG:
        SetDlgItemTextW(hwnd_, kInputBoxPrompt, prompt_.c_str());
        SetDlgItemTextW(hwnd_, kInputBoxEdit, text_.c_str());
        placeDialogWindow(hwnd_, DialogPlace::OverOwner);
        return TRUE;  // the focus goes to the text field, the first to take it
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) text_ = windowText(GetDlgItem(hwnd_, kInputBoxEdit));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hwnd_, LOWORD(wParam));
        return TRUE;
      default:
        return FALSE;
    }
  }

 private:
  std::wstring prompt_, text_;
};

}  // namespace

std::optional<std::string> InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                                    const std::string& initial) {
  InputBoxDialog dialog(toWide(prompt), toWide(initial));
  const ModalExitWatch exitWatch;
  if (dialog.run(buildDialogTemplate(caption, inputBoxSize(), inputBoxControls(speaking())), owner) != IDOK ||
      exitWatch.exitCame())
    return std::nullopt;
  return toUtf8(dialog.text());
}

}  // namespace kelvane
