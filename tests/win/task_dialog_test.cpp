// Both task dialog paths driven for real: the platform's TaskDialogIndirect and the emulation,
// clicked, ticked and closed from a helper thread while the dialog runs modally here.

#include "dialogs/task_dialog_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text_win.h"
#include "dialog_driver_win.h"

using namespace kelvane;
using namespace kelvane::test;

namespace {

constexpr const char* kAlertCaptions = "整理内存\n任务管理器\n关闭";

struct PathCase {
  TaskDialogPath path;
  const wchar_t* expectedClass;
  const char* name;
};

const PathCase kPaths[] = {
    {TaskDialogPath::Automatic, L"#32770", "platform"},
    {TaskDialogPath::Emulation, L"TKelvaneTaskDialog", "emulation"},
};

// Each dialog gets a title of its own so the helper finds exactly it.
std::string uniqueTitle(const std::string& what) {
  static int counter = 0;
  return "Kelvane test " + what + " " + std::to_string(++counter);
}

struct Outcome {
  int result = -1;
  std::int32_t verification = -1;
  DriveReport report;
};

Outcome run(TTaskDialog request, TaskDialogCommonButtons common, const PathCase& path,
            const std::function<void(HWND)>& act, int width = 0) {
  request.WindowTitle = uniqueTitle(path.name);
  Outcome out;
  out.result = driveDialog(
      toWide(request.WindowTitle), act,
      [&] { return RunTaskDialog(request, common, 1, 0, width, nullptr, path.path); }, out.report);
  out.verification = request.VerificationChecked;
  return out;
}

void expectDriven(const Outcome& out, const PathCase& path) {
  EXPECT_TRUE(out.report.found) << path.name;
  EXPECT_FALSE(out.report.forcedClose) << path.name << ": the dialog did not end by the driver's action";
  EXPECT_EQ(out.report.windowClass, path.expectedClass) << path.name;
}

TTaskDialog alertRequest() {
  TTaskDialog r;
  r.MainInstruction = "您的计算机内存不足.";
  r.Content = "要恢复足够的内存使程序正常运行, 请保存文件后关闭或重新启动所有打开的程序";
  r.ButtonCaptions = kAlertCaptions;
  r.VerificationText = "不再显示此警告";
  return r;
}

}  // namespace

TEST(TaskDialogWin, WineOffersThePlatformDialog) {
  // Otherwise every "platform" case below would silently test the emulation twice.
  EXPECT_TRUE(PlatformTaskDialogAvailable());
}

TEST(TaskDialogWin, CustomButtonsAnswerTheirIdentifiersOnBothPaths) {
  for (const auto& path : kPaths) {
    for (int id : {100, 101, 102}) {
      bool allThree = false;
      const Outcome out = run(alertRequest(), 0, path, [&](HWND dlg) {
        allThree = GetDlgItem(dlg, 100) && GetDlgItem(dlg, 101) && GetDlgItem(dlg, 102);
        clickButton(dlg, id);
      }, 270);
      expectDriven(out, path);
      EXPECT_TRUE(allThree) << path.name;
      EXPECT_EQ(out.result, id) << path.name;
      EXPECT_EQ(out.verification, 0) << path.name;
    }
  }
}

TEST(TaskDialogWin, TickedVerificationComesBackWhateverEndedTheDialog) {
  struct Ending {
    const char* name;
    TaskDialogCommonButtons common;
    std::function<void(HWND)> end;
    int platformResult, emulationResult;
  };
  const Ending endings[] = {
      {"custom button", 0, [](HWND d) { clickButton(d, 101); }, 101, 101},
      {"close box", 0, [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2, 2},
      {"OK", tcbOk | tcbCancel, [](HWND d) { clickButton(d, 1); }, 1, 1},
  };
  for (const auto& path : kPaths) {
    for (const auto& ending : endings) {
      TTaskDialog request = alertRequest();
      if (ending.common) request.ButtonCaptions.clear();
      bool hadBox = false;
      const Outcome out = run(request, ending.common, path, [&](HWND dlg) {
        HWND box = findCheckBox(dlg);
        hadBox = box != nullptr;
        if (box) SendMessageW(box, BM_CLICK, 0, 0);
        ending.end(dlg);
      });
      expectDriven(out, path);
      EXPECT_TRUE(hadBox) << path.name << " / " << ending.name;
      const int expected = path.path == TaskDialogPath::Emulation ? ending.emulationResult : ending.platformResult;
      EXPECT_EQ(out.result, expected) << path.name << " / " << ending.name;
      EXPECT_NE(out.verification, 0) << path.name << " / " << ending.name;
    }
    // A box that starts ticked and is left alone stays ticked; one unticked by the user does not.
    TTaskDialog request = alertRequest();
    request.VerificationChecked = 1;
    Outcome out = run(request, 0, path, [](HWND dlg) { clickButton(dlg, 100); });
    EXPECT_NE(out.verification, 0) << path.name;
    out = run(request, 0, path, [](HWND dlg) {
      if (HWND box = findCheckBox(dlg)) SendMessageW(box, BM_CLICK, 0, 0);
      clickButton(dlg, 100);
    });
    EXPECT_EQ(out.verification, 0) << path.name;
  }
}

TEST(TaskDialogWin, CloseBoxAnswersTwoAndNoButtonsMeansOk) {
  for (const auto& path : kPaths) {
    Outcome out = run(alertRequest(), 0, path, [](HWND dlg) { PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); });
    expectDriven(out, path);
    EXPECT_EQ(out.result, 2) << path.name;

    // Nothing asked for: one OK button, answering 1.
    TTaskDialog bare;
    bare.Content = "第一行\\n第二行";
    bool onlyOk = false;
    out = run(bare, 0, path, [&](HWND dlg) {
      onlyOk = GetDlgItem(dlg, 1) != nullptr && GetDlgItem(dlg, 100) == nullptr;
      clickButton(dlg, 1);
    });
    expectDriven(out, path);
    EXPECT_TRUE(onlyOk) << path.name;
    EXPECT_EQ(out.result, 1) << path.name;
  }
}

TEST(TaskDialogWin, CloseButtonAnswersEightFromThePlatformAndThreeFromTheEmulation) {
  TTaskDialog request;
  request.Content = "close";
  // The platform's Close button has the control id IDCLOSE; the emulation's buttons carry their answers.
  Outcome out = run(request, tcbClose, kPaths[0], [](HWND dlg) { clickButton(dlg, IDCLOSE); });
  expectDriven(out, kPaths[0]);
  EXPECT_EQ(out.result, 8);
  out = run(request, tcbClose, kPaths[1], [](HWND dlg) { clickButton(dlg, 3); });
  expectDriven(out, kPaths[1]);
  EXPECT_EQ(out.result, 3);
}

// Wine's own TaskDialogIndirect ignores Escape, so the keys are tested on the emulation only.
TEST(TaskDialogWin, EmulationAnswersEscapeAndEnterByItsRules) {
  const PathCase& emulation = kPaths[1];
  struct KeyCase {
    const char* name;
    TaskDialogCommonButtons common;
    const char* captions;
    WPARAM key;
    int expected;
  };
  const KeyCase cases[] = {
      {"Escape, Yes/No", tcbYes | tcbNo, "", VK_ESCAPE, 7},
      {"Escape, OK/Cancel", tcbOk | tcbCancel, "", VK_ESCAPE, 2},
      {"Escape, OK alone", 0, "", VK_ESCAPE, 1},
      {"Escape, custom Cancel", 0, "Go\nCancel", VK_ESCAPE, 101},
      {"Enter, OK/Cancel", tcbOk | tcbCancel, "", VK_RETURN, 1},
      {"Enter, custom", 0, kAlertCaptions, VK_RETURN, 100},
  };
  for (const auto& c : cases) {
    TTaskDialog request;
    request.Content = c.name;
    request.ButtonCaptions = c.captions;
    const Outcome out = run(request, c.common, emulation, [&](HWND dlg) { pressKey(dlg, c.key); });
    expectDriven(out, emulation);
    EXPECT_EQ(out.result, c.expected) << c.name;
  }

  // Custom buttons without a cancel caption: Escape does nothing, the dialog stays open.
  TTaskDialog request = alertRequest();
  bool openAfterEscape = false;
  const Outcome out = run(request, 0, emulation, [&](HWND dlg) {
    pressKey(dlg, VK_ESCAPE);
    Sleep(300);
    openAfterEscape = IsWindow(dlg) && IsWindowVisible(dlg);
    PostMessageW(dlg, WM_CLOSE, 0, 0);
  });
  expectDriven(out, emulation);
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(out.result, 2);
}

TEST(TaskDialogWin, WrappersFillTheRequest) {
  for (const auto& path : kPaths) {
    const std::string title = uniqueTitle(std::string("choice ") + path.name);
    DriveReport report;
    const int result = driveDialog(
        toWide(title), [](HWND dlg) { clickButton(dlg, 103); },
        [&] {
          return TaskChoice("进程", "内容", "结束进程\n复制\n搜索\n整理", 4, nullptr, title, "页脚", 1, 270, path.path);
        },
        report);
    EXPECT_TRUE(report.found) << path.name;
    EXPECT_EQ(result, 103) << path.name;

    // TaskInfo has no title of its own: it takes the application's, and one OK button.
    report = {};
    driveDialog(
        L"Kelvane", [](HWND dlg) { clickButton(dlg, 1); }, [&] { TaskInfo("此程序需要 Windows NT", nullptr, path.path); return 0; },
        report);
    EXPECT_TRUE(report.found) << path.name;
    EXPECT_FALSE(report.forcedClose) << path.name;
  }
}

TEST(TaskDialogWin, ADialogThatCannotOpenAnswersZeroAndKeepsTheVerification) {
  // An owner window that does not exist makes both paths fail before anything is shown.
  const HWND gone = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0));
  ASSERT_FALSE(IsWindow(gone));
  for (const auto& path : kPaths) {
    TTaskDialog request = alertRequest();
    request.WindowTitle = uniqueTitle("no owner");
    request.VerificationChecked = 1;
    DriveReport report;
    const int result = driveDialog(
        toWide(request.WindowTitle), [](HWND dlg) { PostMessageW(dlg, WM_CLOSE, 0, 0); },
        [&] { return RunTaskDialog(request, 0, 1, 0, 0, gone, path.path); }, report);
    EXPECT_FALSE(report.found) << path.name;
    EXPECT_EQ(result, 0) << path.name;
    EXPECT_EQ(request.VerificationChecked, 1) << path.name;
  }
}

TEST(TaskDialogWin, InsertedPathsAreShownWholeWhileTheOwnTextBreaksOnBothPaths) {
  const std::string path = "C:\\Users\\nina\\new.txt";
  for (const auto& pathCase : kPaths) {
    TTaskDialog request;
    request.MainInstruction = "进程信息  '" + VerbatimText("n\\new.exe") + "'";
    request.Content = "第一行\\n文件路径: " + VerbatimText(path);
    request.FooterText = "日志文件将保存在 \"" + VerbatimText(path) + "\"";
    std::vector<std::wstring> texts;
    const Outcome out = run(request, 0, pathCase, [&](HWND dlg) {
      EnumChildWindows(
          dlg,
          [](HWND child, LPARAM list) -> BOOL {
            wchar_t text[512] = {};
            GetWindowTextW(child, text, 512);
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(text);
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&texts));
      clickButton(dlg, 1);
    });
    expectDriven(out, pathCase);
    const auto shows = [&](const std::string& text) {
      return std::find(texts.begin(), texts.end(), toWide(text)) != texts.end();
    };
    EXPECT_TRUE(shows("进程信息  'n\\new.exe'")) << pathCase.name;
    EXPECT_TRUE(shows("第一行\n文件路径: C:\\Users\\nina\\new.txt")) << pathCase.name;
    EXPECT_TRUE(shows("日志文件将保存在 \"C:\\Users\\nina\\new.txt\"")) << pathCase.name;
  }
}
