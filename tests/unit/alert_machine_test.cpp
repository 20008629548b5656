#include "app/alert_machine.h"

#include <gtest/gtest.h>

#include <vector>

#include "actions/show_log.h"
#include "dialogs/task_dialog.h"

using namespace kelvane;

namespace {

constexpr std::uint32_t kSecond = 1000;
constexpr std::uint32_t kMinute = 60 * kSecond;

TKelvaneOptions alertOptions(bool warn, bool defrag, bool dialog, bool log) {
  TKelvaneOptions options = defaultOptions(10);
  options.RedPercent = 90;
  options.Warn = warn;
  options.DefragOnHighMemory = defrag;
  options.WarnMsgBox = dialog;
  options.WriteLog = log;
  return options;
}

MemorySample sampleAt(std::uint32_t load) {
  MemorySample sample;
  sample.dwMemoryLoad = load;
  return sample;
}

// One complete tick: decide, carry out nothing, finish.
AlertPlan tick(AlertMachine& machine, const TKelvaneOptions& options, std::uint32_t load,
               std::uint32_t at, bool dialogOpen = false) {
  AlertPlan plan = machine.decide({sampleAt(load), at, dialogOpen}, options);
  machine.finish(plan);
  return plan;
}

struct Tick {
  std::uint32_t load;
  std::uint32_t at;
};

std::vector<bool> firesFor(AlertMachine& machine, const TKelvaneOptions& options,
                           const std::vector<Tick>& ticks) {
  std::vector<bool> fired;
  for (const Tick& t : ticks) fired.push_back(tick(machine, options, t.load, t.at).fires);
  return fired;
}

}  // namespace

TEST(AlertMachine, ClimbWithinAMinuteAlertsOnceAtTheThreshold) {
  const TKelvaneOptions options = alertOptions(true, true, false, false);
  AlertMachine machine;
  const std::uint32_t t0 = 10 * kMinute;
  EXPECT_EQ(firesFor(machine, options,
                     {{85, t0}, {90, t0 + 15 * kSecond}, {95, t0 + 30 * kSecond},
                      {99, t0 + 45 * kSecond}}),
            (std::vector<bool>{false, true, false, false}));
  EXPECT_EQ(machine.previousLoad(), 99);

  // A fall and rise before five minutes have passed since the alert stays quiet...
  EXPECT_EQ(firesFor(machine, options, {{85, t0 + 2 * kMinute}, {92, t0 + 3 * kMinute}}),
            (std::vector<bool>{false, false}));
  // ...and so does the one exactly five minutes after it: the hold-off must be passed.
  const std::uint32_t alertAt = t0 + 15 * kSecond;
  EXPECT_EQ(firesFor(machine, options, {{85, alertAt + 4 * kMinute}, {92, alertAt + 5 * kMinute}}),
            (std::vector<bool>{false, false}));
  // One millisecond later the next crossing alerts again.
  EXPECT_EQ(firesFor(machine, options, {{85, alertAt + 5 * kMinute}, {92, alertAt + 5 * kMinute + 1}}),
            (std::vector<bool>{false, true}));
}

TEST(AlertMachine, LoadStayingAboveOrHoveringAtTheThreshold) {
  const TKelvaneOptions options = alertOptions(true, false, false, false);
  AlertMachine above;
  const std::uint32_t t0 = 1 * kMinute;
  // A load that stays above the threshold never alerts again, however long it stays.
  EXPECT_EQ(firesFor(above, options, {{95, t0}, {96, t0 + 10 * kMinute}, {97, t0 + 20 * kMinute}}),
            (std::vector<bool>{true, false, false}));

  // One that sits exactly at the threshold alerts every time the hold-off has passed.
  AlertMachine hover;
  EXPECT_EQ(firesFor(hover, options,
                     {{90, t0}, {90, t0 + kMinute}, {90, t0 + 6 * kMinute}, {90, t0 + 7 * kMinute}}),
            (std::vector<bool>{true, false, true, false}));
}

TEST(AlertMachine, JumpsAndTheFirstTick) {
  const TKelvaneOptions options = alertOptions(true, true, false, false);
  // Straight from below the threshold to 100.
  AlertMachine jump;
  EXPECT_FALSE(tick(jump, options, 40, 5 * kMinute).fires);
  EXPECT_TRUE(tick(jump, options, 100, 5 * kMinute + kSecond).fires);

  // Right after start-up the previous load is 0, so a machine already above the threshold
  // alerts at once, whatever the tick count (here one that is about to wrap).
  AlertMachine fresh;
  EXPECT_TRUE(tick(fresh, options, 97, 0xFFFFFF00u).fires);
  AlertMachine atZero;
  EXPECT_TRUE(tick(atZero, options, 97, 0).fires);

  // Below the threshold nothing fires, and the load is still remembered.
  AlertMachine low;
  EXPECT_FALSE(tick(low, options, 89, kMinute).fires);
  EXPECT_EQ(low.previousLoad(), 89);
}

TEST(AlertMachine, AllSwitchesOffChangesNothing) {
  const TKelvaneOptions off = alertOptions(false, false, false, false);
  AlertMachine machine;
  for (std::uint32_t i = 0; i < 5; ++i) {
    const AlertPlan plan = tick(machine, off, 95 + i, i * kMinute);
    EXPECT_FALSE(plan.active);
    EXPECT_FALSE(plan.fires || plan.release || plan.balloon || plan.dialog || plan.writeLog);
  }
  EXPECT_EQ(machine.previousLoad(), 0);
  EXPECT_FALSE(machine.holdOffArmed());

  // Since neither the load nor the hold-off moved, switching the log on alerts at once.
  const TKelvaneOptions logOnly = alertOptions(false, false, false, true);
  const AlertPlan plan = tick(machine, logOnly, 99, 6 * kMinute);
  EXPECT_TRUE(plan.fires);
  EXPECT_TRUE(plan.writeLog);
  EXPECT_FALSE(plan.release || plan.balloon || plan.dialog);
}

TEST(AlertMachine, HoldOffAcrossTheWrapOfTheTickCount) {
  const TKelvaneOptions options = alertOptions(true, false, false, false);
  AlertMachine machine;
  const std::uint32_t alertAt = 0xFFFF0000u;  // 65.5 s before the wrap
  EXPECT_TRUE(tick(machine, options, 95, alertAt).fires);
  EXPECT_EQ(machine.nextAlertTick(), alertAt + kAlertHoldOffMs);  // wrapped: 234464

  // Half a minute later, before the wrap: the count is far above the wrapped end of the
  // hold-off, yet the hold-off has not passed.
  EXPECT_FALSE(tick(machine, options, 80, alertAt + 30 * kSecond).fires);
  EXPECT_FALSE(tick(machine, options, 95, alertAt + 31 * kSecond).fires);
  // Two minutes later, past the wrap: the count is small, and still within the hold-off.
  const std::uint32_t twoMinutesLater = alertAt + 2 * kMinute;
  ASSERT_LT(twoMinutesLater, alertAt);
  EXPECT_FALSE(tick(machine, options, 80, twoMinutesLater).fires);
  EXPECT_FALSE(tick(machine, options, 95, twoMinutesLater + kSecond).fires);

  // Exactly at the end of the hold-off: still blocked; one millisecond after it: alerts.
  EXPECT_FALSE(tick(machine, options, 80, alertAt + kAlertHoldOffMs - 1).fires);
  EXPECT_FALSE(tick(machine, options, 95, alertAt + kAlertHoldOffMs).fires);
  EXPECT_FALSE(tick(machine, options, 80, alertAt + kAlertHoldOffMs).fires);
  EXPECT_TRUE(tick(machine, options, 95, alertAt + kAlertHoldOffMs + 1).fires);

  // An alert just after the wrap is not blocked by one just before it for 49 days.
  AlertMachine late;
  EXPECT_TRUE(tick(late, options, 95, 0xFFFFFFF0u).fires);
  EXPECT_FALSE(tick(late, options, 80, 0xFFFFFFF0u + 6 * kMinute).fires);
  EXPECT_TRUE(tick(late, options, 95, 0xFFFFFFF0u + 6 * kMinute + kSecond).fires);
}

TEST(AlertMachine, OutputsFollowTheSwitches) {
  AlertMachine withRelease;
  const AlertPlan a = tick(withRelease, alertOptions(true, true, true, true), 95, kMinute);
  EXPECT_TRUE(a.fires && a.release && a.balloon && a.dialog && a.writeLog);
  EXPECT_EQ(a.title, "您的计算机内存不足.");
  EXPECT_EQ(a.text, "Kelvane 尝试恢复内存, 但如果内存仍然不足, 请保存文件后关闭或重新启动所有打开的程序");
  EXPECT_EQ(a.request.WindowTitle, "Kelvane");
  EXPECT_EQ(a.request.MainInstruction, a.title);
  EXPECT_EQ(a.request.Content, a.text);
  EXPECT_EQ(a.request.ButtonCaptions, "&OK");
  EXPECT_EQ(a.request.VerificationText, "不再显示此警告");
  EXPECT_EQ(a.request.MainIcon, 1);
  EXPECT_EQ(a.request.FooterIcon, 0);
  EXPECT_EQ(a.request.Width, 270);

  AlertMachine withoutRelease;
  const AlertPlan b = tick(withoutRelease, alertOptions(false, false, true, false), 95, kMinute);
  EXPECT_TRUE(b.fires && b.dialog);
  EXPECT_FALSE(b.release || b.balloon || b.writeLog);
  EXPECT_EQ(b.text, "要恢复足够的内存使程序正常运行, 请保存文件后关闭或重新启动所有打开的程序");
  EXPECT_EQ(b.request.ButtonCaptions, "整理内存\n任务管理器\n关闭");

  // A dialog already on screen: everything else still happens, but no second dialog.
  AlertMachine busy;
  const AlertPlan c = tick(busy, alertOptions(true, true, true, true), 95, kMinute, true);
  EXPECT_TRUE(c.fires && c.release && c.balloon && c.writeLog);
  EXPECT_FALSE(c.dialog);
}

TEST(AlertMachine, TicksInsideTheDialogAndTheOuterTickFinishingLast) {
  const TKelvaneOptions options = alertOptions(true, false, true, true);
  AlertMachine machine;
  tick(machine, options, 80, kMinute);
  const std::uint32_t outerAt = 2 * kMinute;
  const AlertPlan outer = machine.decide({sampleAt(92), outerAt, false}, options);
  ASSERT_TRUE(outer.dialog);

  // While the dialog waits, its message loop runs further ticks. Within the hold-off they only
  // record their load.
  const AlertPlan early = tick(machine, options, 85, outerAt + kMinute, true);
  EXPECT_FALSE(early.fires);
  EXPECT_EQ(machine.previousLoad(), 85);
  // More than five minutes later one of them can alert again, but it opens no second dialog.
  const AlertPlan late = tick(machine, options, 97, outerAt + 6 * kMinute, true);
  EXPECT_TRUE(late.fires && late.balloon && late.writeLog);
  EXPECT_FALSE(late.dialog);
  EXPECT_EQ(machine.previousLoad(), 97);

  // When the dialog closes, the outer tick writes its own, older load.
  machine.finish(outer);
  EXPECT_EQ(machine.previousLoad(), 92);
  // And the hold-off now runs from the inner alert.
  EXPECT_FALSE(tick(machine, options, 80, outerAt + 8 * kMinute).fires);
  EXPECT_FALSE(tick(machine, options, 95, outerAt + 8 * kMinute + kSecond).fires);
}

TEST(AlertMachine, AStepThatDoesNotFinishKeepsThePreviousLoad) {
  // A log that cannot be written aborts the tick before `finish`.
  const TKelvaneOptions options = alertOptions(false, false, false, true);
  AlertMachine machine;
  tick(machine, options, 70, kMinute);
  const AlertPlan plan = machine.decide({sampleAt(93), 2 * kMinute, false}, options);
  EXPECT_TRUE(plan.fires);
  EXPECT_EQ(machine.previousLoad(), 70);
  EXPECT_EQ(machine.nextAlertTick(), 2 * kMinute + kAlertHoldOffMs);
}

TEST(AlertAnswer, ButtonsAndVerification) {
  AlertMachine m1, m2;
  const AlertPlan three = tick(m1, alertOptions(false, false, true, false), 95, kMinute);
  const AlertPlan single = tick(m2, alertOptions(false, true, true, false), 95, kMinute);

  auto release = interpretAlertAnswer(three, 100, false);
  EXPECT_TRUE(release.release);
  EXPECT_FALSE(release.startTaskManager || release.switchOffDialog);
  auto taskManager = interpretAlertAnswer(three, 101, false);
  EXPECT_TRUE(taskManager.startTaskManager);
  EXPECT_FALSE(taskManager.release);
  for (int other : {102, 2, 0, 1}) {
    auto nothing = interpretAlertAnswer(three, other, false);
    EXPECT_FALSE(nothing.release || nothing.startTaskManager || nothing.switchOffDialog) << other;
  }
  // "&OK" also answers 100, but memory was already released before the dialog opened.
  auto ok = interpretAlertAnswer(single, 100, false);
  EXPECT_FALSE(ok.release || ok.startTaskManager);
  // The verification box counts whatever ended the dialog.
  for (int result : {100, 101, 102, 2, 0}) {
    EXPECT_TRUE(interpretAlertAnswer(three, result, true).switchOffDialog) << result;
    EXPECT_TRUE(interpretAlertAnswer(single, result, true).switchOffDialog) << result;
  }
}

TEST(AlertTexts, LogLineAndShowLogNotice) {
  constexpr std::uint64_t MB = 1048576, GB = 1024 * MB;
  MemorySample sample;
  sample.dwMemoryLoad = 91;
  sample.ullTotalPhys = 16 * GB;
  sample.ullAvailPhys = 16 * GB - (14 * GB + GB / 2);  // 14.5 GB used
  sample.ullTotalPageFile = 20 * GB;
  sample.ullAvailPageFile = 20 * GB - 900 * MB;  // 900 MB used
  const Language& chinese = Language::simplifiedChinese();
  const NumberFormat point = NumberFormat::fromSystem(".", ",", "3;0");
  EXPECT_EQ(AlertLogLine(chinese, "2024/3/5", "14:07:09", sample, point),
            "2024/3/5 14:07:09: 内存使用: 91% | 物理内存: 14.5 GB/16 GB | 页面文件: 900 MB/20 GB");
  EXPECT_EQ(AlertLogLine(chinese, "05.03.2024", "14:07:09", sample, NumberFormat::fromSystem(",", ".", "3;0")),
            "05.03.2024 14:07:09: 内存使用: 91% | 物理内存: 14,5 GB/16 GB | 页面文件: 900 MB/20 GB");
  EXPECT_EQ(AlertLogLine(Language::english(), "3/5/2024", "2:07:09 PM", sample, point),
            "3/5/2024 2:07:09 PM: Memory load: 91% | Physical memory: 14.5 GB/16 GB | Page file: 900 MB/20 GB");

  // The user's folder names are data: "\\nina" must not become a line break in the dialog.
  const ShowLogNotice notice = MakeShowLogNotice(90, "C:\\Users\\nina\\Kelvane.log");
  EXPECT_EQ(notice.MainInstruction, "尚未记录到高内存值");
  EXPECT_EQ(notice.Content, "仅当内存超过 89% 的内存负载");
  EXPECT_EQ(notice.WindowTitle, "日志文件");
  EXPECT_EQ(ExpandLineBreaks(notice.FooterText), "日志文件将保存在 \"C:\\Users\\nina\\Kelvane.log\"");
  EXPECT_EQ(notice.MainIcon, 4);
  EXPECT_EQ(notice.FooterIcon, 4);
  EXPECT_EQ(notice.Width, 200);
  EXPECT_EQ(MakeShowLogNotice(5, "x").Content, "仅当内存超过 4% 的内存负载");
}

#include "settings/log_path.h"

TEST(LogPath, RelativeNamesLandInTheDataFolder) {
  const std::string data = "C:\\Users\\a\\AppData\\Roaming\\Brimvale\\Kelvane\\";
  EXPECT_EQ(ResolveLogPath("Kelvane.log", data), data + "Kelvane.log");
  EXPECT_EQ(ResolveLogPath("logs\\k.log", "D:\\data"), "D:\\data\\logs\\k.log");
  EXPECT_EQ(ResolveLogPath(".\\k.log", "D:\\data/"), "D:\\data/.\\k.log");
  for (const std::string anchored : {"C:\\x\\Kelvane.log", "c:/x.log", "\\\\server\\share\\k.log",
                                     "\\k.log", "D:k.log"})
    EXPECT_EQ(ResolveLogPath(anchored, data), anchored) << anchored;
  // Without a data folder there is nothing to resolve against.
  EXPECT_EQ(ResolveLogPath("Kelvane.log", ""), "Kelvane.log");
  EXPECT_EQ(ResolveLogPath("", data), data + "Kelvane.log");
}
