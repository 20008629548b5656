#include "history/history_window_win.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "common/clipboard_win.h"
#include "common/dpi_win.h"
#include "common/clock_win.h"
#include "common/language.h"
#include "common/text_win.h"
#include "common/window_messages_win.h"
#include "dialogs/file_dialog_win.h"
#include "dialogs/task_dialog_win.h"
#include "history/history_export_win.h"
#include "history/history_window_place.h"
#include "resource_ids.h"

namespace kelvane {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// A button on the taskbar of its own, also when an owner is given: without one the window could
// not be found again once covered or minimised.
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 60'000;  // a new minute closes every minute
constexpr int kMinimumWidth = 360;   // client pixels at 96 DPI
constexpr int kMinimumHeight = 220;
constexpr int kFontPoints = 9;

int screenDpi() {
  const ScreenDc screen;
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

// The program's icon drawn for a size, rather than one size stretched.
UniqueIcon programIcon(int size) {
  return UniqueIcon(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELVANE), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

UniqueFont messageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
  if (!font.lfFaceName[0]) wcscpy_s(font.lfFaceName, L"MS Shell Dlg 2");
  font.lfHeight = -MulDiv(kFontPoints, dpi, 72);
  font.lfWidth = 0;
  return UniqueFont(CreateFontIndirectW(&font));
}

SIZE frameFor(int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// The work area the window opens in: that of the monitor nearest its kept place or, with no
// place kept, of the monitor the taskbar is on, where the tray icon that opened us is.
ViewRect openingWorkArea(const HistoryWindowPlace& place) {
  HMONITOR monitor = nullptr;
  if (place.left && place.top) {
    const RECT kept{*place.left, *place.top, *place.left + std::max(place.width, 1), *place.top + std::max(place.height, 1)};
    monitor = MonitorFromRect(&kept, MONITOR_DEFAULTTONEAREST);
  } else {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    monitor = taskbar ? MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)
                      : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
  }
  MONITORINFO info{};
  info.cbSize = sizeof info;
  RECT work{};
  if (GetMonitorInfoW(monitor, &info)) work = info.rcWork;
  else SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

HistoryKey historyKeyOf(WPARAM key) {
  const bool control = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case '1': case VK_NUMPAD1: return HistoryKey::Digit1;
    case '2': case VK_NUMPAD2: return HistoryKey::Digit2;
    case '3': case VK_NUMPAD3: return HistoryKey::Digit3;
    case '4': case VK_NUMPAD4: return HistoryKey::Digit4;
    case VK_LEFT: return HistoryKey::Left;
    case VK_RIGHT: return HistoryKey::Right;
    case 'C': return control ? HistoryKey::CopyKey : HistoryKey::Other;
    case VK_ESCAPE: return HistoryKey::Escape;
    default: return HistoryKey::Other;
  }
}

// A paint's off-screen picture. A DIB section's pixels are pages of their own that go back to the
// system when it is deleted; Wine keeps a compatible bitmap's pixels in its C heap, where a
// picture of the window's size, freed, stays in the process.
HBITMAP offScreenBitmap(HDC dc, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the window's pixels
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

RECT rectOf(const ViewRect& box) { return {box.left, box.top, box.right, box.bottom}; }

// The size of a line of text in the font selected into `dc`.
TextSize textMeasure(HDC dc) {
  return [dc](const std::string& text) {
    const std::wstring words = toWide(text);
    SIZE size{};
    GetTextExtentPoint32W(dc, words.c_str(), static_cast<int>(words.size()), &size);
    return ViewPoint{static_cast<int>(size.cx), static_cast<int>(size.cy)};
  };
}

// Paints the plan. Solid fills and thin lines take the DC's own brush and pen, so a plan of a
// thousand steps makes no GDI object; only wide lines need a pen of their own.
void paintPlan(HDC dc, const std::vector<DrawStep>& plan) {
  SelectObjectScope brush(dc, GetStockObject(DC_BRUSH));
  SelectObjectScope pen(dc, GetStockObject(DC_PEN));
  SetBkMode(dc, TRANSPARENT);
  for (const DrawStep& step : plan) {
    switch (step.kind) {
      case DrawStep::Kind::Fill: {
        SetDCBrushColor(dc, step.color);
        const RECT box = rectOf(step.rect);
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        break;
      }
      case DrawStep::Kind::Line: {
        UniqueHandle<HGDIOBJ, GdiDeleter> wide;
        if (step.width > 1) wide.reset(CreatePen(PS_SOLID, step.width, step.color));
        SetDCPenColor(dc, step.color);
        SelectObjectScope chosen(dc, wide ? wide.get() : GetStockObject(DC_PEN));
        MoveToEx(dc, step.from.x, step.from.y, nullptr);
        LineTo(dc, step.to.x, step.to.y);
        // LineTo leaves out its last pixel; the plan's lines include both ends.
        if (step.width <= 1) SetPixelV(dc, step.to.x, step.to.y, step.color);
        else if (step.from.x == step.to.x && step.from.y == step.to.y) LineTo(dc, step.to.x + 1, step.to.y);
        break;
      }
      case DrawStep::Kind::Text: {
        SetTextColor(dc, step.color);
        RECT box = rectOf(step.rect);
        const UINT align = step.align == DrawStep::Align::Right    ? DT_RIGHT
                           : step.align == DrawStep::Align::Centre ? DT_CENTER
                                                                    : DT_LEFT;
        const std::wstring words = toWide(step.text);
        DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &box,
                  align | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
        break;
      }
      case DrawStep::Kind::Triangle: {
        SetDCBrushColor(dc, step.color);
        SetDCPenColor(dc, step.color);
        const POINT corners[3] = {{step.corners[0].x, step.corners[0].y},
                                  {step.corners[1].x, step.corners[1].y},
                                  {step.corners[2].x, step.corners[2].y}};
        Polygon(dc, corners, 3);
        break;
      }
      case DrawStep::Kind::Button: {
        RECT box = rectOf(step.rect);
        DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH | (step.pressed ? DFCS_PUSHED | DFCS_CHECKED : 0));
        if (step.pressed) OffsetRect(&box, 1, 1);
        SetTextColor(dc, step.color);
        const std::wstring words = toWide(step.text);
        DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &box,
                  DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        break;
      }
    }
  }
}

}  // namespace

HistoryWindow::~HistoryWindow() {
  destroyWindow();
}

void HistoryWindow::show() {
  if (hwnd_) refresh();  // asked for again: what is held now
  else create();
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void HistoryWindow::close() {
  if (!hwnd_) return;
  keepPlace();
  destroyWindow();
}

void HistoryWindow::create() {
  registerWindowClass(kHistoryWindowClassName, CS_HREDRAW | CS_VREDRAW);
  const HistoryWindowPlace place = source_.place();
  const int dpi = screenDpi();
  const ViewPoint client = defaultHistoryClientSize(dpi);
  const SIZE standard = frameFor(client.x, client.y);
  const ViewRect frame = historyWindowFrame(place, dpi, {standard.cx, standard.cy}, openingWorkArea(place));
  view_.choose(place.range, utcSecondsNow());
  createWindow(kExStyle, kHistoryWindowClassName, trWide(TextId::HistoryWindowTitle).c_str(), kStyle, frame.left,
               frame.top, frame.width(), frame.height(), owner_);
  if (!hwnd_) throw std::runtime_error(tr(TextId::HistoryNoWindow));
  dpi_ = windowDpi(hwnd_);
  font_ = messageFont(dpi_);
  setIcons();
  SetTimer(hwnd_, kRefreshTimer, kRefreshMs, nullptr);
  layOut();
  refresh();
}

// The caption's icon and the taskbar's, each drawn at the size the window's DPI asks for.
// The ones set before are let go only once the new ones are in their place.
void HistoryWindow::setIcons() {
  UniqueIcon small = programIcon(metricForDpi(SM_CXSMICON, dpi_));
  UniqueIcon large = programIcon(metricForDpi(SM_CXICON, dpi_));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
  smallIcon_ = std::move(small);
  largeIcon_ = std::move(large);
}

void HistoryWindow::refresh() {
  view_.choose(view_.range(), utcSecondsNow());
  const HistoryContent held = source_.heldHistory();
  // The growers come from the snapshots of the last day at most.
  const std::int64_t from = std::max(view_.from(), view_.to() - kSnapshotKeptSeconds);
  view_.setData(held.minutes, held.events, source_.growers(from, view_.to()));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void HistoryWindow::layOut() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  // The buttons and the list make room for their texts in the window's font and language.
  const ScreenDc screen;
  SelectObjectScope font(screen.get(), font_.get());
  view_.resize(client.right, client.bottom, dpi_, historyTextWidths(textMeasure(screen.get())));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void HistoryWindow::chooseRange(HistoryRange range) {
  if (!hwnd_) return;
  view_.choose(range, utcSecondsNow());
  refresh();
  keepPlace();
}

void HistoryWindow::carryOut(const HistoryCommand& command) {
  switch (command.kind) {
    case HistoryCommand::Kind::None: return;
    case HistoryCommand::Kind::Redraw: InvalidateRect(hwnd_, nullptr, FALSE); return;
    case HistoryCommand::Kind::ChooseRange: chooseRange(command.range); return;
    case HistoryCommand::Kind::Copy: copyMoment(); return;
    case HistoryCommand::Kind::Export: exportCsv(); return;
    case HistoryCommand::Kind::Close: close(); return;
  }
}

std::vector<std::string> HistoryWindow::momentText() const {
  const auto moment = view_.pointedMoment();
  if (!moment) return {};
  return momentLines(*moment, userMomentText(moment->from, moment->to), source_.numberFormat());
}

void HistoryWindow::copyMoment() {
  std::string text;
  for (const std::string& line : momentText()) text += line + "\r\n";
  if (text.empty()) return;
  const DWORD error = putTextOnClipboard(hwnd_, text);
  if (error != ERROR_SUCCESS)
    MessageBoxW(hwnd_, trWide(TextId::HistoryCannotCopy, {{"reason", systemFailureText(error)}}).c_str(),
                trWide(TextId::HistoryWindowTitle).c_str(), MB_ICONERROR | MB_OK);
}

void HistoryWindow::exportCsv() {
  // The window's title names the file, as a spreadsheet's user would look for it.
  const auto file = askSaveFileName({.owner = hwnd_,
                                     .suggestedName = trWide(TextId::HistoryWindowTitle) + L".csv",
                                     .filterName = trWide(TextId::HistoryCsvFiles),
                                     .extension = L"csv",
                                     .allFilesName = trWide(TextId::HistoryAllFiles)});
  if (!file) return;
  // The same refusals as the command line's export: never over one of the program's own files.
  const RequestAnswer answer = writeExportFile(*file, view_.csv(systemLocalTimeOf()));
  if (answer.code != kExitDone)
    SoundMessageDlg(exportFailureText(speaking(), answer, toUtf8(*file)), MsgDlgKind::Error, mbOK, hwnd_);
}

void HistoryWindow::onPaint() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(hwnd_, &paint);
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right > 0 && client.bottom > 0) {
    // Drawn off screen and copied at once, so a resize or a moving pointer never flickers; the
    // bitmap lives for this paint only.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(offScreenBitmap(dc, client.right, client.bottom));
    SelectObjectScope canvas(memory.get(), bitmap.get());
    SelectObjectScope font(memory.get(), font_.get());
    const TextSize measure = textMeasure(memory.get());
    std::vector<std::string> growerLines;
    const NumberFormat format = source_.numberFormat();
    for (const Grower& grower : view_.growers()) growerLines.push_back(growerLine(grower, format));
    paintPlan(memory.get(), view_.picture(source_.look(), systemLocalTimeOf(), momentText(), growerLines, measure));
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd_, &paint);
}

void HistoryWindow::onMouseMove(LPARAM lParam) {
  if (!trackingLeave_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    trackingLeave_ = TrackMouseEvent(&track) != FALSE;
  }
  if (view_.pointAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) InvalidateRect(hwnd_, nullptr, FALSE);
}

void HistoryWindow::onKeyDown(WPARAM key) { carryOut(view_.key(historyKeyOf(key))); }

void HistoryWindow::onDpiChanged(WPARAM wParam, const RECT& suggested) {
  dpi_ = HIWORD(wParam);
  font_ = messageFont(dpi_);
  setIcons();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  layOut();
}

void HistoryWindow::onMinMaxInfo(MINMAXINFO& info) const {
  // Never narrower than the row of buttons, which a longer language widens.
  const int width = std::max(MulDiv(kMinimumWidth, dpi_, 96), view_.layout().leastWidth);
  const SIZE least = frameFor(width, MulDiv(kMinimumHeight, dpi_, 96));
  info.ptMinTrackSize = {least.cx, least.cy};
}

void HistoryWindow::keepPlace() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(hwnd_, &placement)) return;
  // The normal position, also when the window is maximised or minimised, as the user left it.
  const RECT& normal = placement.rcNormalPosition;
  HistoryWindowPlace place;
  place.left = normal.left;
  place.top = normal.top;
  place.width = normal.right - normal.left;
  place.height = normal.bottom - normal.top;
  place.dpi = dpi_;
  place.range = view_.range();
  source_.keepPlace(place);
}

void HistoryWindow::onDestroyed() {
  KillTimer(hwnd_, kRefreshTimer);
  // Everything the window took goes back: the minutes, columns and growers, and the font.
  view_ = HistoryView();
  font_.reset();
  smallIcon_.reset();
  largeIcon_.reset();
  trackingLeave_ = false;
}

void HistoryWindow::onLanguageChanged() {
  SetWindowTextW(hwnd_, trWide(TextId::HistoryWindowTitle).c_str());
  layOut();
}

LRESULT HistoryWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == languageChangedMessage() && message != 0) {
    onLanguageChanged();
    return 0;
  }
  switch (message) {
    case WM_PAINT: onPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: layOut(); return 0;
    case WM_KEYDOWN: onKeyDown(wParam); return 0;
    case WM_MOUSEMOVE: onMouseMove(lParam); return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (view_.leave()) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN: carryOut(view_.click({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})); return 0;
    case WM_TIMER:
      if (wParam == kRefreshTimer) refresh();
      return 0;
    case WM_DPICHANGED: onDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_GETMINMAXINFO: onMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_.get());
    case WM_CLOSE: close(); return 0;
    case WM_NCDESTROY: onDestroyed(); break;
    default: break;
  }
  return defaultProc(message, wParam, lParam);
}

}  // namespace kelvane
