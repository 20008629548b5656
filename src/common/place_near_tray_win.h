#pragma once
#include <windows.h>

#include "common/tray_placement.h"

namespace kelvane {

// Where the taskbar sits, from the shell's taskbar window; None when there is none.
TaskbarEdgeKind TaskbarEdge();

// Moves a window into the work-area corner next to the taskbar; without a taskbar it stays.
void PlaceNearTray(HWND form);

}  // namespace kelvane
