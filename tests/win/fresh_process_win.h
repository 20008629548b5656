#pragma once
// A part of a test that must run where nothing else of the program ran before (what a process
// loads or sets up once would hide what the part measures): it is written as a disabled test,
// and this starts the test program again to run only that one, and waits for it.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace kelvane::testing {

inline void runInAFreshProcess(const wchar_t* disabledTest, DWORD timeoutMs = 120000) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=" +
                             disabledTest;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child));
  const DWORD waited = WaitForSingleObject(child.hProcess, timeoutMs);
  if (waited == WAIT_TIMEOUT) TerminateProcess(child.hProcess, 1);
  DWORD exitCode = 1;
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 0u) << "the part in a process of its own failed (its output is above)";
}

// An application window of a plain class of its own: a window of a control class (STATIC) made
// while the common controls are out would make the system load them for good, and a test of
// what a window loads would measure that instead.
inline HWND createPlainApplicationWindow() {
  WNDCLASSW plain{};
  plain.lpfnWndProc = DefWindowProcW;
  plain.hInstance = GetModuleHandleW(nullptr);
  plain.lpszClassName = L"KelvaneTestApplication";
  RegisterClassW(&plain);
  return CreateWindowExW(0, plain.lpszClassName, L"application", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         plain.hInstance, nullptr);
}

}  // namespace kelvane::testing
