#pragma once
// Session-lock notifications through Wtsapi32, loaded at run time: systems without it simply
// send no session messages.

#include <windows.h>

namespace kelvane {

bool RegisterSessionNotification(HWND window);
bool UnregisterSessionNotification(HWND window);

}  // namespace kelvane
