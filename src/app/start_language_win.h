#pragma once
// The language the program speaks from its start: chosen before the first window, the tray icon
// or a message box is made, from the settings file's Language and Windows' display language,
// among the built-in languages and those that language files add.

#include <string>
#include <vector>

namespace kelvane {

// Reads the language files of the data folder and the program folder, speaks the chosen
// language and returns the log lines about files that were not taken whole, for the log once
// the settings say whether there is one.
std::vector<std::string> speakStartLanguage();

}  // namespace kelvane
