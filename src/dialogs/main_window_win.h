#pragma once
// The program's main form window as the dialogs see it: the owner of a dialog given no parent,
// and the source of its default title.

#include <windows.h>

namespace kelvane {

// The main form's window of this process, or null while it does not exist yet.
HWND MainFormWindow();

}  // namespace kelvane
