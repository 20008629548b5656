#pragma once
// The system's own wording for an error code, for messages the user reads. What the user asked
// for fails with a message that names what failed and why (failureMessage).

#include <windows.h>

#include <string>

namespace kelvane {

// The system message for the code in UTF-8, trailing line ends and blanks removed; "" when the
// system has none.
std::string systemMessageText(DWORD code);

// Why, for a message: the system's wording, or "error N" when it has none.
std::string systemReason(DWORD code);

// The one wording of a failure the user is shown: what failed, then why ("无法复制到剪贴板: ...").
std::string failureMessage(const std::string& what, DWORD code);

}  // namespace kelvane
