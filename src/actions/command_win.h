#pragma once
// The one place where a user command is carried out, whoever asked for it: the tray menu, the
// double click, the hot key or a timer.

#include "commands/command.h"
#include "actions/command_host_win.h"

namespace kelvane {

// Carries out the command. A failure the user must see (a shell command that failed, an
// unreadable system state) reaches the form's error display; the program goes on.
void execute(CommandHost& form, const Command& command);

}  // namespace kelvane
