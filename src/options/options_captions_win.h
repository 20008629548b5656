#pragma once
// How wide the options dialog's captions are in the speaking language, in the dialog units of
// the font the dialog manager will give the dialog, so that the layout can make room for them
// before the dialog is made.

#include <string>
#include <vector>

#include "common/language.h"
#include "options/options_dialog_layout.h"

namespace kelvane {

// One width per control of `layout`, in its order: the caption as the control shows it (a list
// by its longest entry, the language list by `languages`); 0 for a control without one.
std::vector<int> measureCaptions(const OptionsDialogLayout& layout, const std::vector<LanguageListEntry>& languages);

}  // namespace kelvane
