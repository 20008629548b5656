#pragma once
// Libraries loaded at run time come from the system folder only, so a DLL planted beside the
// program (or in the current folder) is never picked up. That holds for the delay-loaded system
// libraries too (cmake/delay_load.cmake): their loads go through loadSystemLibrary.

#include <windows.h>

#include "common/handles_win.h"

namespace kelvane {

UniqueLibrary loadSystemLibrary(const wchar_t* name);

// The address of an export, typed; nullptr when the library or export is missing.
template <typename Function>
Function systemExport(const UniqueLibrary& library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
}

// Restricts the process's own DLL search to the system folder; called first thing at start-up.
void hardenDllSearch();

}  // namespace kelvane
