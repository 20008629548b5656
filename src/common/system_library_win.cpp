#include "common/system_library_win.h"

#include <delayimp.h>

#include <string>

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
