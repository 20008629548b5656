// What the history window costs per step: taking a month of minutes into the 30-day range, and
// the plan of one paint (some 800 steps at 640 x 360) with the pointer on a moment.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "history/history_view.h"

using namespace kelvane;

namespace {

constexpr std::int64_t kNow = 1'700'000'000 + kKeptSeconds;

std::vector<MinuteRecord> monthOfMinutes() {
  std::vector<MinuteRecord> minutes;
  for (std::int64_t start = minuteStartOf(kNow) - kKeptSeconds + 60; start <= kNow; start += 60) {
    const auto load = static_cast<std::uint8_t>(30 + start / 60 % 50);
    minutes.push_back({start, 60, 60ull * load, load, static_cast<std::uint8_t>(load + 5), 8ull << 30, 9ull << 30});
  }
  return minutes;
}

std::vector<HistoryEvent> someEvents() {
  std::vector<HistoryEvent> events;
  for (std::int64_t t = kNow - 29 * 86400; t < kNow; t += 86400) {
    HistoryEvent alert{t, HistoryEventKind::Alert, 93};
    alert.top = {{"leaky.exe", 2ull << 30}, {"explorer.exe", 1ull << 28}};
    events.push_back(alert);
    events.push_back({t + 60, HistoryEventKind::Release});
  }
  return events;
}

const TextSize kTextSize = [](const std::string& text) { return ViewPoint{7 * static_cast<int>(text.size()), 16}; };

void BM_HistoryViewMonthIntoColumns(benchmark::State& state) {
  const auto minutes = monthOfMinutes();
  const auto events = someEvents();
  HistoryView view;
  view.resize(640, 360, 96);
  for (auto _ : state) {
    view.choose(HistoryRange::Month, kNow);
    view.setData(minutes, events, {});
    benchmark::DoNotOptimize(view.layout());
  }
}
BENCHMARK(BM_HistoryViewMonthIntoColumns)->Unit(benchmark::kMicrosecond);

void BM_HistoryViewPaintPlan(benchmark::State& state) {
  HistoryView view;
  view.resize(640, 360, 96);
  view.choose(HistoryRange::Month, kNow);
  view.setData(monthOfMinutes(), someEvents(), {});
  view.pointAt({200, 100});
  const HistoryLook look;
  const std::vector<std::string> moment = {"2026/12/7 18:05", "负载: 最低 40%, 平均 41.3%, 最高 43%"};
  std::size_t steps = 0;
  for (auto _ : state) {
    const auto plan = view.picture(look, [](std::int64_t t) { return t + 8 * 3600; }, moment, {}, kTextSize);
    steps = plan.size();
    benchmark::DoNotOptimize(plan.data());
  }
  state.counters["steps"] = static_cast<double>(steps);
}
BENCHMARK(BM_HistoryViewPaintPlan)->Unit(benchmark::kMicrosecond);

}  // namespace
