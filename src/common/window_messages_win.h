#pragma once
// Every private window message of the program and every registered message name it uses, in
// one place, so that two windows never pick the same number by accident. The numbers of
// WM_STARTUP_DONE, WM_INSTANCE_NOTICE and the exit request's name are fixed: other copies of the
// program, the installer and the uninstaller send them.

#include <windows.h>

namespace kelvane {

// To the main form.
inline constexpr UINT WM_STARTUP_DONE = WM_USER + 42;     // 0x042A: the settings are loaded
inline constexpr UINT WM_INSTANCE_NOTICE = WM_USER + 45;  // 0x042D: a second copy was started
inline constexpr UINT WM_REFRESH_TICK = WM_APP + 2;       // a tick outside the timer's rhythm
// The form was hidden: the about window's content is taken down once the message that hid it
// (a click on its own OK button, say) has been handled.
inline constexpr UINT WM_ABOUT_HIDDEN = WM_APP + 3;
inline constexpr UINT WM_VERSION_CHECK_DONE = WM_APP + 20;  // the version file's download ended

// To the process dialogs' window, from a dialog's thread; lParam is the dialog's id.
inline constexpr UINT WM_PROCESS_DIALOG_ANSWER = WM_APP + 30;         // the user answered
inline constexpr UINT WM_PROCESS_DIALOG_PROCESS_ENDED = WM_APP + 31;  // its process has ended

// To the tray icons' notification window: the shell's notifications about an icon.
inline constexpr UINT WM_TRAYNOTIFY = WM_USER + 0x400;  // 0x0800

// Another program (the uninstaller, the installer replacing this copy) asks the running copy to
// end as the Exit command does, settings saved: it registers this message name and posts the
// message to the window of class TFrmKelvaneMain, wParam 0 and lParam 0. The close box keeps
// only hiding the form, so WM_CLOSE cannot serve.
inline constexpr const wchar_t* kExitRequestMessageName = L"Kelvane.ExitRequest";
// Sent to the tray icons' notification window (class KelvaneTrayNotifyWindow), wParam 0 and
// lParam 0: the answer is how many times this process has called Shell_NotifyIconW, which is
// what the program's icon costs the shell. For the benchmarks and the scenarios.
inline constexpr const wchar_t* kShellCallCountMessageName = L"Kelvane.ShellCallCount";
// The shell's broadcast when the taskbar was (re)created: the icons are added again.
inline constexpr const wchar_t* kTaskbarCreatedMessageName = L"TaskbarCreated";

// The program speaks another language: each open window of the program takes its texts again,
// keeping what it shows. Registered rather than private, since it also reaches the program's
// windows of other classes (message boxes, the system's dialogs), which must ignore it.
inline constexpr const wchar_t* kLanguageChangedMessageName = L"Kelvane.LanguageChanged";
inline UINT languageChangedMessage() {
  static const UINT message = RegisterWindowMessageW(kLanguageChangedMessageName);
  return message;
}

// Posts the language change to every top-level window of this process, on every thread; each
// takes it when its own thread's loop comes round, so no thread waits for another.
inline void announceLanguageChanged() {
  EnumWindows(
      [](HWND window, LPARAM) -> BOOL {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) PostMessageW(window, languageChangedMessage(), 0, 0);
        return TRUE;
      },
      0);
}

}  // namespace kelvane
