#pragma once
// What a double click on the tray icon does.

#include <cstdint>
#include <optional>
#include <string>

#include "settings/options.h"

namespace kelvane {

// The action for a stored DoubleClickAction; none for values outside 0..8 (a hand-edited file).
std::optional<DoubleClickActionKind> DoubleClickActionFor(std::int32_t value);

// The Run dialog's description, which names the program that will open what is typed.
std::string RunDialogDescription(const std::string& applicationName);

// The monitor is switched off with repeated requests, because one alone is often undone by the
// lock screen's own activity.
inline constexpr int kMonitorOffRepeats = 17;
inline constexpr unsigned kMonitorOffIntervalMs = 400;

}  // namespace kelvane
