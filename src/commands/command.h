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
  // The memory history window: a menu item, a double-click action and a switch.
  ShowHistory,
  // A process entry of the menu: the process dialog for `process`.
  Process,
};

// What asked for a command. A release keeps it with the memory history, and only one the user
// asked for says afterwards what it freed.
enum class CommandOrigin : std::uint8_t { Menu, HotKey, DoubleClick, Timer, HighLoad, CommandLine };

struct Command {
  CommandKind kind = CommandKind::LaunchTaskManager;
  ProcessItem process;  // only for CommandKind::Process
  CommandOrigin origin = CommandOrigin::Menu;

  static Command of(CommandKind kind, CommandOrigin origin = CommandOrigin::Menu) {
    return Command{kind, {}, origin};
  }
  static Command forProcess(ProcessItem item) { return Command{CommandKind::Process, std::move(item)}; }
};

// What a stored DoubleClickAction does; none for values outside 0..8 (a hand-edited file).
std::optional<Command> DoubleClickCommand(std::int32_t doubleClickAction);

}  // namespace kelvane
