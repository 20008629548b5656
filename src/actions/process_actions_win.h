#pragma once
// The process dialog of a tray-menu entry and what its buttons do.

#include <windows.h>

#include "actions/command_host_win.h"
#include "commands/process_item.h"
#include "process/process_platform.h"

namespace kelvane {

// The click handler of every process entry: shows the process dialog and carries out the
// chosen action on the process the entry stands for, if that process is still the same one,
// through `platform` (the system's, or a test's). An action the system refuses is shown by the
// form's error display. Ending this program's own process is its Exit command
// (`CommandHost::Close1Click`): the settings are saved and the icon removed.
void KillItem(CommandHost& form, const ProcessItem& item);
void KillItem(CommandHost& form, const ProcessItem& item, ProcessPlatform& platform);

}  // namespace kelvane
