#pragma once
#include <string>

namespace kelvane {

// Opens a web page in the user's browser; anything but an http or https address is refused
// (false), and so is a page the shell could not open.
bool openWebPage(const std::string& address);

}  // namespace kelvane
