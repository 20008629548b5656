// The libraries a window loads are given back when it closes: the common controls (about 2 MB
// under Wine) by the options dialog closed by its own Cancel button (whose code is on the stack
// while the dialog goes), opened again with working controls, by the welcome window and by the
// about window; the imaging component once the pictures are decoded; WinINet once a check has
// ended. Other tests of this program load these libraries too, so each check runs in a process
// of its own: the tests below start this program again with only one disabled part.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "common/window_win.h"
#include "dialogs/about_window_win.h"
#include "dialogs/welcome_window_win.h"
#include "fake_form_services.h"
#include "fresh_process_win.h"
#include "local_http_server_win.h"
#include "scratch_folder_win.h"
#include "options/options_dialog_layout.h"
#include "options/options_dialog_win.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

bool commonControlsLoaded() { return GetModuleHandleW(L"comctl32.dll") != nullptr; }
bool loaded(const wchar_t* library) { return GetModuleHandleW(library) != nullptr; }

// The main form as the about window sees it: a hidden window that routes its messages there.
class AboutHost : public WindowBase<AboutHost> {
 public:
  AboutHost() {
    registerWindowClass(L"KelvaneTestAboutHost");
    createWindow(0, L"KelvaneTestAboutHost", L"", WS_OVERLAPPED | WS_CAPTION, 0, 0, 300, 200, nullptr);
  }
  ~AboutHost() {
    about.reset();
    if (hwnd_) DestroyWindow(hwnd_);
  }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (about && about->handleMessage(message, wParam, lParam, result)) return result;
    return defaultProc(message, wParam, lParam);
  }
  void show(const std::string& address, const DownloadLabel& label) {
    about = std::make_unique<TAboutWindow>(hwnd_, AboutFacts{"3.2.10.0", "Kelvane", address}, [] {}, label);
    about->FormShow();
  }
  // What the form keeps when the window is hidden; the window's content goes.
  DownloadLabel hide() {
    const DownloadLabel kept = about->keptLabel();
    about.reset();
    pumpMessages(100);
    return kept;
  }
  bool waitForAnswer() {
    const DWORD start = GetTickCount();
    while (about->checkRunning() && GetTickCount() - start < 20000) pumpMessages(20);
    return !about->checkRunning();
  }
  std::unique_ptr<TAboutWindow> about;
};

}  // namespace

TEST(CommonControlsRelease, DISABLED_InAFreshProcess) {
  ASSERT_FALSE(commonControlsLoaded()) << "loaded before any window opened";
  ScratchFolder folder;
  FakeFormServices form;
  form.applicationWindow = createPlainApplicationWindow();
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

// The about window is built at each showing and taken down at each hiding; its download label
// carries over: an answer stays, a check cut short by the hiding runs again at the next showing.
TEST(CommonControlsRelease, DISABLED_AboutWindowInAFreshProcess) {
  for (const wchar_t* library : {L"comctl32.dll", L"windowscodecs.dll", L"wininet.dll"})
    ASSERT_FALSE(loaded(library)) << "loaded before any window opened";
  LocalHttpServer server({{"/ver", {200, "[CurrentVersions]\r\nKelvane=3.2.10.0\r\n"}}});
  AboutHost host;
  const long fonts = UniqueFont::liveCount(), bitmaps = UniqueBitmap::liveCount();

  host.show(server.url("/silent"), {});
  EXPECT_TRUE(commonControlsLoaded());
  EXPECT_FALSE(loaded(L"windowscodecs.dll")) << "kept after the pictures were decoded";
  EXPECT_NE(GetWindow(host.hwnd(), GW_CHILD), nullptr);
  pumpMessages(300);
  ASSERT_TRUE(host.about->checkRunning());
  const DownloadLabel cutShort = host.hide();
  EXPECT_EQ(GetWindow(host.hwnd(), GW_CHILD), nullptr) << "the controls stay on the hidden form";
  // Kept for the run: the links leave a window of the library's class behind them.
  EXPECT_TRUE(commonControlsLoaded()) << "freed under a window of its class";
  EXPECT_EQ(UniqueFont::liveCount(), fonts);
  EXPECT_EQ(UniqueBitmap::liveCount(), bitmaps);
  EXPECT_EQ(cutShort.caption(), "<link>检查更新</link>");
  server.releaseSilent();  // the abandoned worker ends and lets go of WinINet

  host.show(server.url("/ver"), cutShort);  // checks again, and gets an answer
  ASSERT_TRUE(host.waitForAnswer());
  const DWORD start = GetTickCount();
  while (loaded(L"wininet.dll") && GetTickCount() - start < 10000) pumpMessages(50);
  EXPECT_FALSE(loaded(L"wininet.dll")) << "kept after the checks ended";
  const DownloadLabel answered = host.hide();
  EXPECT_EQ(answered.caption(), "Kelvane 是最新的");
  host.show(server.url("/ver"), answered);
  EXPECT_FALSE(host.about->checkRunning());
  EXPECT_EQ(server.requests("/ver"), 1);
  host.hide();
}

TEST(CommonControlsRelease, TheWindowsGiveTheLibraryBackWhenTheyClose) {
  runInAFreshProcess(L"CommonControlsRelease.DISABLED_InAFreshProcess");
}

TEST(CommonControlsRelease, TheAboutWindowGivesBackWhatItTookWhenHidden) {
  runInAFreshProcess(L"CommonControlsRelease.DISABLED_AboutWindowInAFreshProcess");
}
