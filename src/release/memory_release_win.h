#pragma once
// Memory release with the real process calls, and the privilege that lets it reach the
// processes of other users.

#include <windows.h>

#include <functional>

namespace kelvane {

// Trims the working set of every process that owns a top-level window. `setCommandEnabled`
// greys the release command while the walk runs; it is enabled again however the walk ends.
void ReleaseWindowedProcesses(const std::function<void(bool)>& setCommandEnabled);

// Turns a privilege of the program's own token on or off; true only when the token now holds
// it in that state.
bool EnablePrivilege(const wchar_t* name, bool enable);

}  // namespace kelvane
