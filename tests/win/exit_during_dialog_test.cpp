// An exit asked for while a modal dialog is open, as the installer asks: every dialog of the
// program answers "cancelled", whatever the system made of the quit that ended its loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "../e2e/tools/synthetic_history_win.h"
#include "common/exit_request_win.h"
#include "dialog_driver_win.h"
#include "dialogs/task_dialog_win.h"
#include "history/history_window_win.h"
#include "options/color_picker_win.h"
#include "options/input_box_win.h"
#include "scratch_folder_win.h"

using namespace kelvane;
using kelvane::testing::ScratchFolder;
using kelvane::testing::SyntheticHistory;

namespace {

// A dialog of this thread that is up, other than `except`: the system's dialogs, the message
// box and the task dialog are of the dialog class, the emulation of its own.
HWND openDialogOfThisThread(HWND except = nullptr) {
  struct Search {
    HWND except;
    HWND found;
  } search{except, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        if (window == s.except || !IsWindowVisible(window) ||
            (lstrcmpW(cls, L"#32770") != 0 && lstrcmpW(cls, L"TKelvaneTaskDialog") != 0))
          return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Asks for the exit as the form does, from a thread timer, which every modal loop dispatches,
// once `ready` says the dialog is where the test wants it (given the open dialog, it may act
// on it first). A dialog still open 10 s later is closed, so that a failing test ends.
class ExitWhileOpen {
 public:
  explicit ExitWhileOpen(std::function<bool(HWND)> ready = [](HWND) { return true; }) : ready_(std::move(ready)) {
    active_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &onTimer);
    start_ = GetTickCount();
  }
  ~ExitWhileOpen() {
    KillTimer(nullptr, timer_);
    active_ = nullptr;
    // The loops posted the quit again for the loop around them: this test's loop is the last.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    exitRequestCarriedOut();
  }
  bool asked() const { return asked_; }

 private:
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
    ExitWhileOpen* self = active_;
    if (!self || self->asked_) return;
    const HWND dialog = openDialogOfThisThread();
    if (GetTickCount() - self->start_ > 10000) {
      if (dialog) PostMessageW(dialog, WM_CLOSE, 0, 0);
      return;
    }
    if (!dialog || !self->ready_(dialog)) return;
    self->asked_ = true;
    endModalLoopsForExit();
  }

  static inline ExitWhileOpen* active_ = nullptr;
  std::function<bool(HWND)> ready_;
  UINT_PTR timer_ = 0;
  DWORD start_ = 0;
  bool asked_ = false;
};

}  // namespace

TEST(ExitDuringDialog, TheTaskDialogAnswersCancelOnBothPathsAndKeepsItsCheckBox) {
  for (const TaskDialogPath path : {TaskDialogPath::Automatic, TaskDialogPath::Emulation}) {
    TTaskDialog request;
    request.WindowTitle = "Exit during a question";
    request.Content = "Release memory now?";
    request.ButtonCaptions = "Release\nLater";
    request.VerificationText = "Don't show this warning again";
    // The high-memory question's box counts however the dialog ends: ticked before the exit.
    ExitWhileOpen exit([](HWND dialog) {
      const HWND box = kelvane::test::findCheckBox(dialog);
      if (box && SendMessageW(box, BM_GETCHECK, 0, 0) != BST_CHECKED) SendMessageW(box, BM_CLICK, 0, 0);
      return box != nullptr;
    });
    const int answer = RunTaskDialog(request, 0, static_cast<int>(TaskDialogIcon::Warning), 0, 0, DialogWindow(), path);
    ASSERT_TRUE(exit.asked());
    EXPECT_EQ(answer, IDCANCEL) << (path == TaskDialogPath::Automatic ? "platform" : "emulation");
    EXPECT_EQ(request.VerificationChecked, 1);
  }
}

TEST(ExitDuringDialog, TheMessageBoxAnswersCancelOnBothPaths) {
  for (const MessageDlgPath path : {MessageDlgPath::Automatic, MessageDlgPath::Classic}) {
    ExitWhileOpen exit;
    const int answer = SoundMessageDlg("Replace the theme?", MsgDlgKind::Warning, mbYes | mbNo, nullptr, path);
    ASSERT_TRUE(exit.asked());
    EXPECT_EQ(answer, mrCancel) << (path == MessageDlgPath::Automatic ? "task dialog" : "classic");
  }
}

TEST(ExitDuringDialog, TheInputBoxGivesNoText) {
  ExitWhileOpen exit;
  const auto text = InputBox(nullptr, "Save theme", "Theme name:", "My theme");
  ASSERT_TRUE(exit.asked());
  EXPECT_FALSE(text.has_value()) << *text;
}

TEST(ExitDuringDialog, TheColourAndFontDialogsChooseNothingAndWriteNoCustomColours) {
  ScratchFolder folder;
  const std::wstring settings = folder.path() + L"Kelvane.Settings";
  const std::string seeded = "[General]\r\nRefreshRate=1000\r\n";
  ScratchFolder::writeBytes(settings, seeded);
  {
    ExitWhileOpen exit;
    const auto colour = chooseAnyColor(nullptr, 0x0000FF, settings);
    ASSERT_TRUE(exit.asked());
    EXPECT_FALSE(colour.has_value());
  }
  EXPECT_EQ(ScratchFolder::readBytes(settings), seeded);
  {
    ExitWhileOpen exit;
    TFontSpec font;
    font.Name = "Tahoma";
    font.Size = 9;
    const auto chosen = chooseFont(nullptr, font, settings);
    ASSERT_TRUE(exit.asked());
    EXPECT_FALSE(chosen.has_value()) << chosen->Name;
  }
}

// The Save dialog, through the history window's export: neither the dialog nor its "replace?"
// question writes a file once an exit came while it was open.
TEST(ExitDuringDialog, TheHistoryExportWritesNoFile) {
  ScratchFolder folder;
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder.path().c_str());  // the Save dialog opens in the current folder
  SyntheticHistory source;
  HistoryWindow window(source, nullptr);
  window.show();
  ASSERT_TRUE(window.isOpen());
  const auto button = window.view().layout().exportButton;
  const LPARAM atExport = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  wchar_t title[256] = {};
  GetWindowTextW(window.hwnd(), title, 256);
  const std::wstring suggested = folder.path() + title + L".csv";
  {
    ExitWhileOpen exit;
    SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, atExport);
    ASSERT_TRUE(exit.asked());
    EXPECT_EQ(GetFileAttributesW(suggested.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  {
    // The user's file of that name is there: Save is pressed, and the exit comes while the
    // question whether to replace it is open.
    ScratchFolder::writeBytes(suggested, "the user's own");
    ExitWhileOpen exit([save = HWND{}](HWND dialog) mutable {
      if (save) return openDialogOfThisThread(save) != nullptr;
      save = dialog;
      PostMessageW(save, WM_COMMAND, IDOK, 0);
      return false;
    });
    SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, atExport);
    ASSERT_TRUE(exit.asked());
    EXPECT_TRUE(ScratchFolder::readBytes(suggested) == "the user's own") << "the file was replaced";
  }
  window.close();
  SetCurrentDirectoryW(previous);
}
