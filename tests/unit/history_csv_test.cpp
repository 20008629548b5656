// The history's CSV export, byte for byte as a spreadsheet reads it.
#include "history/history_csv.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kelvane;

TEST(HistoryCsv, ARangeOfMinutesAndEventsInOneTableWithBothTimes) {
  constexpr std::int64_t t0 = 1'700'000'040;  // 2023-11-14 22:14:00 UTC
  std::vector<MinuteRecord> minutes = {
      {t0 - 60, 60, 60 * 10, 10, 10, 1, 2},          // before the range
      {t0, 3, 40 + 41 + 43, 40, 43, 4'000'000'000, 5'000'000'000},
      {t0 + 120, 1, 99, 99, 99, 8'000'000'000, 9'000'000'000},
      {t0 + 180, 1, 50, 50, 50, 1, 1},               // at the range's end: outside
  };
  HistoryEvent start{t0, HistoryEventKind::Start};
  HistoryEvent alert{t0 + 125, HistoryEventKind::Alert, 99};
  alert.top = {{"big, \"bad\".exe", 7'000'000'000}, {"其他.exe", 12}};
  HistoryEvent release{t0 + 130, HistoryEventKind::Release};
  release.source = ReleaseSource::HotKey;
  release.availBefore = 100;
  release.availAfter = 300;
  HistoryEvent late{t0 + 180, HistoryEventKind::Exit};
  const std::vector<HistoryEvent> events = {start, alert, release, late};

  // Eight hours east: the evening in UTC is the next morning locally.
  const auto beijing = [](std::int64_t utc) { return utc + 8 * 3600; };
  const std::string csv = historyCsv(minutes, events, t0, t0 + 180, beijing);

  EXPECT_EQ(csv,
            "\xEF\xBB\xBF"
            "本地时间,UTC 时间,类型,样本数,最低负载 (%),平均负载 (%),最高负载 (%),已用物理内存 (字节),"
            "已用页面文件 (字节),释放来源,释放前可用物理内存 (字节),释放后可用物理内存 (字节),"
            "占用内存最多的进程\r\n"
            "2023-11-15 06:14:00,2023-11-14 22:14:00,分钟,3,40,41.3,43,4000000000,5000000000,,,,\r\n"
            "2023-11-15 06:14:00,2023-11-14 22:14:00,启动,,,,,,,,,,\r\n"
            "2023-11-15 06:16:00,2023-11-14 22:16:00,分钟,1,99,99.0,99,8000000000,9000000000,,,,\r\n"
            "2023-11-15 06:16:05,2023-11-14 22:16:05,警报,,,,99,,,,,,"
            "\"big, \"\"bad\"\".exe 7000000000; 其他.exe 12\"\r\n"
            "2023-11-15 06:16:10,2023-11-14 22:16:10,释放,,,,,,,热键,100,300,\r\n");
}

TEST(HistoryCsv, DatesAcrossCenturiesLeapDaysAndBefore1970) {
  EXPECT_EQ(csvDateTime(0), "1970-01-01 00:00:00");
  EXPECT_EQ(csvDateTime(-1), "1969-12-31 23:59:59");
  EXPECT_EQ(csvDateTime(951'782'399), "2000-02-28 23:59:59");
  EXPECT_EQ(csvDateTime(951'782'400), "2000-02-29 00:00:00");
  EXPECT_EQ(csvDateTime(4'107'542'400), "2100-03-01 00:00:00");  // 2100 has no 29 February
  EXPECT_EQ(csvField("a\r\nb"), "\"a\r\nb\"");
}
