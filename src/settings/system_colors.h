#pragma once
// The 25 system colours (GetSysColor indices 0..24) as plain 0x00BBGGRR values. The shell reads
// them from the running system; the core and the preview get them passed in.

#include <array>

#include "settings/options.h"

namespace kelvane {

using SystemColorTable = std::array<TColor, SystemColorCount>;

// What an unthemed Windows 10 answers: the colours the preview stands for.
SystemColorTable windows10SystemColors();

// A colour value as painted: system colour n looked up in the table, anything else reduced to
// its red, green and blue bytes. Automatic (-1) must be resolved by the caller first.
TColor resolveSystemColor(TColor color, const SystemColorTable& table);

// EffectiveColor of the slot, then resolved against the table.
TColor paintColor(const TKelvaneOptions& options, ColorSlot slot, const SystemColorTable& table);

}  // namespace kelvane
