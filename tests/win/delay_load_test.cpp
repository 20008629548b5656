// Delay-loaded system libraries load on their first call, from the system folder only: a DLL
// of the same name beside the program must never be bound, neither by the hook the delay-load
// helper asks nor by the helper's own fallback search.
#include "common/system_library_win.h"

#include <commdlg.h>
#include <delayimp.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

using namespace kelvane;

namespace {

std::wstring lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

std::wstring folderOf(const std::wstring& path) { return lower(path.substr(0, path.find_last_of(L"\\/"))); }

std::wstring modulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(module, path, MAX_PATH);
  return path;
}

std::wstring systemFolder() {
  wchar_t path[MAX_PATH] = L"";
  GetSystemDirectoryW(path, MAX_PATH);
  return lower(path);
}

HMODULE askHook(const char* dll) {
  DelayLoadInfo info{};
  info.cb = sizeof(info);
  info.szDll = dll;
  return reinterpret_cast<HMODULE>(__pfnDliNotifyHook2(dliNotePreLoadLibrary, &info));
}

}  // namespace

TEST(DelayLoad, AFirstCallLoadsTheLibraryFromTheSystemFolder) {
  // comdlg32 is linked delay-loaded (cmake/delay_load.cmake); this call binds it.
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  const HMODULE comdlg = GetModuleHandleW(L"comdlg32.dll");
  ASSERT_NE(comdlg, nullptr);
  EXPECT_EQ(folderOf(modulePath(comdlg)), systemFolder());

  ASSERT_NE(__pfnDliNotifyHook2, nullptr) << "the helper would search on its own";
  const HMODULE version = askHook("version.dll");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(folderOf(modulePath(version)), systemFolder());
  FreeLibrary(version);
}

TEST(DelayLoad, ALibraryBesideTheProgramIsNeverBound) {
  const std::wstring self = modulePath(nullptr);
  const std::wstring planted = self.substr(0, self.find_last_of(L"\\/")) + L"\\kelvane_planted_probe.dll";
  ASSERT_TRUE(CopyFileW(self.c_str(), planted.c_str(), FALSE));
  // Control: a search of the program's folder finds the plant (a copy of this program: it
  // loads, and its entry point is not run for a library load).
  const HMODULE control = LoadLibraryExW(L"kelvane_planted_probe.dll", nullptr,
                                         LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  EXPECT_NE(control, nullptr);
  if (control) FreeLibrary(control);

  EXPECT_EQ(askHook("kelvane_planted_probe.dll"), nullptr);
  // Should the hook find nothing, the helper searches with the process's defaults.
  hardenDllSearch();
  const HMODULE fallback = LoadLibraryA("kelvane_planted_probe.dll");
  EXPECT_EQ(fallback, nullptr);
  if (fallback) FreeLibrary(fallback);
  DeleteFileW(planted.c_str());
}
