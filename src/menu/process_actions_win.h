#pragma once
// The process dialog of a tray-menu entry and what its buttons do.

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/form_services_win.h"
#include "dialogs/task_dialog_win.h"
#include "menu/process_dialog.h"
#include "menu/process_item.h"

namespace kelvane {

// The two things the actions do to a process once they know it is the right one. The program
// uses the system's calls; tests count them, since Wine accepts a trim and changes nothing.
class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Asks the system to take as many pages as it can out of the process's working set.
  virtual void trimWorkingSet(HANDLE process);
  virtual void terminate(HANDLE process);
};

// The dialog's texts for an entry, from its executable's version resource.
ProcessDialog ProcessDialogFor(const ProcessItem& item);

// Shows the dialog modally on this thread and returns its answer (100 + n, 2 when cancelled).
int ShowProcessDialog(const ProcessDialog& dialog, const DialogWindow& window);

// Carries out the answer on the process the entry stands for, if that process is still the
// same one.
void CarryOutProcessAnswer(FormServices& form, const ProcessItem& item, const ProcessDialog& dialog, int result,
                           ProcessControl& control);

// The process dialog shown modally on this thread, and its answer carried out. (The tray menu
// opens its dialogs with OpenProcessDialog instead, each on a thread of its own.)
void KillItem(FormServices& form, const ProcessItem& item, ProcessControl& control);

// Releases the memory of, or ends, every running process whose path is `path`, found in a new
// snapshot (`usePagefile` as the settings have it). An empty path matches no process.
void ApplyToAllInstances(const std::string& path, bool end, bool usePagefile, ProcessControl& control);

}  // namespace kelvane
