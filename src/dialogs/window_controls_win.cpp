#include "dialogs/window_controls_win.h"

#include "common/system_info_win.h"
#include "common/system_library_win.h"
#include "common/text_win.h"
#include "dialogs/link_markup.h"
#include "resource_ids.h"

#include <utility>
#include <vector>

namespace kelvane {

namespace {

int pictureId(const std::vector<std::pair<int, int>>& sizeToId, int wanted) {
  std::vector<int> sizes;
  for (const auto& [size, id] : sizeToId) sizes.push_back(size);
  const int chosen = storedSizeFor(sizes, wanted);
  for (const auto& [size, id] : sizeToId)
    if (size == chosen) return id;
  return 0;
}

}  // namespace

Picture programPicture(const PngDecoder& decoder, int size) {
  const int id = pictureId({{16, IDP_PROGRAM_16}, {20, IDP_PROGRAM_20}, {24, IDP_PROGRAM_24}, {32, IDP_PROGRAM_32},
                            {48, IDP_PROGRAM_48}, {256, IDP_PROGRAM_256}},
                           size);
  return decoder.decodeResource(id, size, size);
}

Picture donationPicture(const PngDecoder& decoder, int size) {
  const int id =
      pictureId({{16, IDP_DONATION_16}, {24, IDP_DONATION_24}, {32, IDP_DONATION_32}, {48, IDP_DONATION_48}}, size);
  return decoder.decodeResource(id, size, size);
}

Picture keepVisibleIllustration(const PngDecoder& decoder, int width, int height) {
  const int id = pictureId({{539, IDP_KEEP_VISIBLE_539}, {1078, IDP_KEEP_VISIBLE_1078}}, width);
  return decoder.decodeResource(id, width, height);
}

int systemDpi() {
  const ScreenDc screen;
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

UniqueFont createWindowFont(const wchar_t* face, int points, int pixels, bool bold, int dpi) {
  LOGFONTW font{};
  font.lfHeight = points > 0 ? -MulDiv(points, dpi, 72) : -pixels;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

const wchar_t* formFontFace() {
  const auto version = readOsVersion();
  return version && version->major > 5 ? L"Segoe UI" : L"Tahoma";
}

namespace {

RECT measured(HFONT font, const std::wstring& text, int width, UINT format) {
  RECT box{0, 0, width, 0};
  if (text.empty()) return box;
  const ScreenDc screen;
  SelectObjectScope selected(screen.get(), font);
  DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &box, format | DT_CALCRECT | DT_NOPREFIX);
  return box;
}

}  // namespace

int textWidthIn(HFONT font, const std::wstring& text) {
  const RECT box = measured(font, text, 0, DT_SINGLELINE);
  return box.right - box.left;
}

int wrappedHeightIn(HFONT font, const std::wstring& text, int width) {
  const RECT box = measured(font, text, width, DT_WORDBREAK);
  return box.bottom - box.top;
}

int checkMarkWidth(int dpi) {
  // The mark is a small square a little over a line high, then a gap of about a quarter line.
  return scaleToDpi(13 + 6, dpi);
}

HWND addControl(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, const Box& box,
                int id, HFONT font) {
  HWND control = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.left, box.top,
                                 box.width, box.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND addLink(HWND parent, const std::string& markup, const Box& box, int id, HFONT font) {
  return addControl(parent, WC_LINK, toWide(sysLinkMarkup(markup)), WS_TABSTOP, box, id, font);
}

void setLinkText(HWND link, const std::string& markup) {
  SetWindowTextW(link, toWide(sysLinkMarkup(markup)).c_str());
}

SIZE windowSizeFor(DWORD style, DWORD exStyle, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

UniqueLibrary loadLinkControls() { return loadCommonControls(ICC_LINK_CLASS | ICC_STANDARD_CLASSES); }

bool boxContains(const Box& box, POINT at) {
  return at.x >= box.left && at.x < box.right() && at.y >= box.top && at.y < box.bottom();
}

bool showHandOver(HWND window, const Box& picture, WPARAM wParam, LPARAM lParam) {
  if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT) return false;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(window, &at);
  if (!boxContains(picture, at)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

LRESULT eraseWhite(HWND window, WPARAM dc) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(reinterpret_cast<HDC>(dc), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return 1;
}

int clickedLink(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header || (header->code != NM_CLICK && header->code != NM_RETURN)) return 0;
  return static_cast<int>(header->idFrom);
}

}  // namespace kelvane
