// The processes that grew most over a range of the last 24 hours, and the graph's columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "history/graph_columns.h"
#include "history/process_growth.h"

using namespace kelvane;

namespace {

constexpr std::int64_t t0 = 1'700'000'000;
constexpr std::uint64_t MB = 1ull << 20;

std::vector<std::string> paths(const std::vector<Grower>& growers) {
  std::vector<std::string> result;
  for (const Grower& g : growers) result.push_back(g.path + " +" + std::to_string(g.growth() / MB));
  return result;
}

MinuteRecord minuteAt(std::int64_t start, std::uint64_t count, std::uint64_t sum, int least, int most) {
  return {start, count, sum, static_cast<std::uint8_t>(least), static_cast<std::uint8_t>(most), 0, 0};
}

}  // namespace

TEST(ProcessGrowth, TheFiveThatGrewMostFromTheirFirstToTheirLastSnapshotInTheRange) {
  ProcessSnapshots snapshots;
  // Sizes at 0, 5, 10 and 15 minutes.
  const auto at = [&](int i, std::vector<ProcessSize> processes) { snapshots.add(t0 + 300 * i, processes); };
  at(0, {{"C:\\a.exe", 1, 10 * MB}, {"C:\\b.exe", 2, 100 * MB}, {"C:\\c.exe", 3, 8 * MB},
         {"C:\\d.exe", 9, 1 * MB}, {"C:\\0.exe", 7, 60 * MB}, {"x.exe", 0, 5 * MB}});
  at(1, {{"C:\\a.exe", 1, 30 * MB}, {"C:\\b.exe", 2, 95 * MB}, {"C:\\c.exe", 3, 20 * MB},
         {"C:\\d.exe", 9, 3 * MB}, {"C:\\0.exe", 7, 70 * MB}, {"x.exe", 0, 6 * MB}});
  // c.exe ended and started again: another process, whose growth starts from its own first size.
  at(2, {{"C:\\a.exe", 1, 50 * MB}, {"C:\\b.exe", 2, 90 * MB}, {"C:\\c.exe", 4, 5 * MB},
         {"C:\\d.exe", 9, 4 * MB - 1}, {"C:\\0.exe", 7, 100 * MB}, {"x.exe", 0, 7 * MB},
         {"C:\\e.exe", 5, 4 * MB}, {"C:\\f.exe", 6, 4 * MB}});
  at(3, {{"C:\\a.exe", 1, 50 * MB}, {"C:\\b.exe", 2, 91 * MB}, {"C:\\c.exe", 4, 30 * MB},
         {"C:\\0.exe", 7, 50 * MB}, {"x.exe", 0, 9 * MB}, {"C:\\e.exe", 5, 6 * MB},
         {"C:\\f.exe", 6, 6 * MB}});
  // Whole range: a grew by 40 MB, c's second instance by 25, its first by 12; e and f by 2 each
  // (the path decides); d stayed under the floor; b shrank; 0.exe fell back in the last snapshot.
  EXPECT_EQ(paths(snapshots.growers(t0, t0 + 900)),
            (std::vector<std::string>{"C:\\a.exe +40", "C:\\c.exe +25", "C:\\c.exe +12",
                                      "x.exe +4", "C:\\e.exe +2"}));
  // From the second snapshot to the third only.
  const std::vector<Grower> middle = snapshots.growers(t0 + 300, t0 + 600);
  EXPECT_EQ(paths(middle), (std::vector<std::string>{"C:\\0.exe +30", "C:\\a.exe +20", "x.exe +1"}));
  EXPECT_EQ(middle[0].created, 7u);
  EXPECT_EQ(middle[0].firstBytes, 70 * MB);
  EXPECT_EQ(middle[0].lastBytes, 100 * MB);
  EXPECT_TRUE(snapshots.growers(t0 + 901, t0 + 5000).empty());
}

TEST(ProcessGrowth, AProcessIsTheSameAcrossAChangeOfTheLocalClockAndAnotherWhenStartedAgain) {
  // The walk's records: the local creation time moves when summer time begins or the time zone
  // changes; the system's count does not, and only a new start changes it.
  const auto record = [](std::uint64_t utc, double local, std::uint64_t bytes) {
    TNxProcessRec process;
    process.Name = "leak.exe";
    process.Path = "C:\\leak.exe";
    process.CreationTimeUtc = utc;
    process.CreationTime = local;
    process.Memory = bytes;
    return process;
  };
  const std::uint64_t utc = 133'000'000'000'000'000;
  ProcessSnapshots snapshots;
  snapshots.add(t0, processSizesOf({record(utc, 45000.25, 10 * MB)}));
  snapshots.add(t0 + 300, processSizesOf({record(utc, 45000.25 + 1.0 / 24, 30 * MB)}));
  snapshots.add(t0 + 600, processSizesOf({record(utc + 1, 45000.25 + 1.0 / 24, 5 * MB),
                                          record(utc, 45000.25 + 1.0 / 24, 50 * MB)}));
  snapshots.add(t0 + 900, processSizesOf({record(utc + 1, 45000.25 + 1.0 / 24, 6 * MB)}));
  EXPECT_EQ(paths(snapshots.growers(t0, t0 + 900)), (std::vector<std::string>{"C:\\leak.exe +40", "C:\\leak.exe +1"}));
}

TEST(ProcessGrowth, KeepsTwentyFourHoursWithinBudgetWhileProgramsComeAndGo) {
  ProcessSnapshots snapshots;
  // Three days every five minutes: a leak of 1 MB per snapshot, a steady service, and a
  // short-lived process each time that is never seen again.
  for (int i = 0; i < 3 * 288; ++i) {
    const std::string shortLived = "C:\\temp\\run" + std::to_string(i) + ".exe";
    snapshots.add(t0 + 300 * i, {{"C:\\leak.exe", 1, (100 + static_cast<std::uint64_t>(i)) * MB},
                                 {"C:\\service.exe", 2, 40 * MB},
                                 {shortLived, static_cast<std::uint64_t>(i), 8 * MB}});
  }
  EXPECT_EQ(snapshots.snapshotCount(), 288u);
  const std::vector<Grower> growers = snapshots.growers(t0, t0 + 4 * 86400);
  ASSERT_EQ(growers.size(), 1u);
  EXPECT_EQ(growers[0].firstBytes, (100 + 2 * 288) * MB);  // the oldest snapshot kept
  EXPECT_EQ(growers[0].lastBytes, (100 + 3 * 288 - 1) * MB);
  // The short-lived processes of the first two days are let go with their snapshots.
  EXPECT_LT(snapshots.heldBytes(), 40'000u);
}

TEST(GraphColumns, MinutesSpreadOverTheColumnsTheyCoverWithGapsWhereNothingWasRecorded) {
  // An hour drawn 600 columns wide: ten columns a minute, none left empty between minutes.
  std::vector<MinuteRecord> hour;
  for (int m = 0; m < 60; ++m) hour.push_back(minuteAt(t0 + 60 * m, 60, 60 * m, m / 2, m));
  const std::vector<GraphColumn> wide = graphColumns(hour, t0, t0 + 3600, 600);
  EXPECT_TRUE(std::all_of(wide.begin(), wide.end(), [](const GraphColumn& c) { return c.recorded; }));
  EXPECT_EQ(wide[595].maxLoad, 59);
  EXPECT_EQ(wide[595].minLoad, 29);
  EXPECT_EQ(wide[595].mean10, 590);

  // Thirty days in 300 columns (8,640 s each): two minutes share the first column, weighted by
  // their samples; one starts 30 s before the range and still counts; then a gap, and the last
  // column's minute.
  const std::int64_t from = t0 + 30;
  const std::int64_t to = from + 30 * 86400;
  const std::vector<MinuteRecord> month = {
      minuteAt(t0, 60, 600, 5, 20), minuteAt(t0 + 120, 1, 100, 100, 100),
      minuteAt(to - 60, 2, 3, 1, 2), minuteAt(to, 1, 50, 50, 50)};
  const std::vector<GraphColumn> columns = graphColumns(month, from, to, 300);
  EXPECT_TRUE(columns[0].recorded);
  EXPECT_EQ(columns[0].minLoad, 5);
  EXPECT_EQ(columns[0].maxLoad, 100);
  EXPECT_EQ(columns[0].mean10, 115);  // 700 over 61 samples: 11.475
  EXPECT_EQ(std::count_if(columns.begin(), columns.end(), [](const GraphColumn& c) { return c.recorded; }), 2);
  EXPECT_EQ(columns[299].mean10, 15);  // 3 over 2, rounded half up
  EXPECT_EQ(columnOf(to - 1, from, to, 300), 299u);
  EXPECT_EQ(columnOf(to, from, to, 300), 300u);
  EXPECT_EQ(columnOf(from - 1, from, to, 300), 300u);
}

// Over plots of any width up to a 5K screen's, half an hour of consecutive minutes inside an
// hour's range (its start on a minute, as the window has it, and off one) fills one unbroken run
// of columns: from the first minute's first column to the column before the one just after the
// last minute (at least to the last minute's first column), and nothing outside it.
TEST(GraphColumns, ConsecutiveMinutesLeaveNoHoleAtAnyWidth) {
  std::mt19937 random(25'08);
  std::uniform_int_distribution<std::size_t> widths(0, 5000);
  const std::int64_t recordedFrom = t0 - t0 % 60 + 600;
  std::vector<MinuteRecord> halfHour;
  for (int m = 0; m < 30; ++m) halfHour.push_back(minuteAt(recordedFrom + 60 * m, 60, 60 * 40, 40, 40));
  const std::int64_t lastStart = halfHour.back().start;
  for (int trial = 0; trial < 400; ++trial) {
    const std::size_t width = trial == 0 ? 0 : trial == 1 ? 5000 : widths(random);
    const std::int64_t from = recordedFrom - 600 + (trial % 2 == 0 ? 0 : 17);
    const std::int64_t to = from + 3600;
    const std::vector<GraphColumn> columns = graphColumns(halfHour, from, to, width);
    ASSERT_EQ(columns.size(), width);
    if (width == 0) continue;
    const std::size_t first = columnOf(recordedFrom, from, to, width);
    const std::size_t last = std::max(columnOf(lastStart, from, to, width), columnOf(lastStart + 60, from, to, width) - 1);
    for (std::size_t c = 0; c < width; ++c)
      ASSERT_EQ(columns[c].recorded, c >= first && c <= last) << "width " << width << ", column " << c << " of "
                                                               << first << ".." << last << ", from " << from;
  }
}
