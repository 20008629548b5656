#pragma once
// The process dialog of a tray-menu entry and what its buttons do.

#include "app/form_services_win.h"
#include "menu/process_item.h"

namespace kelvane {

// The click handler of every process entry: shows the process dialog and carries out the
// chosen action on the process the entry stands for, if that process is still the same one.
void KillItem(FormServices& form, const ProcessItem& item);

}  // namespace kelvane
