#pragma once
// TFrmOptions, "Kelvane 设置": the options dialog. One at a time: opening it while it is open
// brings it to the front.

#include <windows.h>

#include "options/options_host_win.h"

namespace kelvane {

// Opens the dialog and returns when it has closed (the message loop runs meanwhile), then has
// the form save and take the settings; a second call while it is open only brings it forward.
void ShowSettings(OptionsHost& form);

// The open dialog's window, or nullptr.
HWND OpenOptionsDialog();

}  // namespace kelvane
