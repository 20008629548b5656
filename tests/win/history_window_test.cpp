// The history window on a real desktop: where it opens, what its keys and pointer do, what it
// paints, and that closing it keeps its place and gives back what it held.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "../e2e/tools/synthetic_history_win.h"
#include "common/text_win.h"
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
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(window.hwnd(), WM_KEYDOWN, 'C', 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  const std::string copied = clipboardText();
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
