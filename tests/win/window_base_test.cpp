#include "common/window_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvane {
namespace {

class ProbeWindow : public WindowBase<ProbeWindow> {
 public:
  explicit ProbeWindow(HWND owner) {
    registerWindowClass(L"KelvaneWindowBaseProbe");
    createWindow(0, L"KelvaneWindowBaseProbe", L"", WS_POPUP, 0, 0, 1, 1, owner);
  }
  ~ProbeWindow() { destroyWindow(); }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ++destroyed;
    return defaultProc(message, wParam, lParam);
  }

  int destroyed = 0;
};

// The object owns its window: its end destroys the window, through its own handlers. A window the
// system destroys with its owner is let go and no longer counted, so a leak test's count of
// windows stays true either way.
TEST(WindowBase, TheObjectOwnsItsWindowUntilTheSystemTakesIt) {
  const long before = UniqueWindow::liveCount();
  HWND window = nullptr;
  {
    ProbeWindow probe(nullptr);
    window = probe.hwnd();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(UniqueWindow::liveCount(), before + 1);
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(UniqueWindow::liveCount(), before);

  ProbeWindow owner(nullptr);
  ProbeWindow owned(owner.hwnd());
  const HWND ownedWindow = owned.hwnd();
  ASSERT_TRUE(IsWindow(ownedWindow));
  EXPECT_EQ(UniqueWindow::liveCount(), before + 2);
  DestroyWindow(owner.hwnd());
  EXPECT_FALSE(IsWindow(ownedWindow));
  EXPECT_EQ(owned.hwnd(), nullptr);
  EXPECT_EQ(owned.destroyed, 1);
  EXPECT_EQ(owner.destroyed, 1);
  EXPECT_EQ(UniqueWindow::liveCount(), before);
}

// An empty modeless dialog from a template in memory: no menu, the dialog class, no title.
class ProbeDialog : public DialogBase<ProbeDialog> {
 public:
  ProbeDialog(HWND owner, int& destroyedCount) : destroyed(destroyedCount) {
    alignas(DWORD) static const WORD dialogTemplate[] = {LOWORD(WS_POPUP), HIWORD(WS_POPUP), 0, 0, 0, 0, 0, 10, 10,
                                                         0, 0, 0};
    createDialog(dialogTemplate, owner);
  }
  ~ProbeDialog() { destroyWindow(); }
  ProbeDialog(const ProbeDialog&) = delete;
  ProbeDialog& operator=(const ProbeDialog&) = delete;

  INT_PTR handleMessage(UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) boundAt = hwnd_;
    if (message == WM_DESTROY) ++destroyed;
    return FALSE;
  }

  HWND boundAt = nullptr;
  int& destroyed;
};

// A modeless dialog is owned by its object as a window is: its end destroys the dialog through
// its own handlers, and one the system destroys with its owner is let go.
TEST(DialogBase, TheObjectOwnsItsModelessDialogUntilTheSystemTakesIt) {
  const long before = UniqueWindow::liveCount();
  HWND dialog = nullptr;
  int destroyed = 0;
  {
    ProbeDialog probe(nullptr, destroyed);
    dialog = probe.hwnd();
    ASSERT_TRUE(IsWindow(dialog));
    EXPECT_EQ(probe.boundAt, dialog);
    EXPECT_EQ(UniqueWindow::liveCount(), before + 1);
  }
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(UniqueWindow::liveCount(), before);

  ProbeWindow owner(nullptr);
  ProbeDialog owned(owner.hwnd(), destroyed);
  const HWND ownedDialog = owned.hwnd();
  ASSERT_TRUE(IsWindow(ownedDialog));
  EXPECT_EQ(UniqueWindow::liveCount(), before + 2);
  DestroyWindow(owner.hwnd());
  EXPECT_FALSE(IsWindow(ownedDialog));
  EXPECT_EQ(owned.hwnd(), nullptr);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(UniqueWindow::liveCount(), before);
}

}  // namespace
}  // namespace kelvane
