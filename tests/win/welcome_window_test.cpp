// The welcome window's modal wait: how it ends, what its check box says, and that the program's
// end while it waits reaches the outer loop.
#include <gtest/gtest.h>

#include "dialogs/welcome_window_win.h"

using namespace kelvane;

namespace {

constexpr int kCheckBoxId = 1004;

HWND testOwner() {
  static HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  return owner;
}

}  // namespace

TEST(WelcomeWindow, OkCloseBoxAndTheProgramsEndEachEndTheWait) {
  {
    TFrmWelcome welcome(testOwner());
    EXPECT_EQ(GetWindow(welcome.hwnd(), GW_OWNER), testOwner());  // owned: no taskbar button
    EXPECT_FALSE(welcome.dontShowAgain());
    // The user ticks the box, then presses Enter: the default button answers.
    PostMessageW(GetDlgItem(welcome.hwnd(), kCheckBoxId), BM_CLICK, 0, 0);
    PostMessageW(welcome.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    welcome.ShowModal();
    EXPECT_TRUE(welcome.dontShowAgain());
    EXPECT_FALSE(IsWindowVisible(welcome.hwnd()));
  }
  {
    TFrmWelcome welcome(testOwner());
    PostMessageW(welcome.hwnd(), WM_CLOSE, 0, 0);  // the close box keeps the window for next time
    welcome.ShowModal();
    EXPECT_FALSE(welcome.dontShowAgain());
  }
  {
    TFrmWelcome welcome(testOwner());
    PostQuitMessage(7);  // Exit while the window waits
    welcome.ShowModal();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
  }
}
