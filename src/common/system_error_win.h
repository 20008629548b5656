#pragma once
// The system's own wording for an error code, for messages the user reads.

#include <windows.h>

#include <string>

namespace kelvane {

// The system message for the code in UTF-8, trailing line ends and blanks removed; "" when the
// system has none.
std::string systemMessageText(DWORD code);

}  // namespace kelvane
