#pragma once
// Letter case of ASCII letters only: names in settings, themes, paths and captions compare
// without case the way Windows compares them in the ANSI code page's ASCII half, and bytes of a
// multi-byte character are never folded.

#include <string>
#include <string_view>

namespace kelvane {

char lowerAscii(char c);
std::string lowerAsciiText(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix);

}  // namespace kelvane
