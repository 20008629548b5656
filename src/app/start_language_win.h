#pragma once
// The language the program speaks from its start: chosen before the first window, the tray icon
// or a message box is made, from the settings file's Language and Windows' display language,
// among the built-in languages and those that language files add.

#include <string>
#include <vector>

#include "common/language.h"
#include "settings/options.h"

namespace kelvane {

// Lists the language files of the data folder and the program folder, speaks the chosen
// language and returns the notices about the files left out and the file read, for the log once
// the settings say whether there is one.
std::vector<LanguageNotice> speakStartLanguage();

// Writes the notices to the log (when `options` keep one) in the speaking language, and in
// English where the system code page cannot hold that.
void logLanguageNotices(const TKelvaneOptions& options, const std::string& dataFolder,
                        const std::vector<LanguageNotice>& notices);

}  // namespace kelvane
