#include "app/alert_step_win.h"

#include <gtest/gtest.h>

#include "actions/show_log_win.h"
#include "actions/system_commands_win.h"
#include "common/clock_win.h"
#include "settings/log_file_win.h"
#include "common/text_win.h"
#include "fake_form_services.h"
#include "scratch_folder_win.h"
#include "settings/settings_file_win.h"

#include <vector>

using namespace kelvane;
using namespace kelvane::testing;

namespace {

constexpr std::uint32_t kMinute = 60000;
constexpr std::uint64_t GB = 1073741824ull;

MemorySample sampleAt(std::uint32_t load) {
  return MemorySample{load, 8 * GB, 4 * GB, 16 * GB, 12 * GB};
}

std::size_t countLines(const std::string& bytes) {
  std::size_t lines = 0;
  for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
    ++lines;
  return lines;
}

void seedAlerts(FakeFormServices& form, bool warn, bool defrag, bool dialog, bool log) {
  form.options.RedPercent = 40;
  form.options.Warn = warn;
  form.options.DefragOnHighMemory = defrag;
  form.options.WarnMsgBox = dialog;
  form.options.WriteLog = log;
}

}  // namespace

TEST(AlertLog, AppendsWithoutEverTruncatingAndCreatesOnlyWhenMissing) {
  ScratchFolder folder;
  const std::wstring path = folder.path() + L"Kelvane.log";
  EXPECT_FALSE(FileExistsOnReadyDrive(path));
  AppendLogLine(path, "first");
  EXPECT_TRUE(FileExistsOnReadyDrive(path));
  EXPECT_EQ(ScratchFolder::readBytes(path), "first\r\n");

  // A file written by someone else (or an older copy) keeps every byte, even without a final
  // line end.
  ScratchFolder::writeBytes(path, "older line\r\nno line end");
  AppendLogLine(path, "内存使用: 91%");
  const std::string expected = "older line\r\nno line end" + utf8ToAnsi("内存使用: 91%") + "\r\n";
  EXPECT_EQ(ScratchFolder::readBytes(path), expected);
  if (GetACP() == 936) {
    // GBK: 内 C4DA, 存 B4E6.
    EXPECT_EQ(ScratchFolder::readBytes(path).substr(23, 4), "\xC4\xDA\xB4\xE6");
  }

  // A folder is not a log file, and a missing folder cannot take one.
  EXPECT_FALSE(FileExistsOnReadyDrive(folder.path().substr(0, folder.path().size() - 1)));
  const std::wstring unreachable = folder.path() + L"missing\\Kelvane.log";
  try {
    AppendLogLine(unreachable, "x");
    ADD_FAILURE() << "no error for a missing folder";
  } catch (const LogWriteError& error) {
    EXPECT_NE(std::string(error.what()).find(toUtf8(unreachable)), std::string::npos) << error.what();
  }
}

TEST(AlertStep, FirstTickAboveTheThresholdReleasesWarnsAndLogsOnce) {
  ScratchFolder folder;
  FakeFormServices form;
  seedAlerts(form, true, true, false, true);
  form.options.LogFile = "Kelvane.log";  // relative: lands in the data folder
  form.dataFolder = toUtf8(folder.path());
  AlertState state;

  const std::uint32_t t0 = 10 * kMinute;
  RunAlertStep(state, form, sampleAt(55), t0);
  EXPECT_EQ(form.releases, 1);
  EXPECT_EQ(form.releaseOrigins, std::vector{CommandOrigin::HighLoad});  // quiet, kept by the history
  EXPECT_EQ(form.alertsRecorded, std::vector<std::uint32_t>{55});
  ASSERT_EQ(form.balloons.size(), 1u);
  EXPECT_EQ(form.balloons[0].title, "您的计算机内存不足.");
  EXPECT_EQ(form.balloons[0].kind, 2);
  EXPECT_EQ(form.balloons[0].seconds, 10);
  EXPECT_TRUE(form.errors.empty());

  const std::wstring logPath = folder.path() + L"Kelvane.log";
  const std::string log = ansiToUtf8(ScratchFolder::readBytes(logPath));
  ASSERT_EQ(countLines(log), 1u);
  const DateTimeTexts now = CurrentDateTimeTexts();
  EXPECT_EQ(log.rfind(now.date + " ", 0), 0u) << log;
  EXPECT_NE(log.find(": 内存使用: 55% | 物理内存: 4 GB/8 GB | 页面文件: 4 GB/16 GB\r\n"),
            std::string::npos)
      << log;

  // Further ticks inside the hold-off add nothing, whatever the load does.
  RunAlertStep(state, form, sampleAt(30), t0 + kMinute);
  RunAlertStep(state, form, sampleAt(60), t0 + 2 * kMinute);
  EXPECT_EQ(form.releases, 1);
  EXPECT_EQ(form.alertsRecorded.size(), 1u);
  EXPECT_EQ(form.balloons.size(), 1u);
  EXPECT_EQ(countLines(ScratchFolder::readBytes(logPath)), 1u);
  EXPECT_EQ(state.machine.previousLoad(), 60);
}

TEST(AlertStep, AnUnwritableLogIsReportedOncePerAlertAndTheMonitorGoesOn) {
  ScratchFolder folder;
  FakeFormServices form;
  seedAlerts(form, true, false, false, true);
  form.options.LogFile = toUtf8(folder.path()) + "no such folder\\Kelvane.log";
  AlertState state;

  RunAlertStep(state, form, sampleAt(20), kMinute);
  RunAlertStep(state, form, sampleAt(50), 2 * kMinute);
  ASSERT_EQ(form.errors.size(), 1u);
  EXPECT_NE(form.errors[0].find("Kelvane.log"), std::string::npos);
  EXPECT_EQ(form.balloons.size(), 1u);  // the balloon came before the log
  EXPECT_EQ(state.machine.previousLoad(), 20);  // the failed tick did not record its load

  // The next ticks carry on; within the hold-off nothing is reported again.
  RunAlertStep(state, form, sampleAt(55), 3 * kMinute);
  RunAlertStep(state, form, sampleAt(20), 4 * kMinute);
  RunAlertStep(state, form, sampleAt(50), 5 * kMinute);
  EXPECT_EQ(form.errors.size(), 1u);
  EXPECT_EQ(state.machine.previousLoad(), 50);
  // The next alert, after the hold-off, reports its own failure once.
  RunAlertStep(state, form, sampleAt(20), 8 * kMinute);
  RunAlertStep(state, form, sampleAt(50), 8 * kMinute + 1000);
  EXPECT_EQ(form.errors.size(), 2u);
  EXPECT_EQ(form.balloons.size(), 2u);
}

namespace {

// Ticks that the dialog's message loop runs while the outer tick waits.
struct InnerTicks {
  AlertState* state;
  FakeFormServices* form;
  std::uint32_t nextTick;
  int count = 0;
};
InnerTicks* gInnerTicks = nullptr;

void CALLBACK innerTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!gInnerTicks) return;
  RunAlertStep(*gInnerTicks->state, *gInnerTicks->form, sampleAt(70), gInnerTicks->nextTick);
  gInnerTicks->nextTick += 6 * kMinute;  // past the hold-off, but the load stays above
  ++gInnerTicks->count;
}

}  // namespace

TEST(AlertStep, TicksInsideTheDialogOpenNoSecondDialog) {
  FakeFormServices form;
  seedAlerts(form, true, false, true, false);
  AlertState state;
  RunAlertStep(state, form, sampleAt(30), kMinute);

  InnerTicks inner{&state, &form, 10 * kMinute};
  gInnerTicks = &inner;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &innerTick);
  {
    DialogAnswerer answerer(GetCurrentThreadId(), {{WM_COMMAND, 100, 0}}, 1500);
    RunAlertStep(state, form, sampleAt(45), 2 * kMinute);
    EXPECT_TRUE(answerer.sawDialog());
    EXPECT_EQ(answerer.title(), L"Kelvane");
    EXPECT_EQ(answerer.mostDialogsAtOnce(), 1);
  }
  KillTimer(nullptr, timer);
  gInnerTicks = nullptr;

  EXPECT_GE(inner.count, 3);
  // The outer alert warned, and so did the first inner tick, which came more than five minutes
  // later from a load below the threshold; the later ones stayed above it. Only the outer one
  // asked.
  EXPECT_EQ(form.balloons.size(), 2u);
  EXPECT_FALSE(state.AlertDialogOpen);
  // "整理内存" releases memory, since the automatic release is off.
  EXPECT_EQ(form.releases, 1);
  // The outer tick finished last with its own, older load.
  EXPECT_EQ(state.machine.previousLoad(), 45);
}

TEST(AlertStep, TheDialogsAnswersAndItsVerificationBox) {
  constexpr UINT kClickButton = WM_USER + 102;        // TDM_CLICK_BUTTON
  constexpr UINT kClickVerification = WM_USER + 113;  // TDM_CLICK_VERIFICATION
  struct Case {
    bool defrag;
    std::vector<PostedMessage> answer;
    int releases;        // including the automatic one before the dialog
    bool dialogStaysOn;  // WarnMsgBox afterwards
  };
  const std::vector<Case> cases = {
      {false, {{kClickButton, 100, 0}}, 1, true},   // "整理内存"
      {false, {{kClickButton, 102, 0}}, 0, true},   // "关闭"
      {false, {{WM_CLOSE, 0, 0}}, 0, true},         // the close box
      {false, {{kClickVerification, TRUE, 0}, {kClickButton, 102, 0}}, 0, false},
      {false, {{kClickVerification, TRUE, 0}, {WM_CLOSE, 0, 0}}, 0, false},
      {true, {{kClickButton, 100, 0}}, 1, true},    // "&OK" after the automatic release
      {true, {{kClickVerification, TRUE, 0}, {kClickButton, 100, 0}}, 1, false},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    FakeFormServices form;
    seedAlerts(form, false, cases[i].defrag, true, false);
    AlertState state;
    {
      DialogAnswerer answerer(GetCurrentThreadId(), cases[i].answer, 200);
      RunAlertStep(state, form, sampleAt(50), kMinute);
      EXPECT_TRUE(answerer.sawDialog()) << i;
      EXPECT_EQ(answerer.title(), L"Kelvane") << i;
    }
    EXPECT_EQ(form.releases, cases[i].releases) << i;
    EXPECT_EQ(form.options.WarnMsgBox, cases[i].dialogStaysOn) << i;
    EXPECT_FALSE(state.AlertDialogOpen) << i;
  }
}

TEST(AlertStep, ShowLogWithoutALogExplainsWhereItWillBe) {
  ScratchFolder folder;
  FakeFormServices form;
  form.options.RedPercent = 90;
  form.options.LogFile = "Kelvane.log";
  form.dataFolder = toUtf8(folder.path());
  EXPECT_EQ(LogFilePath(form), folder.path() + L"Kelvane.log");
  DialogAnswerer answerer(GetCurrentThreadId(), {{WM_CLOSE, 0, 0}});
  MneShowLogClick(form);
  EXPECT_TRUE(answerer.sawDialog());
  EXPECT_EQ(toUtf8(answerer.title()), "日志文件");
  EXPECT_FALSE(FileExistsOnReadyDrive(LogFilePath(form)));  // showing the notice creates nothing
}

namespace {

// The top-level window of another process whose title names the file, or null.
HWND editorWindowShowing(const std::wstring& fileName) {
  struct Search {
    std::wstring fileName;
    HWND found = nullptr;
  } search{fileName};
  EnumWindows(
      [](HWND hwnd, LPARAM context) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(context);
        wchar_t title[512] = L"";
        GetWindowTextW(hwnd, title, 512);
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == GetCurrentProcessId() || !wcsstr(title, wanted.fileName.c_str())) return TRUE;
        wanted.found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TEST(AlertStep, ShowLogWithoutAnAssociationOpensTheEditorOrSaysWhy) {
  ScratchFolder folder;
  FakeFormServices form;
  form.options.LogFile = "alerts.kelvane-unassociated";
  form.dataFolder = toUtf8(folder.path());
  ScratchFolder::writeBytes(LogFilePath(form), "2026-12-07 13:00:00: 内存使用: 91%\r\n");
  MneShowLogClick(form);
  HWND editor = nullptr;
  for (int i = 0; i < 100 && !editor; ++i, Sleep(100)) editor = editorWindowShowing(L"alerts.kelvane-unassociated");
  EXPECT_NE(editor, nullptr);
  EXPECT_TRUE(form.errors.empty());
  if (editor) {
    DWORD pid = 0;
    GetWindowThreadProcessId(editor, &pid);
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageW(editor, WM_CLOSE, 0, 0);
    if (process && WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) TerminateProcess(process, 0);
    if (process) CloseHandle(process);
  }

  // Without an editor either, the failure names the file.
  try {
    OpenDocument(nullptr, LogFilePath(form), L"kelvane-no-such-editor.exe");
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(toUtf8(LogFilePath(form))), std::string::npos) << error.what();
  }
}
