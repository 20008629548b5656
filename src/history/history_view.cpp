#include "history/history_view.h"

#include "common/language.h"
#include "history/release_feedback.h"
#include "memory/memory_status.h"

namespace kelvane {

namespace {

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<std::string> momentLines(const HistoryMoment& moment, const std::string& timeText,
                                     const NumberFormat& format) {
  std::vector<std::string> lines = {timeText};
  if (!moment.column.recorded) {
    lines.push_back(tr(moment.stopped ? TextId::HistoryNotRunning : TextId::HistoryNotRecorded));
  } else {
    lines.push_back(tr(TextId::HistoryMomentLoad,
                       {{"least", std::to_string(moment.column.minLoad)},
                        {"mean", formatFixed(moment.column.mean10 / 10.0, 1, format, false)},
                        {"most", std::to_string(moment.column.maxLoad)}}));
    lines.push_back(tr(TextId::HistoryMomentUsedPhysical,
                       {{"size", SizeText(static_cast<std::int64_t>(moment.column.maxUsedPhys), format)}}));
  }
  for (const HistoryEvent& event : moment.events) {
    if (event.kind == HistoryEventKind::Alert) {
      lines.push_back(tr(TextId::HistoryMomentAlert, {{"load", std::to_string(event.load)}}));
      for (const TopProcess& process : event.top)
        lines.push_back("    " + process.name + "  " + SizeText(static_cast<std::int64_t>(process.bytes), format));
    } else if (event.kind == HistoryEventKind::Release) {
      const std::optional<std::uint64_t> gain = releasedBytes(event.availBefore, event.availAfter);
      const std::string source = releaseSourceText(event.source);
      lines.push_back(gain ? tr(TextId::HistoryMomentReleased,
                                {{"source", source}, {"size", SizeText(static_cast<std::int64_t>(*gain), format)}})
                           : tr(TextId::HistoryMomentNothingReleased, {{"source", source}}));
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
  runningAtFrom_ = true;
  for (const HistoryEvent& event : events) {
    if (event.time >= from && event.time < to_) events_.push_back(event);
    if (event.time < from && event.kind == HistoryEventKind::Start) runningAtFrom_ = true;
    if (event.time < from && event.kind == HistoryEventKind::Exit) runningAtFrom_ = false;
  }
  growers_ = std::move(growers);
  reduce();
}

void HistoryView::resize(int clientWidth, int clientHeight, int dpi, const HistoryTextWidths& texts) {
  layout_ = layoutHistoryWindow(clientWidth, clientHeight, dpi, texts);
  reduce();
}

void HistoryView::reduce() {
  columns_ = graphColumns(minutes_, from(), to_, static_cast<std::size_t>(layout_.graph.width()));
  markStopped();
  if (pointed_ && *pointed_ >= columns_.size()) pointed_.reset();
}

void HistoryView::markStopped() {
  stopped_.assign(columns_.size(), 0);
  bool running = runningAtFrom_;
  auto event = events_.begin();
  const auto columns = static_cast<std::int64_t>(columns_.size());
  for (std::int64_t c = 0; c < columns; ++c) {
    const std::int64_t start = from() + c * (to_ - from()) / columns;
    for (; event != events_.end() && event->time <= start; ++event) {
      if (event->kind == HistoryEventKind::Start) running = true;
      if (event->kind == HistoryEventKind::Exit) running = false;
    }
    stopped_[static_cast<std::size_t>(c)] = running ? 0 : 1;
  }
}

HistoryCommand HistoryView::click(ViewPoint at) {
  for (std::size_t i = 0; i < kHistoryRangeCount; ++i)
    if (layout_.rangeButtons[i].contains(at)) return {HistoryCommand::Kind::ChooseRange, static_cast<HistoryRange>(i)};
  if (layout_.exportButton.contains(at)) return {HistoryCommand::Kind::Export, range_};
  return {pointAt(at) ? HistoryCommand::Kind::Redraw : HistoryCommand::Kind::None, range_};
}

bool HistoryView::pointAt(ViewPoint at) {
  if (columns_.empty()) return false;
  // Under the plot, a mark points at its own column, so its text shows without a hunt for the
  // one column it stands on.
  const bool inGraph = layout_.graph.contains(at);
  const std::optional<std::size_t> mark =
      inGraph ? std::nullopt : markColumnAt(historyMarks(layout_, events_, from(), to_), at, layout_.dpi);
  if (!inGraph && !mark) return false;
  const std::size_t column = mark ? *mark : static_cast<std::size_t>(at.x - layout_.graph.left);
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
  moment.stopped = stopped_[*pointed_] != 0;
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
  HistoryScene scene;
  scene.layout = layout_;
  scene.range = range_;
  scene.from = from();
  scene.to = to_;
  scene.columns = columns_;
  scene.stopped = stopped_;
  scene.events = events_;
  scene.pointed = pointed_;
  scene.momentText = momentText;
  scene.growerLines = growerLines;
  return historyPicture(scene, look, localTimeOf, textSize);
}

}  // namespace kelvane
