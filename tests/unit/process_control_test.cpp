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

namespace {

// A trim that gives back what a trim on Windows would: each trimmed process's working set drops
// to `left` bytes.
class TrimmingMachine : public FakeMachine {
 public:
  std::uint64_t left = 0;
  std::uint32_t trimWorkingSet(ProcessHandle h) override {
    const std::uint32_t error = FakeMachine::trimWorkingSet(h);
    if (error == 0) processes.at(static_cast<std::uint32_t>(h - 1000)).counters.workingSetSize = left;
    return error;
  }
};

}  // namespace

// The process dialog's release tells what it freed: the working set before the trim less the
// one after it, summed over a merged entry's instances; nothing when nothing was freed or the
// process has gone.
TEST(ProcessControl, AReleaseSaysHowMuchOfTheWorkingSetItFreedOrThatThereWasNothing) {
  TrimmingMachine machine;
  machine.add(8, "notepad.exe", program("C:\\notepad.exe"));
  machine.processes[8].counters.workingSetSize = 40 << 20;
  machine.left = 28 << 20;
  const NumberFormat format;
  const ProcessItem notepad = entryFor(machine, 8);
  const std::optional<std::uint64_t> before = EntryWorkingSet(machine, notepad, false);
  EXPECT_EQ(before, 40u << 20);
  EXPECT_EQ(EndOrReleaseProcess(machine, notepad, false), "");
  EXPECT_EQ(ProcessReleaseFeedback("notepad.exe", before, EntryWorkingSet(machine, notepad, false), format),
            "已释放 notepad.exe 的 12 MB");
  // A trim that frees nothing (as under Wine), or a process that grew meanwhile.
  EXPECT_EQ(ProcessReleaseFeedback("notepad.exe", before, before, format), "notepad.exe 没有可释放的内存");
  EXPECT_EQ(ProcessReleaseFeedback("notepad.exe", before, *before + 1, format), "notepad.exe 没有可释放的内存");

  // A merged entry: the instances' working sets add up.
  machine.add(12, "notepad.exe", program("C:\\notepad.exe"));
  machine.processes[12].counters.workingSetSize = 30 << 20;
  ProcessItem merged = notepad;
  merged.unified = true;
  EXPECT_EQ(EntryWorkingSet(machine, merged, false), 58u << 20);
  machine.left = 5 << 20;
  EXPECT_EQ(ApplyToAllInstances(machine, merged.path, false, false), "");
  EXPECT_EQ(EntryWorkingSet(machine, merged, false), 10u << 20);

  // Gone before the second reading: nothing to tell of, and no figure at all for it.
  machine.processes.erase(8);
  EXPECT_EQ(EntryWorkingSet(machine, notepad, false), std::nullopt);
  EXPECT_EQ(ProcessReleaseFeedback("notepad.exe", before, EntryWorkingSet(machine, notepad, false), format),
            "notepad.exe 没有可释放的内存");
  EXPECT_EQ(machine.openHandles, 0);
}
