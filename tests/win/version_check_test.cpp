// The version check for real: WinINet on its worker thread against a local HTTP server, the
// answer carried to the about window's label by a posted message.
#include "local_http_server_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "common/handles_win.h"
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
  explicit AboutHost(const std::string& address, DWORD checkDeadlineMs = kVersionCheckDeadlineMs) {
    registerWindowClass(L"KelvaneTestAboutHost");
    createWindow(0, L"KelvaneTestAboutHost", L"", WS_OVERLAPPED | WS_CAPTION, 0, 0, 300, 200, nullptr);
    about = std::make_unique<TAboutWindow>(hwnd_, AboutFacts{"3.2.10.0", "Kelvane", address, checkDeadlineMs},
                                           [] {});
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
    return pumpUntil([&] { return !about->checkRunning(); });
  }
  template <typename Condition>
  static bool pumpUntil(Condition done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < 20000) pumpFor(20);
    return done();
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
    const long adopted = UniqueKernelHandle::adoptedCount(), live = UniqueKernelHandle::liveCount();
    host.about->FormShow();
    // The worker's handle is owned, and closed at once: nobody waits for the thread.
    EXPECT_GT(UniqueKernelHandle::adoptedCount(), adopted);
    EXPECT_EQ(UniqueKernelHandle::liveCount(), live);
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

// What a server can do to a check, each within a short deadline: answer with a byte-order mark,
// redirect (five times at most, to web addresses only), keep quiet, drip its answer; and
// hiding the window or leaving the program ends a check without waiting for the network.
TEST(VersionCheck, AServerCannotHoldTheCheck) {
  const std::string offer = "<a>Kelvane 3.3 可供下载</a>", failed = "检查新版本时出错";
  LocalHttpServer server({{"/bom", {200, "\xEF\xBB\xBF" + versionFile("3.3.0.0")}},
                          {"/r1", {302, "", "bom"}},  // relative to the address that redirects
                          {"/r2", {301, "", "/r1"}}, {"/r3", {303, "", "/r2"}}, {"/r4", {307, "", "/r3"}},
                          {"/r5", {308, "", "/r4"}}, {"/r6", {302, "", "/r5"}},
                          {"/loop", {302, "", "/loop"}},
                          {"/to-file", {302, "", "file:///C:/windows/win.ini"}}});
  // Only the servers that keep the check waiting meet the short deadline; the others have the
  // program's own, so that a slow machine cannot fail them.
  constexpr DWORD kDeadlineMs = 2000, kOwn = kVersionCheckDeadlineMs;
  const std::tuple<std::string, DWORD, std::string> cases[] = {
      {"/bom", kOwn, offer},     {"/r5", kOwn, offer},          {"/r6", kOwn, failed},
      {"/loop", kOwn, failed},   {"/to-file", kOwn, failed},    {"/silent", kDeadlineMs, failed},
      {"/drip", kDeadlineMs, failed}};
  for (const auto& [path, deadline, expected] : cases) {
    AboutHost host(server.url(path), deadline);
    host.about->FormShow();
    ASSERT_TRUE(host.waitForAnswer()) << path;
    EXPECT_EQ(host.shownLabel(), expected) << path;
  }
  EXPECT_EQ(server.requests("/bom"), 2);
  EXPECT_EQ(server.requests("/r1"), 2);  // reached from r5, and from r6 as its fifth redirect
  EXPECT_EQ(server.requests("/loop"), 1 + kVersionFileRedirects);
  // The quiet and the dripping server were left by the check, not the other way round.
  EXPECT_TRUE(AboutHost::pumpUntil([&] { return server.closedByClient() == 2; }));

  // Hiding the window and leaving the program end the check between two drops of a dripping
  // answer, long before its deadline. (A call that waits for a first byte is another matter
  // under Wine, where closing a handle does not end a call blocked on it: that connection ends
  // with the call's time-out, at the deadline.)
  {
    AboutHost host(server.url("/drip"), kOwn);
    ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    host.about->FormShow();
    ASSERT_TRUE(AboutHost::pumpUntil([&] { return server.requests("/drip") == 2; }));
    ShowWindow(host.hwnd(), SW_HIDE);  // OK, Escape and the close box all hide it
    EXPECT_FALSE(host.about->checkRunning());
    EXPECT_EQ(host.shownLabel(), "<a>检查更新</a>");
    EXPECT_TRUE(AboutHost::pumpUntil([&] { return server.closedByClient() == 3; }));
    AboutHost::pumpFor(300);
    EXPECT_EQ(host.doneMessages, 0);
    // Shown again, it checks again at once.
    ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    host.about->FormShow();
    EXPECT_TRUE(host.about->checkRunning());
    EXPECT_TRUE(AboutHost::pumpUntil([&] { return server.requests("/drip") == 3; }));
  }
  AboutHost host(server.url("/drip"), kOwn);
  host.about->FormShow();
  ASSERT_TRUE(AboutHost::pumpUntil([&] { return server.requests("/drip") == 4; }));
  const DWORD start = GetTickCount();
  host.about.reset();  // what leaving the program does before the window goes
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_TRUE(AboutHost::pumpUntil([&] { return server.closedByClient() == 5; }));
  EXPECT_EQ(host.doneMessages, 0);
}
