// The theme page of the options dialog: the theme list, the colour list and its picker, save
// as and delete.
#include <windows.h>

#include "common/language.h"
#include "common/text_win.h"
#include "dialogs/task_dialog_win.h"
#include "options/color_picker_win.h"
#include "options/input_box_win.h"
#include "options/options_form_win.h"
#include "settings/settings_file_win.h"
#include "settings/theme_folder_win.h"

namespace kelvane {

void TFrmOptions::LoadThemes() {
  HWND list = item(CbThemes);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : model_.themes().entries())
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(entry).c_str()));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(model_.themes().selectedEntry()), 0);
  fitDroppedWidth(list);
}

void TFrmOptions::CbThemesClick() {
  const int entry = static_cast<int>(SendDlgItemMessageW(hwnd_, CbThemes, CB_GETCURSEL, 0, 0));
  ThemeColors content;
  if (const auto name = model_.themes().themeName(entry)) content = readListedTheme(themeFolder_, *name);
  model_.themes().selectEntry(entry, content);
  refreshControls();
  LbColorsClick();
}

void TFrmOptions::LbColorsClick() {
  const auto slot = SendDlgItemMessageW(hwnd_, LbColors, LB_GETCURSEL, 0, 0);
  if (slot != LB_ERR) model_.themes().selectSlot(static_cast<int>(slot));
  showColorPicker(item(CmbForeground), model_.themes().picker());
  InvalidateRect(item(LbColors), nullptr, TRUE);
}

void TFrmOptions::CmbForegroundChange() {
  if (const auto choice = pickerChoice(CmbForeground, model_.themes().picker())) model_.pickThemeColor(*choice);
  LbColorsClick();
}

void TFrmOptions::BtnSaveAsClick() {
  const auto answer = InputBox(hwnd_, tr(TextId::ThemeSaveTitle), tr(TextId::ThemeSavePrompt), "");
  if (!answer) return;
  const auto name = ThemePageModel::SaveAsName(*answer);
  if (!name) return;
  const std::wstring path = ThemeFilePath(themeFolder_, *name);
  if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      SoundMessageDlg(tr(TextId::ThemeReplaceQuestion), MsgDlgKind::Warning, mbYes | mbNo, hwnd_) != mrYes)
    return;
  if (!SaveThemeFile(path, *name, model_.themes().colors())) {
    // Telling the user beats listing a theme that was never written.
    showUnableToWrite(path);
    return;
  }
  model_.themes().themeSaved(ListThemeNames(themeFolder_), *name);
  LoadThemes();
  refreshControls();
}

void TFrmOptions::BtnDeleteThemeClick() {
  const auto name = model_.themes().themeName(model_.themes().selectedEntry());
  if (!name) return;
  if (SoundMessageDlg(tr(TextId::ThemeDeleteQuestion), MsgDlgKind::Warning, mbYes | mbNo, hwnd_) != mrYes) return;
  deleteListedTheme(themeFolder_, *name);
  model_.themes().themeDeleted();
  LoadThemes();
  refreshControls();
  SetFocus(item(CbThemes));
}

}  // namespace kelvane
