#pragma once
// Facts about the running system, read once where they are needed and handed to the core.

#include <windows.h>

#include <optional>
#include <string>

#include "common/number_format.h"

namespace kelvane {

struct OsVersion {
  DWORD major = 0, minor = 0, build = 0, platform = 0;
};

// GetVersionEx as the program's manifest lets it see; nothing when the call fails.
std::optional<OsVersion> readOsVersion();

// The user's decimal and thousands separators and digit grouping.
NumberFormat readUserNumberFormat();

// The program file's own fixed product version as "a.b.c.d"; "" without a version resource.
std::string readProductVersion();

// Windows' display language for this user: its id and its tag ("de-AT"; "" when it has none).
struct UiLanguage {
  LANGID id = 0;
  std::string tag;
};
UiLanguage readUiLanguage();

// The folder of the program file, with a trailing backslash.
std::wstring programFolder();

}  // namespace kelvane
