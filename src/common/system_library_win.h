#pragma once
// A library loaded at run time, from the system folder only, so that a DLL of the same name
// beside the program or in the current folder is never picked up. Freed when it goes out of scope.

#include <windows.h>

namespace kelvane {

class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name)
      : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
  ~SystemLibrary() {
    if (module_) FreeLibrary(module_);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  explicit operator bool() const { return module_ != nullptr; }
  HMODULE get() const { return module_; }

  // The export cast to the function type the caller names.
  template <typename Function>
  Function proc(const char* exportName) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, exportName)));
  }

 private:
  HMODULE module_;
};

}  // namespace kelvane
