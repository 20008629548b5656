#include "options/options_dialog_layout.h"

#include <array>

namespace kelvane {

namespace {

using K = ControlKind;

// Client area 408 x 351 pixels in the design font, about 272 x 216 dialog units. Pages start
// below the page control's tabs at y 24 and end above the buttons at y 186.
constexpr DialogUnitsSize kDialogSize{272, 216};

// Every caption's '&' letter is unique on its page and among the three buttons, which are
// reachable from every page.
constexpr std::array kControls = {
    ControlLayout{PageControl1, K::PageTabs, kAllPages, "一般|附加|托盘菜单|显示|主题", 4, 4, 264, 186},

    ControlLayout{CkShowPage, K::CheckBox, 0, "显示页面文件而不是物理内存(&P)", 12, 24, 248, 10},
    ControlLayout{CkShowFree, K::CheckBox, 0, "显示可用内存而不是已用内存(&F)", 12, 36, 248, 10},
    ControlLayout{CkShowPercentage, K::CheckBox, 0, "显示百分比而不是实际值(&E)", 12, 48, 248, 10},
    ControlLayout{CkDisplayHint, K::CheckBox, 0, "在托盘中显示提示值(&H)", 12, 60, 248, 10},
    ControlLayout{LabelYellow, K::Label, 0, "显示黄色, 当超过(&Y):", 12, 78, 96, 8},
    ControlLayout{TxtYellow, K::Spin, 0, "", 110, 76, 36, 12, true},
    ControlLayout{LabelYellowUnit, K::Label, 0, "%", 150, 78, 12, 8},
    ControlLayout{LabelRed, K::Label, 0, "显示红色, 当超过(&R):", 12, 94, 96, 8},
    ControlLayout{TxtRed, K::Spin, 0, "", 110, 92, 36, 12, true},
    ControlLayout{LabelRedUnit, K::Label, 0, "%", 150, 94, 12, 8},
    ControlLayout{LinkLabel1, K::Link, 0, "栏颜色可在 <a>主题部分</a> 自定义", 12, 110, 248, 10},
    ControlLayout{Label17, K::Heading, 0, "", 12, 128, 248, 9},
    ControlLayout{CkWarn, K::CheckBox, 0, "显示气球提示(&B)", 20, 141, 116, 10},
    ControlLayout{CkWarnMsgBox, K::CheckBox, 0, "显示消息框(&M)", 140, 141, 120, 10},
    ControlLayout{CheckDefragOnHighMem, K::CheckBox, 0, "整理内存(&D)", 20, 154, 116, 10},
    ControlLayout{CkLogFile, K::CheckBox, 0, "写入日志文件(&L)", 140, 154, 120, 10},

    ControlLayout{CheckDefragEveryActive, K::CheckBox, 1, "整理, 每(&V):", 12, 27, 90, 10},
    ControlLayout{WinSpinDefragEveryActive, K::Spin, 1, "", 106, 26, 44, 12},
    ControlLayout{LabelMinutes, K::Label, 1, "分钟", 154, 28, 40, 8},
    ControlLayout{LabelHotKey, K::Label, 1, "整理热键(&K):", 12, 46, 90, 8},
    ControlLayout{HotKey1, K::HotKey, 1, "", 106, 44, 110, 12},
    ControlLayout{LabelMili, K::Label, 1, "托盘信息刷新率(&T):", 12, 64, 90, 8},
    ControlLayout{EditMili, K::Spin, 1, "", 106, 62, 50, 12},
    ControlLayout{LabelMiliUnit, K::Label, 1, "毫秒", 160, 64, 24, 8},
    ControlLayout{LabelResetMili, K::Link, 1, "<a>默认值</a>", 190, 64, 50, 9},
    ControlLayout{LabelDoubleClick, K::Label, 1, "双击托盘(&C):", 12, 82, 90, 8},
    ControlLayout{CmbDoubleClick, K::DropDown, 1,
                  "启动任务管理器 (默认)|整理内存|内存信息|显示设置|锁定工作站|运行程序|关闭 Windows 对话框|显示桌面|显示内存历史",
                  106, 80, 140, 120},
    ControlLayout{CheckMonitor, K::CheckBox, 1, "当锁定计算机时关闭显示器(&O)", 12, 100, 248, 10},
    ControlLayout{Label12, K::Label, 1, "* 1000 毫秒 = 1 秒", 12, 168, 248, 8},

    ControlLayout{CkShowTop, K::CheckBox, 2, "当右键点击托盘图标时, 显示内存占用最高的进程(&W)", 12, 24, 248, 10},
    ControlLayout{LabelProcs, K::Label, 2, "显示数量(&N):", 22, 42, 70, 8},
    ControlLayout{EditProcs, K::Spin, 2, "", 94, 40, 40, 12},
    ControlLayout{LabelProcsUnit, K::Label, 2, "进程", 138, 42, 40, 8},
    ControlLayout{LabelProcessValue, K::Label, 2, "当前显示(&U):", 22, 58, 70, 8},
    ControlLayout{ComboProcessValue, K::DropDown, 2, "内存值|内存值和百分比|百分比", 94, 56, 110, 60},
    ControlLayout{CheckHightLightProcess, K::CheckBox, 2, "高亮显示进程, 当内存值高于(&I):", 22, 76, 150, 10},
    ControlLayout{EditProcsRam, K::Spin, 2, "", 174, 75, 44, 12},
    ControlLayout{LabelProcsRamUnit, K::Label, 2, "MB", 222, 77, 20, 8},
    ControlLayout{LabelHighlightColor, K::Label, 2, "高亮颜色(&G):", 34, 94, 58, 8},
    ControlLayout{CmbColorProcesses, K::ColorPicker, 2, "", 94, 92, 124, 160},
    ControlLayout{CheckShowProcessName, K::CheckBox, 2, "显示进程名称而不是模块名称(&J)", 22, 112, 238, 10},
    ControlLayout{CkUnifyProcs, K::CheckBox, 2, "统一相同进程(&Q)", 22, 125, 238, 10},
    ControlLayout{LabelMore, K::Heading, 2, "更多", 12, 144, 248, 9},
    ControlLayout{CkShowMemMenu, K::CheckBox, 2, "显示当前内存信息(&Z)", 22, 157, 238, 10},

    ControlLayout{PnlFont2, K::FontPanel, 3, "", 12, 24, 180, 16},
    ControlLayout{Button4, K::Button, 3, "字体(&F)...", 198, 25, 62, 14},
    ControlLayout{ckInternalFont, K::CheckBox, 3, "使用内部字体优化结果(&I)", 12, 46, 248, 10},
    ControlLayout{CkMiniFont, K::CheckBox, 3, "恒定额外的小字体(&X)", 22, 59, 238, 10},
    ControlLayout{LabelGbValues, K::Label, 3, "优化托盘值(&G):", 12, 78, 70, 8},
    ControlLayout{ComboGbValues, K::DropDown, 3, "MB|GB", 84, 76, 50, 40},
    ControlLayout{CheckOpaque, K::CheckBox, 3, "透明背景(&T)", 12, 98, 116, 10},
    ControlLayout{CheckStandardBar, K::CheckBox, 3, "标准栏(&S)", 140, 98, 120, 10},
    ControlLayout{CkNoBorder, K::CheckBox, 3, "无栏边框(&N)", 12, 111, 116, 10},
    ControlLayout{CkBarBottom, K::CheckBox, 3, "栏底部(&M)", 140, 111, 120, 10},
    ControlLayout{CheckFullBar, K::CheckBox, 3, "不透明栏(&O)", 12, 124, 116, 10},
    ControlLayout{CkShowPercSign, K::CheckBox, 3, "显示 % 符号(&P)", 140, 124, 120, 10},

    ControlLayout{LabelThemes, K::Label, 4, "主题(&T):", 12, 27, 40, 8},
    ControlLayout{CbThemes, K::DropDown, 4, "", 54, 25, 100, 120},
    ControlLayout{BtnSaveAs, K::Button, 4, "另存为(&S)...", 158, 24, 52, 14},
    ControlLayout{BtnDeleteTheme, K::Button, 4, "删除(&D)", 214, 24, 46, 14},
    ControlLayout{LabelColors, K::Label, 4, "显示项目(&I):", 12, 46, 120, 8},
    ControlLayout{LbColors, K::ColorList, 4, "", 12, 57, 120, 112},
    ControlLayout{LabelForeground, K::Label, 4, "颜色(&C):", 140, 46, 120, 8},
    ControlLayout{CmbForeground, K::ColorPicker, 4, "", 140, 57, 120, 160},

    ControlLayout{BtnOk, K::DefaultButton, kAllPages, "确定", 110, 196, 50, 14},
    ControlLayout{BtnCancel, K::Button, kAllPages, "取消", 164, 196, 50, 14},
    ControlLayout{btnApply, K::Button, kAllPages, "应用(&A)", 218, 196, 50, 14},
};

constexpr DialogUnitsSize kInputBoxSize{200, 62};
constexpr std::array kInputBox = {
    ControlLayout{kInputBoxPrompt, K::Label, kAllPages, "", 8, 8, 184, 8},
    ControlLayout{kInputBoxEdit, K::TextField, kAllPages, "", 8, 20, 184, 12},
    ControlLayout{BtnOk, K::DefaultButton, kAllPages, "确定", 88, 40, 50, 14},
    ControlLayout{BtnCancel, K::Button, kAllPages, "取消", 142, 40, 50, 14},
};

}  // namespace

std::string_view optionsDialogCaption() { return "Kelvane 设置"; }
DialogUnitsSize optionsDialogSize() { return kDialogSize; }
std::span<const ControlLayout> optionsDialogControls() { return kControls; }

const ControlLayout* findOptionsControl(int id) {
  for (const ControlLayout& control : kControls)
    if (control.id == id) return &control;
  return nullptr;
}

DialogUnitsSize inputBoxSize() { return kInputBoxSize; }
std::span<const ControlLayout> inputBoxControls() { return kInputBox; }

}  // namespace kelvane
