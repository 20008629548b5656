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

// The common controls (version 6, as the manifest asks for) from the system folder, with the
// given classes registered; one reference, held as long as the handle, so a window that owns it
// gives its reference back when it closes. Empty when the library cannot be loaded.
UniqueLibrary loadCommonControls(DWORD classes);

// Frees the library once the thread's message loop next runs. A window closing from one of its
// controls' notifications (a button's click) still has that control's code on the stack; freed
// at once, the library would be gone under it.
void freeLibraryLater(UniqueLibrary library);

// Restricts the process's own DLL search to the system folder; called first thing at start-up.
void hardenDllSearch();

}  // namespace kelvane
