#include "tray/tray_icon_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/text_win.h"

using namespace kelvane;

namespace {

UniqueIcon solidIcon() {
  BYTE andMask[32];
  BYTE xorMask[32];
  memset(andMask, 0x00, sizeof(andMask));
  memset(xorMask, 0xFF, sizeof(xorMask));
  return UniqueIcon(CreateIcon(GetModuleHandleW(nullptr), 16, 16, 1, 1, andMask, xorMask));
}

// Whether the notification area still knows the icon: modifying an unknown icon fails.
bool areaKnows(HWND hwnd, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool deleteFromArea(HWND hwnd, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = id;
  return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace

TEST(TrayIcon, AddModifyDeleteAndTipLimits) {
  TTrayIconComponent tray(nullptr, nullptr, LoadIconW(nullptr, IDI_INFORMATION));
  const HWND window = TTrayIconComponent::notificationWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(tray.AddIcon());
  EXPECT_TRUE(tray.IconVisible());
  EXPECT_EQ(tray.record().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(tray.record().uCallbackMessage, 0x0800u);
  EXPECT_TRUE(areaKnows(window, tray.id()));

  std::wstring longChinese;
  for (int i = 0; i < 80; ++i) longChinese += L'\u5185';
  tray.setHint(longChinese);
  EXPECT_EQ(std::wstring(tray.record().szTip), longChinese.substr(0, 63));
  EXPECT_LE(ansiByteLength(tray.record().szTip), 127u);
  tray.setHint(std::wstring(300, L'a'));
  EXPECT_EQ(wcslen(tray.record().szTip), 127u);
  tray.setHint(L"");
  EXPECT_EQ(tray.record().szTip[0], L'\0');

  EXPECT_TRUE(tray.DeleteIcon());
  EXPECT_FALSE(tray.IconVisible());
  EXPECT_FALSE(areaKnows(window, tray.id()));
  EXPECT_FALSE(tray.DeleteIcon());  // nothing left to delete
}

TEST(TrayIcon, ReplacedPictureIsReleasedAfterTheAreaHasTheNewOne) {
  TTrayIconComponent tray(nullptr, nullptr, LoadIconW(nullptr, IDI_INFORMATION));
  ASSERT_TRUE(tray.AddIcon());
  UniqueIcon first = solidIcon();
  const HICON firstHandle = first.get();
  tray.setIcon(std::move(first));
  EXPECT_EQ(tray.record().hIcon, firstHandle);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(firstHandle, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  tray.setIcon(solidIcon());
  EXPECT_NE(tray.record().hIcon, firstHandle);
  EXPECT_FALSE(GetIconInfo(firstHandle, &info)) << "the replaced icon must be destroyed";
}

TEST(TrayIcon, BalloonLimitsAndFlagsRestored) {
  TTrayIconComponent tray(nullptr, nullptr, LoadIconW(nullptr, IDI_INFORMATION));
  ASSERT_TRUE(tray.AddIcon());
  std::wstring title(40, L'\u6807');  // 80 bytes: cut to 31 characters (62 bytes)
  std::wstring text(200, L'\u5185');  // 400 bytes: cut to 127 characters (254 bytes)
  EXPECT_TRUE(tray.ShowBalloon(title, text, BalloonKind::Warning, 10));
  EXPECT_EQ(wcslen(tray.record().szInfoTitle), 31u);
  EXPECT_EQ(wcslen(tray.record().szInfo), 127u);
  EXPECT_EQ(tray.record().dwInfoFlags, static_cast<DWORD>(NIIF_WARNING));
  EXPECT_EQ(tray.record().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  // A later change of the tip must not show the balloon again.
  tray.setHint(L"tip");
  EXPECT_EQ(tray.record().uFlags & NIF_INFO, 0u);
}

TEST(TrayIcon, NotificationsBecomeEvents) {
  TTrayIconComponent tray(nullptr, nullptr, LoadIconW(nullptr, IDI_INFORMATION));
  std::vector<MouseButton> downs;
  int doubleClicks = 0;
  tray.OnMouseDown = [&](MouseButton button, ShiftState shift, POINT) {
    downs.push_back(button);
    EXPECT_EQ(shift.right, button == MouseButton::Right);
    EXPECT_EQ(shift.left, button == MouseButton::Left);
  };
  tray.OnDblClick = [&] { ++doubleClicks; };
  const HWND window = TTrayIconComponent::notificationWindow();
  auto notify = [&](UINT id, UINT mouse) { SendMessageW(window, WM_TRAYNOTIFY, id, mouse); };

  notify(tray.id(), WM_MOUSEMOVE);
  notify(tray.id(), WM_RBUTTONDOWN);
  notify(tray.id(), WM_RBUTTONUP);
  notify(tray.id(), WM_LBUTTONDOWN);
  notify(tray.id(), WM_LBUTTONUP);
  notify(tray.id(), WM_LBUTTONDBLCLK);
  notify(tray.id(), WM_MBUTTONDOWN);
  notify(tray.id() + 100, WM_RBUTTONDOWN);  // another component's id: not ours
  EXPECT_EQ(downs, (std::vector{MouseButton::Right, MouseButton::Left, MouseButton::Middle}));
  EXPECT_EQ(doubleClicks, 1);
}

TEST(TrayIcon, TaskbarCreatedPutsTheIconBack) {
  TTrayIconComponent tray(nullptr, nullptr, LoadIconW(nullptr, IDI_INFORMATION));
  ASSERT_TRUE(tray.AddIcon());
  tray.setHint(L"back again");
  const HWND window = TTrayIconComponent::notificationWindow();
  ASSERT_TRUE(deleteFromArea(window, tray.id()));  // the shell restarted and lost it
  ASSERT_FALSE(areaKnows(window, tray.id()));
  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(areaKnows(window, tray.id()));

  // A hidden icon stays hidden.
  ASSERT_TRUE(tray.DeleteIcon());
  SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_FALSE(areaKnows(window, tray.id()));
}

TEST(TrayIcon, SharedWindowLivesAsLongAsAComponent) {
  {
    TTrayIconComponent first(nullptr, nullptr, nullptr);
    const HWND window = TTrayIconComponent::notificationWindow();
    {
      TTrayIconComponent second(nullptr, nullptr, nullptr);
      EXPECT_EQ(TTrayIconComponent::notificationWindow(), window);
      EXPECT_NE(first.id(), second.id());
    }
    EXPECT_TRUE(IsWindow(window));
  }
  EXPECT_EQ(TTrayIconComponent::notificationWindow(), nullptr);
}

TEST(TrayIcon, KeyboardMenuRequestsAndTheTipHeldWhileTheMenuIsOpen) {
  TTrayIconComponent tray(nullptr, nullptr, LoadIconW(nullptr, IDI_INFORMATION));
  ASSERT_TRUE(tray.AddIcon());
  int keyboardMenus = 0, rightPresses = 0;
  tray.OnKeyboardMenu = [&](POINT) { ++keyboardMenus; };
  tray.OnMouseDown = [&](MouseButton button, ShiftState, POINT) {
    if (button == MouseButton::Right) ++rightPresses;
  };
  // The mouse: the shell follows the releases with NIN_SELECT and WM_CONTEXTMENU; the menu
  // opens once, on the press.
  for (UINT message : {0x201u, 0x202u, static_cast<UINT>(NIN_SELECT), 0x204u, 0x205u, 0x7Bu})
    tray.handleNotify(message);
  EXPECT_EQ(rightPresses, 1);
  EXPECT_EQ(keyboardMenus, 0);
  // The keyboard: Enter or Space, then Shift+F10 after the pointer only moved.
  tray.handleNotify(NIN_KEYSELECT);
  tray.handleNotify(WM_MOUSEMOVE);
  tray.handleNotify(WM_CONTEXTMENU);
  EXPECT_EQ(keyboardMenus, 2);

  tray.setHint(L"内存使用: 42%");
  tray.holdTip(true);
  EXPECT_EQ(tray.record().szTip[0], L'\0');  // the shell was given an empty tip
  tray.setHint(L"内存使用: 43%");  // a tick while the menu is open does not send it
  EXPECT_EQ(tray.record().szTip[0], L'\0');
  tray.setIconAndHint(solidIcon(), L"内存使用: 44%");
  EXPECT_EQ(tray.record().szTip[0], L'\0');
  tray.holdTip(false);
  EXPECT_EQ(std::wstring(tray.record().szTip), L"内存使用: 44%");
  EXPECT_NE(tray.record().uFlags & NIF_TIP, 0u);
}
