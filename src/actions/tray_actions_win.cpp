#include "actions/tray_actions_win.h"

#include <wtsapi32.h>

#include "actions/command_win.h"
#include "commands/double_click.h"
#include "actions/system_commands_win.h"

namespace kelvane {

void TrayDblClick(CommandHost& form) {
  if (const auto command = DoubleClickCommand(form.Options().DoubleClickAction))
    execute(form, *command);
}

void OnSessionChange(CommandHost& form, WPARAM sessionEvent) {
  if (sessionEvent == WTS_SESSION_LOCK && form.Options().SwitchOffMonitorOnLock)
    SwitchOffMonitor(form.ApplicationWindow(), kMonitorOffIntervalMs);
}

}  // namespace kelvane
