// The process dialog driven for real on running test processes: its buttons, what the copy
// puts on the clipboard, and which processes releasing and ending reach, and which they must not.

#include "actions/process_actions_win.h"
#include "actions/process_dialogs_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "common/handles_win.h"
#include "common/language.h"
#include "common/system_error_win.h"
#include "common/text_win.h"
#include "common/window_messages_win.h"
#include "dialog_driver_win.h"
#include "fake_form_services.h"
#include "process/process_list.h"
#include "process/process_platform_win.h"
#include "scratch_folder_win.h"

using namespace kelvane;
using namespace kelvane::test;
using kelvane::testing::FakeFormServices;
using kelvane::testing::besideThisProgram;
using kelvane::testing::ScratchFolder;

namespace {

// Copies of the idle child, in a folder named so that the path holds a backslash and an "n"
// (which the dialog must show as they are), started and ended by the test.
class ChildProgram {
 public:
  explicit ChildProgram(const std::wstring& folderName) {
    folder_ = scratch_.path() + folderName + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    copied_ = CopyFileW(besideThisProgram(L"idle_child.exe").c_str(), exe().c_str(), FALSE) != FALSE;
  }
  ~ChildProgram() {
    for (auto& process : processes_) {
      TerminateProcess(process.get(), 0);
      WaitForSingleObject(process.get(), 5000);
    }
  }
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  bool copied() const { return copied_; }
  std::wstring exe() const { return folder_ + L"idle_child.exe"; }

  DWORD start() {
    std::wstring commandLine = L"\"" + exe() + L"\" 0 60";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &started))
      return 0;
    CloseHandle(started.hThread);
    processes_.emplace_back(started.hProcess);
    return started.dwProcessId;
  }

  HANDLE handleOf(DWORD processId) const {
    for (const auto& process : processes_)
      if (GetProcessId(process.get()) == processId) return process.get();
    return nullptr;
  }
  bool running(DWORD processId) const {
    const HANDLE process = handleOf(processId);
    return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  }
  bool endsWithin(DWORD processId, DWORD milliseconds) const {
    const HANDLE process = handleOf(processId);
    return process && WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
  }
  void end(DWORD processId) {
    const HANDLE process = handleOf(processId);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
  }

 private:
  ScratchFolder scratch_;
  std::wstring folder_;
  bool copied_ = false;
  std::vector<UniqueKernelHandle> processes_;
};

// The menu's entry for a process, made from a snapshot as the menu makes it.
ProcessItem entryFor(DWORD processId, int instanceCount = 0) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  ProcessItem item;
  for (int attempt = 0; attempt < 40 && item.processId == 0; ++attempt) {
    list.Refresh(false);
    for (const TNxProcessRec& record : list.Items) {
      if (record.ProcessId != processId || record.Path.empty()) continue;
      item.processId = record.ProcessId;
      item.name = record.Name;
      item.path = record.Path;
      item.creationTime = record.CreationTimeUtc;
      item.memory = record.Memory;
    }
    if (item.processId == 0) Sleep(50);
  }
  item.instanceCount = instanceCount;
  item.unified = instanceCount > 0;
  return item;
}

// The first process of that name, as the menu would list it.
ProcessItem entryNamed(const std::string& name) {
  WindowsProcessPlatform platform;
  TNxProcessList list(platform);
  for (int attempt = 0; attempt < 40; ++attempt) {
    list.Refresh(false);
    for (const TNxProcessRec& record : list.Items)
      if (_stricmp(record.Name.c_str(), name.c_str()) == 0) return entryFor(record.ProcessId);
    Sleep(250);
  }
  return {};
}

// The system's calls, counted: Wine accepts a trim and changes nothing one could measure.
class CountingControl : public WindowsProcessPlatform {
 public:
  std::vector<DWORD> trimmed, ended;
  std::uint32_t trimWorkingSet(ProcessHandle process) override {
    trimmed.push_back(GetProcessId(reinterpret_cast<HANDLE>(process)));
    return WindowsProcessPlatform::trimWorkingSet(process);
  }
  std::uint32_t terminate(ProcessHandle process) override {
    ended.push_back(GetProcessId(reinterpret_cast<HANDLE>(process)));
    return WindowsProcessPlatform::terminate(process);
  }
};

// Wine opens any process for anything. This one refuses to open a process to end or trim it,
// as Windows refuses a program that is not elevated for an elevated or protected process.
class RefusingPlatform : public CountingControl {
 public:
  ProcessHandle openProcess(std::uint32_t processId, std::uint32_t access) override {
    refused_ = (access & (kProcessTerminate | kProcessSetQuota)) != 0;
    return refused_ ? 0 : CountingControl::openProcess(processId, access);
  }
  std::uint32_t openFailure() override { return refused_ ? ERROR_ACCESS_DENIED : CountingControl::openFailure(); }

 private:
  bool refused_ = false;
};

// Records without acting: a fault that ends the process must not end this test program.
class RecordingPlatform : public CountingControl {
 public:
  std::uint32_t trimWorkingSet(ProcessHandle process) override {
    trimmed.push_back(GetProcessId(reinterpret_cast<HANDLE>(process)));
    return 0;
  }
  std::uint32_t terminate(ProcessHandle process) override {
    ended.push_back(GetProcessId(reinterpret_cast<HANDLE>(process)));
    return 0;
  }
};

struct DialogSeen {
  std::vector<std::wstring> buttons;  // captions of 100..103, empty where missing
  std::wstring content;
  std::vector<std::wstring> texts;  // of every child window
  DriveReport report;
};

std::wstring textOf(HWND window) {
  wchar_t text[1024] = {};
  if (window) GetWindowTextW(window, text, 1024);
  return text;
}

// Opens the entry's dialog as the menu does, and ends it with `act`.
DialogSeen choose(CommandHost& form, const ProcessItem& item, ProcessPlatform& control,
                  const std::function<void(HWND)>& act) {
  DialogSeen seen;
  driveDialog(
      L"Kelvane",
      [&](HWND dialog) {
        for (int id = 100; id <= 103; ++id) seen.buttons.push_back(textOf(GetDlgItem(dialog, id)));
        EnumChildWindows(
            dialog,
            [](HWND child, LPARAM texts) -> BOOL {
              reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(textOf(child));
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen.texts));
        for (const std::wstring& text : seen.texts)
          if (text.find(L"文件路径") != std::wstring::npos || text.find(L"没有进程信息") != std::wstring::npos)
            seen.content = text;
        act(dialog);
      },
      [&] {
        KillItem(form, item, control);
        return 0;
      },
      seen.report);
  EXPECT_TRUE(seen.report.found);
  EXPECT_FALSE(seen.report.forcedClose) << "the dialog did not end by the driver's action";
  return seen;
}

DialogSeen press(CommandHost& form, const ProcessItem& item, ProcessPlatform& control, int button) {
  return choose(form, item, control, [button](HWND dialog) { clickButton(dialog, button); });
}

std::wstring clipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::vector<DWORD> sorted(std::vector<DWORD> ids) {
  std::sort(ids.begin(), ids.end());
  return ids;
}

}  // namespace

TEST(ProcessActions, TheFourButtonsCopyReleaseEndAndCancel) {
  ChildProgram program(L"nina");
  ASSERT_TRUE(program.copied());
  const DWORD child = program.start(), bystander = program.start();
  ASSERT_NE(child, 0u);
  const ProcessItem entry = entryFor(child);
  ASSERT_EQ(entry.processId, child);
  FakeFormServices form;
  // The clipboard takes text only from a program that names a window as its owner.
  const UniqueWindow mainWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                                GetModuleHandleW(nullptr), nullptr));
  form.mainWindow = mainWindow.get();
  CountingControl control;

  // Cancel and the close box do nothing.
  DialogSeen seen = press(form, entry, control, 103);
  EXPECT_EQ(seen.buttons, (std::vector<std::wstring>{L"复制详细信息", L"释放内存", L"终止进程", L"取消"}));
  // The path keeps its "\nina" in the dialog, exactly as the snapshot has it.
  EXPECT_NE(seen.content.find(L"文件路径: " + toWide(entry.path) + L"\r\n"), std::wstring::npos) << toUtf8(seen.content);
  EXPECT_EQ(std::count(seen.texts.begin(), seen.texts.end(), L"'idle_child.exe' 可能是一个系统进程"), 0);
  choose(form, entry, control, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
  // The desktop process (there while this test owns a window) is one of the system's.
  const ProcessItem explorer = entryNamed("explorer.exe");
  ASSERT_NE(explorer.processId, 0u);
  seen = press(form, explorer, control, 103);
  EXPECT_EQ(std::count(seen.texts.begin(), seen.texts.end(), L"'" + toWide(explorer.name) + L"' 可能是一个系统进程"), 1);
  EXPECT_TRUE(control.trimmed.empty());
  EXPECT_TRUE(control.ended.empty());

  // Copy: exactly the four lines and the two line ends after the path.
  press(form, entry, control, 100);
  EXPECT_EQ(clipboardText(), L"名称: Idle child for the process tests\r\n公司: Brimvale Test Works\r\n版本: 3.1.4.15\r\n"
                             L"文件路径: " + toWide(entry.path) + L"\r\n\r\n");
  EXPECT_TRUE(form.errors.empty());

  press(form, entry, control, 101);
  EXPECT_EQ(control.trimmed, std::vector<DWORD>{child});
  EXPECT_TRUE(control.ended.empty());
  EXPECT_TRUE(program.running(child));

  press(form, entry, control, 102);
  EXPECT_EQ(control.ended, std::vector<DWORD>{child});
  EXPECT_TRUE(program.endsWithin(child, 5000));
  EXPECT_TRUE(program.running(bystander));
  EXPECT_EQ(control.trimmed.size(), 1u);
}

TEST(ProcessActions, AGroupReachesEveryInstanceOfItsPathIncludingOneStartedAfterTheEntry) {
  ChildProgram program(L"group"), other(L"other");
  ASSERT_TRUE(program.copied() && other.copied());
  const DWORD first = program.start(), second = program.start(), elsewhere = other.start();
  const ProcessItem entry = entryFor(first, 2);
  ASSERT_EQ(entry.processId, first);
  const DWORD later = program.start();
  ASSERT_NE(later, 0u);
  Sleep(200);
  FakeFormServices form;
  CountingControl control;

  press(form, entry, control, 101);
  EXPECT_EQ(sorted(control.trimmed), sorted({first, second, later}));

  press(form, entry, control, 102);
  EXPECT_EQ(sorted(control.ended), sorted({first, second, later}));
  for (DWORD id : {first, second, later}) EXPECT_TRUE(program.endsWithin(id, 5000)) << id;
  EXPECT_TRUE(other.running(elsewhere));  // same file name, another folder
}

TEST(ProcessActions, AProcessThatEndedOrWhoseIdNowNamesAnotherIsNotTouched) {
  ChildProgram program(L"gone"), other(L"other");
  ASSERT_TRUE(program.copied() && other.copied());
  // Apart in time, so that the two instances' creation times differ.
  const DWORD ended = program.start();
  Sleep(50);
  const DWORD sameProgram = program.start(), otherProgram = other.start();
  const ProcessItem endedEntry = entryFor(ended);
  const ProcessItem sameEntry = entryFor(sameProgram);
  ASSERT_EQ(endedEntry.processId, ended);
  ASSERT_EQ(sameEntry.processId, sameProgram);
  program.end(ended);
  FakeFormServices form;
  CountingControl control;

  // The entry's process is gone; its id is free or held by whatever came next.
  for (int button : {101, 102}) press(form, endedEntry, control, button);

  // Its id reused by a newer instance of the same program (same path, later creation time),
  // and by another program.
  ProcessItem reusedBySame = endedEntry;
  reusedBySame.processId = sameProgram;
  ProcessItem reusedByOther = endedEntry;
  reusedByOther.processId = otherProgram;
  for (const ProcessItem& entry : {reusedBySame, reusedByOther})
    for (int button : {101, 102}) press(form, entry, control, button);

  // A merged entry whose path could not be read stands for its own process only, and that one
  // can no longer be told from another: nothing is done.
  ProcessItem pathless = sameEntry;
  pathless.path.clear();
  pathless.unified = true;
  pathless.instanceCount = 2;
  const DialogSeen seen = press(form, pathless, control, 102);
  EXPECT_EQ(seen.buttons[0], L"在线搜索");
  EXPECT_EQ(seen.content.rfind(L"(没有进程信息)\r\n\r\n请注意", 0), 0u) << toUtf8(seen.content);

  EXPECT_TRUE(control.trimmed.empty());
  EXPECT_TRUE(control.ended.empty());
  EXPECT_TRUE(program.running(sameProgram));
  EXPECT_TRUE(other.running(otherProgram));
  EXPECT_TRUE(form.errors.empty());
}

TEST(ProcessActions, ARefusedActionIsShownWithTheSystemsMessage) {
  ChildProgram program(L"refused");
  ASSERT_TRUE(program.copied());
  const DWORD child = program.start(), sibling = program.start();
  const ProcessItem entry = entryFor(child), group = entryFor(child, 2);
  ASSERT_EQ(entry.processId, child);
  FakeFormServices form;
  RefusingPlatform refusing;

  press(form, entry, refusing, 102);
  press(form, group, refusing, 101);
  const std::string denied = systemMessageText(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(denied.empty());
  EXPECT_EQ(form.errors, (std::vector<std::string>{"无法终止进程 idle_child.exe: " + denied,
                                                   "无法释放进程 idle_child.exe 的内存: " + denied}));
  EXPECT_TRUE(refusing.ended.empty() && refusing.trimmed.empty());
  EXPECT_TRUE(program.running(child) && program.running(sibling));
}

TEST(ProcessActions, EndingThisProgramsOwnEntryIsItsExitCommand) {
  const DWORD self = GetCurrentProcessId();
  const ProcessItem own = entryFor(self);
  ASSERT_EQ(own.processId, self);
  ProcessItem merged = own;  // every running copy of this program, this one among them
  merged.unified = true;
  merged.instanceCount = 2;
  FakeFormServices form;
  RecordingPlatform control;

  press(form, own, control, 102);
  EXPECT_EQ(form.closeRequests, 1);
  press(form, merged, control, 102);
  EXPECT_EQ(form.closeRequests, 2);
  EXPECT_TRUE(control.ended.empty());
}

namespace {

// The process dialogs on the screen: shown "Kelvane" windows of this process's other threads.
std::size_t shownProcessDialogs() {
  std::size_t shown = 0;
  for (HWND w = FindWindowW(nullptr, L"Kelvane"); w; w = FindWindowExW(nullptr, w, nullptr, L"Kelvane"))
    shown += IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId();
  return shown;
}

// Runs this thread's messages (the answers come as messages) until `done`, for at most 10 s.
bool pumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 1000 && !done(); ++i) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  return done();
}

}  // namespace

TEST(ProcessDialogs, OnePerEntryOnThreadsOfTheirOwnAnsweredHereAndClosedWithTheirProcessOrAtExit) {
  ChildProgram program(L"dialogs");
  ASSERT_TRUE(program.copied());
  const DWORD first = program.start();
  Sleep(50);  // apart in time, so that the two creation times differ
  const DWORD second = program.start();
  FakeFormServices form;
  CountingControl control;
  {
    ProcessDialogs dialogs(form, control);
    ProcessItem group = entryFor(first, 2);
    dialogs.open(entryFor(first));  // returns at once: no dialog's loop runs on this thread
    dialogs.open(entryFor(second));
    dialogs.open(entryFor(first));  // chosen again from a newer menu
    ASSERT_TRUE(pumpUntil([] { return shownProcessDialogs() == 2; }));
    EXPECT_EQ(dialogs.openCount(), 2u);

    clickButton(FindWindowW(nullptr, L"Kelvane"), 102);  // whichever is on top: it is ended here
    ASSERT_TRUE(pumpUntil([&] { return control.ended.size() == 1; }));
    const DWORD ended = control.ended.front();
    EXPECT_TRUE(program.endsWithin(ended, 5000));
    program.end(ended == first ? second : first);  // the other one's dialog goes as if cancelled
    EXPECT_TRUE(pumpUntil([&] { return dialogs.openCount() == 0 && shownProcessDialogs() == 0; }));

    dialogs.open(group);  // a merged entry's dialog, still open at exit
    group.processId = second;  // the same path, another first instance
    dialogs.open(group);
    ASSERT_TRUE(pumpUntil([] { return shownProcessDialogs() == 1; }));
    EXPECT_EQ(dialogs.openCount(), 1u);
  }
  EXPECT_EQ(shownProcessDialogs(), 0u);
  EXPECT_EQ(control.ended.size(), 1u);
  EXPECT_TRUE(control.trimmed.empty());
}

// The program speaks another language while a process dialog is open: the dialog shows the new
// language at once, where the user had moved it, and its answer is carried out as before.
TEST(ProcessDialogs, AnotherLanguageShowsTheOpenDialogAgainInItWhereItStood) {
  ChildProgram program(L"speakers");
  ASSERT_TRUE(program.copied());
  const DWORD child = program.start();
  FakeFormServices form;
  CountingControl control;
  ProcessDialogs dialogs(form, control);
  dialogs.open(entryFor(child));
  ASSERT_TRUE(pumpUntil([] { return shownProcessDialogs() == 1; }));
  const auto releaseCaption = [] {
    wchar_t caption[64] = L"";
    GetWindowTextW(GetDlgItem(FindWindowW(nullptr, L"Kelvane"), kProcessButtonRelease), caption, 64);
    return std::wstring(caption);
  };
  ASSERT_EQ(releaseCaption(), toWide("释放内存"));
  HWND first = FindWindowW(nullptr, L"Kelvane");
  SetWindowPos(first, nullptr, 123, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  speak(Language::english());
  announceLanguageChanged();
  const bool redrawn = pumpUntil([&] { return shownProcessDialogs() == 1 && releaseCaption() == L"Release memory"; });
  speak(Language::simplifiedChinese());
  ASSERT_TRUE(redrawn) << "the dialog still reads " << toUtf8(releaseCaption());
  RECT place{};
  GetWindowRect(FindWindowW(nullptr, L"Kelvane"), &place);
  EXPECT_EQ(place.left, 123);
  EXPECT_EQ(place.top, 87);
  EXPECT_EQ(dialogs.openCount(), 1u);
  EXPECT_TRUE(control.ended.empty()) << "a change of language answers nothing";

  clickButton(FindWindowW(nullptr, L"Kelvane"), kProcessButtonEnd);
  ASSERT_TRUE(pumpUntil([&] { return control.ended.size() == 1; }));
  EXPECT_EQ(control.ended.front(), child);
  EXPECT_TRUE(program.endsWithin(child, 5000));
}

// A trim that frees what one on Windows would: 12 MB of a 40 MB working set (Wine trims nothing).
class TrimmingControl : public CountingControl {
 public:
  ProcessMemoryCounters memoryCounters(ProcessHandle process) override {
    ProcessMemoryCounters counters = CountingControl::memoryCounters(process);
    counters.workingSetSize = trimmed.empty() ? 40 << 20 : 28 << 20;
    return counters;
  }
};

// "释放内存" says a second later in a balloon what it freed; with ReleaseBalloon off it is quiet.
TEST(ProcessDialogs, AReleaseSaysWhatItFreedInABalloonASecondLaterUnlessReleaseBalloonIsOff) {
  ChildProgram program(L"release");
  ASSERT_TRUE(program.copied());
  const DWORD child = program.start();
  FakeFormServices form;
  TrimmingControl control;
  ProcessDialogs dialogs(form, control);
  const ProcessItem entry = entryFor(child);
  dialogs.open(entry);
  ASSERT_TRUE(pumpUntil([] { return shownProcessDialogs() == 1; }));
  clickButton(FindWindowW(nullptr, L"Kelvane"), 101);
  ASSERT_TRUE(pumpUntil([&] { return control.trimmed.size() == 1; }));
  EXPECT_TRUE(form.balloons.empty());  // not before the pages have settled
  ASSERT_TRUE(pumpUntil([&] { return !form.balloons.empty(); }));
  EXPECT_EQ(form.balloons[0].text, "已释放 idle_child.exe 的 12 MB");
  EXPECT_EQ(form.balloons[0].title, "Kelvane");

  form.options.History.ReleaseBalloon = false;
  dialogs.open(entry);
  ASSERT_TRUE(pumpUntil([] { return shownProcessDialogs() == 1; }));
  clickButton(FindWindowW(nullptr, L"Kelvane"), 101);
  ASSERT_TRUE(pumpUntil([&] { return control.trimmed.size() == 2; }));
  const DWORD deadline = GetTickCount() + 2000;  // twice the settling time: no balloon comes
  pumpUntil([&] { return form.balloons.size() > 1 || static_cast<LONG>(GetTickCount() - deadline) > 0; });
  EXPECT_EQ(form.balloons.size(), 1u);
}

// Another program holds the clipboard while the details are copied: the user is told what failed
// and why, in the one wording of failures, not a bare error code.
TEST(ProcessActions, ACopyToAHeldClipboardSaysWhatFailedAndWhy) {
  ChildProgram program(L"nina");
  ASSERT_TRUE(program.copied());
  const DWORD child = program.start();
  ASSERT_NE(child, 0u);
  const ProcessItem entry = entryFor(child);
  FakeFormServices form;
  const UniqueWindow mainWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                                GetModuleHandleW(nullptr), nullptr));
  form.mainWindow = mainWindow.get();
  CountingControl control;

  struct Holder {
    UniqueKernelHandle opened{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    UniqueKernelHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    bool held = false;
  } holder;
  const UniqueKernelHandle thread(CreateThread(
      nullptr, 0,
      [](void* context) -> DWORD {
        auto& h = *static_cast<Holder*>(context);
        h.held = OpenClipboard(nullptr) != FALSE;
        SetEvent(h.opened.get());
        WaitForSingleObject(h.done.get(), 60000);
        if (h.held) CloseClipboard();
        return 0;
      },
      &holder, 0, nullptr));
  ASSERT_EQ(WaitForSingleObject(holder.opened.get(), 30000), WAIT_OBJECT_0);
  ASSERT_TRUE(holder.held);
  press(form, entry, control, 100);
  SetEvent(holder.done.get());
  WaitForSingleObject(thread.get(), 30000);

  ASSERT_EQ(form.errors.size(), 1u);
  const std::string prefix = "无法复制到剪贴板: ";
  EXPECT_EQ(form.errors[0].rfind(prefix, 0), 0u) << form.errors[0];
  EXPECT_GT(form.errors[0].size(), prefix.size()) << "the reason is missing";
}
