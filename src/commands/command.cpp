#include "commands/command.h"

#include "commands/double_click.h"

namespace kelvane {

namespace {

std::optional<CommandKind> kindOfAction(std::int32_t doubleClickAction) {
  const auto action = DoubleClickActionFor(doubleClickAction);
  if (!action) return std::nullopt;
  switch (*action) {
    case DoubleClickActionKind::TaskManager: return CommandKind::LaunchTaskManager;
    case DoubleClickActionKind::ReleaseMemory: return CommandKind::ReleaseMemory;
    case DoubleClickActionKind::MemoryInfo: return CommandKind::MemoryInfo;
    case DoubleClickActionKind::ShowSettings: return CommandKind::Settings;
    case DoubleClickActionKind::LockWorkstation: return CommandKind::LockWorkstation;
    case DoubleClickActionKind::RunDialog: return CommandKind::RunDialog;
    case DoubleClickActionKind::ShutdownDialog: return CommandKind::ShutdownDialog;
    case DoubleClickActionKind::ShowDesktop: return CommandKind::ShowDesktop;
    case DoubleClickActionKind::ShowHistory: return CommandKind::ShowHistory;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Command> DoubleClickCommand(std::int32_t doubleClickAction) {
  const auto kind = kindOfAction(doubleClickAction);
  if (!kind) return std::nullopt;
  return Command::of(*kind, CommandOrigin::DoubleClick);
}

}  // namespace kelvane
