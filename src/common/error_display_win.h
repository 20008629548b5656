#pragma once
// The top-level error display: what an unexpected failure inside an event handler shows before
// the program goes on with the next event.

#include <string>

namespace kelvane {

// Shows the message (UTF-8) in an error message box.
void showUnexpectedError(const std::string& message);

}  // namespace kelvane
