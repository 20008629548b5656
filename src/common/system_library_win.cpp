#include "common/system_library_win.h"

#include <string>

namespace kelvane {

namespace {

// Systems without the search-flag update reject LOAD_LIBRARY_SEARCH_SYSTEM32; a full path into
// the system folder is just as safe there.
HMODULE loadFromSystemFolder(const wchar_t* fileName) {
  if (HMODULE module = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  path += fileName;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

SystemLibrary::SystemLibrary(const wchar_t* fileName) : module_(loadFromSystemFolder(fileName)) {}

SystemLibrary::~SystemLibrary() {
  if (module_) FreeLibrary(module_);
}

SystemLibrary::SystemLibrary(SystemLibrary&& other) noexcept : module_(other.module_) {
  other.module_ = nullptr;
}

}  // namespace kelvane
