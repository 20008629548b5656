// Ending and releasing processes through the process layer, on a fake machine whose processes
// refuse what they do not grant.

#include "actions/process_control.h"

#include <gtest/gtest.h>

#include "fake_process_machine.h"
#include "menu/menu_model.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

constexpr std::uint32_t kEnd = kProcessTerminate | kProcessQueryLimitedInformation | kSynchronize;
constexpr std::uint32_t kRelease = kProcessSetQuota | kProcessQueryLimitedInformation | kSynchronize;

FakeProcess program(const std::string& path, std::uint32_t granted = kEnd | kRelease) {
  FakeProcess process = openable(100 << 20, 0);
  process.fullName = path;
  process.grantedAccess = granted;
  return process;
}

// The menu's entry for a process, made from a snapshot as the menu makes it.
ProcessItem entryFor(FakeMachine& machine, std::uint32_t processId) {
  TNxProcessList list(machine);
  list.Refresh(false);
  for (const TNxProcessRec& record : list.Items)
    if (record.ProcessId == processId) return *ProcessEntry(record, "", TrayMenuInputs{}).process();
  return {};
}

}  // namespace

TEST(ProcessControl, EachActionAsksOnlyForItsOwnRightsAndARefusalIsSaid) {
  FakeMachine machine;
  machine.add(8, "app.exe", program("C:\\app.exe"));  // grants exactly what the actions need
  machine.add(12, "guarded.exe", program("C:\\guarded.exe", kProcessQueryLimitedInformation | kSynchronize));
  const ProcessItem app = entryFor(machine, 8), guarded = entryFor(machine, 12);

  EXPECT_EQ(EndOrReleaseProcess(machine, app, false), "");
  EXPECT_EQ(EndOrReleaseProcess(machine, app, true), "");
  EXPECT_EQ(machine.trimmed, std::vector<std::uint32_t>{8});
  EXPECT_EQ(machine.ended, std::vector<std::uint32_t>{8});
  EXPECT_EQ(machine.actionRights, (std::vector<std::uint32_t>{kRelease, kEnd}));

  EXPECT_EQ(EndOrReleaseProcess(machine, guarded, true), "无法终止进程 guarded.exe: 拒绝访问。");
  EXPECT_EQ(EndOrReleaseProcess(machine, guarded, false), "无法释放进程 guarded.exe 的内存: 拒绝访问。");
  machine.processes[8].actionError = 1;  // it opens, the call fails, the system has no words
  EXPECT_EQ(EndOrReleaseProcess(machine, app, true), "无法终止进程 app.exe: System error (1)");

  // A process that has ended (held open elsewhere, or gone for good) is nothing to report.
  machine.processes[8].running = false;
  EXPECT_EQ(EndOrReleaseProcess(machine, app, true), "");
  machine.processes.erase(8);
  EXPECT_EQ(EndOrReleaseProcess(machine, app, true), "");
  EXPECT_EQ(machine.ended, std::vector<std::uint32_t>{8});

  machine.systemVersion = {2, 5, 1};  // before Vista there is no limited query right
  EndOrReleaseProcess(machine, guarded, true);
  EXPECT_EQ(machine.actionRights.back(), kProcessTerminate | kProcessQueryInformation | kSynchronize);
  EXPECT_EQ(machine.openHandles, 0);
}

TEST(ProcessControl, TheMenusProcessIsKnownByItsSystemTimeAcrossATimeZoneChange) {
  FakeMachine machine;
  machine.add(8, "app.exe", program("C:\\app.exe"));
  const ProcessItem entry = entryFor(machine, 8);
  machine.processes[8].created->local.hour += 1;  // daylight saving began after the menu
  EXPECT_EQ(EndOrReleaseProcess(machine, entry, false), "");
  EXPECT_EQ(machine.trimmed, std::vector<std::uint32_t>{8});

  machine.processes[8].created->utc += 10'000'000;  // the id now names a newer instance
  machine.processes[8].created->local.hour -= 1;
  EXPECT_EQ(EndOrReleaseProcess(machine, entry, true), "");
  EXPECT_TRUE(machine.ended.empty());
}

TEST(ProcessControl, AMergedEntryReachesOnlyTheInstancesInTheUsersOwnSession) {
  const std::string chrome = "C:\\chrome.exe";
  FakeMachine machine;
  machine.add(8, "chrome.exe", program(chrome));
  FakeProcess otherUser = program(chrome, kProcessAllAccess | kProcessQueryLimitedInformation);
  otherUser.session = 2;  // open to a program that holds the debug privilege
  machine.add(12, "chrome.exe", otherUser);
  FakeProcess unknownSession = program(chrome);
  unknownSession.session.reset();
  machine.add(16, "chrome.exe", unknownSession);
  machine.add(20, "chrome.exe", program(chrome, kProcessQueryLimitedInformation | kSynchronize));
  machine.add(24, "chrome.exe", program(chrome));
  machine.add(28, "chrome.exe", program("D:\\chrome.exe"));

  // The refusing instance is reported and the others are ended all the same.
  EXPECT_EQ(ApplyToAllInstances(machine, chrome, true, false), "无法终止进程 chrome.exe: 拒绝访问。");
  EXPECT_EQ(machine.ended, (std::vector<std::uint32_t>{8, 24}));
  EXPECT_EQ(machine.actionRights.size(), 3u);  // 12 and 16 are not even opened to act

  machine.ownSessionId.reset();  // whose copy is whose cannot be told: none is touched
  EXPECT_EQ(ApplyToAllInstances(machine, chrome, false, false), "");
  EXPECT_TRUE(machine.trimmed.empty());
  EXPECT_EQ(machine.openHandles, 0);
}
