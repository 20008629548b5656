// The command line at the system's edge: arguments as the system splits them, a relative export
// file made whole where the start runs, and a request handed to a running copy and answered.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/text_win.h"
#include "app/command_handover_win.h"

using namespace kelvane;

namespace {

// A stand-in for the running copy's main form: answers a history request 0 and an export 1
// (as a failed one would), and keeps what it received.
std::vector<ProgramRequest> received;

LRESULT CALLBACK runningForm(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
  const auto request = receivedRequest(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  if (!request) return kExitBadCommandLine;
  received.push_back(*request);
  return request->kind == ProgramRequest::Kind::ExportHistory ? kExitFailed : kExitDone;
}

}  // namespace

TEST(CommandHandover, ArgumentsFullPathsAndTheRunningCopysAnswer) {
  EXPECT_EQ(commandLineArguments(L"\"C:\\Program Files\\Kelvane\\kelvane.exe\" /export-history \"D:\\报 告\\a.csv\" 7"),
            (std::vector<std::string>{"/export-history", "D:\\报 告\\a.csv", "7"}));
  EXPECT_TRUE(commandLineArguments(L"kelvane.exe").empty());

  wchar_t folder[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring here = folder;
  if (here.back() != L'\\') here += L'\\';
  const std::vector<std::string> relative = {"/export-history", "导出.csv", "3"};
  const ProgramRequest resolved = withFullPath(parseCommandLine(relative));
  EXPECT_EQ(resolved.file, toUtf8(here) + "导出.csv");
  EXPECT_EQ(resolved.days, 3);
  const std::vector<std::string> absolute = {"/export-history", "C:\\x\\y.csv"};
  EXPECT_EQ(withFullPath(parseCommandLine(absolute)).file, "C:\\x\\y.csv");

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = runningForm;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KelvaneHandoverTest";
  RegisterClassW(&windowClass);
  const HWND form = CreateWindowW(L"KelvaneHandoverTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(form, nullptr);
  const std::vector<std::string> history = {"/history"};
  EXPECT_EQ(handOverRequest(form, parseCommandLine(history))->code, kExitDone);
  EXPECT_EQ(handOverRequest(form, resolved)->code, kExitFailed);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].kind, ProgramRequest::Kind::ShowHistory);
  EXPECT_EQ(received[1], resolved);

  // Another program's copy-data message is not a request.
  COPYDATASTRUCT foreign{0x1234, 7, const_cast<char*>("history")};
  EXPECT_EQ(SendMessageW(form, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&foreign)), kExitBadCommandLine);
  DestroyWindow(form);
  EXPECT_EQ(handOverRequest(form, parseCommandLine(history), 200), std::nullopt);  // gone
}
