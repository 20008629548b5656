#pragma once
// The entries of the dialog's colour pickers: the default (automatic) entry first, the sixteen
// standard colours, the system colours by name, and last the custom entry that opens the
// system colour dialog and shows any colour not among the others.

#include <span>
#include <string_view>

#include "common/texts.h"
#include "settings/options.h"
#include "options/theme_page.h"

namespace kelvane {

enum class PickerEntryKind { Default, Named, Custom };

struct ColorPickerEntry {
  PickerEntryKind kind;
  TColor color;  // for Named; the default and custom entries take theirs from the picker's state
  TextId text;   // the entry's name in the speaking language
  std::string_view systemName = {};  // a system colour's name, which stays as the system's
};

std::span<const ColorPickerEntry> colorPickerEntries();
std::string_view colorPickerEntryName(const ColorPickerEntry& entry);
int colorPickerCustomIndex();

// The entry that shows the state: the default entry, the named entry of its colour, or the
// custom entry.
int colorPickerIndex(const PickerState& state);

}  // namespace kelvane
