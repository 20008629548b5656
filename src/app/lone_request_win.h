#pragma once
// A start with a switch while no copy runs: what it asks for is done here, without an icon, and
// the process ends with the exit code.

#include <optional>

#include "commands/command_line.h"

namespace kelvane {

// The exit code of /release, /export-history and /exit carried out by this process alone;
// nothing for a request the program must start for (no switch, /history, /settings).
std::optional<int> carryOutAlone(const ProgramRequest& request);

}  // namespace kelvane
