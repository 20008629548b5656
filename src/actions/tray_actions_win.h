#pragma once
// The tray icon's double click and the reaction to a locked session.

#include <windows.h>

#include "actions/command_host_win.h"

namespace kelvane {

// Runs the action chosen by DoubleClickAction; values outside 0..8 do nothing. A failing shell
// command is shown through the form's error display.
void TrayDblClick(CommandHost& form);

// WM_WTSSESSION_CHANGE: a lock switches the monitor off when the user asked for it.
void OnSessionChange(CommandHost& form, WPARAM sessionEvent);

}  // namespace kelvane
