#pragma once
// Plain text onto the clipboard.

#include <windows.h>

#include <string>

namespace kelvane {

// Replaces the clipboard's contents with the UTF-8 text as Unicode text (the system offers it
// to programs that ask for 8-bit text as well). Another program may hold the clipboard for a
// moment, so opening it is retried briefly. Returns ERROR_SUCCESS, or the system's error code
// when the text is not on the clipboard.
DWORD putTextOnClipboard(HWND owner, const std::string& text);

}  // namespace kelvane
