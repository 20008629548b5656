#pragma once
// TFrmOptions: the options dialog's window. It moves values between the controls and the
// OptionsDialogModel and carries out what the model decides; the form (OptionsHost) applies
// the stored record. Shared by options_dialog_win.cpp and options_themes_win.cpp.

#include <windows.h>

#include <optional>
#include <string>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "options/options_dialog.h"
#include "options/options_host_win.h"
#include "options/page_background_win.h"

namespace kelvane {

class TFrmOptions : public DialogBase<TFrmOptions> {
 public:
  // Creates the dialog from the form's record, owned by the hidden application window so it
  // has no taskbar button, and shows it next to the tray.
  explicit TFrmOptions(OptionsHost& form);
  ~TFrmOptions();
  TFrmOptions(const TFrmOptions&) = delete;
  TFrmOptions& operator=(const TFrmOptions&) = delete;

  void BringToFront();
  // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp turn the pages.
  bool turnPageByKey(const MSG& message);

 private:
  friend class DialogBase<TFrmOptions>;
  // Owner-drawn lists measure their items while they are created, before WM_INITDIALOG.
  static INT_PTR beforeBinding(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  // The captions, the tabs and the lists' entries, from the layout and the model.
  void takeTexts();
  void FormShow();
  // The program speaks another language: the dialog takes its texts again and keeps its page,
  // its values and its place; it grows when the language needs more room, never shrinks.
  void LanguageChanged();
  // The controls and the dialog placed and sized as the layout says.
  void placeControls();
  // Apply is enabled while the values differ from the stored ones.
  void showApplyState();
  void showPage(int page);
  // Enabled, visible and ticked states, the labels and the font panel, from the model.
  void refreshControls();
  // The numbers, lists, hot key and pickers, from the model.
  void refreshValues();
  void onCommand(int id, int code);
  void handleCommand(int id, int code);
  INT_PTR onNotify(const NMHDR& header);
  void onCheckBox(int id);
  void CheckMonitorClick();
  void BtnOkClick(bool closing);
  void BtnCancelClick();
  void Button4Click();
  void CmbColorProcessesChange();
  std::optional<std::optional<TColor>> pickerChoice(int pickerId, const PickerState& state);

  // The theme page (options_themes_win.cpp).
  void LoadThemes();
  void CbThemesClick();
  void LbColorsClick();
  void CmbForegroundChange();
  void BtnSaveAsClick();
  void BtnDeleteThemeClick();

  HWND item(int id) const { return GetDlgItem(hwnd_, id); }
  bool isKind(int id, ControlKind kind) const;

  OptionsHost& form_;
  std::wstring themeFolder_;
  OptionsDialogModel model_;
  OptionsDialogLayout layout_;
  // Loaded before the dialog is created; given back after its window is destroyed.
  UniqueLibrary commonControls_;
  int page_ = 0;
  // Set while the dialog itself changes controls, so their notifications are not taken as the
  // user's.
  bool updating_ = false;
  UniqueFont headingFont_;
  UniqueFont internalFontPanelFont_;  // "(内部字体)" shows in Tahoma 8 pt
  std::optional<PageBackground> pageBackground_;
};

// A drop-down list opens as wide as its longest entry (a theme's or a language's name can be
// long), within its monitor's work area, and never narrower than its box.
void fitDroppedWidth(HWND combo);

}  // namespace kelvane
