// The export's refusals as the file system shows them (a hard link and a short name of the
// settings file), and a command's words reaching the console of the process that started it.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/text_win.h"
#include "app/command_handover_win.h"
#include "history/history_export_win.h"
#include "scratch_folder_win.h"

using namespace kelvane;
using kelvane::testing::ScratchFolder;

namespace {

std::string bytesOf(const std::wstring& file) {
  const HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string bytes(4096, '\0');
  DWORD read = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(h);
  bytes.resize(read);
  return bytes;
}

}  // namespace

TEST(CommandWords, AnExportNeverReplacesTheSettingsFileUnderAnotherName) {
  ScratchFolder folder;
  const std::wstring settings = folder.path() + L"Kelvane.Settings";
  ScratchFolder::writeBytes(settings, "[General]\r\n");
  knowProgramFiles({toUtf8(settings), toUtf8(folder.path() + L"Kelvane.History"), "", ""});

  // Another name for the same file: the same volume and index.
  const std::wstring link = folder.path() + L"report.csv";
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), settings.c_str(), nullptr));
  EXPECT_EQ(writeExportFile(link, "csv").problem, ExportProblem::ProgramFile);
  EXPECT_EQ(writeExportFile(folder.path() + L"KELVANE.SETTINGS", "csv").problem, ExportProblem::ProgramFile);
  wchar_t shortName[MAX_PATH] = {};
  if (GetShortPathNameW(settings.c_str(), shortName, MAX_PATH) > 0) {
    EXPECT_EQ(writeExportFile(shortName, "csv").problem, ExportProblem::ProgramFile) << toUtf8(shortName);
  }
  EXPECT_EQ(bytesOf(settings), "[General]\r\n");

  // An ordinary file is replaced whole, with nothing left beside it.
  const std::wstring other = folder.path() + L"其他.csv";
  ScratchFolder::writeBytes(other, "old contents, longer than the new");
  EXPECT_EQ(writeExportFile(other, "new").code, kExitDone);
  EXPECT_EQ(bytesOf(other), "new");
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder.path() + L"*.kelvane-export").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  knowProgramFiles({});
}

// Run by the test below in a process of its own, with no console and standard error going nowhere.
TEST(CommandWords, DISABLED_ChildTellsItsWords) {
  EXPECT_TRUE(tellCommandWords("Kelvane 的话 in the console", CommandWords::Failure, true));
}

TEST(CommandWords, WordsReachTheConsoleOfTheStartingProcess) {
  // A console of this process's own, which the child finds as its parent's.
  FreeConsole();
  if (!AllocConsole()) GTEST_SKIP() << "no console can be made here";
  const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(program) +
                             L"\" --gtest_also_run_disabled_tests --gtest_filter=CommandWords.DISABLED_ChildTellsItsWords";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;  // no standard handles at all: as a program started from a shortcut
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                             nullptr, &startup, &child));
  const DWORD waited = WaitForSingleObject(child.hProcess, 60'000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
  DWORD code = 1;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  EXPECT_EQ(code, 0u);

  CONSOLE_SCREEN_BUFFER_INFO info{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &info));
  std::wstring text(static_cast<std::size_t>(info.dwSize.X) * (info.dwCursorPosition.Y + 1), L' ');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(screen, text.data(), static_cast<DWORD>(text.size()), {0, 0}, &read);
  CloseHandle(screen);
  FreeConsole();
  EXPECT_NE(text.find(L"Kelvane 的话 in the console"), std::wstring::npos) << toUtf8(text);
  // The words end with a line end: the cursor stands at the start of a line.
  EXPECT_EQ(info.dwCursorPosition.X, 0);
}
