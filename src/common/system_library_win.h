#pragma once
// A library loaded at run time from the system folder only. The default search order would
// look beside the program first, where anyone who can write there could plant a DLL.

#include <windows.h>

namespace kelvane {

class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* fileName);
  ~SystemLibrary();
  SystemLibrary(SystemLibrary&& other) noexcept;
  SystemLibrary& operator=(SystemLibrary&&) = delete;
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  explicit operator bool() const { return module_ != nullptr; }
  HMODULE get() const { return module_; }

  // The export as a function pointer of the given type; null when the library or export is missing.
  template <typename Fn>
  Fn procedure(const char* name) const {
    return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)))
                   : nullptr;
  }
  template <typename Fn>
  Fn procedure(WORD ordinal) const {
    return procedure<Fn>(MAKEINTRESOURCEA(ordinal));
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace kelvane
