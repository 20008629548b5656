#pragma once
// The command-line help in a window: the problem of a bad command line, the switches and what
// they do in two columns, the closing lines and OK. Returns when the window is closed.

#include <string>
#include <vector>

namespace kelvane {

inline constexpr wchar_t kHelpWindowClass[] = L"KelvaneCommandLineHelp";

void showHelpWindow(const std::string& problem, const std::vector<std::string>& names,
                    const std::vector<std::string>& descriptions, const std::string& footer);

}  // namespace kelvane
