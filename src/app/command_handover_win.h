#pragma once
// The command line at the system's edge: the arguments of this start, a relative file made
// whole in the starting process's own folder, the request handed to the running copy as a
// copy-data message whose answer is the exit code, and the usage in a message box.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "commands/command_line.h"

namespace kelvane {

// Marks a copy-data message as a request of this program ("KLRQ").
inline constexpr ULONG_PTR kProgramRequestData = 0x4B4C5251;
// How long a start waits for the running copy's answer.
inline constexpr UINT kRequestAnswerWaitMs = 30'000;

// The arguments after the program's name, UTF-8, split as the system splits them.
std::vector<std::string> commandLineArguments(const wchar_t* commandLine);

// The export's file as a full path, resolved in this process's current folder: the running copy
// has a folder of its own.
ProgramRequest withFullPath(ProgramRequest request);

// Sends the request to the running copy's main form and waits for its answer; nothing when it
// did not answer in time or the window is gone.
std::optional<RequestAnswer> handOverRequest(HWND runningForm, const ProgramRequest& request,
                                             UINT timeoutMs = kRequestAnswerWaitMs);

// In the running copy's WM_COPYDATA: whether the message is the program's at all (another
// program's goes to the default handling), and the request in it, or nothing for one this copy
// does not understand (answered kAnswerNotUnderstood).
bool isProgramRequest(const COPYDATASTRUCT& data);
std::optional<ProgramRequest> receivedRequest(const COPYDATASTRUCT& data);

// Where a command's words go: standard error when it is a file or a pipe; else the console of
// the process that started this one; else a window, unless /quiet was given. A failure's window
// is a message box, the usage's too. True when the words reached someone.
enum class CommandWords { Usage, BadCommandLine, Failure };
// `consoleText`, when given, is what a console or a file gets instead (the usage as a table).
bool tellCommandWords(const std::string& text, CommandWords kind, bool quiet, const std::string& consoleText = {});

// "/?" and a bad command line: the usage (after what was wrong).
void showUsage(const ProgramRequest& request);

}  // namespace kelvane
