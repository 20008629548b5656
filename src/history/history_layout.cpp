#include "history/history_layout.h"

#include <algorithm>

namespace kelvane {

namespace {

// Design sizes at 96 DPI.
constexpr int kMargin = 8;
constexpr int kButtonHeight = 24;
constexpr int kRangeButtonWidth = 64;
constexpr int kButtonGap = 4;
constexpr int kExportButtonWidth = 96;
constexpr int kLoadAxisWidth = 36;
constexpr int kTimeAxisHeight = 36;
constexpr int kGrowersWidth = 220;
constexpr int kNarrowestWithGrowers = 520;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 360;

}  // namespace

int scaledForDpi(int value, int dpi) { return (value * dpi + 48) / 96; }

HistoryRange historyRangeOf(int stored) {
  return stored >= 0 && stored < static_cast<int>(kHistoryRangeCount) ? static_cast<HistoryRange>(stored)
                                                                       : HistoryRange::Day;
}

std::int64_t rangeSeconds(HistoryRange range) {
  switch (range) {
    case HistoryRange::Hour: return 3600;
    case HistoryRange::Day: return 86400;
    case HistoryRange::Week: return 7 * 86400;
    case HistoryRange::Month: return 30 * 86400;
  }
  return 86400;
}

const char* rangeText(HistoryRange range) {
  switch (range) {
    case HistoryRange::Hour: return "1 小时";
    case HistoryRange::Day: return "24 小时";
    case HistoryRange::Week: return "7 天";
    case HistoryRange::Month: return "30 天";
  }
  return "";
}

ViewPoint defaultHistoryClientSize(int dpi) {
  return {scaledForDpi(kDefaultWidth, dpi), scaledForDpi(kDefaultHeight, dpi)};
}

HistoryLayout layoutHistoryWindow(int clientWidth, int clientHeight, int dpi) {
  HistoryLayout layout;
  layout.client = {0, 0, std::max(0, clientWidth), std::max(0, clientHeight)};
  layout.dpi = dpi;
  const int margin = scaledForDpi(kMargin, dpi);
  const int buttonHeight = scaledForDpi(kButtonHeight, dpi);
  int x = margin;
  for (ViewRect& box : layout.rangeButtons) {
    box = {x, margin, x + scaledForDpi(kRangeButtonWidth, dpi), margin + buttonHeight};
    x = box.right + scaledForDpi(kButtonGap, dpi);
  }
  const int exportLeft = std::max(x, clientWidth - margin - scaledForDpi(kExportButtonWidth, dpi));
  layout.exportButton = {exportLeft, margin, exportLeft + scaledForDpi(kExportButtonWidth, dpi), margin + buttonHeight};

  const int top = margin + buttonHeight + margin;
  const int bottom = std::max(top, clientHeight - margin);
  int plotRight = clientWidth - margin;
  if (clientWidth >= scaledForDpi(kNarrowestWithGrowers, dpi)) {
    layout.growers = {clientWidth - margin - scaledForDpi(kGrowersWidth, dpi), top, clientWidth - margin, bottom};
    plotRight = layout.growers.left - margin;
  }
  const int plotLeft = margin + scaledForDpi(kLoadAxisWidth, dpi);
  const int plotBottom = std::max(top, bottom - scaledForDpi(kTimeAxisHeight, dpi));
  layout.graph = {plotLeft, top, std::max(plotLeft, plotRight), plotBottom};
  layout.loadAxis = {margin, top, plotLeft, plotBottom};
  layout.timeAxis = {plotLeft, plotBottom, layout.graph.right, bottom};
  return layout;
}

}  // namespace kelvane
