#pragma once
// The taskbar's light or dark mode and the display's high contrast, read from the system for
// pictureColors. Read at start and on every WM_SETTINGCHANGE: the mode is a per-user value that
// changes with a broadcast, not a system metric.

#include "tray/picture_colors.h"

namespace kelvane {

TaskbarLook readTaskbarLook();

}  // namespace kelvane
