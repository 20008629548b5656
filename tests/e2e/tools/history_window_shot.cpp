// Opens the memory history window on a month of made-up history, for screenshots of it:
//   history_window_shot RANGE [MINUTES_AGO]
// RANGE is 0-3 (1 hour to 30 days); with MINUTES_AGO the pointer rests on the minute that many
// before the newest. The
// window opens at (16, 16); once it is painted the tool prints "window: LEFT TOP RIGHT BOTTOM"
// and stays until the window is closed or 20 seconds have passed. KELVANE_SHOT_LANGUAGE=en-US
// shows it in English; KELVANE_SHOT_SIZE=WIDTHxHEIGHT opens it at that outer size.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/language.h"
#include "common/text_win.h"
#include "history/history_window_win.h"
#include "synthetic_history_win.h"

using namespace kelvane;

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: history_window_shot RANGE [MINUTES_AGO]\n");
    return 2;
  }
  if (const wchar_t* tag = _wgetenv(L"KELVANE_SHOT_LANGUAGE"); tag && sameLanguageTag(toUtf8(tag), kEnglishTag))
    speak(Language::english());
  testing::SyntheticHistory source;
  source.kept.range = historyRangeOf(_wtoi(argv[1]));
  source.kept.left = 16;
  source.kept.top = 16;
  if (const wchar_t* size = _wgetenv(L"KELVANE_SHOT_SIZE"))
    std::swscanf(size, L"%dx%d", &source.kept.width, &source.kept.height);
  HistoryWindow window(source, nullptr);
  window.show();
  if (argc > 2) {
    // The moment's column, from the range's span and the plot's width.
    const HistoryView& view = window.view();
    const std::int64_t moment = minuteStartOf(utcSecondsNow()) - 60 * static_cast<std::int64_t>(_wtoi(argv[2]));
    const std::size_t column = columnOf(moment, view.from(), view.to(), static_cast<std::size_t>(view.layout().graph.width()));
    const int x = view.layout().graph.left + static_cast<int>(column);
    SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, view.layout().graph.top + 40));
  }
  UpdateWindow(window.hwnd());
  RECT frame{};
  GetWindowRect(window.hwnd(), &frame);
  std::printf("window: %ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom);
  std::fflush(stdout);
  SetTimer(nullptr, 0, 20'000, nullptr);
  MSG message;
  while (window.isOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
