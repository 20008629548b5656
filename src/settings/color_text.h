#pragma once
// Colours as text, the form the settings file and the theme files share: a system colour by
// its name, any other colour as six hexadecimal digits red, green, blue.

#include <string>
#include <string_view>

#include "settings/options.h"

namespace kelvane {

// The name of system colour n ("ScrollBar" ... "InfoBackground"), or "" outside 0..24.
std::string_view SystemColorName(int index);

// A system colour 0..24 becomes its name, anything else "RRGGBB" in upper case.
std::string ColorToText(TColor color);

// An optional leading '#', then a system-colour name (exact case) or up to three groups of two
// hexadecimal digits red, green, blue (characters after the sixth ignored). A group that is
// empty or not hexadecimal gives automatic (-1).
TColor TextToColor(std::string_view text);

// A value of the Colors section: missing, empty or "Automatic" is automatic.
TColor ColorSettingFromText(std::string_view text);

// The text stored for a colour in the Colors section.
std::string ColorSettingText(TColor color);

}  // namespace kelvane
