#include "text_fit.h"

#include <commctrl.h>

#include <cwctype>

#include "common/text_win.h"

namespace kelvane::testing {

namespace {

std::wstring className(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool sameClass(const std::wstring& name, const wchar_t* wanted) { return _wcsicmp(name.c_str(), wanted) == 0; }

// A SysLink's text as shown: the <a ...> and </a> marks left out.
std::wstring withoutLinkMarkup(const std::wstring& text) {
  std::wstring shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool opens = text[i] == L'<' && i + 1 < text.size() &&
                       (std::towlower(text[i + 1]) == L'a' || (text[i + 1] == L'/' && i + 2 < text.size() &&
                                                                std::towlower(text[i + 2]) == L'a'));
    const std::size_t close = opens ? text.find(L'>', i) : std::wstring::npos;
    if (close != std::wstring::npos) {
      i = close;
      continue;
    }
    shown += text[i];
  }
  return shown;
}

struct Measured {
  int width = 0, height = 0;
};

// The text's size in the control's font; with a width, broken at words within it.
Measured measure(HWND control, const std::wstring& text, UINT prefixFlag, std::optional<int> wrapWidth) {
  HDC dc = GetDC(control);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  const HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  RECT box{0, 0, wrapWidth.value_or(0), 0};
  const UINT lines = wrapWidth ? DT_WORDBREAK : DT_SINGLELINE;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_LEFT | lines | prefixFlag);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {box.right - box.left, box.bottom - box.top};
}

int lineHeight(HWND control) { return measure(control, L"Ag", 0, std::nullopt).height; }

int dpiOf(HWND control) {
  HDC dc = GetDC(control);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(control, dc);
  return dpi;
}

// Half the width of a '0', which check boxes and radios leave between their box and text.
int checkBoxTextGap(HWND control) { return measure(control, L"0", DT_NOPREFIX, std::nullopt).width / 2; }

struct Room {
  int width = 0, height = 0;
  bool multiLine = false;
  UINT prefixFlag = 0;
};

std::optional<Room> roomOfButton(HWND control, RECT client) {
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const LONG type = style & BS_TYPEMASK;
  Room room{client.right - client.left, client.bottom - client.top, (style & BS_MULTILINE) != 0, 0};
  const int dpi = dpiOf(control);
  switch (type) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      room.width -= MulDiv(12, dpi, 96) + 1 + checkBoxTextGap(control);
      break;
    case BS_GROUPBOX:
      // The caption sits in the top border, indented from both corners.
      room.width -= MulDiv(16, dpi, 96);
      room.height = lineHeight(control);
      break;
    case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON:
      // The 3-D edge and the focus rectangle on both sides.
      room.width -= 4 * GetSystemMetrics(SM_CXEDGE);
      room.height -= 4 * GetSystemMetrics(SM_CYEDGE);
      break;
    default:
      return std::nullopt;  // owner-drawn and other buttons draw what they like
  }
  return room;
}

std::string describe(HWND control, const std::wstring& text) {
  return toUtf8(className(control)) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" + toUtf8(text) + "\"";
}

// One text in its room: nothing when it fits with the spare a single line needs.
std::optional<std::string> fitProblem(HWND control, const std::wstring& text, const Room& room) {
  if (text.empty()) return std::nullopt;
  const int line = lineHeight(control);
  const bool multiLine = room.multiLine || room.height >= 2 * line;
  if (multiLine) {
    const Measured wrapped = measure(control, text, room.prefixFlag, room.width);
    if (wrapped.width <= room.width && wrapped.height <= room.height) return std::nullopt;
    return describe(control, text) + " needs " + std::to_string(wrapped.width) + " x " +
           std::to_string(wrapped.height) + " px broken into lines, has " + std::to_string(room.width) + " x " +
           std::to_string(room.height);
  }
  const Measured single = measure(control, text, room.prefixFlag, std::nullopt);
  const int allowed = static_cast<int>(room.width * (1.0 - kTextFitSpare));
  if (single.width <= allowed && single.height <= room.height) return std::nullopt;
  return describe(control, text) + " needs " + std::to_string(single.width) + " x " + std::to_string(single.height) +
         " px on one line, has " + std::to_string(room.width) + " x " + std::to_string(room.height) +
         " (with the spare: " + std::to_string(allowed) + " wide)";
}

std::optional<std::string> itemsFitProblem(HWND control, bool combo, int indent) {
  const UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  Room room{};
  if (combo) {
    // The field that shows the chosen item, beside the arrow.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(control, &info)) return describe(control, L"") + ": no combo box information";
    room.width = info.rcItem.right - info.rcItem.left;
    room.height = info.rcItem.bottom - info.rcItem.top;
  } else {
    RECT client{};
    GetClientRect(control, &client);
    room.width = client.right - client.left;
    room.height = static_cast<int>(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0));
  }
  // A little of the field on the left goes to the text's offset; owner-drawn items add theirs.
  room.width -= 2 * GetSystemMetrics(SM_CXEDGE) + indent;
  room.prefixFlag = DT_NOPREFIX;
  const auto count = SendMessageW(control, countMessage, 0, 0);
  std::string problems;
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0)) + 1,
                      L'\0');
    const auto length = SendMessageW(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    if (const auto problem = fitProblem(control, text, room)) problems += (problems.empty() ? "" : "; ") + *problem;
  }
  if (problems.empty()) return std::nullopt;
  return problems;
}

}  // namespace

std::optional<std::string> textFitProblem(HWND control, int itemIndent) {
  const std::wstring name = className(control);
  RECT client{};
  GetClientRect(control, &client);
  if (sameClass(name, L"ComboBox")) return itemsFitProblem(control, true, itemIndent);
  if (sameClass(name, L"ListBox")) return itemsFitProblem(control, false, itemIndent);
  if (sameClass(name, L"Button")) {
    const auto room = roomOfButton(control, client);
    if (!room) return std::nullopt;
    return fitProblem(control, windowText(control), *room);
  }
  if (sameClass(name, L"Static")) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
      return std::nullopt;  // pictures, frames and owner-drawn statics have no text to fit
    Room room{client.right - client.left, client.bottom - client.top, false, (style & SS_NOPREFIX) ? DT_NOPREFIX : 0u};
    // These draw one line whatever their height.
    if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE || (style & SS_CENTERIMAGE)) room.height = std::min(room.height, lineHeight(control));
    return fitProblem(control, windowText(control), room);
  }
  if (sameClass(name, WC_LINK)) {
    const Room room{client.right - client.left, client.bottom - client.top, false, DT_NOPREFIX};
    return fitProblem(control, withoutLinkMarkup(windowText(control)), room);
  }
  return std::nullopt;
}

std::vector<std::string> textFitProblems(HWND window, const TextFitOptions& options) {
  std::vector<std::string> problems;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    if (options.skip.contains(id)) continue;
    const auto indent = options.itemIndent.find(id);
    if (auto problem = textFitProblem(child, indent == options.itemIndent.end() ? 0 : indent->second))
      problems.push_back(std::move(*problem));
  }
  return problems;
}

}  // namespace kelvane::testing
