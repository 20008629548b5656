#pragma once
// The one place where a user command is carried out, whoever asked for it: the tray menu, the
// double click, the hot key or a timer.

#include "actions/command.h"
#include "app/form_services_win.h"

namespace kelvane {

// Carries out the command. A failure the user must see (a shell command that failed, an
// unreadable system state) reaches the form's error display; the program goes on.
void execute(FormServices& form, const Command& command);

}  // namespace kelvane
