#pragma once
// A dialog template built in memory from a list of control layouts: the dialog manager then
// lays the controls out in dialog units of the dialog's font, so the window scales with the
// system's DPI and font like a resource dialog.

#include <windows.h>

#include <span>
#include <string_view>
#include <vector>

#include "options/options_dialog_layout.h"

namespace kelvane {

// DLGTEMPLATEEX and its items, DWORD-aligned; "Segoe UI" 8 pt. A Spin control is followed by
// its up-down arrows (identifier upDownIdOf), bound to the number field before them.
std::vector<WORD> buildDialogTemplate(std::string_view caption, DialogUnitsSize size,
                                      std::span<const ControlLayout> controls);

}  // namespace kelvane
