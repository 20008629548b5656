#pragma once
// The input box: one question, one line of text, OK and Cancel.

#include <windows.h>

#include <optional>
#include <string>

namespace kelvane {

// The text confirmed with OK (UTF-8), or nothing for Cancel, Escape, the close box or an exit
// asked for while the box was open.
std::optional<std::string> InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                                    const std::string& initial);

}  // namespace kelvane
