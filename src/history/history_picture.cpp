#include "history/history_picture.h"

#include <algorithm>

#include "common/language.h"
#include "history/process_growth.h"

namespace kelvane {

namespace {

using Align = DrawStep::Align;

// Design sizes at 96 DPI; the time axis the layout gives holds two rows of marks above a line
// of labels.
constexpr int kMarkSize = 5;
constexpr int kMarkGap = 2;
constexpr int kMarkReach = 3;  // how far round a mark the pointer still finds it
constexpr int kLabelGap = 4;
constexpr int kMomentPadding = 4;
constexpr int kMomentOffset = 12;

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

// The y of a load in tenths of a percent inside the plot.
int loadY(const ViewRect& graph, int load10) {
  return graph.bottom - 1 - (load10 * (graph.height() - 1) + 500) / 1000;
}

std::string twoDigits(std::int64_t value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// The time labels' step in local seconds; whether they name days.
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
  const std::string date = csvDateTime(local);  // "YYYY-MM-DD hh:mm:ss"
  return std::to_string(std::stoi(date.substr(5, 2))) + "/" + std::to_string(std::stoi(date.substr(8, 2)));
}

class Painter {
 public:
  Painter(const HistoryScene& scene, const HistoryLook& look, const TextSize& textSize)
      : scene_(scene), look_(look), textSize_(textSize), graph_(scene.layout.graph),
        thin_(std::max(1, scene.layout.dpi / 96)), lineHeight_(textSize("国").y) {}

  std::vector<DrawStep> paint(const LocalTimeOf& localTimeOf) {
    buttons();
    if (graph_.width() > 0 && graph_.height() > 0) {
      fill(graph_, look_.window);
      loadGrid();
      timeGrid(localTimeOf);
      load();
      marks();
      moment();
    }
    growers();
    return std::move(plan_);
  }

 private:
  int scaled(int value) const { return scaleToDpi(value, scene_.layout.dpi); }
  int columnX(std::size_t column) const { return graph_.left + static_cast<int>(column); }

  void fill(const ViewRect& rect, std::uint32_t colour) {
    DrawStep& step = plan_.emplace_back();
    step.rect = rect;
    step.color = colour;
  }
  void line(ViewPoint from, ViewPoint to, std::uint32_t colour, int width) {
    DrawStep& step = plan_.emplace_back();
    step.kind = DrawStep::Kind::Line;
    step.from = from;
    step.to = to;
    step.color = colour;
    step.width = width;
  }
  void text(const ViewRect& rect, std::string words, Align align = Align::Left) {
    DrawStep& step = plan_.emplace_back();
    step.kind = DrawStep::Kind::Text;
    step.rect = rect;
    step.text = std::move(words);
    step.color = look_.windowText;
    step.align = align;
  }
  void button(const ViewRect& rect, std::string words, bool pressed) {
    DrawStep& step = plan_.emplace_back();
    step.kind = DrawStep::Kind::Button;
    step.rect = rect;
    step.text = std::move(words);
    step.pressed = pressed;
    step.color = look_.windowText;
  }
  void triangle(ViewPoint a, ViewPoint b, ViewPoint c, std::uint32_t colour) {
    DrawStep& step = plan_.emplace_back();
    step.kind = DrawStep::Kind::Triangle;
    step.corners = {a, b, c};
    step.color = colour;
  }

  void buttons() {
    const HistoryLayout& layout = scene_.layout;
    fill(layout.client, look_.face);
    for (std::size_t i = 0; i < kHistoryRangeCount; ++i)
      button(layout.rangeButtons[i], rangeText(static_cast<HistoryRange>(i)), static_cast<std::size_t>(scene_.range) == i);
    button(layout.exportButton, tr(TextId::HistoryExportCsv), false);
  }

  void loadGrid() {
    const ViewRect& axis = scene_.layout.loadAxis;
    for (int percent = 0; percent <= 100; percent += 25) {
      const int y = loadY(graph_, percent * 10);
      if (percent > 0 && percent < 100) line({graph_.left, y}, {graph_.right - 1, y}, look_.grid, thin_);
      const int top = y - lineHeight_ / 2;
      text({axis.left, top, axis.right - scaled(kLabelGap), top + lineHeight_}, std::to_string(percent) + "%",
           Align::Right);
    }
  }

  // Lines and labels at whole local hours or days; labels that would overlap are left out.
  void timeGrid(const LocalTimeOf& localTimeOf) {
    bool days = false;
    const std::int64_t step = labelStep(scene_.range, days);
    const std::int64_t offset = localTimeOf(scene_.from) - scene_.from;
    const std::int64_t firstLocal = scene_.from + offset;
    std::int64_t tick = scene_.range == HistoryRange::Month
                            ? (firstLocal / 86400 + 1) * 86400
                            : (firstLocal / step + (firstLocal % step > 0 ? 1 : 0)) * step;
    const auto columns = static_cast<std::size_t>(graph_.width());
    const int top = scene_.layout.timeAxis.top + scaled(2 * kMarkSize + 2 * kMarkGap + kLabelGap);
    int lastRight = graph_.left - 1;
    for (; tick - offset < scene_.to; tick += step) {
      const std::size_t column = columnOf(tick - offset, scene_.from, scene_.to, columns);
      if (column >= columns) continue;
      const int x = columnX(column);
      line({x, graph_.top}, {x, graph_.bottom - 1}, look_.grid, thin_);
      std::string label = labelText(tick, days);
      const int width = textSize_(label).x;
      const int left = std::max(graph_.left, x - width / 2);
      if (left <= lastRight + scaled(kLabelGap) || left + width > graph_.right) continue;
      text({left, top, left + width, top + lineHeight_}, std::move(label));
      lastRight = left + width;
    }
  }

  // Where nothing was recorded because the program had been ended, a shade; per recorded column
  // the band from least to greatest; the thresholds; the mean as a line broken by the gaps.
  void load() {
    const auto& columns = scene_.columns;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const int x = columnX(c);
      if (!columns[c].recorded) {
        if (c < scene_.stopped.size() && scene_.stopped[c]) fill({x, graph_.top, x + 1, graph_.bottom}, look_.face);
        continue;
      }
      fill({x, loadY(graph_, columns[c].maxLoad * 10), x + 1, loadY(graph_, columns[c].minLoad * 10) + 1},
           blend(levelColour(look_, columns[c].maxLoad), look_.window, 35));
    }
    for (const int percent : {look_.yellowPercent, look_.redPercent}) {
      const int y = loadY(graph_, std::clamp(percent, 0, 100) * 10);
      line({graph_.left, y}, {graph_.right - 1, y}, percent == look_.redPercent ? look_.red : look_.yellow, thin_);
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (!columns[c].recorded) continue;
      const ViewPoint here{columnX(c), loadY(graph_, columns[c].mean10)};
      const bool joined = c > 0 && columns[c - 1].recorded;
      const ViewPoint before = joined ? ViewPoint{here.x - 1, loadY(graph_, columns[c - 1].mean10)} : here;
      line(before, here, blend(levelColour(look_, (columns[c].mean10 + 5) / 10), 0, 70), 2 * thin_);
    }
  }

  void marks() {
    for (const HistoryMark& mark : historyMarks(scene_.layout, scene_.events, scene_.from, scene_.to)) {
      const ViewRect& box = mark.box;
      const int x = columnX(mark.column);
      if (mark.kind == HistoryEventKind::Alert)
        triangle({x, box.top}, {box.left, box.bottom - 1}, {box.right - 1, box.bottom - 1}, look_.red);
      else
        triangle({box.left, box.top}, {box.right - 1, box.top}, {x, box.bottom - 1}, look_.release);
    }
  }

  // A line through the pointed column and its text beside it, on the right when it fits.
  void moment() {
    if (!scene_.pointed) return;
    const int x = columnX(*scene_.pointed);
    line({x, graph_.top}, {x, graph_.bottom - 1}, look_.windowText, thin_);
    if (scene_.momentText.empty()) return;
    const int padding = scaled(kMomentPadding);
    int width = 0;
    for (const std::string& words : scene_.momentText) width = std::max(width, textSize_(words).x);
    width += 2 * padding;
    const int height = static_cast<int>(scene_.momentText.size()) * lineHeight_ + 2 * padding;
    int left = x + scaled(kMomentOffset);
    if (left + width > graph_.right) left = std::max(graph_.left, x - scaled(kMomentOffset) - width);
    const ViewRect box{left, graph_.top + padding, left + width, graph_.top + padding + height};
    fill(box, look_.windowText);
    fill({box.left + thin_, box.top + thin_, box.right - thin_, box.bottom - thin_}, look_.window);
    int y = box.top + padding;
    for (const std::string& words : scene_.momentText) {
      text({box.left + padding, y, box.right - padding, y + lineHeight_}, words);
      y += lineHeight_;
    }
  }

  void growers() {
    const ViewRect& tooSmall = scene_.layout.tooSmall;
    if (tooSmall.width() > 0 && tooSmall.height() > 0) text(tooSmall, tr(TextId::HistoryWindowTooSmall));
    const ViewRect& list = scene_.layout.growers;
    if (list.width() <= 0) return;
    int y = list.top;
    text({list.left, y, list.right, y + lineHeight_}, growersHeading(scene_.range));
    y += lineHeight_ + scaled(kLabelGap);
    if (scene_.growerLines.empty()) text({list.left, y, list.right, y + lineHeight_}, tr(TextId::HistoryNoGrowers));
    for (const std::string& words : scene_.growerLines) {
      if (y + lineHeight_ > list.bottom) break;
      text({list.left, y, list.right, y + lineHeight_}, words);
      y += lineHeight_;
    }
  }

  const HistoryScene& scene_;
  const HistoryLook& look_;
  const TextSize& textSize_;
  const ViewRect& graph_;
  const int thin_;
  const int lineHeight_;
  std::vector<DrawStep> plan_;
};

}  // namespace

std::vector<HistoryMark> historyMarks(const HistoryLayout& layout, std::span<const HistoryEvent> events,
                                      std::int64_t from, std::int64_t to) {
  const int dpi = layout.dpi;
  const int size = scaleToDpi(kMarkSize, dpi);
  const int upper = layout.timeAxis.top + scaleToDpi(kMarkGap, dpi);
  const int lower = upper + size + scaleToDpi(kMarkGap, dpi);
  const auto columns = static_cast<std::size_t>(std::max(0, layout.graph.width()));
  std::vector<HistoryMark> marks;
  for (const HistoryEvent& event : events) {
    if (event.kind != HistoryEventKind::Alert && event.kind != HistoryEventKind::Release) continue;
    const std::size_t column = columnOf(event.time, from, to, columns);
    if (column >= columns) continue;
    const int x = layout.graph.left + static_cast<int>(column);
    const int top = event.kind == HistoryEventKind::Alert ? upper : lower;
    marks.push_back({column, event.kind, {x - size, top, x + size + 1, top + size + 1}});
  }
  return marks;
}

std::optional<std::size_t> markColumnAt(std::span<const HistoryMark> marks, ViewPoint at, int dpi) {
  const int reach = scaleToDpi(kMarkReach, dpi);
  std::optional<std::size_t> nearest;
  long long nearestDistance = 0;
  for (const HistoryMark& mark : marks) {
    const ViewRect& box = mark.box;
    const ViewRect area{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
    if (!area.contains(at)) continue;
    // Twice the distances, so that a box's centre between two pixels stays whole.
    const long long dx = 2LL * at.x - (box.left + box.right - 1);
    const long long dy = 2LL * at.y - (box.top + box.bottom - 1);
    const long long distance = dx * dx + dy * dy;
    if (!nearest || distance < nearestDistance) {
      nearest = mark.column;
      nearestDistance = distance;
    }
  }
  return nearest;
}

std::vector<DrawStep> historyPicture(const HistoryScene& scene, const HistoryLook& look,
                                     const LocalTimeOf& localTimeOf, const TextSize& textSize) {
  return Painter(scene, look, textSize).paint(localTimeOf);
}

std::string growersHeading(HistoryRange range) {
  return tr(rangeSeconds(range) > kSnapshotKeptSeconds ? TextId::HistoryGrowersLastDay : TextId::HistoryGrowers);
}

HistoryTextWidths historyTextWidths(const TextSize& textSize) {
  HistoryTextWidths widths;
  for (std::size_t i = 0; i < kHistoryRangeCount; ++i) widths.ranges[i] = textSize(rangeText(static_cast<HistoryRange>(i))).x;
  widths.exportButton = textSize(tr(TextId::HistoryExportCsv)).x;
  widths.growersHeading = std::max(textSize(tr(TextId::HistoryGrowers)).x, textSize(tr(TextId::HistoryGrowersLastDay)).x);
  widths.lineHeight = textSize("国").y;
  return widths;
}

}  // namespace kelvane
