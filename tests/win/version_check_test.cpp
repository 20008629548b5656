// The version check for real: WinINet on its worker thread against a local HTTP server, the
// answer carried to the about window's label by a posted message.
#include "local_http_server_win.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/text_win.h"
#include "common/window_win.h"
#include "dialogs/about_window_win.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

constexpr int kDownloadLinkId = 1003, kDownloadTextId = 1004;

std::string versionFile(const std::string& version) {
  return "[CurrentVersions]\r\nKelvane=" + version + "\r\n[DownloadURL]\r\nKelvane=http://x/k.zip\r\n";
}

// A stand-in for the main form: a hidden window that routes its messages to the about window.
class AboutHost : public WindowBase<AboutHost> {
 public:
  explicit AboutHost(const std::string& address) {
    registerWindowClass(L"KelvaneTestAboutHost");
    createWindow(0, L"KelvaneTestAboutHost", L"", WS_OVERLAPPED | WS_CAPTION, 0, 0, 300, 200, nullptr);
    about = std::make_unique<TAboutWindow>(hwnd_, AboutFacts{"3.2.10.0", "Kelvane", address}, [] {});
  }
  ~AboutHost() {
    about.reset();
    if (hwnd_) DestroyWindow(hwnd_);
  }
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TAboutWindow::kCheckDoneMessage) ++doneMessages;
    LRESULT result = 0;
    if (about && about->handleMessage(message, wParam, lParam, result)) return result;
    return defaultProc(message, wParam, lParam);
  }
  // Pumps messages until the check has ended (at most 20 s).
  bool waitForAnswer() {
    const DWORD start = GetTickCount();
    while (about->checkRunning() && GetTickCount() - start < 20000) pumpFor(20);
    return !about->checkRunning();
  }
  static void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(5);
    } while (GetTickCount() - start < ms);
  }
  std::string shownLabel() const {
    for (const int id : {kDownloadLinkId, kDownloadTextId}) {
      HWND control = GetDlgItem(hwnd_, id);
      if ((GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) == 0) continue;  // the host stays hidden
      wchar_t text[256] = {};
      GetWindowTextW(control, text, 256);
      return toUtf8(text);
    }
    return "";
  }

  std::unique_ptr<TAboutWindow> about;
  int doneMessages = 0;
};

}  // namespace

TEST(VersionCheck, EveryAnswerOfTheServerEndsInItsLabel) {
  LocalHttpServer server({{"/newer", {200, versionFile("3.3.0.0")}},
                          {"/same", {200, versionFile("3.2.10.0")}},
                          {"/older", {200, versionFile("3.2.9.0")}},
                          {"/garbage", {200, std::string("\x89PNG\r\n\x1a\n\0\0garbage", 18)}},
                          {"/missing-key", {200, "[CurrentVersions]\r\nOtherProgram=9.0.0.0\r\n"}},
                          // An error status fails even when the page looks like a version file.
                          {"/not-found", {404, versionFile("9.0.0.0")}},
                          {"/too-large", {200, versionFile("9.0.0.0") + std::string(70000, ';')}}});
  const std::pair<std::string, std::string> cases[] = {
      {server.url("/newer"), "<a>Kelvane 3.3 可供下载</a>"},
      {server.url("/same"), "Kelvane 是最新的"},
      {server.url("/older"), "Kelvane 是最新的"},
      {server.url("/garbage"), "检查新版本时出错"},
      {server.url("/missing-key"), "检查新版本时出错"},
      {server.url("/not-found"), "检查新版本时出错"},
      {server.url("/too-large"), "检查新版本时出错"},
      {LocalHttpServer::closedPortUrl(), "检查新版本时出错"},
      {"file:///C:/windows/win.ini", "检查新版本时出错"},
  };
  for (const auto& [address, expected] : cases) {
    AboutHost host(address);
    EXPECT_EQ(host.shownLabel(), "<a>检查更新</a>");
    host.about->FormShow();
    EXPECT_EQ(host.shownLabel(), "正在检查更新...") << address;
    ASSERT_TRUE(host.waitForAnswer()) << address;
    EXPECT_EQ(host.shownLabel(), expected) << address;
    EXPECT_EQ(host.doneMessages, 1) << address;
  }
  EXPECT_EQ(server.requests("/newer"), 1);
}

TEST(VersionCheck, OneCheckAtATimeAndNoneAfterAnAnswer) {
  LocalHttpServer server({{"/ver/curr_ver.txt", {200, versionFile("3.2.10.0")}}, {"/gone", {404, "no"}}});
  {
    AboutHost host(server.url("/ver/curr_ver.txt"));
    host.about->FormShow();
    ASSERT_TRUE(host.waitForAnswer());
    host.about->FormShow();  // shown again after an answer: no second check
    AboutHost::pumpFor(300);
    EXPECT_FALSE(host.about->checkRunning());
    EXPECT_EQ(server.requests("/ver/curr_ver.txt"), 1);
  }
  {
    AboutHost host(server.url("/gone"));
    host.about->FormShow();
    ASSERT_TRUE(host.waitForAnswer());
    host.about->FormShow();  // after a failure the next showing tries again
    ASSERT_TRUE(host.waitForAnswer());
    EXPECT_EQ(server.requests("/gone"), 2);
  }
  {
    AboutHost host(server.url("/silent"));
    host.about->FormShow();
    AboutHost::pumpFor(500);
    host.about->FormShow();  // shown again while the server keeps quiet: still one check
    AboutHost::pumpFor(300);
    EXPECT_TRUE(host.about->checkRunning());
    EXPECT_EQ(host.shownLabel(), "正在检查更新...");
    EXPECT_EQ(server.requests("/silent"), 1);
    server.releaseSilent();
    ASSERT_TRUE(host.waitForAnswer());
    EXPECT_EQ(host.shownLabel(), "检查新版本时出错");
  }
}

TEST(VersionCheck, ExitDuringACheckEndsCleanly) {
  LocalHttpServer server({});
  AboutHost host(server.url("/silent"));
  host.about->FormShow();
  AboutHost::pumpFor(500);
  ASSERT_EQ(server.requests("/silent"), 1);
  const DWORD start = GetTickCount();
  host.about.reset();  // what Exit does before the window goes
  EXPECT_LT(GetTickCount() - start, 2500u);
  // The server lets go of the connection now: the worker, if it still runs, must post nothing.
  server.releaseSilent();
  AboutHost::pumpFor(1500);
  EXPECT_EQ(host.doneMessages, 0);
}
