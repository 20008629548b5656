#include "settings/input_box_win.h"

#include "common/error_display_win.h"
#include "common/text_win.h"
#include "common/window_placement_win.h"
#include "settings/dialog_template_win.h"

namespace kelvane {

namespace {

struct InputBoxState {
  std::wstring prompt, text;
};

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<InputBoxState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, kInputBoxPrompt, state->prompt.c_str());
      SetDlgItemTextW(dialog, kInputBoxEdit, state->text.c_str());
      placeDialogWindow(dialog, DialogPlace::OverOwner);
      return TRUE;  // the focus goes to the text field, the first to take it
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) state->text = windowText(GetDlgItem(dialog, kInputBoxEdit));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::string> InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                                    const std::string& initial) {
  InputBoxState state{toWide(prompt), toWide(initial)};
  const std::vector<WORD> dialogTemplate = buildDialogTemplate(caption, inputBoxSize(), inputBoxControls());
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                 reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                                 owner, inputBoxProc, reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return toUtf8(state.text);
}

}  // namespace kelvane
