#pragma once
// Carries out what the alert machine decides, once per tick, and the show-log command.

#include <cstdint>
#include <string>

#include "app/alert_machine.h"
#include "app/form_services_win.h"

namespace kelvane {

struct AlertState {
  AlertMachine machine;
  bool AlertDialogOpen = false;  // only one high-memory dialog at a time
};

// The alert step of one tick. Re-entrant: the dialog's message loop runs further ticks, which
// come back here. A log file that cannot be written is reported through ShowError, once for
// this alert, and the tick ends there.
void RunAlertStep(AlertState& state, FormServices& form, const MemorySample& sample,
                  std::uint32_t tickCount);

// The log's path as written and opened: LogFile, inside the data folder when relative.
std::wstring LogFilePath(FormServices& form);

void MneShowLogClick(FormServices& form);

// With WriteLog on, a line in the log for a failure that nobody is there to see (a save while
// the session ends); a log that cannot be written either is let go.
void LogUnattendedFailure(FormServices& form, const std::string& what);

}  // namespace kelvane
