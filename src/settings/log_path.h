#pragma once
// Where the log file really is. A relative LogFile (hand-edited, or a bare file name) is taken
// inside the data folder rather than against whatever the current directory happens to be.

#include <string>

namespace kelvane {

// True for "x", "logs\x" and ".\x": paths that name no drive and no root.
bool IsRelativeWindowsPath(const std::string& path);

// The path the log is written to and opened from; the data folder may end in a separator.
std::string ResolveLogPath(const std::string& logFile, const std::string& dataFolder);

}  // namespace kelvane
