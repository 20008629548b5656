#include "options/options_dialog_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <stdexcept>
#include <utility>

#include "common/system_library_win.h"
#include "common/text_win.h"
#include "common/window_messages_win.h"
#include "common/window_placement_win.h"
#include "options/color_picker_win.h"
#include "options/dialog_template_win.h"
#include "options/options_captions_win.h"
#include "options/options_form_win.h"
#include "options/portable_device_win.h"
#include "settings/language_files_win.h"
#include "settings/theme_folder_win.h"

namespace kelvane {

namespace {

// The one dialog; it stays allocated after it closed until the next opening replaces it, so a
// handler that closes it never pulls its own object away.
std::unique_ptr<TFrmOptions>& theDialog() {
  static std::unique_ptr<TFrmOptions> dialog;
  return dialog;
}

// The dialog is not modal to the message loop: the tray menu works while it is open. Its keys
// (Tab, the underlined letters, Enter, Escape) reach it through the dialog manager from this
// hook on the thread's message retrieval, whichever loop retrieves them.
HHOOK keyHook = nullptr;

LRESULT CALLBACK dialogKeysHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* message = reinterpret_cast<MSG*>(lParam);
  TFrmOptions* dialog = theDialog().get();
  if (code >= 0 && wParam == PM_REMOVE && dialog && dialog->hwnd() && message->message >= WM_KEYFIRST &&
      message->message <= WM_KEYLAST &&
      (message->hwnd == dialog->hwnd() || IsChild(dialog->hwnd(), message->hwnd))) {
    if (dialog->turnPageByKey(*message) || IsDialogMessageW(dialog->hwnd(), message)) message->message = WM_NULL;
  }
  return CallNextHookEx(keyHook, code, wParam, lParam);
}

std::vector<std::wstring> splitEntries(std::string_view list) {
  std::vector<std::wstring> entries;
  std::size_t start = 0;
  while (start <= list.size() && !list.empty()) {
    const std::size_t end = std::min(list.find('|', start), list.size());
    entries.push_back(toWide(std::string(list.substr(start, end - start))));
    start = end + 1;
  }
  return entries;
}

}  // namespace

void fitDroppedWidth(HWND combo) {
  const ScreenDc screen;
  SelectObjectScope font(screen.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(combo, WM_GETFONT, 0, 0)));
  int widest = 0;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT entry = 0; entry < count; ++entry) {
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(combo, CB_GETLBTEXTLEN, entry, 0))) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(0, SendMessageW(combo, CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text.data())))));
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  // The list's frame, its scroll bar and the room the list leaves on both sides of a text.
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
  int width = widest + 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) + MulDiv(8, dpi, 96);
  RECT box{};
  GetWindowRect(combo, &box);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(combo, MONITOR_DEFAULTTONEAREST), &monitor))
    width = std::min(width, static_cast<int>(monitor.rcWork.right - monitor.rcWork.left));
  width = std::max(width, static_cast<int>(box.right - box.left));
  SendMessageW(combo, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

TFrmOptions::TFrmOptions(OptionsHost& form)
    : form_(form),
      themeFolder_(form.ThemeFolder()),
      model_(form.Options(), ListThemeNames(themeFolder_), languageList(speaking(), listedFileLanguages())),
      commonControls_(loadCommonControls(ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS | ICC_LINK_CLASS |
                                         ICC_STANDARD_CLASSES)) {
  // The dialog speaks the language spoken when it opened, until the program speaks another.
  const OptionsDialogLayout designed = optionsDialogLayout(speaking());
  layout_ = widenedToFit(designed, measureCaptions(designed, model_.languages()));
  const std::vector<WORD> dialogTemplate = buildDialogTemplate(layout_.caption, layout_.size, layout_.controls);
  hwnd_ = createDialog(dialogTemplate.data(), form.ApplicationWindow());
  if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoOptionsDialog));
  if (!keyHook) keyHook = SetWindowsHookExW(WH_GETMESSAGE, dialogKeysHook, nullptr, GetCurrentThreadId());
  FormShow();
}

// A dialog still open when this object ends (with the process) is destroyed by its owner without
// reaching the handlers: the form they would report to is gone by then. Its controls outlive
// this destructor, so the library that draws them stays loaded.
TFrmOptions::~TFrmOptions() {
  if (hwnd_) (void)commonControls_.release();
}

void TFrmOptions::BringToFront() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
}

INT_PTR TFrmOptions::beforeBinding(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_MEASUREITEM) return FALSE;
  measureColorItem(dialog, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
  return TRUE;
}

INT_PTR TFrmOptions::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      return beforeBinding(hwnd_, message, wParam, lParam);
    case WM_INITDIALOG:
      FormCreate();
      return TRUE;
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_DRAWITEM: {
      const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw.CtlID == LbColors) drawColorListItem(draw, model_.themes().colors());
      else drawColorPickerItem(draw);
      return TRUE;
    }
    case WM_DESTROY:
      forgetColorPicker(item(CmbColorProcesses));
      forgetColorPicker(item(CmbForeground));
      if (keyHook) UnhookWindowsHookEx(keyHook);
      keyHook = nullptr;
      hwnd_ = nullptr;
      // The dialog's reference to the common controls goes with it, not with the run.
      freeLibraryLater(std::move(commonControls_));
      return TRUE;
    case WM_NCDESTROY:
      // The controls are gone: what they drew with goes too, not with the next opening.
      pageBackground_.reset();
      headingFont_.reset();
      internalFontPanelFont_.reset();
      return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(
          pageBackground_ ? pageBackground_->colorFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))
                          : nullptr);
    default:
      if (message == languageChangedMessage() && message != 0) {
        LanguageChanged();
        return TRUE;
      }
      return FALSE;
  }
}

void TFrmOptions::FormCreate() {
  // The headings in the bold form of the dialog's font.
  LOGFONTW bold{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)), sizeof(bold), &bold);
  bold.lfWeight = FW_BOLD;
  headingFont_.reset(CreateFontIndirectW(&bold));
  LOGFONTW tahoma{};
  const ScreenDc screen;
  tahoma.lfHeight = -MulDiv(8, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  tahoma.lfCharSet = DEFAULT_CHARSET;
  wcscpy_s(tahoma.lfFaceName, L"Tahoma");
  internalFontPanelFont_.reset(CreateFontIndirectW(&tahoma));
  for (const ControlLayout& control : layout_.controls) {
    HWND window = item(control.id);
    if (control.kind == ControlKind::Heading) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.get()), FALSE);
    if (control.kind == ControlKind::Spin) {
      const SpinRange range = model_.range(control.id);
      SendDlgItemMessageW(hwnd_, upDownIdOf(control.id), UDM_SETRANGE32, static_cast<WPARAM>(range.minimum),
                          range.maximum);
    }
    if (control.kind == ControlKind::PageTabs) {
      for (int page = 0; page < kPageCount; ++page) {
        TCITEMW tab{};
        SendMessageW(window, TCM_INSERTITEMW, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&tab));
      }
      // The pages' controls lie on the page control: it goes to the bottom so they take the
      // clicks and paint over it. It is then the last stop of the Tab key.
      SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  // A global hot key without Ctrl or Alt would take that key from every program.
  SendDlgItemMessageW(hwnd_, HotKey1, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
  // The pages' controls lie on the page control: the dialog takes the page's background.
  pageBackground_.emplace(hwnd_);
  takeTexts();
  SendDlgItemMessageW(hwnd_, LbColors, LB_SETCURSEL, 0, 0);
  refreshValues();
  showPage(0);
}

void TFrmOptions::takeTexts() {
  updating_ = true;
  SetWindowTextW(hwnd_, toWide(std::string(layout_.caption)).c_str());
  for (const ControlLayout& control : layout_.controls) {
    HWND window = item(control.id);
    switch (control.kind) {
      case ControlKind::Label:
      case ControlKind::CheckBox:
      case ControlKind::Heading:
      case ControlKind::Button:
      case ControlKind::DefaultButton:
      case ControlKind::Link: SetWindowTextW(window, toWide(std::string(control.caption)).c_str()); break;
      case ControlKind::DropDown:
        if (control.id == CbThemes) break;  // LoadThemes fills it
        SendMessageW(window, CB_RESETCONTENT, 0, 0);
        if (control.id == CmbLanguage)
          for (const LanguageListEntry& entry : model_.languages())
            SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(entry.caption).c_str()));
        else
          for (const std::wstring& entry : splitEntries(control.caption))
            SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        break;
      case ControlKind::ColorPicker: fillColorPicker(window); break;
      case ControlKind::PageTabs: {
        int page = 0;
        for (std::wstring& name : splitEntries(control.caption)) {
          TCITEMW tab{};
          tab.mask = TCIF_TEXT;
          tab.pszText = name.data();
          SendMessageW(window, TCM_SETITEMW, static_cast<WPARAM>(page++), reinterpret_cast<LPARAM>(&tab));
        }
        break;
      }
      default: break;
    }
  }
  HWND slots = item(LbColors);
  const auto slot = SendMessageW(slots, LB_GETCURSEL, 0, 0);
  SendMessageW(slots, LB_RESETCONTENT, 0, 0);
  for (int each = 0; each < kThemeSlotCount; ++each)
    SendMessageW(slots, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(std::string(ThemeSlotCaption(each))).c_str()));
  if (slot != LB_ERR) SendMessageW(slots, LB_SETCURSEL, static_cast<WPARAM>(slot), 0);
  LoadThemes();
  fitDroppedWidth(item(CmbLanguage));
  updating_ = false;
}

void TFrmOptions::LanguageChanged() {
  model_.speak(speaking(), languageList(speaking(), listedFileLanguages()));
  const OptionsDialogLayout designed = optionsDialogLayout(speaking());
  OptionsDialogLayout next = widenedToFit(designed, measureCaptions(designed, model_.languages()));
  // A shorter language keeps the room the dialog has: only the captions change.
  const bool grows = next.size.width > layout_.size.width;
  if (!grows) {
    for (std::size_t i = 0; i < next.controls.size() && i < layout_.controls.size(); ++i) {
      next.controls[i].x = layout_.controls[i].x;
      next.controls[i].width = layout_.controls[i].width;
    }
    next.size = layout_.size;
  }
  layout_ = std::move(next);
  if (grows) placeControls();
  takeTexts();
  refreshValues();
  refreshControls();
  showApplyState();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TFrmOptions::placeControls() {
  for (const ControlLayout& control : layout_.controls) {
    RECT box{control.x, control.y, control.x + control.width, control.y + control.height};
    MapDialogRect(hwnd_, &box);
    SetWindowPos(item(control.id), nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The arrows sit at the right end of their number field, which they narrow again.
    if (control.kind == ControlKind::Spin)
      SendDlgItemMessageW(hwnd_, upDownIdOf(control.id), UDM_SETBUDDY, reinterpret_cast<WPARAM>(item(control.id)), 0);
  }
  RECT client{0, 0, layout_.size.width, layout_.size.height};
  MapDialogRect(hwnd_, &client);
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
  SetWindowPos(hwnd_, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Grown where it is, it stays wholly inside its monitor's work area.
  RECT grown{};
  GetWindowRect(hwnd_, &grown);
  moveInsideWorkArea(hwnd_, Point{grown.left, grown.top});
}

void TFrmOptions::FormShow() {
  PlaceNearTray(hwnd_);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
}

void TFrmOptions::showPage(int page) {
  page_ = page;
  SendDlgItemMessageW(hwnd_, PageControl1, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  refreshControls();
}

bool TFrmOptions::turnPageByKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
  int step = 0;
  if (message.wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  if (message.wParam == VK_NEXT) step = 1;
  if (message.wParam == VK_PRIOR) step = -1;
  if (step == 0) return false;
  showPage((page_ + step + kPageCount) % kPageCount);
  SetFocus(item(PageControl1));
  return true;
}

void TFrmOptions::refreshControls() {
  updating_ = true;
  for (const ControlLayout& control : layout_.controls) {
    const bool shown = (control.page == kAllPages || control.page == page_) && model_.visible(control.id);
    const bool enabled = model_.enabled(control.id);
    for (HWND window : {item(control.id), control.kind == ControlKind::Spin ? item(upDownIdOf(control.id)) : nullptr}) {
      if (!window) continue;
      // The style, not IsWindowVisible: while the dialog is being created nothing is visible yet.
      const bool hasVisibleStyle = (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
      if (hasVisibleStyle != shown) ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
      EnableWindow(window, enabled);
    }
    if (control.kind == ControlKind::CheckBox)
      CheckDlgButton(hwnd_, control.id, model_.checked(control.id) ? BST_CHECKED : BST_UNCHECKED);
  }
  SetDlgItemTextW(hwnd_, Label17, toWide(model_.highLabel()).c_str());
  std::wstring panel = L" ";
  panel += toWide(model_.fontPanelText());
  const HFONT panelFont = model_.fontPanelShowsInternalFont()
                              ? internalFontPanelFont_.get()
                              : reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (reinterpret_cast<HFONT>(SendDlgItemMessageW(hwnd_, PnlFont2, WM_GETFONT, 0, 0)) != panelFont)
    SendDlgItemMessageW(hwnd_, PnlFont2, WM_SETFONT, reinterpret_cast<WPARAM>(panelFont), TRUE);
  SetDlgItemTextW(hwnd_, PnlFont2, panel.c_str());
  InvalidateRect(item(LbColors), nullptr, TRUE);
  // A control that was just disabled or hidden must not keep the keyboard.
  HWND focus = GetFocus();
  if (!focus || (IsChild(hwnd_, focus) && (!IsWindowEnabled(focus) || !IsWindowVisible(focus))))
    SetFocus(item(PageControl1));
  updating_ = false;
}

void TFrmOptions::refreshValues() {
  updating_ = true;
  for (const ControlLayout& control : layout_.controls) {
    if (control.kind == ControlKind::Spin) SetDlgItemTextW(hwnd_, control.id, toWide(model_.spinText(control.id)).c_str());
    if (control.kind == ControlKind::DropDown && control.id != CbThemes)
      SendDlgItemMessageW(hwnd_, control.id, CB_SETCURSEL, static_cast<WPARAM>(model_.listIndex(control.id)), 0);
  }
  SendDlgItemMessageW(hwnd_, HotKey1, HKM_SETHOTKEY, FieldFromHotKey(model_.hotKey()), 0);
  showColorPicker(item(CmbColorProcesses), model_.highlightPicker());
  LbColorsClick();
  updating_ = false;
}

void TFrmOptions::onCommand(int id, int code) {
  if (updating_) return;
  handleCommand(id, code);
  // OK and Cancel have closed the dialog.
  if (hwnd_) showApplyState();
}

void TFrmOptions::showApplyState() { EnableWindow(item(btnApply), model_.enabled(btnApply)); }

void TFrmOptions::handleCommand(int id, int code) {
  switch (id) {
    case BtnOk: BtnOkClick(true); return;
    case btnApply: BtnOkClick(false); return;
    case BtnCancel: BtnCancelClick(); return;
    case Button4: Button4Click(); return;
    case BtnSaveAs: BtnSaveAsClick(); return;
    case BtnDeleteTheme: BtnDeleteThemeClick(); return;
    case HotKey1:
      if (code == EN_CHANGE)
        model_.setHotKey(HotKeyFromField(static_cast<std::uint16_t>(SendDlgItemMessageW(hwnd_, HotKey1, HKM_GETHOTKEY, 0, 0))));
      return;
    case CbThemes:
      if (code == CBN_SELCHANGE) CbThemesClick();
      return;
    case LbColors:
      if (code == LBN_SELCHANGE) LbColorsClick();
      return;
    case CmbColorProcesses:
    case CmbForeground: {
      // A list that is open changes its selection as the arrows move; the choice counts when it
      // closes, so passing over "自定义..." does not open the colour dialog.
      const bool dropped = SendDlgItemMessageW(hwnd_, id, CB_GETDROPPEDSTATE, 0, 0) != 0;
      if ((code == CBN_SELCHANGE && !dropped) || code == CBN_CLOSEUP)
        id == CmbForeground ? CmbForegroundChange() : CmbColorProcessesChange();
      return;
    }
    default: break;
  }
  if (isKind(id, ControlKind::CheckBox) && code == BN_CLICKED) onCheckBox(id);
  if (isKind(id, ControlKind::DropDown) && code == CBN_SELCHANGE) {
    model_.setListIndex(id, static_cast<int>(SendDlgItemMessageW(hwnd_, id, CB_GETCURSEL, 0, 0)));
  }
  if (isKind(id, ControlKind::Spin) && code == EN_CHANGE) {
    model_.typeSpin(id, toUtf8(windowText(item(id))));
    refreshControls();
  }
}

bool TFrmOptions::isKind(int id, ControlKind kind) const {
  const ControlLayout* control = findControl(layout_, id);
  return control && control->kind == kind;
}

INT_PTR TFrmOptions::onNotify(const NMHDR& header) {
  const int id = static_cast<int>(header.idFrom);
  if (id == PageControl1 && header.code == TCN_SELCHANGE) {
    showPage(static_cast<int>(SendDlgItemMessageW(hwnd_, PageControl1, TCM_GETCURSEL, 0, 0)));
    return TRUE;
  }
  if (header.code == UDN_DELTAPOS) {
    // The model moves the number within its range; the arrows' own position is not used.
    const auto& delta = reinterpret_cast<const NMUPDOWN&>(header);
    const int spin = id - upDownIdOf(0);
    model_.stepSpin(spin, delta.iDelta);
    updating_ = true;
    SetDlgItemTextW(hwnd_, spin, toWide(model_.spinText(spin)).c_str());
    updating_ = false;
    refreshControls();
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }
  if (header.code == NM_CLICK || header.code == NM_RETURN) {
    if (id == LinkLabel1) {
      showPage(kThemesPage);
      SetFocus(item(CbThemes));
    }
    if (id == LabelResetMili) {
      model_.LabelResetMiliClick();
      updating_ = true;
      SetDlgItemTextW(hwnd_, EditMili, toWide(model_.spinText(EditMili)).c_str());
      updating_ = false;
      SetFocus(item(EditMili));
      refreshControls();
    }
    return TRUE;
  }
  return FALSE;
}

void TFrmOptions::onCheckBox(int id) {
  model_.setChecked(id, IsDlgButtonChecked(hwnd_, id) == BST_CHECKED);
  if (id == CheckMonitor) CheckMonitorClick();
  refreshControls();
}

void TFrmOptions::CheckMonitorClick() {
  if (!model_.monitorWarningNeeded(IsPortableDevice())) return;
  const MonitorWarningAnswer answer = ShowMonitorWarning(hwnd_);
  if (!model_.monitorWarningAnswered(answer.result, answer.dontShowAgain)) return;
  TKelvaneOptions options = form_.Options();
  options.NoWarningSwithOffMonMobile = true;
  form_.ApplyOptions(options, {});  // saved with the record when the dialog closes
}

void TFrmOptions::BtnOkClick(bool closing) {
  const OptionsApplyResult result = model_.apply(form_.Options());
  form_.ApplyOptions(result.options, result.effects);
  if (closing) {
    BtnCancelClick();
    return;
  }
  refreshValues();
  refreshControls();
}

void TFrmOptions::BtnCancelClick() {
  destroyWindow();
  form_.OptionsClosed();
}

void TFrmOptions::Button4Click() {
  model_.fontChosen(chooseFont(hwnd_, model_.dialogFont(), form_.SettingsFileName()));
  refreshControls();
  LbColorsClick();
}

std::optional<std::optional<TColor>> TFrmOptions::pickerChoice(int pickerId, const PickerState& state) {
  HWND picker = item(pickerId);
  if (!isCustomEntrySelected(picker)) return pickedNamedColor(picker);
  if (auto chosen = chooseAnyColor(hwnd_, state.color.value_or(state.defaultColor), form_.SettingsFileName()))
    return std::optional<TColor>(*chosen);
  return std::nullopt;  // the colour dialog was cancelled: the picker shows what it showed
}

void TFrmOptions::CmbColorProcessesChange() {
  if (const auto choice = pickerChoice(CmbColorProcesses, model_.highlightPicker())) model_.setHighlightColor(*choice);
  showColorPicker(item(CmbColorProcesses), model_.highlightPicker());
}

void ShowSettings(OptionsHost& form) {
  std::unique_ptr<TFrmOptions>& dialog = theDialog();
  if (dialog && dialog->hwnd()) {
    dialog->BringToFront();
    return;
  }
  dialog.reset();
  dialog = std::make_unique<TFrmOptions>(form);
}

HWND OpenOptionsDialog() {
  const auto& dialog = theDialog();
  return dialog ? dialog->hwnd() : nullptr;
}

}  // namespace kelvane
