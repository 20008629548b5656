#include "options/options_dialog_layout.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

using K = ControlKind;

// What a control of each kind takes of its width before its text starts or after it ends, in
// dialog units of the dialog font: a check box's box and gap, a button's edges and focus frame,
// a drop-down's arrow, a colour swatch.
int captionOverhead(ControlKind kind) {
  switch (kind) {
    case K::CheckBox: return 12;
    case K::Button:
    case K::DefaultButton: return 6;
    case K::DropDown: return 16;
    case K::ColorPicker: return 38;
    case K::ColorList: return 28;
    case K::FontPanel: return 4;
    default: return 0;
  }
}

// Client area 408 x 351 pixels in the design font, about 272 x 216 dialog units. Pages start
// below the page control's tabs at y 24 and end above the buttons at y 186.
constexpr DialogUnitsSize kDialogSize{272, 216};

// Every caption's '&' letter is unique on its page and among the three buttons, which are
// reachable from every page.
std::vector<ControlLayout> controlsIn(const Language& language) {
#define T(id) std::string_view(language.text(TextId::id))
  return {
    ControlLayout{PageControl1, K::PageTabs, kAllPages, T(OptionsPages), 4, 4, 264, 186},

    ControlLayout{CkShowPage, K::CheckBox, 0, T(OptionsShowPageFile), 12, 24, 248, 10},
    ControlLayout{CkShowFree, K::CheckBox, 0, T(OptionsShowFree), 12, 36, 248, 10},
    ControlLayout{CkShowPercentage, K::CheckBox, 0, T(OptionsShowPercentage), 12, 48, 248, 10},
    ControlLayout{CkDisplayHint, K::CheckBox, 0, T(OptionsDescribeInTip), 12, 60, 248, 10},
    ControlLayout{LabelYellow, K::Label, 0, T(OptionsYellowAbove), 12, 78, 96, 8},
    ControlLayout{TxtYellow, K::Spin, 0, "", 110, 76, 36, 12, true},
    ControlLayout{LabelYellowUnit, K::Label, 0, "%", 150, 78, 12, 8},
    ControlLayout{LabelRed, K::Label, 0, T(OptionsRedAbove), 12, 94, 96, 8},
    ControlLayout{TxtRed, K::Spin, 0, "", 110, 92, 36, 12, true},
    ControlLayout{LabelRedUnit, K::Label, 0, "%", 150, 94, 12, 8},
    ControlLayout{LinkLabel1, K::Link, 0, T(OptionsBarColorsLink), 12, 110, 248, 10},
    ControlLayout{Label17, K::Heading, 0, T(OptionsHighLoadHeading), 12, 128, 248, 9},
    ControlLayout{CkWarn, K::CheckBox, 0, T(OptionsShowBalloon), 20, 141, 116, 10},
    ControlLayout{CkWarnMsgBox, K::CheckBox, 0, T(OptionsShowMessageBox), 140, 141, 120, 10},
    ControlLayout{CheckDefragOnHighMem, K::CheckBox, 0, T(OptionsReleaseOnHighLoad), 20, 154, 116, 10},
    ControlLayout{CkLogFile, K::CheckBox, 0, T(OptionsWriteLog), 140, 154, 120, 10},
    ControlLayout{LabelLanguage, K::Label, 0, T(OptionsLanguage), 12, 172, 96, 8},
    ControlLayout{CmbLanguage, K::DropDown, 0, "", 110, 170, 150, 100},

    ControlLayout{CheckDefragEveryActive, K::CheckBox, 1, T(OptionsReleaseEvery), 12, 27, 90, 10},
    ControlLayout{WinSpinDefragEveryActive, K::Spin, 1, "", 106, 26, 44, 12},
    ControlLayout{LabelMinutes, K::Label, 1, T(OptionsMinutes), 154, 28, 40, 8},
    ControlLayout{LabelHotKey, K::Label, 1, T(OptionsReleaseHotKey), 12, 46, 90, 8},
    ControlLayout{HotKey1, K::HotKey, 1, "", 106, 44, 110, 12},
    ControlLayout{LabelMili, K::Label, 1, T(OptionsRefreshInterval), 12, 64, 90, 8},
    ControlLayout{EditMili, K::Spin, 1, "", 106, 62, 50, 12},
    ControlLayout{LabelMiliUnit, K::Label, 1, T(OptionsMilliseconds), 160, 64, 24, 8},
    ControlLayout{LabelResetMili, K::Link, 1, T(OptionsDefaultLink), 190, 64, 50, 9},
    ControlLayout{LabelDoubleClick, K::Label, 1, T(OptionsDoubleClick), 12, 82, 90, 8},
    ControlLayout{CmbDoubleClick, K::DropDown, 1,
                  T(OptionsDoubleClickActions),
                  106, 80, 140, 120},
    ControlLayout{CheckMonitor, K::CheckBox, 1, T(OptionsMonitorOffOnLock), 12, 100, 248, 10},
    ControlLayout{Label12, K::Label, 1, T(OptionsMillisecondsNote), 12, 168, 248, 8},

    ControlLayout{CkShowTop, K::CheckBox, 2, T(OptionsShowTopProcesses), 12, 24, 248, 10},
    ControlLayout{LabelProcs, K::Label, 2, T(OptionsProcessCount), 22, 42, 70, 8},
    ControlLayout{EditProcs, K::Spin, 2, "", 94, 40, 40, 12},
    ControlLayout{LabelProcsUnit, K::Label, 2, T(OptionsProcesses), 138, 42, 40, 8},
    ControlLayout{LabelProcessValue, K::Label, 2, T(OptionsProcessValue), 22, 58, 70, 8},
    ControlLayout{ComboProcessValue, K::DropDown, 2, T(OptionsProcessValues), 94, 56, 110, 60},
    ControlLayout{CheckHightLightProcess, K::CheckBox, 2, T(OptionsHighlightAbove), 22, 76, 150, 10},
    ControlLayout{EditProcsRam, K::Spin, 2, "", 174, 75, 44, 12},
    ControlLayout{LabelProcsRamUnit, K::Label, 2, "MB", 222, 77, 20, 8},
    ControlLayout{LabelHighlightColor, K::Label, 2, T(OptionsHighlightColor), 34, 94, 58, 8},
    ControlLayout{CmbColorProcesses, K::ColorPicker, 2, "", 94, 92, 124, 160},
    ControlLayout{CheckShowProcessName, K::CheckBox, 2, T(OptionsShowDescriptions), 22, 112, 238, 10},
    ControlLayout{CkUnifyProcs, K::CheckBox, 2, T(OptionsGroupProcesses), 22, 125, 238, 10},
    ControlLayout{LabelMore, K::Heading, 2, T(OptionsMore), 12, 144, 248, 9},
    ControlLayout{CkShowMemMenu, K::CheckBox, 2, T(OptionsShowMemoryInfo), 22, 157, 238, 10},

    ControlLayout{PnlFont2, K::FontPanel, 3, "", 12, 24, 180, 16},
    ControlLayout{Button4, K::Button, 3, T(OptionsFontButton), 198, 25, 62, 14},
    ControlLayout{ckInternalFont, K::CheckBox, 3, T(OptionsInternalFont), 12, 46, 248, 10},
    ControlLayout{CkMiniFont, K::CheckBox, 3, T(OptionsMiniFont), 22, 59, 238, 10},
    ControlLayout{LabelGbValues, K::Label, 3, T(OptionsValueUnit), 12, 78, 70, 8},
    ControlLayout{ComboGbValues, K::DropDown, 3, "MB|GB", 84, 76, 50, 40},
    ControlLayout{CheckOpaque, K::CheckBox, 3, T(OptionsTransparent), 12, 98, 116, 10},
    ControlLayout{CheckStandardBar, K::CheckBox, 3, T(OptionsStandardBar), 140, 98, 120, 10},
    ControlLayout{CkNoBorder, K::CheckBox, 3, T(OptionsNoBarBorder), 12, 111, 116, 10},
    ControlLayout{CkBarBottom, K::CheckBox, 3, T(OptionsBarAtBottom), 140, 111, 120, 10},
    ControlLayout{CheckFullBar, K::CheckBox, 3, T(OptionsOpaqueBar), 12, 124, 116, 10},
    ControlLayout{CkShowPercSign, K::CheckBox, 3, T(OptionsPercentSign), 140, 124, 120, 10},
    ControlLayout{CkFollowTaskbar, K::CheckBox, 3, T(OptionsFollowTaskbar), 12, 137, 248, 10},

    ControlLayout{LabelThemes, K::Label, 4, T(OptionsTheme), 12, 27, 40, 8},
    ControlLayout{CbThemes, K::DropDown, 4, "", 54, 25, 100, 120},
    ControlLayout{BtnSaveAs, K::Button, 4, T(OptionsSaveAs), 158, 24, 52, 14},
    ControlLayout{BtnDeleteTheme, K::Button, 4, T(OptionsDelete), 214, 24, 46, 14},
    ControlLayout{LabelColors, K::Label, 4, T(OptionsItems), 12, 46, 120, 8},
    ControlLayout{LbColors, K::ColorList, 4, "", 12, 57, 120, 112},
    ControlLayout{LabelForeground, K::Label, 4, T(OptionsColor), 140, 46, 120, 8},
    ControlLayout{CmbForeground, K::ColorPicker, 4, "", 140, 57, 120, 160},

    ControlLayout{BtnOk, K::DefaultButton, kAllPages, T(ButtonOk), 110, 196, 50, 14},
    ControlLayout{BtnCancel, K::Button, kAllPages, T(ButtonCancel), 164, 196, 50, 14},
    ControlLayout{btnApply, K::Button, kAllPages, T(OptionsApply), 218, 196, 50, 14},
  };
}

constexpr DialogUnitsSize kInputBoxSize{200, 62};

}  // namespace

int captionRoom(const ControlLayout& control) { return control.width - captionOverhead(control.kind); }

OptionsDialogLayout optionsDialogLayout(const Language& language) {
  return {std::string_view(language.text(TextId::OptionsCaption)), kDialogSize, controlsIn(language)};
}

OptionsDialogLayout widenedToFit(OptionsDialogLayout layout, std::span<const int> captionWidths) {
  double factor = 1.0;
  for (std::size_t i = 0; i < layout.controls.size() && i < captionWidths.size(); ++i) {
    const int room = captionRoom(layout.controls[i]);
    if (captionWidths[i] <= 0 || room <= 0) continue;
    factor = std::max(factor, captionWidths[i] / (1.0 - kLayoutSpare) / room);
  }
  if (factor == 1.0) return layout;
  // Scaling every x and width by one factor keeps the rows, the columns and the gaps between
  // them as they were designed; a little more covers the rounding.
  factor += 0.02;
  auto scaled = [factor](int x) { return static_cast<int>(std::ceil(x * factor)); };
  for (ControlLayout& control : layout.controls) {
    const int right = scaled(control.x + control.width);
    control.x = scaled(control.x);
    control.width = right - control.x;
  }
  layout.size.width = scaled(layout.size.width);
  return layout;
}

const ControlLayout* findControl(const OptionsDialogLayout& layout, int id) {
  for (const ControlLayout& control : layout.controls)
    if (control.id == id) return &control;
  return nullptr;
}

DialogUnitsSize inputBoxSize() { return kInputBoxSize; }
std::vector<ControlLayout> inputBoxControls(const Language& language) {
  return {
      ControlLayout{kInputBoxPrompt, K::Label, kAllPages, "", 8, 8, 184, 8},
      ControlLayout{kInputBoxEdit, K::TextField, kAllPages, "", 8, 20, 184, 12},
      ControlLayout{BtnOk, K::DefaultButton, kAllPages, T(ButtonOk), 88, 40, 50, 14},
      ControlLayout{BtnCancel, K::Button, kAllPages, T(ButtonCancel), 142, 40, 50, 14},
  };
#undef T
}

}  // namespace kelvane
