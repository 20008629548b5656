// The common controls (about 2 MB under Wine) are loaded by the windows that use them and given
// back when those windows close: the options dialog closed by its own Cancel button (whose code
// is on the stack while the dialog goes), opened again with working controls, and the welcome
// window. Other tests of this program load the library too, so the check runs in a process of
// its own: this test starts this program again with only the disabled part below.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "dialogs/welcome_window_win.h"
#include "fake_form_services.h"
#include "scratch_folder_win.h"
#include "options/options_dialog_layout.h"
#include "options/options_dialog_win.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

bool commonControlsLoaded() { return GetModuleHandleW(L"comctl32.dll") != nullptr; }

}  // namespace

TEST(CommonControlsRelease, DISABLED_InAFreshProcess) {
  ASSERT_FALSE(commonControlsLoaded()) << "loaded before any window opened";
  ScratchFolder folder;
  FakeFormServices form;
  // Not a STATIC window: a control class created while the library is out makes the system
  // load it for good, and the test would measure that instead of the windows.
  WNDCLASSW plain{};
  plain.lpfnWndProc = DefWindowProcW;
  plain.hInstance = GetModuleHandleW(nullptr);
  plain.lpszClassName = L"KelvaneTestApplication";
  RegisterClassW(&plain);
  form.applicationWindow = CreateWindowExW(0, plain.lpszClassName, L"application", WS_POPUP, 0, 0, 1, 1, nullptr,
                                           nullptr, plain.hInstance, nullptr);
  form.settingsFileName = folder.path() + L"Kelvane.Settings";
  form.themeFolder = folder.path();

  for (int opening = 1; opening <= 2; ++opening) {
    ShowSettings(form);
    HWND dialog = OpenOptionsDialog();
    ASSERT_NE(dialog, nullptr) << "opening " << opening;
    EXPECT_TRUE(commonControlsLoaded());
    EXPECT_NE(FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr), nullptr) << "opening " << opening;
    EXPECT_NE(FindWindowExW(dialog, nullptr, UPDOWN_CLASSW, nullptr), nullptr) << "opening " << opening;
    SendMessageW(GetDlgItem(dialog, BtnCancel), BM_CLICK, 0, 0);
    EXPECT_EQ(OpenOptionsDialog(), nullptr);
    pumpMessages(100);
    EXPECT_FALSE(commonControlsLoaded()) << "still loaded after closing opening " << opening;
  }
  EXPECT_EQ(form.optionsClosed, 2);

  {
    TFrmWelcome welcome(form.applicationWindow);
    EXPECT_TRUE(commonControlsLoaded());
    PostMessageW(welcome.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    welcome.ShowModal();
  }
  pumpMessages(100);
  EXPECT_FALSE(commonControlsLoaded()) << "still loaded after the welcome window";
  DestroyWindow(form.applicationWindow);
}

TEST(CommonControlsRelease, TheWindowsGiveTheLibraryBackWhenTheyClose) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) +
                             L"\" --gtest_also_run_disabled_tests --gtest_filter=CommonControlsRelease.DISABLED_*";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child));
  const DWORD waited = WaitForSingleObject(child.hProcess, 120000);
  if (waited == WAIT_TIMEOUT) TerminateProcess(child.hProcess, 1);
  DWORD exitCode = 1;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 0u) << "the part in a process of its own failed (its output is above)";
}
