#include "history/history_view.h"

#include <algorithm>

#include "memory/memory_status.h"

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
constexpr int kMarkSize = 5;
constexpr int kGrowersWidth = 220;
constexpr int kNarrowestWithGrowers = 520;
constexpr int kMomentPadding = 4;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 360;
constexpr std::uint64_t kOneMegabyte = 1 << 20;

int scaled(int value, int dpi) { return (value * dpi + 48) / 96; }

std::uint32_t blend(std::uint32_t colour, std::uint32_t background, int percent) {
  std::uint32_t result = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((colour >> shift) & 0xFF);
    const int b = static_cast<int>((background >> shift) & 0xFF);
    result |= static_cast<std::uint32_t>((a * percent + b * (100 - percent) + 50) / 100) << shift;
  }
  return result;
}

std::uint32_t levelColour(const HistoryLook& look, int load) {
  if (load >= look.redPercent) return look.red;
  if (load >= look.yellowPercent) return look.yellow;
  return look.green;
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

DrawStep fill(const ViewRect& rect, std::uint32_t colour) {
  DrawStep step;
  step.rect = rect;
  step.color = colour;
  return step;
}

DrawStep line(ViewPoint from, ViewPoint to, std::uint32_t colour, int width) {
  DrawStep step;
  step.kind = DrawStep::Kind::Line;
  step.from = from;
  step.to = to;
  step.color = colour;
  step.width = width;
  return step;
}

DrawStep text(const ViewRect& rect, std::string words, std::uint32_t colour, DrawStep::Align align) {
  DrawStep step;
  step.kind = DrawStep::Kind::Text;
  step.rect = rect;
  step.text = std::move(words);
  step.color = colour;
  step.align = align;
  return step;
}

DrawStep button(const ViewRect& rect, std::string words, bool pressed, std::uint32_t colour) {
  DrawStep step;
  step.kind = DrawStep::Kind::Button;
  step.rect = rect;
  step.text = std::move(words);
  step.pressed = pressed;
  step.color = colour;
  return step;
}

DrawStep triangle(ViewPoint a, ViewPoint b, ViewPoint c, std::uint32_t colour) {
  DrawStep step;
  step.kind = DrawStep::Kind::Triangle;
  step.corners = {a, b, c};
  step.color = colour;
  return step;
}

// The y of a load in tenths of a percent inside the plot.
int loadY(const ViewRect& graph, int load10) {
  return graph.bottom - 1 - (load10 * (graph.height() - 1) + 500) / 1000;
}

std::string twoDigits(std::int64_t value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

// The time labels' step (in local seconds) and whether they name days.
std::int64_t labelStep(HistoryRange range, bool& days) {
  days = range == HistoryRange::Week || range == HistoryRange::Month;
  switch (range) {
    case HistoryRange::Hour: return 10 * 60;
    case HistoryRange::Day: return 3 * 3600;
    case HistoryRange::Week: return 86400;
    case HistoryRange::Month: return 5 * 86400;
  }
  return 3600;
}

// "18:20", or "12/7" for a day.
std::string labelText(std::int64_t local, bool days) {
  if (!days) {
    const std::int64_t inDay = ((local % 86400) + 86400) % 86400;
    return twoDigits(inDay / 3600) + ":" + twoDigits(inDay / 60 % 60);
  }
  const std::string date = csvDateTime(local);  // "YYYY-MM-DD ..."
  return std::to_string(std::stoi(date.substr(5, 2))) + "/" + std::to_string(std::stoi(date.substr(8, 2)));
}

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
  return {scaled(kDefaultWidth, dpi), scaled(kDefaultHeight, dpi)};
}

HistoryLayout layoutHistoryWindow(int clientWidth, int clientHeight, int dpi) {
  HistoryLayout layout;
  layout.client = {0, 0, std::max(0, clientWidth), std::max(0, clientHeight)};
  layout.dpi = dpi;
  const int margin = scaled(kMargin, dpi);
  const int buttonHeight = scaled(kButtonHeight, dpi);
  int x = margin;
  for (ViewRect& box : layout.rangeButtons) {
    box = {x, margin, x + scaled(kRangeButtonWidth, dpi), margin + buttonHeight};
    x = box.right + scaled(kButtonGap, dpi);
  }
  const int exportLeft = std::max(x, clientWidth - margin - scaled(kExportButtonWidth, dpi));
  layout.exportButton = {exportLeft, margin, exportLeft + scaled(kExportButtonWidth, dpi), margin + buttonHeight};

  const int top = margin + buttonHeight + margin;
  const int bottom = std::max(top, clientHeight - margin);
  int plotRight = clientWidth - margin;
  if (clientWidth >= scaled(kNarrowestWithGrowers, dpi)) {
    layout.growers = {clientWidth - margin - scaled(kGrowersWidth, dpi), top, clientWidth - margin, bottom};
    plotRight = layout.growers.left - margin;
  }
  const int plotLeft = margin + scaled(kLoadAxisWidth, dpi);
  const int plotBottom = std::max(top, bottom - scaled(kTimeAxisHeight, dpi));
  layout.graph = {plotLeft, top, std::max(plotLeft, plotRight), plotBottom};
  layout.loadAxis = {margin, top, plotLeft, plotBottom};
  layout.timeAxis = {plotLeft, plotBottom, layout.graph.right, bottom};
  return layout;
}

std::vector<std::string> momentLines(const HistoryMoment& moment, const std::string& timeText,
                                     const NumberFormat& format) {
  std::vector<std::string> lines = {timeText};
  if (!moment.column.recorded) {
    lines.emplace_back("没有记录");
  } else {
    lines.push_back("负载: 最低 " + std::to_string(moment.column.minLoad) + "%, 平均 " +
                    formatFixed(moment.column.mean10 / 10.0, 1, format, false) + "%, 最高 " +
                    std::to_string(moment.column.maxLoad) + "%");
    lines.push_back("已用物理内存: " +
                    SizeText(static_cast<std::int64_t>(moment.column.maxUsedPhys), format));
  }
  for (const HistoryEvent& event : moment.events) {
    if (event.kind == HistoryEventKind::Alert) {
      lines.push_back("警报: 负载 " + std::to_string(event.load) + "%");
      for (const TopProcess& process : event.top)
        lines.push_back("    " + process.name + "  " + SizeText(static_cast<std::int64_t>(process.bytes), format));
    } else if (event.kind == HistoryEventKind::Release) {
      const std::uint64_t gain = event.availAfter > event.availBefore ? event.availAfter - event.availBefore : 0;
      lines.push_back(std::string("释放内存 (") + releaseSourceText(event.source) + "): " +
                      (gain < kOneMegabyte ? "没有可释放的内存"
                                           : "已释放 " + SizeText(static_cast<std::int64_t>(gain), format)));
    }
  }
  return lines;
}

std::string growerLine(const Grower& grower, const NumberFormat& format) {
  return "+" + SizeText(static_cast<std::int64_t>(grower.growth()), format) + "  " + fileNameOf(grower.path);
}

void HistoryView::choose(HistoryRange range, std::int64_t now) {
  // The same range a minute on keeps the pointed column; another range starts afresh.
  if (range != range_) pointed_.reset();
  range_ = range;
  to_ = minuteStartOf(now) + kMinuteSeconds;
  minutes_.clear();
  events_.clear();
  growers_.clear();
  reduce();
}

void HistoryView::setData(std::span<const MinuteRecord> minutes, std::span<const HistoryEvent> events,
                          std::vector<Grower> growers) {
  const std::int64_t from = this->from();
  minutes_.clear();
  for (const MinuteRecord& minute : minutes)
    if (minute.start + kMinuteSeconds > from && minute.start < to_) minutes_.push_back(minute);
  events_.clear();
  for (const HistoryEvent& event : events)
    if (event.time >= from && event.time < to_) events_.push_back(event);
  growers_ = std::move(growers);
  reduce();
}

void HistoryView::resize(int clientWidth, int clientHeight, int dpi) {
  layout_ = layoutHistoryWindow(clientWidth, clientHeight, dpi);
  reduce();
}

void HistoryView::reduce() {
  columns_ = graphColumns(minutes_, from(), to_, static_cast<std::size_t>(layout_.graph.width()));
  if (pointed_ && *pointed_ >= columns_.size()) pointed_.reset();
}

HistoryCommand HistoryView::click(ViewPoint at) {
  for (std::size_t i = 0; i < kHistoryRangeCount; ++i)
    if (layout_.rangeButtons[i].contains(at)) return {HistoryCommand::Kind::ChooseRange, static_cast<HistoryRange>(i)};
  if (layout_.exportButton.contains(at)) return {HistoryCommand::Kind::Export, range_};
  return {pointAt(at) ? HistoryCommand::Kind::Redraw : HistoryCommand::Kind::None, range_};
}

bool HistoryView::pointAt(ViewPoint at) {
  if (!layout_.graph.contains(at) || columns_.empty()) return false;
  const auto column = static_cast<std::size_t>(at.x - layout_.graph.left);
  if (pointed_ == column) return false;
  pointed_ = column;
  return true;
}

bool HistoryView::leave() {
  const bool pointed = pointed_.has_value();
  pointed_.reset();
  return pointed;
}

std::size_t HistoryView::recordedFrom(std::size_t column, int step) const {
  for (std::size_t c = column; c < columns_.size(); c = step > 0 ? c + 1 : c - 1)
    if (columns_[c].recorded) return c;
  return column;
}

HistoryCommand HistoryView::key(HistoryKey key) {
  using Kind = HistoryCommand::Kind;
  switch (key) {
    case HistoryKey::Digit1: return {Kind::ChooseRange, HistoryRange::Hour};
    case HistoryKey::Digit2: return {Kind::ChooseRange, HistoryRange::Day};
    case HistoryKey::Digit3: return {Kind::ChooseRange, HistoryRange::Week};
    case HistoryKey::Digit4: return {Kind::ChooseRange, HistoryRange::Month};
    case HistoryKey::Left:
    case HistoryKey::Right: {
      if (columns_.empty()) return {};
      if (!pointed_) {
        // The first press points at the newest moment recorded.
        pointed_ = recordedFrom(columns_.size() - 1, -1);
        return {Kind::Redraw, range_};
      }
      const bool left = key == HistoryKey::Left;
      if ((left && *pointed_ == 0) || (!left && *pointed_ + 1 == columns_.size())) return {};
      *pointed_ += left ? std::size_t(-1) : 1;
      return {Kind::Redraw, range_};
    }
    case HistoryKey::CopyKey: return {pointed_ ? Kind::Copy : Kind::None, range_};
    case HistoryKey::Escape: return {Kind::Close, range_};
    case HistoryKey::Other: break;
  }
  return {};
}

std::optional<HistoryMoment> HistoryView::pointedMoment() const {
  if (!pointed_) return std::nullopt;
  const std::size_t columns = columns_.size();
  const std::int64_t span = to_ - from();
  HistoryMoment moment;
  moment.from = from() + static_cast<std::int64_t>(*pointed_) * span / static_cast<std::int64_t>(columns);
  moment.to = from() + static_cast<std::int64_t>(*pointed_ + 1) * span / static_cast<std::int64_t>(columns);
  moment.column = columns_[*pointed_];
  for (const HistoryEvent& event : events_)
    if (columnOf(event.time, from(), to_, columns) == *pointed_ &&
        (event.kind == HistoryEventKind::Alert || event.kind == HistoryEventKind::Release))
      moment.events.push_back(event);
  return moment;
}

std::string HistoryView::csv(const LocalTimeOf& localTimeOf) const {
  return historyCsv(minutes_, events_, from(), to_, localTimeOf);
}

std::vector<DrawStep> HistoryView::picture(const HistoryLook& look, const LocalTimeOf& localTimeOf,
                                           const std::vector<std::string>& momentText,
                                           const std::vector<std::string>& growerLines,
                                           const TextSize& textSize) const {
  using Align = DrawStep::Align;
  const ViewRect& graph = layout_.graph;
  const int dpi = layout_.dpi;
  const int thin = std::max(1, dpi / 96);
  const int lineHeight = textSize("国").y;
  std::vector<DrawStep> plan;
  plan.push_back(fill(layout_.client, look.face));
  for (std::size_t i = 0; i < kHistoryRangeCount; ++i)
    plan.push_back(button(layout_.rangeButtons[i], rangeText(static_cast<HistoryRange>(i)),
                          static_cast<std::size_t>(range_) == i, look.windowText));
  plan.push_back(button(layout_.exportButton, kExportCsvText, false, look.windowText));
  if (graph.width() <= 0 || graph.height() <= 0) return plan;
  plan.push_back(fill(graph, look.window));

  // The load's grid and its labels.
  for (int load = 0; load <= 100; load += 25) {
    const int y = loadY(graph, load * 10);
    if (load > 0 && load < 100) plan.push_back(line({graph.left, y}, {graph.right - 1, y}, look.grid, thin));
    plan.push_back(text({layout_.loadAxis.left, y - lineHeight / 2, layout_.loadAxis.right - scaled(4, dpi),
                         y - lineHeight / 2 + lineHeight},
                        std::to_string(load) + "%", look.windowText, Align::Right));
  }

  // The time's grid and labels, at whole local hours or days.
  bool days = false;
  const std::int64_t step = labelStep(range_, days);
  const std::int64_t offset = localTimeOf(from()) - from();
  const std::int64_t firstLocal = from() + offset;
  std::int64_t tick = (firstLocal / step + (firstLocal % step > 0 ? 1 : 0)) * step;
  if (days && range_ == HistoryRange::Month) tick = (firstLocal / 86400 + 1) * 86400;
  const auto columns = static_cast<std::size_t>(graph.width());
  int lastLabelRight = graph.left - 1;
  const int labelTop = layout_.timeAxis.top + scaled(2 * kMarkSize + 6, dpi);
  for (; tick - offset < to_; tick += step) {
    const std::size_t column = columnOf(tick - offset, from(), to_, columns);
    if (column >= columns) continue;
    const int x = graph.left + static_cast<int>(column);
    plan.push_back(line({x, graph.top}, {x, graph.bottom - 1}, look.grid, thin));
    std::string label = labelText(tick, days);
    const int width = textSize(label).x;
    const int left = std::max(graph.left, x - width / 2);
    if (left <= lastLabelRight + scaled(4, dpi) || left + width > graph.right) continue;
    plan.push_back(text({left, labelTop, left + width, labelTop + lineHeight}, std::move(label),
                        look.windowText, Align::Left));
    lastLabelRight = left + width;
  }

  // Per column the band from least to greatest, then the mean as a line broken by the gaps.
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const GraphColumn& column = columns_[c];
    if (!column.recorded) continue;
    const int x = graph.left + static_cast<int>(c);
    plan.push_back(fill({x, loadY(graph, column.maxLoad * 10), x + 1, loadY(graph, column.minLoad * 10) + 1},
                        blend(levelColour(look, column.maxLoad), look.window, 35)));
  }
  for (const int percent : {look.yellowPercent, look.redPercent}) {
    const int y = loadY(graph, std::clamp(percent, 0, 100) * 10);
    plan.push_back(line({graph.left, y}, {graph.right - 1, y}, percent == look.redPercent ? look.red : look.yellow, thin));
  }
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    const GraphColumn& column = columns_[c];
    if (!column.recorded) continue;
    const int x = graph.left + static_cast<int>(c);
    const ViewPoint here{x, loadY(graph, column.mean10)};
    const bool joined = c > 0 && columns_[c - 1].recorded;
    const ViewPoint before = joined ? ViewPoint{x - 1, loadY(graph, columns_[c - 1].mean10)} : here;
    plan.push_back(line(before, here, blend(levelColour(look, (column.mean10 + 5) / 10), 0, 70), 2 * thin));
  }

  // Alerts and releases on the time axis, each in a row of its own so that a release right
  // after an alert stays visible: alerts point up, releases down.
  const int mark = scaled(kMarkSize, dpi);
  for (const HistoryEvent& event : events_) {
    const std::size_t column = columnOf(event.time, from(), to_, columns);
    if (column >= columns) continue;
    const int x = graph.left + static_cast<int>(column);
    const int top = layout_.timeAxis.top + scaled(2, dpi);
    const int lower = top + mark + scaled(2, dpi);
    if (event.kind == HistoryEventKind::Alert)
      plan.push_back(triangle({x, top}, {x - mark, top + mark}, {x + mark, top + mark}, look.red));
    else if (event.kind == HistoryEventKind::Release)
      plan.push_back(triangle({x - mark, lower}, {x + mark, lower}, {x, lower + mark}, look.release));
  }

  // The pointed moment: a line through it and its text beside it.
  if (pointed_) {
    const int x = graph.left + static_cast<int>(*pointed_);
    plan.push_back(line({x, graph.top}, {x, graph.bottom - 1}, look.windowText, thin));
    if (!momentText.empty()) {
      const int padding = scaled(kMomentPadding, dpi);
      int width = 0;
      for (const std::string& words : momentText) width = std::max(width, textSize(words).x);
      width += 2 * padding;
      const int height = static_cast<int>(momentText.size()) * lineHeight + 2 * padding;
      int left = x + scaled(12, dpi);
      if (left + width > graph.right) left = std::max(graph.left, x - scaled(12, dpi) - width);
      const ViewRect box{left, graph.top + padding, left + width, graph.top + padding + height};
      plan.push_back(fill(box, look.windowText));
      plan.push_back(fill({box.left + thin, box.top + thin, box.right - thin, box.bottom - thin}, look.window));
      int y = box.top + padding;
      for (const std::string& words : momentText) {
        plan.push_back(text({box.left + padding, y, box.right - padding, y + lineHeight}, words, look.windowText, Align::Left));
        y += lineHeight;
      }
    }
  }

  // The growers beside the plot.
  const ViewRect& list = layout_.growers;
  if (list.width() > 0) {
    int y = list.top;
    std::string heading = kGrowersHeading;
    if (rangeSeconds(range_) > kSnapshotKeptSeconds) heading += " (最近 24 小时)";
    plan.push_back(text({list.left, y, list.right, y + lineHeight}, heading, look.windowText, Align::Left));
    y += lineHeight + scaled(4, dpi);
    if (growerLines.empty()) plan.push_back(text({list.left, y, list.right, y + lineHeight}, "没有增长的进程", look.windowText, Align::Left));
    for (const std::string& words : growerLines) {
      if (y + lineHeight > list.bottom) break;
      plan.push_back(text({list.left, y, list.right, y + lineHeight}, words, look.windowText, Align::Left));
      y += lineHeight;
    }
  }
  return plan;
}

}  // namespace kelvane
