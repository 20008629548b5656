// The memory history and the command line in English: the window's texts and pointed moments,
// the release balloon, the CSV, the usage and its complaints; Chinese byte for byte as before.
#include <gtest/gtest.h>

#include "common/language.h"
#include "commands/command_line.h"
#include "history/history_view.h"
#include "history/release_feedback.h"

using namespace kelvane;

namespace {

// Speaks a language for one test and Chinese again afterwards, also when the test fails.
class Speaking {
 public:
  explicit Speaking(const Language& language) { speak(language); }
  ~Speaking() { speak(Language::simplifiedChinese()); }
};

constexpr std::int64_t kTo = 1'700'003'640;
constexpr std::int64_t kFrom = kTo - 3600;
constexpr std::uint64_t kGB = 1ull << 30;

// About a 9-point font at 96 DPI: 7 pixels for an ASCII character, 12 for any other.
const TextSize kTextSize = [](const std::string& text) {
  int width = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) width += 7;
    else if (byte >= 0xC0) width += 12;
  }
  return ViewPoint{width, 16};
};

// A view of the last hour whose minute 54 holds an alert with five processes and two releases,
// one that freed memory and one that found none.
HistoryView hourWithAnAlertAndReleases() {
  HistoryView view;
  view.resize(640, 360, 96);
  view.choose(HistoryRange::Hour, kTo - 10);
  std::vector<MinuteRecord> minutes;
  for (std::int64_t m = 0; m < 60; ++m) minutes.push_back({kFrom + 60 * m, 2, 80 + 97, 80, 97, 7 * kGB, 7 * kGB});
  HistoryEvent alert{kFrom + 60 * 54 + 1, HistoryEventKind::Alert, 97};
  alert.top = {{"leaky.exe", 5 * kGB}, {"chrome.exe", 2 * kGB}, {"code.exe", kGB}, {"svchost.exe", 512 << 20},
               {"explorer.exe", 200 << 20}};
  const HistoryEvent freed{.time = kFrom + 60 * 54 + 4, .kind = HistoryEventKind::Release,
                           .source = ReleaseSource::HotKey, .availBefore = kGB, .availAfter = 2 * kGB};
  const HistoryEvent none{.time = kFrom + 60 * 54 + 7, .kind = HistoryEventKind::Release,
                          .source = ReleaseSource::HighLoad, .availBefore = kGB, .availAfter = kGB};
  view.setData(minutes, std::vector<HistoryEvent>{alert, freed, none}, {});
  view.click({44 + 6 * 54, 100});
  return view;
}

}  // namespace

TEST(HistoryInEnglish, ThePointedMomentTellsTheLoadAnAlertsFiveProcessesAndWhatEachReleaseFreed) {
  const NumberFormat format;
  const HistoryView view = hourWithAnAlertAndReleases();
  ASSERT_TRUE(view.pointedMoment());
  const Speaking english(Language::english());
  EXPECT_EQ(momentLines(*view.pointedMoment(), "11/14/2023 10:14 PM", format),
            (std::vector<std::string>{"11/14/2023 10:14 PM", "Memory load: 80% to 97%, average 88.5%",
                                      "Used physical memory: 7 GB", "High memory load: 97%", "    leaky.exe  5 GB",
                                      "    chrome.exe  2 GB", "    code.exe  1024 MB", "    svchost.exe  512 MB",
                                      "    explorer.exe  200 MB", "Memory release (hot key): 1024 MB released",
                                      "Memory release (high memory load): no memory to release"}));
  // The balloon after a release the user asked for, within a balloon's bytes.
  const std::string released = releaseFeedbackText(kGB, 2 * kGB, format);
  EXPECT_EQ(released, "Released 1024 MB of memory");
  EXPECT_EQ(releaseFeedbackText(kGB, kGB + 10, format), "No memory to release");
  EXPECT_LE(ansiByteEstimate(released), kBalloonTextBytes);

  // The list's heading by range, and the window's title.
  EXPECT_EQ(growersHeading(HistoryRange::Day), "Top growing processes");
  EXPECT_EQ(growersHeading(HistoryRange::Week), "Top growing processes (last 24 hours)");
  EXPECT_EQ(tr(TextId::HistoryWindowTitle), "Kelvane Memory History");
}

TEST(HistoryInEnglish, TheListGrowsForALongerHeadingAndTheRowOfButtonsSetsTheLeastWidth) {
  // Chinese fits the design sizes: the layout is the one it always was.
  const HistoryLayout design = layoutHistoryWindow(640, 360, 96);
  const HistoryLayout chinese = layoutHistoryWindow(640, 360, 96, historyTextWidths(kTextSize));
  EXPECT_EQ(chinese.exportButton, design.exportButton);
  EXPECT_EQ(chinese.graph, design.graph);
  EXPECT_EQ(chinese.leastWidth, 8 + 4 * (64 + 4) + 96 + 8);

  const Speaking english(Language::english());
  HistoryTextWidths widths = historyTextWidths(kTextSize);
  EXPECT_EQ(widths.growersHeading, 37 * 7);  // the heading with "(last 24 hours)"
  widths.exportButton = 200;                 // as a language with a long word would
  // (A window wide enough for the wider list beside the least plot.)
  const HistoryLayout layout = layoutHistoryWindow(700, 360, 96, widths);
  EXPECT_EQ(layout.growers, (ViewRect{692 - 288, 40, 692, 352}));  // 259 pixels and a tenth spare
  EXPECT_EQ(layout.graph.right, 692 - 288 - 8);
  EXPECT_EQ(layout.exportButton, (ViewRect{692 - 229, 8, 692, 32}));
  // Too narrow for the row, the export button goes past the edge rather than over a range
  // button, and the least width is what the row needs.
  const HistoryLayout narrow = layoutHistoryWindow(300, 300, 96, widths);
  EXPECT_EQ(narrow.exportButton.left, narrow.rangeButtons.back().right + 4);
  EXPECT_EQ(narrow.leastWidth, narrow.exportButton.right + 8);
}

TEST(HistoryInEnglish, TheCsvHeadingsAndWordsAreTranslatedItsTimesAndNumbersAreNot) {
  constexpr std::int64_t t0 = 1'700'000'040;  // 2023-11-14 22:14:00 UTC
  const std::vector<MinuteRecord> minutes = {{t0, 3, 40 + 41 + 43, 40, 43, 4'000'000'000, 5'000'000'000}};
  HistoryEvent alert{t0 + 5, HistoryEventKind::Alert, 99};
  alert.top = {{"a.exe", 7}};
  const std::vector<HistoryEvent> events = {alert, {.time = t0 + 6, .kind = HistoryEventKind::Release,
                                                   .source = ReleaseSource::DoubleClick, .availBefore = 1, .availAfter = 3}};
  const auto local = [](std::int64_t utc) { return utc - 5 * 3600; };
  const std::string rows =
      "2023-11-14 17:14:00,2023-11-14 22:14:00,minute,3,40,41.3,43,4000000000,5000000000,,,,\r\n"
      "2023-11-14 17:14:05,2023-11-14 22:14:05,alert,,,,99,,,,,,a.exe 7\r\n"
      "2023-11-14 17:14:06,2023-11-14 22:14:06,release,,,,,,,double-click,1,3,\r\n";
  const std::string chinese = historyCsv(minutes, events, t0, t0 + 60, local);
  const Speaking english(Language::english());
  EXPECT_EQ(historyCsv(minutes, events, t0, t0 + 60, local),
            "\xEF\xBB\xBF"
            "Local time,UTC time,Type,Samples,Lowest memory load (%),Average memory load (%),"
            "Highest memory load (%),Used physical memory (bytes),Used page file (bytes),Release source,"
            "Available physical memory before release (bytes),Available physical memory after release (bytes),"
            "Top processes\r\n" + rows);
  // In Chinese the same rows but for the words.
  EXPECT_NE(chinese.find("\r\n2023-11-14 17:14:06,2023-11-14 22:14:06,释放,,,,,,,双击,1,3,\r\n"), std::string::npos)
      << chinese;
}

TEST(HistoryInEnglish, TheCommandLineSaysWhatIsWrongAndHowToUseIt) {
  // The Chinese usage, tabs and all.
  EXPECT_EQ(usageText(),
            "用法: Kelvane [开关]\n\n/history\t显示内存历史窗口\n/settings\t显示设置对话框\n/release\t释放一次内存\n"
            "/exit\t退出正在运行的 Kelvane\n/export-history 文件 [天数]\n"
            "\t导出最近 天数 天的内存历史 (默认 1 天, 最多 31 天) 到 CSV 文件\n/?\t显示此帮助\n"
            "/quiet\t放在 /release、/exit 或 /export-history 之前: 出错时不显示窗口\n\n"
            "没有运行的 Kelvane 时, /history 和 /settings 先启动程序; /release 和 /export-history 完成后即退出, "
            "不显示图标.\n\n退出代码: 0 完成, 1 失败, 2 命令行有误");

  const Speaking english(Language::english());
  const std::string usage = usageText();
  EXPECT_EQ(usage.rfind("Usage: Kelvane [switch]\n\n/history\tShow the memory history window\n", 0), 0u) << usage;
  EXPECT_NE(usage.find("\n/export-history FILE [DAYS]\n\tExport the memory history of the last DAYS days (default 1, "
                       "at most 31) to a CSV file\n"),
            std::string::npos)
      << usage;
  EXPECT_NE(usage.find("\n\nExit codes: 0 done, 1 failed, 2 bad command line"), std::string::npos) << usage;
  EXPECT_EQ(usage.find_first_of("{}"), std::string::npos) << usage;

  std::vector<std::string> arguments = {"/export-history", "a.csv", "32"};
  EXPECT_EQ(parseCommandLine(arguments).problem, "The number of days must be a whole number from 1 to 31: \"32\"");
  arguments = {"/release", "now"};
  EXPECT_EQ(parseCommandLine(arguments).problem, "Unexpected argument \"now\"");
  arguments = {"/histories"};
  EXPECT_EQ(parseCommandLine(arguments).problem, "Unrecognized switch \"/histories\"");
}
