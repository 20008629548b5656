#pragma once
// The options dialog's controls as data: what each control is, its caption, the page it sits on
// and its place in dialog units. The shell builds the dialog template from this list, so the
// dialog scales with the system font and DPI; the order of the list is the tab order.

#include <span>
#include <string_view>
#include <vector>

#include "common/language.h"

namespace kelvane {

// Control identifiers. BtnOk and BtnCancel are the dialog manager's IDOK and IDCANCEL, so that
// Enter and Escape reach them.
enum OptionsControl : int {
  BtnOk = 1,
  BtnCancel = 2,
  btnApply = 3,
  PageControl1 = 10,
  // "一般"
  CkShowPage = 1000, CkShowFree, CkShowPercentage, CkDisplayHint, LabelYellow, TxtYellow, LabelYellowUnit,
  LabelRed, TxtRed, LabelRedUnit, LinkLabel1, Label17, CkWarn, CkWarnMsgBox, CheckDefragOnHighMem,
  CkLogFile, LabelLanguage, CmbLanguage,
  // "附加"
  CheckDefragEveryActive = 1100, WinSpinDefragEveryActive, LabelMinutes, LabelHotKey, HotKey1,
  LabelMili, EditMili, LabelMiliUnit, LabelResetMili, LabelDoubleClick, CmbDoubleClick, CheckMonitor,
  Label12,
  // "托盘菜单"
  CkShowTop = 1200, LabelProcs, EditProcs, LabelProcsUnit, LabelProcessValue, ComboProcessValue,
  CheckHightLightProcess, EditProcsRam, LabelProcsRamUnit, LabelHighlightColor, CmbColorProcesses,
  CheckShowProcessName, CkUnifyProcs, LabelMore, CkShowMemMenu,
  // "显示"
  PnlFont2 = 1300, Button4, ckInternalFont, CkMiniFont, LabelGbValues, ComboGbValues, CheckOpaque,
  CheckStandardBar, CkNoBorder, CkBarBottom, CheckFullBar, CkShowPercSign, CkFollowTaskbar,
  // "主题"
  LabelThemes = 1400, CbThemes, BtnSaveAs, BtnDeleteTheme, LabelColors, LbColors, LabelForeground,
  CmbForeground,
};

// The up-down arrows that belong to a spin box's number field.
constexpr int upDownIdOf(int spinId) { return spinId + 0x4000; }

enum class ControlKind {
  PageTabs,     // the page control: its caption lists the page names, separated by '|'
  CheckBox,
  Label,        // a label; a '&' in it moves the focus to the control after it
  Heading,      // a bold section heading
  Spin,         // a number field with up-down arrows
  TextField,    // a one-line text field
  HotKey,       // the platform's hot-key field
  DropDown,     // a drop-down list; its caption lists the entries, separated by '|'
  ColorPicker,  // a drop-down list of colours, drawn by the dialog
  Button,
  DefaultButton,
  Link,         // a link label: the part between <a> and </a> is the link
  FontPanel,    // a sunken panel describing a font
  ColorList,    // the theme page's list of colour slots, drawn by the dialog
};

inline constexpr int kAllPages = -1;
inline constexpr int kPageCount = 5;
inline constexpr int kThemesPage = 4;

struct ControlLayout {
  int id;
  ControlKind kind;
  int page;  // 0..4, or kAllPages for the buttons and the page control
  std::string_view caption;
  int x, y, width, height;  // dialog units
  bool noTyping = false;    // Spin: the number changes only with the arrows
};

struct DialogUnitsSize {
  int width, height;
};

struct OptionsDialogLayout {
  std::string_view caption;  // "Kelvane 设置"
  DialogUnitsSize size;
  std::vector<ControlLayout> controls;
};

// The dialog in `language`, as designed for Simplified Chinese. The captions point into the
// language, which lives for the run. The language list (CmbLanguage) is filled by the shell.
OptionsDialogLayout optionsDialogLayout(const Language& language);

// The share of a caption's room that the layout keeps free, a little more than the 10% that
// the fonts' differences between systems call for.
inline constexpr double kLayoutSpare = 0.15;

// The width a control's caption has: its width less what its kind draws beside the text.
int captionRoom(const ControlLayout& control);

// A language longer than the design's: `captionWidths` holds the width each control's caption
// needs in dialog units (0 for none; a list's longest entry), in the order of the controls. When
// a caption lacks room, every x and width and the dialog's width grow by the one factor that
// gives the tightest caption its room with the spare; otherwise the layout stays as it is.
OptionsDialogLayout widenedToFit(OptionsDialogLayout layout, std::span<const int> captionWidths);

const ControlLayout* findControl(const OptionsDialogLayout& layout, int id);

// The input box of "另存为": caption, prompt, and its controls (the answer field, OK, Cancel).
inline constexpr int kInputBoxEdit = 100;
inline constexpr int kInputBoxPrompt = 101;
DialogUnitsSize inputBoxSize();
// The prompt label's caption is set by whoever shows the box.
std::vector<ControlLayout> inputBoxControls(const Language& language);

}  // namespace kelvane
