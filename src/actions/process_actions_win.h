#pragma once
// What the process dialog of a tray menu entry offers, and carrying out the user's answer.

#include <windows.h>

#include "actions/command_host_win.h"
#include "actions/process_dialog.h"
#include "commands/process_item.h"
#include "dialogs/task_dialog_win.h"
#include "process/process_platform.h"

namespace kelvane {

// The dialog's texts for an entry, from its executable's version resource.
ProcessDialog ProcessDialogFor(const ProcessItem& item);

// Shows the dialog modally on this thread and returns its answer (100 + n, 2 when cancelled).
int ShowProcessDialog(const ProcessDialog& dialog, const DialogWindow& window);

// Carries out the answer on the process the entry stands for, if that process is still the
// same one, through `platform` (the system's, or a test's). An action the system refuses is
// shown by the form's error display. Ending this program's own process is its Exit command
// (`CommandHost::Close1Click`): the settings are saved and the icon removed. True when the
// answer was a release that the system did not refuse.
bool CarryOutProcessAnswer(CommandHost& form, const ProcessItem& item, const ProcessDialog& dialog, int result,
                           ProcessPlatform& platform);

// The process dialog shown modally on this thread, and its answer carried out. (The tray menu
// opens its dialogs with OpenProcessDialog instead, each on a thread of its own.)
void KillItem(CommandHost& form, const ProcessItem& item, ProcessPlatform& platform);

}  // namespace kelvane
