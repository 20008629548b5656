#pragma once
// Every user command as one value. The menu, the double click, the hot key and the timers all
// turn what happened into a Command and hand it to one execute (command_win.h), so a new
// command is a new kind here and a new case there, not a new path through the main form.

#include <cstdint>
#include <optional>

#include "commands/process_item.h"

namespace kelvane {

enum class CommandKind {
  LaunchTaskManager,
  ReleaseMemory,
  ShowLog,
  Settings,
  About,
  Exit,
  // The double click's actions that have no menu item.
  MemoryInfo,
  LockWorkstation,
  RunDialog,
  ShutdownDialog,
  ShowDesktop,
  // A process entry of the menu: the process dialog for `process`.
  Process,
};

struct Command {
  CommandKind kind = CommandKind::LaunchTaskManager;
  ProcessItem process;  // only for CommandKind::Process

  static Command of(CommandKind kind) { return Command{kind, {}}; }
  static Command forProcess(ProcessItem item) { return Command{CommandKind::Process, std::move(item)}; }
};

// What a stored DoubleClickAction does; none for values outside 0..7 (a hand-edited file).
std::optional<Command> DoubleClickCommand(std::int32_t doubleClickAction);

}  // namespace kelvane
