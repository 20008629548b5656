// The emulated task dialog: a dialog-bordered window built from the core layout, in Tahoma
// 8 point, run in its own modal loop so that Escape and Enter answer as the emulation's rules
// say rather than as the dialog manager's IDOK/IDCANCEL would.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/text_win.h"
#include "common/window_win.h"
#include "dialogs/task_dialog_layout.h"
#include "dialogs/task_dialog_paths_win.h"

namespace kelvane {

namespace {

// The form font, and the instruction's: bold and two pixels taller.
struct DialogFonts {
  UniqueFont normal;
  UniqueFont instruction;

  explicit DialogFonts(HDC dc) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
    normal.reset(CreateFontIndirectW(&font));
    font.lfHeight -= 2;
    font.lfWeight = FW_BOLD;
    instruction.reset(CreateFontIndirectW(&font));
  }
  HFONT get(LayoutFont which) const { return which == LayoutFont::Instruction ? instruction.get() : normal.get(); }
};

class GdiTextMeasure : public TextMeasure {
 public:
  GdiTextMeasure(HDC dc, const DialogFonts& fonts) : dc_(dc), fonts_(fonts) {}

  LayoutSize extent(const std::string& text, LayoutFont font) const override {
    RECT r{0, 0, 0, 0};
    calc(text, font, r, DT_CALCRECT | DT_NOPREFIX);
    return {r.right - r.left, r.bottom - r.top};
  }
  int wrappedHeight(const std::string& text, LayoutFont font, int width) const override {
    RECT r{0, 0, width, 0};
    calc(text, font, r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    return r.bottom - r.top;
  }

 private:
  void calc(const std::string& text, LayoutFont font, RECT& r, UINT format) const {
    if (text.empty()) return;
    const std::wstring wide = toWide(text);
    SelectObjectScope selected(dc_, fonts_.get(font));
    DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
  }

  HDC dc_;
  const DialogFonts& fonts_;
};

HICON LoadSystemIcon(SystemIcon icon) {
  switch (icon) {
    case SystemIcon::Exclamation: return LoadIconW(nullptr, IDI_EXCLAMATION);
    case SystemIcon::Question: return LoadIconW(nullptr, IDI_QUESTION);
    case SystemIcon::Hand: return LoadIconW(nullptr, IDI_HAND);
    case SystemIcon::Asterisk: return LoadIconW(nullptr, IDI_ASTERISK);
    case SystemIcon::WinLogo: return LoadIconW(nullptr, IDI_WINLOGO);
    case SystemIcon::None: break;
  }
  return nullptr;
}

// System icons are shared and loaded at the large icon size.
LayoutSize IconSize(HICON icon) {
  if (!icon) return {};
  return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
}

class EmulatedTaskDialog : public WindowBase<EmulatedTaskDialog> {
 public:
  EmulatedTaskDialog(const PreparedTaskDialog& dialog, const DialogOpening& opening)
      : dialog_(dialog), opening_(opening), owner_(opening.owner) {}

  TaskDialogAnswer run();
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void layOut();
  void createControls();
  HWND addControl(const wchar_t* cls, const std::string& text, DWORD style, const LayoutRect& r, int id, HFONT font);
  bool handleKey(const MSG& msg);
  void finish(int id);
  void onPaint();
  bool isButtonId(int id) const;

  const PreparedTaskDialog& dialog_;
  const DialogOpening& opening_;
  HWND owner_;
  std::vector<EmulationButton> buttons_;
  TaskDialogLayout layout_;
  std::unique_ptr<DialogFonts> fonts_;
  HICON mainIcon_ = nullptr;
  HICON footerIcon_ = nullptr;
  int result_ = 0;
  bool done_ = false;
};

void EmulatedTaskDialog::layOut() {
  ScreenDc screen;
  fonts_ = std::make_unique<DialogFonts>(screen.get());
  mainIcon_ = LoadSystemIcon(EmulationMainIcon(dialog_.mainIcon));
  footerIcon_ = LoadSystemIcon(EmulationFooterIcon(dialog_.footerIcon));
  buttons_ = EmulationButtons(dialog_);
  GdiTextMeasure measure(screen.get(), *fonts_);
  layout_ = LayoutTaskDialog(dialog_, buttons_,
                             {IconSize(mainIcon_), IconSize(footerIcon_), GetDeviceCaps(screen.get(), LOGPIXELSY)},
                             measure);
}

HWND EmulatedTaskDialog::addControl(const wchar_t* cls, const std::string& text, DWORD style, const LayoutRect& r,
                                    int id, HFONT font) {
  HWND control = CreateWindowExW(0, cls, toWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                 r.width, r.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void EmulatedTaskDialog::createControls() {
  for (const auto& label : layout_.labels) {
    const HFONT font = fonts_->get(label.role == LabelRole::Instruction ? LayoutFont::Instruction : LayoutFont::Normal);
    addControl(L"STATIC", label.text, SS_LEFT | SS_NOPREFIX, label.rect, -1, font);
  }
  // Tab order runs left to right, so controls are created in that order.
  if (layout_.verification) {
    HWND box = addControl(L"BUTTON", dialog_.verificationText, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP,
                          *layout_.verification, kVerificationControlId, fonts_->normal.get());
    SendMessageW(box, BM_SETCHECK, dialog_.verificationChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  HWND focus = nullptr;
  for (auto it = layout_.buttons.rbegin(); it != layout_.buttons.rend(); ++it) {
    const DWORD kind = it->button.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    HWND button = addControl(L"BUTTON", it->button.caption, kind | WS_TABSTOP, it->rect, it->button.id,
                             fonts_->normal.get());
    // Enter answers like the platform dialog: the default button, or else the first custom one.
    if (it->button.isDefault || (!focus && it->button.id == kFirstCustomButtonId)) focus = button;
  }
  if (layout_.separator) addControl(L"STATIC", "", SS_ETCHEDHORZ, *layout_.separator, -1, nullptr);
  if (layout_.footerText)
    addControl(L"STATIC", dialog_.footerText, SS_LEFT | SS_NOPREFIX, *layout_.footerText, -1, fonts_->normal.get());
  if (focus) SetFocus(focus);
}

bool EmulatedTaskDialog::isButtonId(int id) const {
  for (const auto& b : buttons_)
    if (b.id == id) return true;
  return false;
}

void EmulatedTaskDialog::finish(int id) {
  if (done_) return;
  result_ = id;
  done_ = true;
  // A button pressed by a message sent from another thread runs inside GetMessage, which would
  // otherwise keep waiting.
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

// Escape and Enter are ours to answer; the dialog manager would turn them into IDCANCEL and
// IDOK, which are the Cancel and OK buttons' answers even when those buttons are absent.
bool EmulatedTaskDialog::handleKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.wParam == VK_ESCAPE) {
    if (const int id = EmulationEscapeResult(buttons_)) finish(id);
    return true;
  }
  if (msg.wParam == VK_RETURN) {
    const int focused = GetDlgCtrlID(GetFocus());
    if (isButtonId(focused)) {
      finish(focused);
    } else if (isButtonId(1)) {
      finish(1);
    }
    return true;
  }
  return false;
}

void EmulatedTaskDialog::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (mainIcon_ && layout_.mainIcon) {
    const auto& r = *layout_.mainIcon;
    DrawIconEx(dc, r.left, r.top, mainIcon_, r.width, r.height, 0, nullptr, DI_NORMAL);
  }
  if (footerIcon_ && layout_.footerIcon) {
    const auto& r = *layout_.footerIcon;
    DrawIconEx(dc, r.left, r.top, footerIcon_, r.width, r.height, 0, nullptr, DI_NORMAL);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT EmulatedTaskDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && isButtonId(LOWORD(wParam))) finish(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      finish(IDCANCEL);
      return 0;
    case WM_PAINT:
      onPaint();
      return 0;
    default:
      return defaultProc(message, wParam, lParam);
  }
}

TaskDialogAnswer EmulatedTaskDialog::run() {
  registerWindowClass(kEmulationWindowClass);  // a second registration fails harmlessly
  layOut();
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, layout_.clientWidth, layout_.clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  createWindow(exStyle, kEmulationWindowClass, toWide(dialog_.windowTitle).c_str(), style, 0, 0,
               frame.right - frame.left, frame.bottom - frame.top, owner_);
  if (!hwnd_) return {0, 0, dialog_.verificationChecked};
  createControls();
  settleDialogWindow(hwnd_, opening_);

  const bool disableOwner = owner_ && IsWindowEnabled(owner_);
  if (disableOwner) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);

  MessageWait wait;
  MSG msg;
  while (!done_) {
    const MessageWait::Result got = wait.next(msg);
    if (got == MessageWait::Result::Quit) {  // the program is ending: leave the quit for the outer loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      finish(IDCANCEL);
      break;
    }
    if (got == MessageWait::Result::GaveUp) break;
    if (got == MessageWait::Result::Failed) continue;
    if (handleKey(msg) || IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }

  TaskDialogAnswer answer;
  answer.button = result_;
  HWND box = GetDlgItem(hwnd_, kVerificationControlId);
  answer.verificationChecked = box ? SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED : dialog_.verificationChecked;
  // The owner comes back before this window goes, so that activation returns to it.
  if (disableOwner) EnableWindow(owner_, TRUE);
  destroyWindow();
  return answer;
}

}  // namespace

TaskDialogAnswer ShowEmulatedTaskDialog(const PreparedTaskDialog& dialog, const DialogOpening& opening) {
  EmulatedTaskDialog emulation(dialog, opening);
  return emulation.run();
}

}  // namespace kelvane
