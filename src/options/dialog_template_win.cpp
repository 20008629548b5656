#include "options/dialog_template_win.h"

#include <commctrl.h>

#include "common/text_win.h"

namespace kelvane {

namespace {

class TemplateWriter {
 public:
  void word(WORD value) { words_.push_back(value); }
  void dword(DWORD value) {
    word(LOWORD(value));
    word(HIWORD(value));
  }
  void text(const std::wstring& value) {
    for (wchar_t c : value) word(static_cast<WORD>(c));
    word(0);
  }
  void alignToDword() {
    if (words_.size() % 2) word(0);
  }
  std::vector<WORD> take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass classOf(const ControlLayout& control) {
  switch (control.kind) {
    case ControlKind::PageTabs: return {WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS, 0};
    case ControlKind::CheckBox: return {L"Button", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::Label: return {L"Static", SS_LEFT, 0};
    case ControlKind::Heading: return {L"Static", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Spin:
      return {L"Edit", ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP | (control.noTyping ? ES_READONLY : 0u),
              WS_EX_CLIENTEDGE};
    case ControlKind::TextField: return {L"Edit", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::HotKey: return {HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::DropDown: return {L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::ColorPicker:
      return {L"ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::Button: return {L"Button", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::DefaultButton: return {L"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Link: return {WC_LINK, WS_TABSTOP, 0};
    case ControlKind::FontPanel: return {L"Static", SS_LEFT | SS_SUNKEN | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::ColorList:
      return {L"ListBox", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                              WS_TABSTOP,
              WS_EX_CLIENTEDGE};
  }
  return {L"Static", 0, 0};
}

void writeItem(TemplateWriter& out, DWORD exStyle, DWORD style, int x, int y, int width, int height, int id,
               const wchar_t* className, const std::wstring& title) {
  out.alignToDword();
  out.dword(0);  // help id
  out.dword(exStyle);
  out.dword(style);
  out.word(static_cast<WORD>(x));
  out.word(static_cast<WORD>(y));
  out.word(static_cast<WORD>(width));
  out.word(static_cast<WORD>(height));
  out.dword(static_cast<DWORD>(id));
  out.text(className);
  out.text(title);
  out.word(0);  // no creation data
}

}  // namespace

std::vector<WORD> buildDialogTemplate(std::string_view caption, DialogUnitsSize size,
                                      std::span<const ControlLayout> controls) {
  int items = 0;
  for (const ControlLayout& control : controls) items += control.kind == ControlKind::Spin ? 2 : 1;
  TemplateWriter out;
  out.word(1);       // dlgVer
  out.word(0xFFFF);  // signature: DLGTEMPLATEEX
  out.dword(0);      // help id
  out.dword(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME);
  out.dword(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  out.word(static_cast<WORD>(items));
  out.word(0);
  out.word(0);
  out.word(static_cast<WORD>(size.width));
  out.word(static_cast<WORD>(size.height));
  out.word(0);  // no menu
  out.word(0);  // the dialog class
  out.text(toWide(std::string(caption)));
  out.word(8);    // point size
  out.word(FW_NORMAL);
  out.word(MAKEWORD(FALSE, DEFAULT_CHARSET));  // italic, character set
  out.text(L"Segoe UI");
  for (const ControlLayout& control : controls) {
    const ControlClass cls = classOf(control);
    const std::wstring title = control.kind == ControlKind::DropDown ? std::wstring() : toWide(std::string(control.caption));
    writeItem(out, cls.exStyle, WS_CHILD | WS_VISIBLE | cls.style, control.x, control.y, control.width,
              control.height, control.id, cls.className, title);
    if (control.kind == ControlKind::Spin)
      writeItem(out, 0,
                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_NOTHOUSANDS | UDS_HOTTRACK,
                0, 0, 0, 0, upDownIdOf(control.id), UPDOWN_CLASSW, L"");
  }
  return out.take();
}

}  // namespace kelvane
