#pragma once
// The program's own windows as the dialogs see them: the owner of a dialog given no parent, and
// the source of its default title. The windows hand themselves down here when they are made and
// take themselves back when they go, so no dialog has to search for them.

#include <windows.h>

namespace kelvane {

// The main form's window, or null while it does not exist.
HWND MainFormWindow();
void SetMainFormWindow(HWND window);

// The hidden application window, or null while it does not exist.
HWND ApplicationWindow();
void SetApplicationWindow(HWND window);

// Takes `window` back from whichever of the two it was.
void ForgetProgramWindow(HWND window);

}  // namespace kelvane
