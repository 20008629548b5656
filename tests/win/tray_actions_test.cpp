#include "actions/tray_actions_win.h"

#include <gtest/gtest.h>
#include <wtsapi32.h>

#include <vector>

#include "actions/system_commands_win.h"
#include "common/text_win.h"
#include "fake_form_services.h"
#include "release/memory_release_win.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

bool runningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

TEST(TrayDblClick, RunsTheConfiguredActionAndNothingForOtherValues) {
  FakeFormServices form;
  form.options.DoubleClickAction = 2;
  TrayDblClick(form);
  ASSERT_EQ(form.balloons.size(), 1u);
  EXPECT_EQ(form.balloons[0].title, "Kelvane");
  EXPECT_EQ(form.balloons[0].text, form.tip);  // what the tip showed at that moment
  EXPECT_EQ(form.balloons[0].kind, 1);
  EXPECT_EQ(form.balloons[0].seconds, 40);

  form.options.DoubleClickAction = 1;
  TrayDblClick(form);
  EXPECT_EQ(form.releases, 1);
  EXPECT_EQ(form.releaseOrigins, std::vector{CommandOrigin::DoubleClick});  // kept with the release
  form.options.DoubleClickAction = 3;
  TrayDblClick(form);
  EXPECT_EQ(form.settingsOpened, 1);
  form.options.DoubleClickAction = 8;
  TrayDblClick(form);
  EXPECT_EQ(form.historyShown, 1);

  for (std::int32_t value : {9, -1, 1000}) {
    form.options.DoubleClickAction = value;
    TrayDblClick(form);
  }
  EXPECT_EQ(form.balloons.size(), 1u);
  EXPECT_EQ(form.releases, 1);
  EXPECT_EQ(form.settingsOpened, 1);
  EXPECT_EQ(form.historyShown, 1);
  EXPECT_TRUE(form.errors.empty());

  // On a real desktop the next actions would lock it, shut it down or hide every window.
  if (!runningUnderWine()) return;

  // Locking is refused under Wine; the refusal is not the user's business.
  form.options.DoubleClickAction = 4;
  TrayDblClick(form);
  EXPECT_TRUE(form.errors.empty());

  // Wine's automation object does not implement these methods: the failure reaches the error
  // display once, naming what failed, and nothing else happens.
  for (std::int32_t value : {6, 7}) {
    form.errors.clear();
    form.options.DoubleClickAction = value;
    TrayDblClick(form);
    ASSERT_EQ(form.errors.size(), 1u);
    EXPECT_NE(form.errors[0].find(value == 6 ? "Shell.Application.ShutdownWindows"
                                             : "Shell.Application.MinimizeAll"),
              std::string::npos)
        << form.errors[0];
  }
  EXPECT_EQ(form.releases, 1);
  EXPECT_EQ(form.balloons.size(), 1u);
}

TEST(TrayDblClick, RunDialogComesUpAndReturnsWhenClosed) {
  FakeFormServices form;
  form.options.DoubleClickAction = 5;
  DialogAnswerer answerer(GetCurrentThreadId(), {{WM_CLOSE, 0, 0}}, 200);
  TrayDblClick(form);
  EXPECT_TRUE(answerer.sawDialog());
  EXPECT_TRUE(form.errors.empty());
}

namespace {

std::vector<DWORD> gMonitorOffTimes;

LRESULT CALLBACK countingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER && lParam == 2) {
    gMonitorOffTimes.push_back(GetTickCount());
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND createCountingWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = countingWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KelvaneMonitorOffCounter";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

// Runs this thread's messages, as the program's loop does, until `count` requests have come or
// `deadlineMs` has passed.
bool pumpUntilRequests(std::size_t count, DWORD deadlineMs) {
  const DWORD start = GetTickCount();
  while (gMonitorOffTimes.size() < count && GetTickCount() - start < deadlineMs) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return gMonitorOffTimes.size() >= count;
}

}  // namespace

TEST(SessionChange, LockSwitchesTheMonitorOffSeventeenTimesFromATimerOnlyWhenAsked) {
  FakeFormServices form;
  form.applicationWindow = createCountingWindow();
  ASSERT_NE(form.applicationWindow, nullptr);

  gMonitorOffTimes.clear();
  form.options.SwitchOffMonitorOnLock = false;
  OnSessionChange(form, WTS_SESSION_LOCK);
  form.options.SwitchOffMonitorOnLock = true;
  OnSessionChange(form, WTS_SESSION_UNLOCK);
  OnSessionChange(form, WTS_SESSION_LOGON);
  EXPECT_TRUE(gMonitorOffTimes.empty());

  // The handler returns at once; the requests follow while the loop runs.
  const DWORD lockedAt = GetTickCount();
  OnSessionChange(form, WTS_SESSION_LOCK);
  EXPECT_LT(GetTickCount() - lockedAt, 500u);
  ASSERT_TRUE(pumpUntilRequests(17, 60000)) << gMonitorOffTimes.size();
  for (std::size_t i = 1; i < gMonitorOffTimes.size(); ++i)
    EXPECT_GE(gMonitorOffTimes[i] - gMonitorOffTimes[i - 1], 380u) << i;

  // A lock while they go out starts the 17 over rather than adding a second sequence (at a
  // shorter interval, to keep the test short).
  gMonitorOffTimes.clear();
  SwitchOffMonitor(form.applicationWindow, 40);
  ASSERT_TRUE(pumpUntilRequests(3, 30000));
  SwitchOffMonitor(form.applicationWindow, 40);
  ASSERT_TRUE(pumpUntilRequests(3 + 17, 30000));
  pumpUntilRequests(3 + 17 + 1, 10 * 40);  // no more may come: only waiting shows that
  EXPECT_EQ(gMonitorOffTimes.size(), 3u + 17u);
  DestroyWindow(form.applicationWindow);
}

TEST(MemoryRelease, RealReleaseRunsToTheEndAndReenablesTheCommand) {
  HWND ownWindow = createCountingWindow();  // so that at least our own process is trimmed
  std::vector<bool> states;
  ReleaseWindowedProcesses([&states](bool enabled) { states.push_back(enabled); });
  EXPECT_EQ(states, (std::vector<bool>{false, true}));
  DestroyWindow(ownWindow);

  // The privilege exists; whether this token may hold it depends on the account.
  EnablePrivilege(L"SeDebugPrivilege", true);
  EXPECT_FALSE(EnablePrivilege(L"SeNoSuchPrivilege", true));
}

namespace {

int countTopmostHelpers() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        wchar_t name[16];
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"Static" || std::wstring(name) == L"STATIC") ++*reinterpret_cast<int*>(context);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

TEST(ForceForeground, BringsTheWindowToTheFrontAndLeavesNoHelperBehind) {
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 100, 100, 50, 50, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND target = createCountingWindow();
  ShowWindow(target, SW_SHOWNOACTIVATE);
  SetForegroundWindow(other);
  const int helpersBefore = countTopmostHelpers();
  SetCursorPos(120, 120);  // over the other window, which must not be clicked
  ForceForeground(target);
  pumpMessages(200);
  EXPECT_EQ(GetForegroundWindow(), target);
  POINT pointer{};
  GetCursorPos(&pointer);
  EXPECT_EQ(pointer.x, 120);  // the user's pointer stays where it was
  EXPECT_EQ(pointer.y, 120);
  EXPECT_EQ(countTopmostHelpers(), helpersBefore);
  DestroyWindow(target);
  DestroyWindow(other);
}

namespace {

int gInjectedButtons = 0;

LRESULT CALLBACK countInjectedButtons(int code, WPARAM message, LPARAM info) {
  const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(info);
  if (code == HC_ACTION && (mouse->flags & LLMHF_INJECTED) &&
      (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP))
    ++gInjectedButtons;
  return CallNextHookEx(nullptr, code, message, info);
}

LRESULT CALLBACK refuseWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int injectedButtonsOfForceForeground(bool helperRefused) {
  gInjectedButtons = 0;
  const HHOOK mouse = SetWindowsHookExW(WH_MOUSE_LL, countInjectedButtons, GetModuleHandleW(nullptr), 0);
  const HHOOK cbt = helperRefused
                        ? SetWindowsHookExW(WH_CBT, refuseWindows, nullptr, GetCurrentThreadId())
                        : nullptr;
  ForceForeground(GetDesktopWindow());
  if (cbt) UnhookWindowsHookEx(cbt);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 500) {  // low-level hooks are called through our queue
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  UnhookWindowsHookEx(mouse);
  return gInjectedButtons;
}

}  // namespace

TEST(ForceForeground, ClicksItsOwnHelperAndNothingWhenThereIsNone) {
  EXPECT_EQ(injectedButtonsOfForceForeground(false), 2);
  EXPECT_EQ(injectedButtonsOfForceForeground(true), 0);
}
