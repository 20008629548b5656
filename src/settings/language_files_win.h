#pragma once
// The languages that files add, Languages\<tag>.lng in the data folder and beside the program,
// and the choice of the language the program speaks from the setting and Windows' display
// language.

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"

namespace kelvane {

inline constexpr std::wstring_view kLanguageFolder = L"Languages\\";

// Reads the language files of each folder (each with a trailing backslash), the first folder's
// winning a tag that two have, and keeps their languages for the rest of the run: the speaking
// language may be one of them, and it must outlive every reader. Done once, at start; a second
// call adds nothing. Returns one log line for each file that was not taken whole.
std::vector<std::string> loadLanguageFiles(const std::vector<std::wstring>& folders);

// The languages loadLanguageFiles kept.
std::span<const Language> fileLanguages();

// Speaks the language `setting` ([General] Language) chooses, Windows' display language
// deciding when it names none (or none there is).
void speakLanguageSetting(std::string_view setting);

}  // namespace kelvane
