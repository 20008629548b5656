#pragma once
// Carries out what the alert machine decides, once per tick.

#include <cstdint>
#include <string>

#include "app/alert_machine.h"
#include "actions/command_host_win.h"
#include "common/number_format.h"
#include "options/options_dialog.h"

namespace kelvane {

// What the alert step needs from the main form beyond a command's needs: the number format of
// the log line, the apply path for the dialog's "don't show again" box, and the history.
class AlertHost : public CommandHost {
 public:
  virtual void ApplyOptions(const TKelvaneOptions& options, const std::vector<OptionsEffect>& effects) = 0;
  // An alert fires: the history keeps it with the processes using most memory now.
  virtual void RecordAlert(const MemorySample& sample) = 0;
};

struct AlertState {
  AlertMachine machine;
  bool AlertDialogOpen = false;  // only one high-memory dialog at a time
};

// The alert step of one tick. Re-entrant: the dialog's message loop runs further ticks, which
// come back here. A log file that cannot be written is reported through ShowError, once for
// this alert, and the tick ends there.
void RunAlertStep(AlertState& state, AlertHost& form, const MemorySample& sample,
                  std::uint32_t tickCount);


}  // namespace kelvane
