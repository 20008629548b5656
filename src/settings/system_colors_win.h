#pragma once
// The running system's 25 colours, read for the core.

#include "settings/system_colors.h"

namespace kelvane {

SystemColorTable readSystemColors();

}  // namespace kelvane
