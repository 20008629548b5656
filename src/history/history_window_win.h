#pragma once
// The window "Kelvane 内存历史": resizable and minimisable, with a taskbar button and the
// program's icon of its own, drawn from HistoryView's plan with GDI into a bitmap per paint. The object lives as long as its owner; the window is made when
// shown and, when closed, gives back its data, font, icons and timer, keeping only the object
// itself.

#include <windows.h>

#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/window_win.h"
#include "history/history_view.h"
#include "history/history_window_source.h"

namespace kelvane {

inline constexpr const wchar_t* kHistoryWindowClassName = L"TFrmKelvaneHistory";

class HistoryWindow : public WindowBase<HistoryWindow> {
 public:
  HistoryWindow(HistoryWindowSource& source, HWND owner) : source_(source), owner_(owner) {}
  ~HistoryWindow();
  HistoryWindow(const HistoryWindow&) = delete;
  HistoryWindow& operator=(const HistoryWindow&) = delete;

  // Opens the window where it was last, or brings the open one to the front with what is held
  // now.
  void show();
  bool isOpen() const { return hwnd_ != nullptr; }
  // Closes it as Escape does, the place kept first; the owner calls it before the program ends
  // (destroying the object alone closes the window without keeping its place).
  void close();
  // The shown range (for tests and the command line): as the keys 1-4 choose it.
  void chooseRange(HistoryRange range);
  const HistoryView& view() const { return view_; }

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void create();
  void refresh();
  void layOut();
  void carryOut(const HistoryCommand& command);
  void copyMoment();
  void exportCsv();
  std::vector<std::string> momentText() const;
  void onPaint();
  void onMouseMove(LPARAM lParam);
  void onKeyDown(WPARAM key);
  void setIcons();
  void onDpiChanged(WPARAM wParam, const RECT& suggested);
  void onMinMaxInfo(MINMAXINFO& info) const;
  void keepPlace();
  void onDestroyed();
  // The program speaks another language: the title, the buttons' room and the texts drawn.
  void onLanguageChanged();

  HistoryWindowSource& source_;
  HWND owner_;
  HistoryView view_;
  UniqueFont font_;
  UniqueIcon smallIcon_, largeIcon_;
  int dpi_ = 96;
  bool trackingLeave_ = false;
};

}  // namespace kelvane
