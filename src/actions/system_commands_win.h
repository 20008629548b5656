#pragma once
// Thin calls of shell and system facilities: Task Manager, workstation lock, the shell's Run,
// shut-down and show-desktop commands, bringing a window to the front from the background, and
// switching the monitor off.

#include <windows.h>

#include <string>

namespace kelvane {

// LaunchTaskManager1Click's work: "taskmgr.exe" through the shell. Failure changes nothing
// that the user did not already see, so it is not reported.
void LaunchTaskManager(HWND owner);

// Opens a file in the program associated with its type; when no program is, in
// `fallbackEditor` with the path as its argument. Throws std::runtime_error naming the file when
// neither opens it.
void OpenDocument(HWND owner, const std::wstring& path,
                  const std::wstring& fallbackEditor = L"notepad.exe");

// False when the system has no LockWorkStation or refuses.
bool LockWorkstationNow();

// The shell's Run dialog (exported only by ordinal); returns after the dialog closes.
void ShowRunDialog(const std::string& applicationName, HWND owner, HICON icon);

// The shell's shut-down dialog and "show desktop", through the shell's automation object.
// Throw std::runtime_error when the object or its method fails.
void ShowShutdownDialog();
void MinimizeAllWindows();

// Lets a program without an active window bring `window` to the front: a click on a
// throw-away topmost window of our own makes us the last program to receive input.
void ForceForeground(HWND window);

// Asks for the monitor to be switched off, 17 times, `intervalMs` apart: the first request at
// once, the others from a timer of the window while the message loop goes on. Called again
// before the last request, it starts the 17 over instead of adding a second sequence.
void SwitchOffMonitor(HWND applicationWindow, unsigned intervalMs);

}  // namespace kelvane
