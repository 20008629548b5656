#include "commands/command.h"

#include "commands/double_click.h"

namespace kelvane {

std::optional<Command> DoubleClickCommand(std::int32_t doubleClickAction) {
  const auto action = DoubleClickActionFor(doubleClickAction);
  if (!action) return std::nullopt;
  switch (*action) {
    case DoubleClickActionKind::TaskManager: return Command::of(CommandKind::LaunchTaskManager);
    case DoubleClickActionKind::ReleaseMemory: return Command::of(CommandKind::ReleaseMemory);
    case DoubleClickActionKind::MemoryInfo: return Command::of(CommandKind::MemoryInfo);
    case DoubleClickActionKind::ShowSettings: return Command::of(CommandKind::Settings);
    case DoubleClickActionKind::LockWorkstation: return Command::of(CommandKind::LockWorkstation);
    case DoubleClickActionKind::RunDialog: return Command::of(CommandKind::RunDialog);
    case DoubleClickActionKind::ShutdownDialog: return Command::of(CommandKind::ShutdownDialog);
    case DoubleClickActionKind::ShowDesktop: return Command::of(CommandKind::ShowDesktop);
  }
  return std::nullopt;
}

}  // namespace kelvane
