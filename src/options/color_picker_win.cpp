#include "options/color_picker_win.h"

#include <commdlg.h>
#include <dlgs.h>

#include <array>
#include <map>
#include <utility>

#include "common/exit_request_win.h"
#include "common/handles_win.h"
#include "common/text_win.h"
#include "common/window_win.h"
#include "options/color_picker.h"
#include "settings/color_text.h"
#include "settings/settings_codec.h"
#include "settings/settings_file_win.h"

namespace kelvane {

namespace {

// Each picker's state, for drawing its default and custom entries. Keyed by the window: the
// dialog has two pickers and lives once.
std::map<HWND, PickerState>& pickerStates() {
  static std::map<HWND, PickerState> states;
  return states;
}

void drawSwatch(HDC dc, RECT box, COLORREF color) {
  const UniqueHandle<HBRUSH, GdiDeleter> brush(CreateSolidBrush(color));
  FillRect(dc, &box, brush.get());
  FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The common part of both owner-drawn lists: the background, a swatch on the left, the text.
void drawItem(const DRAWITEMSTRUCT& item, std::optional<COLORREF> swatch, const std::wstring& text) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  RECT box = item.rcItem;
  FillRect(item.hDC, &box, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int height = box.bottom - box.top;
  RECT swatchBox{box.left + 2, box.top + 2, box.left + 2 + height * 3 / 2, box.bottom - 2};
  if (swatch) drawSwatch(item.hDC, swatchBox, *swatch);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT textBox{swatchBox.right + 4, box.top, box.right, box.bottom};
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textBox,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &box);
}

TColor colorFromColorref(COLORREF color) { return static_cast<TColor>(color & 0xFFFFFF); }

// An item's text as it was put into the list, in the language the dialog was opened in.
std::wstring itemText(const DRAWITEMSTRUCT& item) {
  const bool combo = item.CtlType == ODT_COMBOBOX;
  const auto length = SendMessageW(item.hwndItem, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, item.itemID, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(item.hwndItem, combo ? CB_GETLBTEXT : LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

COLORREF paintedColor(TColor color, TColor automatic) {
  if (color == clAutomatic) color = automatic;
  if (isSystemColor(color)) return GetSysColor(color - SystemColorBase);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

void fillColorPicker(HWND combo) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (const ColorPickerEntry& entry : colorPickerEntries())
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(std::string(colorPickerEntryName(entry))).c_str()));
}

void showColorPicker(HWND combo, const PickerState& state) {
  pickerStates()[combo] = state;
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(colorPickerIndex(state)), 0);
  InvalidateRect(combo, nullptr, TRUE);
}

void forgetColorPicker(HWND combo) { pickerStates().erase(combo); }

bool isCustomEntrySelected(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) == colorPickerCustomIndex();
}

std::optional<TColor> pickedNamedColor(HWND combo) {
  const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  const auto entries = colorPickerEntries();
  if (index <= 0 || index >= static_cast<LRESULT>(entries.size())) return std::nullopt;
  return entries[static_cast<std::size_t>(index)].color;
}

void measureColorItem(HWND dialog, MEASUREITEMSTRUCT& item) {
  // As high as the dialog font's text, plus room for the swatch's frame.
  const HDC dc = GetDC(dialog);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  item.itemHeight = static_cast<UINT>(metrics.tmHeight + 4);
}

void drawColorListItem(const DRAWITEMSTRUCT& item, const ThemeColors& colors) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= kThemeSlotCount) return;
  const int slot = static_cast<int>(item.itemID);
  const TColor automatic = automaticColor(kThemeSlots[static_cast<std::size_t>(slot)]);
  const std::string& text = colors.texts[static_cast<std::size_t>(slot)];
  const TColor color = text == kThemeAutomatic ? clAutomatic : TextToColor(text);
  drawItem(item, paintedColor(color, automatic), itemText(item));
}

void drawColorPickerItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const auto entries = colorPickerEntries();
  if (item.itemID >= entries.size()) return;
  const ColorPickerEntry& entry = entries[item.itemID];
  const PickerState state = pickerStates()[item.hwndItem];
  std::optional<COLORREF> swatch;
  if (entry.kind == PickerEntryKind::Default) swatch = paintedColor(state.defaultColor, state.defaultColor);
  if (entry.kind == PickerEntryKind::Named) swatch = paintedColor(entry.color, entry.color);
  if (entry.kind == PickerEntryKind::Custom && state.color && colorPickerIndex(state) == colorPickerCustomIndex())
    swatch = paintedColor(*state.color, *state.color);
  drawItem(item, swatch, itemText(item));
}

std::optional<TColor> chooseAnyColor(HWND owner, TColor initial, const std::wstring& settingsFile) {
  // An empty slot is 0xFFFFFFFF, which the colour dialog shows as white and hands back as it was.
  std::array<COLORREF, kCustomColorCount> custom;
  custom.fill(0xFFFFFFFF);
  if (const auto text = readTextFile(settingsFile)) {
    const CustomColors stored = ReadCustomColors(IniDocument::parse(text->text));
    for (std::size_t i = 0; i < custom.size(); ++i)
      if (stored[i]) custom[i] = *stored[i] & 0xFFFFFF;
  }
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.rgbResult = paintedColor(initial, clBlack);
  dialog.lpCustColors = custom.data();
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  const ModalExitWatch exitWatch;
  if (!ChooseColorW(&dialog) || exitWatch.exitCame()) return std::nullopt;
  std::array<std::uint32_t, kCustomColorCount> toStore{};
  for (std::size_t i = 0; i < custom.size(); ++i) toStore[i] = custom[i];
  editIniFile(settingsFile, [&](IniDocument& ini) { WriteCustomColors(ini, toStore); });
  return colorFromColorref(dialog.rgbResult);
}

namespace {

// The font dialog's colour list gets a last entry "Custom..." that opens the colour dialog; the
// colour chosen there becomes the entry's colour, which the font dialog then takes. The system
// owns the dialog; this object serves its hook procedure for one showing.
class FontDialogHook : public DialogBase<FontDialogHook> {
 public:
  explicit FontDialogHook(std::wstring settingsFile) : settingsFile_(std::move(settingsFile)) {}

  // Set into the request: the hook, with this object as its custom data.
  void hook(CHOOSEFONTW& request) {
    request.lCustData = reinterpret_cast<LPARAM>(this);
    request.lpfnHook = &hookProc;
    request.Flags |= CF_ENABLEHOOK;
  }

 private:
  friend class DialogBase<FontDialogHook>;
  static FontDialogHook* boundObject(LPARAM request) {
    return reinterpret_cast<FontDialogHook*>(reinterpret_cast<const CHOOSEFONTW*>(request)->lCustData);
  }

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) addCustomEntry(reinterpret_cast<const CHOOSEFONTW*>(lParam)->rgbColors);
    if (message == WM_COMMAND && LOWORD(wParam) == cmb4 && HIWORD(wParam) == CBN_SELCHANGE) ColorListChange();
    return FALSE;  // the font dialog goes on with its own handling, sample included
  }

  void addCustomEntry(COLORREF shown) {
    customEntry_ = SendDlgItemMessageW(hwnd_, cmb4, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(trWide(TextId::FontDialogCustomColor).c_str()));
    if (customEntry_ >= 0) SendDlgItemMessageW(hwnd_, cmb4, CB_SETITEMDATA, static_cast<WPARAM>(customEntry_), shown);
  }

  void ColorListChange() {
    if (customEntry_ < 0 || SendDlgItemMessageW(hwnd_, cmb4, CB_GETCURSEL, 0, 0) != customEntry_) return;
    const auto current = static_cast<COLORREF>(
        SendDlgItemMessageW(hwnd_, cmb4, CB_GETITEMDATA, static_cast<WPARAM>(customEntry_), 0));
    if (const auto chosen = chooseAnyColor(hwnd_, static_cast<TColor>(current & 0xFFFFFF), settingsFile_))
      SendDlgItemMessageW(hwnd_, cmb4, CB_SETITEMDATA, static_cast<WPARAM>(customEntry_), static_cast<LPARAM>(*chosen));
  }

  std::wstring settingsFile_;
  LRESULT customEntry_ = CB_ERR;
};

}  // namespace

std::optional<TFontSpec> chooseFont(HWND owner, const TFontSpec& font, const std::wstring& settingsFile) {
  const ScreenDc screen;
  LOGFONTW logFont{};
  logFont.lfHeight = -MulDiv(font.Size, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  logFont.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
  logFont.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
  logFont.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
  logFont.lfCharSet = static_cast<BYTE>(font.CharSet);
  wcsncpy_s(logFont.lfFaceName, toWide(font.Name).c_str(), LF_FACESIZE - 1);
  const COLORREF shownColor = paintedColor(font.Color, clBlack);
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &logFont;
  dialog.rgbColors = shownColor;
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  FontDialogHook hook(settingsFile);
  hook.hook(dialog);
  const ModalExitWatch exitWatch;
  if (!ChooseFontW(&dialog) || exitWatch.exitCame()) return std::nullopt;
  TFontSpec chosen;
  chosen.Name = toUtf8(logFont.lfFaceName);
  chosen.CharSet = logFont.lfCharSet;
  // An unchanged colour keeps its system-colour meaning.
  chosen.Color = dialog.rgbColors == shownColor ? font.Color : colorFromColorref(dialog.rgbColors);
  chosen.Size = dialog.iPointSize >= 10 ? dialog.iPointSize / 10 : font.Size;
  chosen.Style = (logFont.lfWeight >= FW_BOLD ? fsBold : 0) | (logFont.lfItalic ? fsItalic : 0) |
                 (logFont.lfUnderline ? fsUnderline : 0) | (logFont.lfStrikeOut ? fsStrikeOut : 0);
  return chosen;
}

}  // namespace kelvane
