// The "grew most" list from real process snapshots: a program that grows between the walks the
// tray menu uses is the history window's first grower, with about what it grew, and a process
// that keeps its size is not listed with a growth.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "history/program_history_win.h"
#include "common/clock_win.h"
#include "common/handles_win.h"
#include "common/text_win.h"
#include "history/history_export_win.h"
#include "history/history_window_win.h"
#include "scratch_folder_win.h"

using namespace kelvane;
using kelvane::testing::besideThisProgram;
using kelvane::testing::ScratchFolder;

namespace {

// The idle child in its growing mode, talked to through its standard input and output: a line
// in asks for a step, its line out says the memory is touched.
class GrowingChild {
 public:
  GrowingChild(const std::wstring& exe, unsigned megabytes, unsigned stepMegabytes) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE childInput = nullptr, childOutput = nullptr, toChild = nullptr, fromChild = nullptr;
    if (!CreatePipe(&childInput, &toChild, &inherited, 0)) return;
    if (!CreatePipe(&fromChild, &childOutput, &inherited, 0)) return;
    toChild_.reset(toChild);
    fromChild_.reset(fromChild);
    const UniqueKernelHandle input(childInput), output(childOutput);  // the child's ends, closed here once it has them
    SetHandleInformation(toChild, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(fromChild, HANDLE_FLAG_INHERIT, 0);
    std::wstring commandLine =
        L"\"" + exe + L"\" " + std::to_wstring(megabytes) + L" 60 " + std::to_wstring(stepMegabytes);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &started))
      return;
    CloseHandle(started.hThread);
    process_.reset(started.hProcess);
  }
  ~GrowingChild() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
  }
  GrowingChild(const GrowingChild&) = delete;
  GrowingChild& operator=(const GrowingChild&) = delete;

  bool started() const { return static_cast<bool>(process_); }
  // Its next line; empty when it ended (at the latest when its own time is up).
  std::string said() {
    std::string line;
    char byte = 0;
    DWORD read = 0;
    while (ReadFile(fromChild_.get(), &byte, 1, &read, nullptr) && read == 1 && byte != '\n') line += byte;
    return line;
  }
  std::string grow() {
    DWORD written = 0;
    WriteFile(toChild_.get(), "\n", 1, &written, nullptr);
    return said();
  }

 private:
  UniqueKernelHandle process_, toChild_, fromChild_;
};

// The window's source as the main form is: the program's own history, its place kept here.
class ProgramSource : public HistoryWindowSource {
 public:
  explicit ProgramSource(ProgramHistory& history) : history_(history) {}
  HistoryContent heldHistory() override { return history_.held(); }
  std::vector<Grower> growers(std::int64_t from, std::int64_t to) override { return history_.growers(from, to); }
  HistoryLook look() override { return HistoryLook(); }
  NumberFormat numberFormat() override { return NumberFormat(); }
  HistoryWindowPlace place() override { return kept; }
  void keepPlace(const HistoryWindowPlace& place) override { kept = place; }
  HistoryWindowPlace kept{.range = HistoryRange::Hour};

 private:
  ProgramHistory& history_;
};

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(HistoryGrowth, AProgramThatGrowsBetweenRealSnapshotsLeadsTheWindowsList) {
  ScratchFolder folder;
  const std::wstring copy = folder.path() + L"leaking_tool.exe";
  ASSERT_TRUE(CopyFileW(besideThisProgram(L"idle_child.exe").c_str(), copy.c_str(), FALSE));
  const std::wstring steadyCopy = folder.path() + L"steady_tool.exe";
  ASSERT_TRUE(CopyFileW(besideThisProgram(L"idle_child.exe").c_str(), steadyCopy.c_str(), FALSE));
  const std::int64_t now = utcSecondsNow();
  ProgramHistory history(folder.path() + L"Kelvane.History", now - 900, [](const std::string&, const std::string&) {});

  // Snapshots five minutes apart, as the timer takes them; between them the leaking program
  // grows by 24 MB twice, the steady one (above the snapshots' floor) keeps its 16 MB.
  GrowingChild leaking(copy, 8, 24);
  GrowingChild steady(steadyCopy, 16, 1);
  ASSERT_TRUE(leaking.started() && steady.started());
  ASSERT_EQ(leaking.said(), "held 8 MB");
  ASSERT_EQ(steady.said(), "held 16 MB");
  history.snapshot(walkProcesses(false), now - 600);
  ASSERT_EQ(leaking.grow(), "held 32 MB");
  history.snapshot(walkProcesses(false), now - 300);
  ASSERT_EQ(leaking.grow(), "held 56 MB");
  history.snapshot(walkProcesses(false), now);

  ProgramSource source(history);
  HistoryWindow window(source, nullptr);
  window.show();
  const std::vector<Grower>& growers = window.view().growers();
  ASSERT_FALSE(growers.empty());
  const Grower& first = growers.front();
  EXPECT_TRUE(endsWith(first.path, "\\leaking_tool.exe")) << first.path;
  // 48 MB touched; the working set may differ by what the runtime itself touched meanwhile.
  EXPECT_GE(first.growth(), 46ull << 20) << first.growth();
  EXPECT_LE(first.growth(), 50ull << 20) << first.growth();
  EXPECT_EQ(growerLine(first, NumberFormat()).substr(0, 1), "+");
  EXPECT_TRUE(endsWith(growerLine(first, NumberFormat()), "  leaking_tool.exe")) << growerLine(first, NumberFormat());
  // (An idle process's working set may still move by a page or two.)
  EXPECT_TRUE(std::none_of(growers.begin(), growers.end(), [](const Grower& grower) {
    return endsWith(grower.path, "\\steady_tool.exe") && grower.growth() >= (1ull << 20);
  }));

  // The last five minutes alone hold the second step only.
  const std::vector<Grower> recent = history.growers(now - 300, now);
  ASSERT_FALSE(recent.empty());
  EXPECT_TRUE(endsWith(recent.front().path, "\\leaking_tool.exe"));
  EXPECT_LE(recent.front().growth(), 26ull << 20) << recent.front().growth();
  window.close();
}
