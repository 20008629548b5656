#include "common/system_library_win.h"

#include <commctrl.h>
#include <delayimp.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvane {

UniqueLibrary loadSystemLibrary(const wchar_t* name) {
  // LOAD_LIBRARY_SEARCH_SYSTEM32 needs KB2533623 on Windows 7; without it the flag is rejected
  // with ERROR_INVALID_PARAMETER, and the full system path is the safe fallback.
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      std::wstring path(folder, length);
      path += L"\\";
      path += name;
      module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
  }
  return UniqueLibrary(module);
}

UniqueLibrary loadCommonControls(DWORD classes) {
  using InitCommonControlsExProc = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  UniqueLibrary comctl = loadSystemLibrary(L"comctl32.dll");
  if (const auto init = systemExport<InitCommonControlsExProc>(comctl, "InitCommonControlsEx")) {
    const INITCOMMONCONTROLSEX wanted{sizeof(wanted), classes};
    init(&wanted);
  }
  return comctl;
}

namespace {

// Libraries waiting for their thread timer, by timer.
std::vector<std::pair<UINT_PTR, HMODULE>>& pendingFrees() {
  static std::vector<std::pair<UINT_PTR, HMODULE>> pending;
  return pending;
}

void CALLBACK freePendingLibrary(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  auto& pending = pendingFrees();
  for (auto it = pending.begin(); it != pending.end(); ++it) {
    if (it->first != timer) continue;
    const HMODULE library = it->second;
    pending.erase(it);
    FreeLibrary(library);
    return;
  }
}

}  // namespace

void freeLibraryLater(UniqueLibrary library) {
  if (!library) return;
  const UINT_PTR timer = SetTimer(nullptr, 0, 0, freePendingLibrary);
  // Without a timer the library stays: kept is safe, freed too early is not.
  if (timer) pendingFrees().emplace_back(timer, library.release());
  else (void)library.release();
}

namespace {

// The delay-load helper asks this hook first; the library it returns is the one bound. Without
// an answer the helper would fall back to LoadLibraryA's search, which hardenDllSearch has
// narrowed to the system folder as well.
FARPROC WINAPI loadDelayedLibrary(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
  std::wstring name;
  for (const char* c = info->szDll; *c; ++c) name += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  return reinterpret_cast<FARPROC>(loadSystemLibrary(name.c_str()).release());
}

}  // namespace

void hardenDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  // The program ships no libraries of its own: its folder is no place to load one from.
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryW(L"");  // takes the current folder out of the search
}

}  // namespace kelvane

// Read by the delay-load helper (mingw's libmingwex, or the compiler's delayimp.lib).
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = kelvane::loadDelayedLibrary;
}
