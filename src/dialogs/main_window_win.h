#pragma once
// The program's own windows as the dialogs see them: the owner of a dialog given no parent, and
// the source of its default title. Found by class, so the dialogs need no pointer to the forms.

#include <windows.h>

namespace kelvane {

// The main form's window of this process, or null while it does not exist yet.
HWND MainFormWindow();

// The hidden application window of this process, or null.
HWND ApplicationWindow();

}  // namespace kelvane
