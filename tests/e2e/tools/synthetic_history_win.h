#pragma once
// A month of made-up history ending now, for the history window's test and its screenshots: a
// daily rhythm, a leak that climbs over the last hours into an alert and a release, a night the
// program was not running and a short sleep inside the last hour.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/clock_win.h"
#include "history/history_export_win.h"
#include "history/history_window_source.h"

namespace kelvane::testing {

class SyntheticHistory : public HistoryWindowSource {
 public:
  explicit SyntheticHistory(std::int64_t now = utcSecondsNow()) {
    const std::int64_t newest = minuteStartOf(now);
    for (std::int64_t start = newest - kKeptSeconds + kMinuteSeconds; start <= newest; start += kMinuteSeconds) {
      const std::int64_t ago = newest - start;
      if (ago >= 3 * 86400 && ago < 3 * 86400 + 8 * 3600) continue;  // not running
      if (ago >= 25 * 60 && ago < 40 * 60) continue;                  // asleep
      const double day = std::sin(static_cast<double>(start % 86400) / 86400.0 * 2 * 3.14159265);
      const double leak = ago < 3 * 3600 ? static_cast<double>(3 * 3600 - ago) / 10800.0 * 30 : 0;
      const int mean = static_cast<int>(45 + 12 * day + leak + static_cast<double>((start / 60) * 7 % 9));
      const auto least = static_cast<std::uint8_t>(std::max(0, mean - 6));
      const auto most = static_cast<std::uint8_t>(std::min(100, mean + 5 + static_cast<int>((start / 60) % 4)));
      held.minutes.push_back({start, 60, 60ull * static_cast<std::uint64_t>(mean), least, most,
                              static_cast<std::uint64_t>(mean) * (160ull << 20), 0});
    }
    held.events.push_back({newest - 3 * 86400 - 8 * 3600 + 30, HistoryEventKind::Exit});
    held.events.push_back({newest - 3 * 86400 + 50, HistoryEventKind::Start});
    addAlert(newest - 12 * 60);
    addRelease(newest - 9 * 60, ReleaseSource::Menu, 900ull << 20);
    addAlert(newest - 9 * 86400);
    addRelease(newest - 9 * 86400 + 120, ReleaseSource::HighLoad, 300ull << 20);
    addRelease(newest - 17 * 86400, ReleaseSource::Timer, 200ull << 20);
    grown = {{"C:\\Program Files\\Leaky\\leaky.exe", 1, 200ull << 20, 1900ull << 20},
             {"C:\\Windows\\explorer.exe", 2, 80ull << 20, 150ull << 20},
             {"C:\\Tools\\editor.exe", 3, 30ull << 20, 41ull << 20}};
  }

  HistoryContent heldHistory() override { return held; }
  std::vector<Grower> growers(std::int64_t, std::int64_t) override { return grown; }
  HistoryLook look() override { return HistoryLook(); }
  NumberFormat numberFormat() override { return NumberFormat(); }
  HistoryWindowPlace place() override { return kept; }
  void keepPlace(const HistoryWindowPlace& place) override {
    kept = place;
    ++placesKept;
  }

  HistoryContent held;
  std::vector<Grower> grown;
  HistoryWindowPlace kept;
  int placesKept = 0;

 private:
  void addAlert(std::int64_t time) {
    HistoryEvent alert{time, HistoryEventKind::Alert, 93};
    alert.top = {{"leaky.exe", 1900ull << 20}, {"explorer.exe", 150ull << 20}, {"editor.exe", 41ull << 20},
                 {"services.exe", 20ull << 20}, {"svchost.exe", 12ull << 20}};
    held.events.push_back(alert);
  }
  void addRelease(std::int64_t time, ReleaseSource source, std::uint64_t freed) {
    HistoryEvent release{time, HistoryEventKind::Release};
    release.source = source;
    release.availBefore = 1ull << 30;
    release.availAfter = (1ull << 30) + freed;
    held.events.push_back(release);
    std::sort(held.events.begin(), held.events.end(),
              [](const HistoryEvent& a, const HistoryEvent& b) { return a.time < b.time; });
  }
};

}  // namespace kelvane::testing
