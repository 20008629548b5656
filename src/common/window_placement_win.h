#pragma once
#include <windows.h>

#include "common/window_placement.h"

namespace kelvane {

// Where the taskbar sits on its monitor, from the shell's taskbar window; None when there is none.
TaskbarEdgeKind TaskbarEdge();

// Moves a dialog, at its final size, to where it opens (placeDialog), from the monitors, the
// taskbar and its owner as the system has them now.
void placeDialogWindow(HWND dialog, DialogPlace place);

// Moves a window into the work-area corner next to the taskbar on the taskbar's monitor, wholly
// inside that work area; without a taskbar it stays where it is, inside its monitor's work area.
void PlaceNearTray(HWND form);

// Moves a window's top-left corner to `corner`, then the shortest way that puts it wholly inside
// the work area of the monitor it then belongs to.
void moveInsideWorkArea(HWND window, Point corner);

}  // namespace kelvane
