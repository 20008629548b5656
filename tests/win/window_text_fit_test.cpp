// The texts of the welcome and about windows and of the emulated task dialogs fit their
// controls in every built-in language, measured with each control's own font (text_fit.h):
// the windows are built for real at 96 and 144 DPI, the dialogs shown and read while they run.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "actions/process_dialog.h"
#include "app/alert_machine.h"
#include "common/language.h"
#include "common/text_win.h"
#include "common/window_messages_win.h"
#include "common/window_win.h"
#include "dialog_driver_win.h"
#include "dialogs/about_window_win.h"
#include "dialogs/message_dlg.h"
#include "dialogs/task_dialog_win.h"
#include "dialogs/welcome_window_win.h"
#include "text_fit.h"

using namespace kelvane;
using namespace kelvane::test;

namespace {

const Language* const kLanguages[] = {&Language::simplifiedChinese(), &Language::english()};
constexpr int kDpis[] = {96, 144};

// Speaks `language` for the scope, then Chinese again, as the other tests expect.
class Speaking {
 public:
  explicit Speaking(const Language& language) { speak(language); }
  ~Speaking() { speak(Language::simplifiedChinese()); }
};

std::string joined(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += "\n  " + problem;
  return text;
}

HWND testOwner() {
  static HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return owner;
}

// The main form's stand-in: a hidden window the about window builds its controls on.
class AboutForm : public WindowBase<AboutForm> {
 public:
  AboutForm() {
    registerWindowClass(L"KelvaneTestTextFitAboutForm");
    createWindow(0, L"KelvaneTestTextFitAboutForm", L"", WS_OVERLAPPED | WS_CAPTION, 0, 0, 300, 200, nullptr);
  }
  ~AboutForm() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return defaultProc(message, wParam, lParam); }
};

// Every state the download line can show: each showing of the window starts from one of them.
std::vector<DownloadLabel> everyDownloadLabel() {
  std::vector<DownloadLabel> labels(5);
  labels[1].checkStarted();
  labels[2].checkStarted();
  labels[2].checkEnded({DownloadLabelState::DownloadLink, *parseVersion("3.12.10.0")});
  labels[3].checkStarted();
  labels[3].checkEnded({DownloadLabelState::UpToDate, {}});
  labels[4].checkStarted();
  labels[4].checkEnded({});
  return labels;
}

// Shows `request` through the emulation and returns what the text measure finds in it.
std::vector<std::string> emulatedDialogProblems(TTaskDialog request, TaskDialogCommonButtons common, int footerIcon,
                                                const std::string& name) {
  static int counter = 0;
  request.WindowTitle = "Kelvane text fit " + name + " " + std::to_string(++counter);
  std::vector<std::string> problems;
  DriveReport report;
  driveDialog(
      toWide(request.WindowTitle),
      [&](HWND dialog) {
        problems = kelvane::testing::textFitProblems(dialog);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      },
      [&] { return RunTaskDialog(request, common, 1, footerIcon, 0, nullptr, TaskDialogPath::Emulation); }, report);
  EXPECT_TRUE(report.found) << name;
  return problems;
}

}  // namespace

TEST(WindowTextFit, WelcomeAndAboutFitEveryLanguageAtEachDpi) {
  for (const Language* language : kLanguages) {
    const Speaking speaking(*language);
    for (const int dpi : kDpis) {
      const std::string where = language->tag() + " at " + std::to_string(dpi) + " DPI";
      {
        TFrmWelcome welcome(testOwner(), dpi);
        EXPECT_EQ(kelvane::testing::textFitProblems(welcome.hwnd()), std::vector<std::string>{})
            << "welcome, " << where << joined(kelvane::testing::textFitProblems(welcome.hwnd()));
        // The window grows with its texts, and holds every control it has.
        RECT client{};
        GetClientRect(welcome.hwnd(), &client);
        for (HWND child = GetWindow(welcome.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          RECT box{};
          GetWindowRect(child, &box);
          MapWindowPoints(nullptr, welcome.hwnd(), reinterpret_cast<POINT*>(&box), 2);
          EXPECT_LE(box.bottom, client.bottom) << "welcome, " << where << ", control " << GetDlgCtrlID(child);
          EXPECT_LE(box.right, client.right) << "welcome, " << where << ", control " << GetDlgCtrlID(child);
        }
      }
      for (const DownloadLabel& label : everyDownloadLabel()) {
        AboutForm form;
        TAboutWindow about(form.hwnd(), AboutFacts{"3.12.10.0", "Kelvane", ""}, [] {}, label, dpi);
        const auto problems = kelvane::testing::textFitProblems(form.hwnd());
        EXPECT_TRUE(problems.empty()) << "about, " << where << ", download line \"" << label.caption() << "\""
                                      << joined(problems);
      }
    }
  }
}

// The program speaks another language while the windows are up: each takes it at once, where it
// stands, with what the user left in it, and its texts fit.
TEST(WindowTextFit, WelcomeAndAboutTakeANewLanguageWhereTheyStand) {
  const auto textOf = [](HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return std::wstring(text);
  };
  const auto corner = [](HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return std::pair{box.left, box.top};
  };
  TFrmWelcome welcome(testOwner());
  AboutForm form;
  TAboutWindow about(form.hwnd(), AboutFacts{"3.12.10.0", "Kelvane", ""}, [] {});
  constexpr int kWelcomeCheckBox = 1004, kAboutVersion = 1002;
  SendDlgItemMessageW(welcome.hwnd(), kWelcomeCheckBox, BM_SETCHECK, BST_CHECKED, 0);
  SetWindowPos(welcome.hwnd(), nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(form.hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(textOf(welcome.hwnd()), toWide("欢迎使用 Kelvane"));
  ASSERT_EQ(textOf(form.hwnd()), toWide("关于"));

  const Speaking english(Language::english());
  SendMessageW(welcome.hwnd(), languageChangedMessage(), 0, 0);
  LRESULT result = 0;
  EXPECT_TRUE(about.handleMessage(languageChangedMessage(), 0, 0, result));

  EXPECT_EQ(textOf(welcome.hwnd()), L"Welcome to Kelvane");
  EXPECT_EQ(textOf(GetDlgItem(welcome.hwnd(), 1001)), L"Keep Kelvane visible");
  EXPECT_EQ(textOf(GetDlgItem(welcome.hwnd(), kWelcomeCheckBox)), L"Do not show this again");
  EXPECT_TRUE(welcome.dontShowAgain()) << "the box keeps its tick";
  EXPECT_EQ(corner(welcome.hwnd()), std::pair(50L, 40L));
  EXPECT_EQ(kelvane::testing::textFitProblems(welcome.hwnd()), std::vector<std::string>{});

  EXPECT_EQ(textOf(form.hwnd()), L"About Kelvane");
  EXPECT_EQ(textOf(GetDlgItem(form.hwnd(), kAboutVersion)).rfind(L"Version ", 0), 0u);
  EXPECT_EQ(textOf(GetDlgItem(form.hwnd(), IDOK)), L"OK");
  EXPECT_EQ(corner(form.hwnd()), std::pair(300L, 200L));
  EXPECT_EQ(kelvane::testing::textFitProblems(form.hwnd()), std::vector<std::string>{});
}

TEST(WindowTextFit, EmulatedDialogsFitEveryLanguage) {
  for (const Language* language : kLanguages) {
    const Speaking speaking(*language);
    const std::string tag = language->tag();
    TKelvaneOptions options;
    options.WarnMsgBox = true;
    for (const bool release : {false, true}) {
      options.DefragOnHighMemory = release;
      AlertMachine machine;
      MemorySample sample;
      sample.dwMemoryLoad = 99;
      const AlertPlan plan = machine.decide({sample, 1000000, false}, options);
      ASSERT_TRUE(plan.dialog);
      TTaskDialog request;
      request.MainInstruction = plan.request.MainInstruction;
      request.Content = plan.request.Content;
      request.ButtonCaptions = plan.request.ButtonCaptions;
      request.VerificationText = plan.request.VerificationText;
      EXPECT_EQ(emulatedDialogProblems(request, 0, 0, "alert"), std::vector<std::string>{}) << tag;
    }
    for (const bool described : {false, true}) {
      ProcessItem item{42, "svchost.exe", "C:\\Windows\\System32\\svchost.exe"};
      const ExecutableVersion version = described ? ExecutableVersion{"Host Process for Windows Services",
                                                                      "Microsoft Corporation", "10.0.19041.1"}
                                                  : ExecutableVersion{};
      const ProcessDialog dialog = MakeProcessDialog(item, version);
      TTaskDialog request;
      request.MainInstruction = dialog.mainInstruction;
      request.Content = dialog.content;
      request.ButtonCaptions = dialog.buttonCaptions;
      request.FooterText = dialog.footer;
      EXPECT_EQ(emulatedDialogProblems(request, 0, dialog.footerIcon, "process"), std::vector<std::string>{}) << tag;
    }
    // A message dialog with every common button it can have, under each caption.
    for (const MsgDlgKind kind :
         {MsgDlgKind::Warning, MsgDlgKind::Error, MsgDlgKind::Information, MsgDlgKind::Confirmation}) {
      TTaskDialog request;
      request.Content = MsgDlgCaption(kind);
      EXPECT_EQ(emulatedDialogProblems(request, tcbOk | tcbYes | tcbNo | tcbCancel | tcbRetry | tcbClose, 0, "message"),
                std::vector<std::string>{})
          << tag;
    }
  }
}
