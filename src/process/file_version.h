#pragma once
// The decisions of the version-resource reader, without the resource itself: how a translation
// entry is named, which string-table path a value is looked up under, and how the fixed part's
// file version reads.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

// One entry of "\VarFileInfo\Translation": a language and a code page, "%.4x%.4x".
std::string TranslationName(std::uint16_t language, std::uint16_t codePage);

// The lookup path of a string value under the first translation the file lists, or under
// "040904E4" when it lists none: "\StringFileInfo\" + translation + "\" + key.
std::string StringValuePath(const std::vector<std::string>& translations, const std::string& key);

// The fixed part's file version, its two 32-bit halves split into four 16-bit numbers: "1.2.3.4".
std::string FileVersionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS);

}  // namespace kelvane
