#include "history/history_layout.h"

#include <algorithm>

#include "common/language.h"

namespace kelvane {

namespace {

// Design sizes at 96 DPI.
constexpr int kMargin = 8;
constexpr int kButtonHeight = 24;
constexpr int kRangeButtonWidth = 64;
constexpr int kButtonGap = 4;
constexpr int kButtonEdge = 3;  // the frame and the pushed offset on each side of a button's text
constexpr int kExportButtonWidth = 96;
constexpr int kLoadAxisWidth = 36;
constexpr int kTimeAxisHeight = 36;
constexpr int kGrowersWidth = 220;
constexpr int kLeastPlotWidth = 320;
constexpr int kLeastPlotHeight = 160;
constexpr int kLineHeight = 16;
constexpr int kLineGap = 4;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 360;

}  // namespace

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

std::string rangeText(HistoryRange range) {
  switch (range) {
    case HistoryRange::Hour: return tr(TextId::HistoryRangeHour);
    case HistoryRange::Day: return tr(TextId::HistoryRangeDay);
    case HistoryRange::Week: return tr(TextId::HistoryRangeWeek);
    case HistoryRange::Month: return tr(TextId::HistoryRangeMonth);
  }
  return {};
}

int widthWithSpare(int textWidth) { return textWidth + (textWidth + 8) / 9; }

ViewPoint defaultHistoryClientSize(int dpi) {
  return {scaleToDpi(kDefaultWidth, dpi), scaleToDpi(kDefaultHeight, dpi)};
}

ViewPoint leastPlotWithGrowers(int dpi) {
  return {scaleToDpi(kLeastPlotWidth, dpi), scaleToDpi(kLeastPlotHeight, dpi)};
}

HistoryLayout layoutHistoryWindow(int clientWidth, int clientHeight, int dpi, const HistoryTextWidths& texts) {
  HistoryLayout layout;
  layout.client = {0, 0, std::max(0, clientWidth), std::max(0, clientHeight)};
  layout.dpi = dpi;
  const int margin = scaleToDpi(kMargin, dpi);
  const int buttonHeight = scaleToDpi(kButtonHeight, dpi);
  const auto buttonWidth = [&](int design, int textWidth) {
    return std::max(scaleToDpi(design, dpi), widthWithSpare(textWidth) + 2 * scaleToDpi(kButtonEdge, dpi));
  };
  int x = margin;
  for (std::size_t i = 0; i < kHistoryRangeCount; ++i) {
    ViewRect& box = layout.rangeButtons[i];
    box = {x, margin, x + buttonWidth(kRangeButtonWidth, texts.ranges[i]), margin + buttonHeight};
    x = box.right + scaleToDpi(kButtonGap, dpi);
  }
  const int exportWidth = buttonWidth(kExportButtonWidth, texts.exportButton);
  const int exportLeft = std::max(x, clientWidth - margin - exportWidth);
  layout.exportButton = {exportLeft, margin, exportLeft + exportWidth, margin + buttonHeight};
  layout.leastWidth = x + exportWidth + margin;

  const int top = margin + buttonHeight + margin;
  int bottom = std::max(top, clientHeight - margin);
  const int plotLeft = margin + scaleToDpi(kLoadAxisWidth, dpi);
  const int timeAxisHeight = scaleToDpi(kTimeAxisHeight, dpi);
  int plotRight = clientWidth - margin;
  // The list goes beside the plot while the plot keeps its least size; a wider heading (a longer
  // language) widens the list, and the window has to be as much larger to show it.
  const int growersWidth = std::max(scaleToDpi(kGrowersWidth, dpi), widthWithSpare(texts.growersHeading));
  const int plotRightWithGrowers = clientWidth - margin - growersWidth - margin;
  const ViewPoint least = leastPlotWithGrowers(dpi);
  if (plotRightWithGrowers - plotLeft >= least.x && bottom - timeAxisHeight - top >= least.y) {
    layout.growers = {plotRightWithGrowers + margin, top, clientWidth - margin, bottom};
    plotRight = plotRightWithGrowers;
  } else {
    // The list gives way to a line that says why it is not shown.
    const int lineHeight = texts.lineHeight > 0 ? texts.lineHeight : scaleToDpi(kLineHeight, dpi);
    layout.tooSmall = {margin, std::max(top, bottom - lineHeight), std::max(margin, clientWidth - margin), bottom};
    bottom = std::max(top, layout.tooSmall.top - scaleToDpi(kLineGap, dpi));
  }
  const int plotBottom = std::max(top, bottom - timeAxisHeight);
  layout.graph = {plotLeft, top, std::max(plotLeft, plotRight), plotBottom};
  layout.loadAxis = {margin, top, plotLeft, plotBottom};
  layout.timeAxis = {plotLeft, plotBottom, layout.graph.right, bottom};
  return layout;
}

}  // namespace kelvane
