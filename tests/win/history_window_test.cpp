// The history window on a real desktop: where it opens, what its keys and pointer do, what it
// paints, and that closing it keeps its place and gives back what it held.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "../e2e/tools/synthetic_history_win.h"
#include "common/clock_win.h"
#include "common/language.h"
#include "common/text_win.h"
#include "history/history_export_win.h"
#include "history/history_window_win.h"

using namespace kelvane;
using kelvane::testing::SyntheticHistory;

namespace {

void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

COLORREF pixelAt(HWND window, int x, int y) {
  const HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

std::string clipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = toUtf8(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// What Ctrl+C in the window puts on the clipboard.
std::string copiedWithCtrlC(HWND window) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(window, WM_KEYDOWN, 'C', 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  return clipboardText();
}

}  // namespace

TEST(HistoryWindow, OpensWithItsRangeAnswersKeysPaintsAndGivesBackWhatItHeldWhenClosed) {
  SyntheticHistory source;
  source.kept.range = HistoryRange::Hour;
  HistoryWindow window(source, nullptr);
  const long fonts = UniqueFont::liveCount();
  const long bitmaps = UniqueBitmap::liveCount();
  const long canvases = UniqueMemoryDc::liveCount();
  window.show();
  ASSERT_TRUE(window.isOpen());
  EXPECT_EQ(UniqueFont::liveCount(), fonts + 1);
  EXPECT_EQ(FindWindowW(kHistoryWindowClassName, L"Kelvane 内存历史"), window.hwnd());
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT client{};
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, defaultHistoryClientSize(dpi).x);
  EXPECT_EQ(client.bottom, defaultHistoryClientSize(dpi).y);
  EXPECT_EQ(window.view().range(), HistoryRange::Hour);
  EXPECT_EQ(window.view().growers().size(), 3u);

  // Painted: the red threshold runs through the sleep's gap (minutes 25-40 ago) in the
  // picture's colour, with the plot's background right above it.
  pumpMessages();
  SendMessageW(window.hwnd(), WM_MOUSELEAVE, 0, 0);  // the desktop's pointer may rest on it
  RedrawWindow(window.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const HistoryLayout& layout = window.view().layout();
  const HistoryLook look;
  const int gapX = layout.graph.left + layout.graph.width() * 28 / 60;
  const int redY = layout.graph.bottom - 1 - (look.redPercent * 10 * (layout.graph.height() - 1) + 500) / 1000;
  ASSERT_FALSE(window.view().pointedMoment());
  // (Two neighbouring columns: one of them may carry a line of the time grid, which moves with
  // the clock; the threshold is drawn over it.)
  EXPECT_EQ(pixelAt(window.hwnd(), gapX, redY), look.red);
  EXPECT_EQ(pixelAt(window.hwnd(), gapX + 1, redY), look.red);
  EXPECT_TRUE(pixelAt(window.hwnd(), gapX, redY - 3) == look.window ||
              pixelAt(window.hwnd(), gapX + 1, redY - 3) == look.window);

  // The pointer on the alert of twelve minutes ago points at its moment.
  const HistoryView& view = window.view();
  const auto& events = source.held.events;
  const HistoryEvent& alert = *std::find_if(events.begin(), events.end(), [&](const HistoryEvent& e) {
    return e.kind == HistoryEventKind::Alert && e.time >= view.from();
  });
  const int alertX = layout.graph.left +
                     static_cast<int>(columnOf(alert.time, view.from(), view.to(), layout.graph.width()));
  SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(alertX, layout.graph.top + 20));
  ASSERT_TRUE(window.view().pointedMoment());
  SendMessageW(window.hwnd(), WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(window.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(window.view().pointedMoment()->column.recorded, true);

  // Ctrl+C puts the moment's text on the clipboard, the alert's processes with it.
  const std::string copied = copiedWithCtrlC(window.hwnd());
  EXPECT_NE(copied.find("警报: 负载 93%\r\n    leaky.exe  1.86 GB\r\n"), std::string::npos) << copied;

  // 4 chooses 30 days and the range is kept at once.
  SendMessageW(window.hwnd(), WM_KEYDOWN, '4', 0);
  EXPECT_EQ(window.view().range(), HistoryRange::Month);
  EXPECT_EQ(source.kept.range, HistoryRange::Month);
  MoveWindow(window.hwnd(), 40, 50, 700, 420, TRUE);

  // Escape closes: the place is kept, and nothing of the history stays.
  SendMessageW(window.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(window.isOpen());
  EXPECT_EQ(FindWindowW(kHistoryWindowClassName, nullptr), nullptr);
  EXPECT_EQ(source.kept.left, 40);
  EXPECT_EQ(source.kept.top, 50);
  EXPECT_EQ(source.kept.width, 700);
  EXPECT_EQ(source.kept.height, 420);
  EXPECT_TRUE(window.view().growers().empty());
  EXPECT_FALSE(window.view().pointedMoment());
  EXPECT_EQ(UniqueFont::liveCount(), fonts);
  EXPECT_EQ(UniqueBitmap::liveCount(), bitmaps);  // the paints' off-screen pictures
  EXPECT_EQ(UniqueMemoryDc::liveCount(), canvases);

  // Shown again, it opens where it was, with the range it had.
  window.show();
  RECT frame{};
  GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(frame.left, 40);
  EXPECT_EQ(frame.right - frame.left, 700);
  EXPECT_EQ(window.view().range(), HistoryRange::Month);
  SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(window.isOpen());
}

namespace {

// Speaks a language for one test and Chinese again afterwards, also when the test fails.
struct Speaking {
  explicit Speaking(const Language& language) { speak(language); }
  ~Speaking() { speak(Language::simplifiedChinese()); }
};

// Points the mouse at the column of `time` and copies that moment's text.
std::string copiedMomentAt(const HistoryWindow& window, std::int64_t time) {
  const HistoryView& view = window.view();
  const ViewRect& graph = view.layout().graph;
  const int x = graph.left + static_cast<int>(columnOf(time, view.from(), view.to(), graph.width()));
  SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, graph.top + 20));
  return copiedWithCtrlC(window.hwnd());
}

}  // namespace

// Both built-in languages at 96 and 144 DPI: measured with DrawText in the window's own font,
// the buttons' and the list heading's texts keep a tenth of their room spare (the fonts under
// Wine are stand-ins), every other text of the picture, the pointed moment's included, fits its
// box inside the window; and a copied moment tells an alert's processes and a release's freed
// memory in English.
TEST(HistoryWindow, EveryTextFitsInBothLanguagesAtBothDpisAndMomentsAreToldInEnglish) {
  for (const Language* language : {&Language::simplifiedChinese(), &Language::english()}) {
    const Speaking speaking(*language);
    SyntheticHistory source;
    source.kept.range = HistoryRange::Hour;
    HistoryWindow window(source, nullptr);
    window.show();
    EXPECT_EQ(FindWindowW(kHistoryWindowClassName, trWide(TextId::HistoryWindowTitle).c_str()), window.hwnd());
    const auto& events = source.held.events;
    const HistoryEvent& alert = events[events.size() - 2];
    ASSERT_EQ(alert.kind, HistoryEventKind::Alert);

    for (const int dpi : {96, 144}) {
      SCOPED_TRACE(language->tag() + " at " + std::to_string(dpi) + " DPI");
      const ViewPoint client = defaultHistoryClientSize(dpi);
      RECT frame{0, 0, client.x, client.y};
      AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
      SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
      const HistoryLayout& layout = window.view().layout();
      ASSERT_EQ(layout.dpi, dpi);
      const HDC dc = GetDC(window.hwnd());
      const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window.hwnd(), WM_GETFONT, 0, 0)));
      const TextSize measure = [&](const std::string& text) {
        const std::wstring words = toWide(text);
        RECT box{0, 0, 0, 0};
        DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        return ViewPoint{box.right - box.left, box.bottom - box.top};
      };
      const auto fitsWithSpare = [&](const std::string& text, int room) { return measure(text).x * 10 <= room * 9; };
      const int edges = 2 * scaleToDpi(3, dpi);
      for (std::size_t i = 0; i < kHistoryRangeCount; ++i)
        EXPECT_TRUE(fitsWithSpare(rangeText(static_cast<HistoryRange>(i)), layout.rangeButtons[i].width() - edges)) << i;
      EXPECT_TRUE(fitsWithSpare(tr(TextId::HistoryExportCsv), layout.exportButton.width() - edges));
      EXPECT_LT(layout.rangeButtons.back().right, layout.exportButton.left);
      EXPECT_LE(layout.exportButton.right, layout.client.right);
      ASSERT_GT(layout.growers.width(), 0);
      for (const HistoryRange range : {HistoryRange::Hour, HistoryRange::Month})
        EXPECT_TRUE(fitsWithSpare(growersHeading(range), layout.growers.width())) << growersHeading(range);

      // The picture as the window paints it, with the alert's moment pointed at.
      copiedMomentAt(window, alert.time);
      const auto moment = window.view().pointedMoment();
      ASSERT_TRUE(moment);
      std::vector<std::string> growerLines;
      for (const Grower& grower : window.view().growers()) growerLines.push_back(growerLine(grower, NumberFormat()));
      const std::vector<std::string> momentText =
          momentLines(*moment, userMomentText(moment->from, moment->to), NumberFormat());
      for (const DrawStep& step :
           window.view().picture(HistoryLook(), systemLocalTimeOf(), momentText, growerLines, measure)) {
        if (step.kind != DrawStep::Kind::Text) continue;
        EXPECT_LE(measure(step.text).x, step.rect.width()) << step.text;
        EXPECT_TRUE(step.rect.left >= 0 && step.rect.right <= layout.client.right) << step.text;
      }
      SelectObject(dc, oldFont);
      ReleaseDC(window.hwnd(), dc);
    }
    if (language != &Language::english()) continue;
    const std::string alertText = copiedMomentAt(window, alert.time);
    EXPECT_NE(alertText.find("\r\nHigh memory load: 93%\r\n    leaky.exe  1.86 GB\r\n    explorer.exe  150 MB\r\n"
                             "    editor.exe  41 MB\r\n    services.exe  20 MB\r\n    svchost.exe  12 MB\r\n"),
              std::string::npos)
        << alertText;
    const std::string releaseText = copiedMomentAt(window, events.back().time);
    EXPECT_NE(releaseText.find("\r\nMemory release (menu): 900 MB released\r\n"), std::string::npos) << releaseText;
  }
}

namespace {

int iconWidth(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

}  // namespace

// The window carries the program's icon in both sizes for its DPI, a taskbar button and a
// minimise box; the icons follow a change of DPI and go with the window.
TEST(HistoryWindow, HasTheProgramsIconsForItsDpiATaskbarButtonAndAMinimiseBox) {
  SyntheticHistory source;
  HistoryWindow window(source, nullptr);
  const long icons = UniqueIcon::liveCount();
  window.show();
  ASSERT_TRUE(window.isOpen());
  const HWND hwnd = window.hwnd();
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_MINIMIZEBOX);
  const auto small = [&] { return reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)); };
  const auto large = [&] { return reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)); };
  ASSERT_NE(small(), nullptr);
  ASSERT_NE(large(), nullptr);
  EXPECT_EQ(iconWidth(small()), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(iconWidth(large()), GetSystemMetrics(SM_CXICON));

  // At 144 DPI: 24 and 48 pixels, as the system sizes them there.
  RECT frame{100, 100, 1060, 700};
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&frame));
  EXPECT_EQ(iconWidth(small()), 24);
  EXPECT_EQ(iconWidth(large()), 48);
  EXPECT_EQ(UniqueIcon::liveCount(), icons + 2);
  window.close();
  EXPECT_EQ(UniqueIcon::liveCount(), icons);
}

// A size kept at 144 DPI opens at this screen's DPI by their ratio, and is kept again with the
// DPI it was shown at.
TEST(HistoryWindow, OpensAtItsKeptSizeScaledFromTheDpiItWasKeptAt) {
  SyntheticHistory source;
  source.kept.left = 30;
  source.kept.top = 40;
  source.kept.width = 720;
  source.kept.height = 480;
  source.kept.dpi = 144;
  HistoryWindow window(source, nullptr);
  window.show();
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  RECT frame{};
  GetWindowRect(window.hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, MulDiv(720, dpi, 144));
  EXPECT_EQ(frame.bottom - frame.top, MulDiv(480, dpi, 144));
  window.close();
  EXPECT_EQ(source.kept.dpi, dpi);
  EXPECT_EQ(source.kept.width, MulDiv(720, dpi, 144));
}
