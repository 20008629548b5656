#include "process/process_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fake_process_machine.h"

using namespace kelvane;

using kelvane::testing::FakeMachine;
using kelvane::testing::FakeProcess;
using kelvane::testing::openable;

TEST(ProcessListRefresh, SkipsOnlyTheIdleProcessAndFillsEveryRecord) {
  FakeMachine machine;
  machine.add(0, "[System Process]", {});
  machine.add(32, "services.exe", openable(5000, 100));
  machine.walk.back().threadCount = 9;
  machine.walk.back().parentProcessId = 28;
  machine.walk.back().basePriority = 8;
  machine.walk.back().usageCount = 1;
  FakeProcess locked;  // another user's process: nothing can be opened
  locked.grantedAccess = 0;
  locked.fullName = "C:\\secret.exe";
  machine.add(40, "other.exe", locked);

  TNxProcessList list(machine);
  list.Refresh(false);
  ASSERT_EQ(list.Count(), 2);
  const TNxProcessRec& services = list.Items[0];
  EXPECT_EQ(services.Name, "services.exe");
  EXPECT_EQ(services.Path, "C:\\Programs\\app.exe");
  EXPECT_EQ(services.UserName, "alice");
  EXPECT_EQ(services.Domain, "HOST");
  EXPECT_DOUBLE_EQ(services.CreationTime, 36526.5);
  EXPECT_EQ(services.CreationTimeUtc, kelvane::testing::kNoonOfMillennium);
  EXPECT_EQ(services.Memory, 5000u);
  EXPECT_EQ(services.ProcessId, 32u);
  EXPECT_EQ(services.ThreadCount, 9u);
  EXPECT_EQ(services.ParentProcessId, 28u);
  EXPECT_EQ(services.BasePriority, 8);
  EXPECT_EQ(services.UsageCount, 1u);
  EXPECT_EQ(services.InstanceCount, 0);

  const TNxProcessRec& other = list.Items[1];
  EXPECT_EQ(other.Name, "other.exe");
  EXPECT_EQ(other.Path, "");
  EXPECT_EQ(other.UserName, "");
  EXPECT_EQ(other.Memory, 0u);
  EXPECT_EQ(other.CreationTime, 0.0);

  // A walk that starts with a real process (as some systems do) keeps it.
  machine.walk.erase(machine.walk.begin());
  list.Refresh(false);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items[0].ProcessId, 32u);

  // A walk holding the idle process alone, or nothing, leaves the list empty.
  machine.walk = {ProcessWalkEntry{"[System Process]", 0, 0, 0, 0, 1, 0, 0}};
  list.Refresh(false);
  EXPECT_EQ(list.Count(), 0);
  machine.walk.clear();
  list.Refresh(true);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(machine.openHandles, 0);
}

TEST(ProcessListRefresh, CounterFollowsTheSettingAndLargeFiguresStayWhole) {
  FakeMachine machine;
  machine.add(8, "big.exe", openable(6'000'000'000ULL, 5'000'000'000ULL));
  TNxProcessList list(machine);
  list.Refresh(false);
  EXPECT_EQ(list.Items.at(0).Memory, 6'000'000'000ULL);
  list.Refresh(true);
  ASSERT_EQ(list.Count(), 1);  // the previous records are gone
  EXPECT_EQ(list.Items.at(0).Memory, 5'000'000'000ULL);

  EXPECT_EQ(list.GetProcessMemory(8, 2, false), 6'000'000'000ULL >> 20);
  EXPECT_EQ(list.GetProcessMemory(8, 1, true), 5'000'000'000ULL / 1024);
  EXPECT_EQ(list.GetProcessMemory(8, 3, false), 5u);  // 5.59 GB, truncated
  EXPECT_EQ(list.GetProcessMemory(8, 4, false), 0u);
  EXPECT_EQ(list.GetProcessMemory(8, -1, false), 0u);
  EXPECT_EQ(list.GetProcessMemory(99, 0, false), 0u);  // no such process
}

TEST(ProcessListRefresh, UnreadableCountersLeaveMemoryZeroAndTheWalkGoesOn) {
  FakeMachine machine;
  machine.add(8, "first.exe", openable(100, 10));
  FakeProcess broken = openable(200, 20);
  broken.countersFail = true;
  machine.add(12, "broken.exe", broken);
  machine.add(16, "after.exe", openable(300, 30));
  TNxProcessList list(machine);
  list.Refresh(false);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items[0].Memory, 100u);
  EXPECT_EQ(list.Items[1].Name, "broken.exe");
  EXPECT_EQ(list.Items[1].Memory, 0u);  // shown as "n/a" in the menu
  EXPECT_EQ(list.Items[2].Memory, 300u);
  EXPECT_EQ(machine.openHandles, 0);
  // Asked directly, the failure still names the system error.
  try {
    list.GetProcessMemory(12, 0, false);
    FAIL() << "the failure was swallowed";
  } catch (const ProcessQueryError& error) {
    EXPECT_EQ(error.code(), 299u);
  }
  EXPECT_EQ(machine.openHandles, 0);
}

TEST(ProcessListRefresh, EachQueryAsksForItsOwnRights) {
  // A protected process on a newer system grants the limited query right only: path, memory and
  // creation time can still be read, the owner (which needs the full query right) cannot.
  FakeMachine machine;
  FakeProcess guarded = openable(4096, 1024);
  guarded.grantedAccess = kProcessQueryLimitedInformation;
  machine.add(20, "guarded.exe", guarded);
  TNxProcessList list(machine);
  list.Refresh(false);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items[0].Path, "C:\\Programs\\app.exe");
  EXPECT_EQ(list.Items[0].Memory, 4096u);
  EXPECT_DOUBLE_EQ(list.Items[0].CreationTime, 36526.5);
  EXPECT_EQ(list.Items[0].UserName, "");
  EXPECT_EQ(list.Items[0].Domain, "");
  EXPECT_EQ(machine.openHandles, 0);
}

TEST(ProcessFilePath, EachGenerationUsesItsOwnQueryWithoutFallingBack) {
  FakeMachine machine;
  FakeProcess process;
  process.fullName = "C:\\Windows\\explorer.exe";
  process.deviceName = "\\Device\\HarddiskVolume2\\Windows\\explorer.exe";
  process.moduleName = "\\??\\C:\\WINNT\\system32\\smss.exe";
  machine.add(8, "explorer.exe", process);
  machine.drives = {{"c:", "\\Device\\HarddiskVolume2"}};
  TNxProcessList list(machine);

  machine.systemVersion = {2, 6, 1};
  EXPECT_EQ(list.GetProcessFilePath(8), "C:\\Windows\\explorer.exe");
  machine.systemVersion = {2, 5, 1};
  EXPECT_EQ(list.GetProcessFilePath(8), "c:\\Windows\\explorer.exe");
  machine.systemVersion = {2, 5, 0};
  EXPECT_EQ(list.GetProcessFilePath(8), "C:\\WINNT\\system32\\smss.exe");
  machine.processes[8].moduleName = "C:\\WINNT\\??\\x.exe";
  EXPECT_EQ(list.GetProcessFilePath(8), "C:\\WINNT\\??\\x.exe");
  machine.systemVersion = {2, 4, 0};
  EXPECT_EQ(list.GetProcessFilePath(8), "");

  // A failed query on a newer system leaves the path empty although older calls would answer.
  machine.systemVersion = {2, 10, 0};
  machine.processes[8].fullName.reset();
  EXPECT_EQ(list.GetProcessFilePath(8), "");
  EXPECT_EQ(machine.openHandles, 0);

  // The XP generation opens with query and read rights, not the limited right.
  machine.systemVersion = {2, 5, 1};
  machine.processes[8].grantedAccess = kProcessQueryLimitedInformation;
  EXPECT_EQ(list.GetProcessFilePath(8), "");
}

TEST(ProcessFilePath, DevicePathsBecomeLowerCaseDrivePaths) {
  FakeMachine machine;
  TNxProcessList list(machine);
  const std::string explorer = "\\Device\\HarddiskVolume2\\Windows\\explorer.exe";

  machine.drives = {{"c:", "\\DEVICE\\harddiskvolume2"}};
  EXPECT_EQ(list.DevicePathToDrivePath(explorer), "c:\\Windows\\explorer.exe");

  // A device whose name begins like another's is not taken for it; the first match wins.
  machine.drives = {{"d:", "\\Device\\HarddiskVolume20"},
                    {"e:", "\\Device\\HarddiskVolume2"},
                    {"f:", "\\Device\\HarddiskVolume2"}};
  EXPECT_EQ(list.DevicePathToDrivePath(explorer), "e:\\Windows\\explorer.exe");
  EXPECT_EQ(list.DevicePathToDrivePath("\\Device\\HarddiskVolume20\\a.exe"), "d:\\a.exe");

  machine.drives = {{"c:", "\\Device\\HarddiskVolume1"}};
  machine.deviceQueries = 0;
  EXPECT_EQ(list.DevicePathToDrivePath(explorer), "");
  EXPECT_EQ(machine.deviceQueries, 26);

  // Texts without a folder part after the device are no device paths.
  machine.drives = {{"c:", "\\Device\\HarddiskVolume2"}};
  EXPECT_EQ(list.DevicePathToDrivePath("\\Device\\HarddiskVolume2"), "");
  EXPECT_EQ(list.DevicePathToDrivePath("\\Device"), "");
  EXPECT_EQ(list.DevicePathToDrivePath(""), "");
}

TEST(ProcessListItems, GetItemDeleteAndClearKeepToTheirBounds) {
  FakeMachine machine;
  machine.add(8, "a.exe", openable(1, 1));
  machine.add(12, "b.exe", openable(2, 2));
  machine.add(16, "c.exe", openable(3, 3));
  TNxProcessList list(machine);
  list.Refresh(false);

  TNxProcessRec copy;
  copy.Name = "untouched";
  for (int bad : {-1, 3}) {
    try {
      list.GetItem(bad, copy);
      FAIL() << "index " << bad << " was accepted";
    } catch (const std::out_of_range& error) {
      EXPECT_STREQ(error.what(), "Index out of bounds");
    }
  }
  EXPECT_EQ(copy.Name, "untouched");
  list.GetItem(2, copy);
  EXPECT_EQ(copy.Name, "c.exe");
  EXPECT_EQ(copy.Path, "C:\\Programs\\app.exe");

  EXPECT_THROW(list.Delete(3), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
  list.Delete(1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items[1].Name, "c.exe");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ProcessListTime, DayCountsFromTheEndOf1899) {
  EXPECT_DOUBLE_EQ(dayCountFromCalendar({1899, 12, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_DOUBLE_EQ(dayCountFromCalendar({1900, 1, 1, 6, 0, 0, 0}), 2.25);
  EXPECT_DOUBLE_EQ(dayCountFromCalendar({2000, 3, 1, 0, 0, 0, 0}), 36586.0);  // past 29 February
  EXPECT_NEAR(dayCountFromCalendar({2026, 12, 7, 23, 59, 59, 999}), 46363.0 + 86399.999 / 86400, 1e-9);

  FakeMachine machine;
  machine.add(8, "a.exe", openable(1, 1));
  machine.processes[8].created.reset();  // the system reports no creation time
  TNxProcessList list(machine);
  EXPECT_EQ(list.GetProcessCreationTime(8), 0.0);
}

TEST(ProcessListGenerations, FollowThePlatformAndVersion) {
  const auto check = [](PlatformVersion version, bool vista, bool xp, bool w2000) {
    const SystemGeneration generation = systemGenerationOf(version);
    EXPECT_EQ(generation.vistaOrLater, vista) << version.major << "." << version.minor;
    EXPECT_EQ(generation.xpOrLater, xp) << version.major << "." << version.minor;
    EXPECT_EQ(generation.w2000OrLater, w2000) << version.major << "." << version.minor;
  };
  check({2, 4, 0}, false, false, false);
  check({2, 5, 0}, false, false, true);
  check({2, 5, 2}, false, true, true);
  check({2, 6, 0}, true, true, true);
  check({1, 4, 10}, false, false, false);  // the 9x platform
}
