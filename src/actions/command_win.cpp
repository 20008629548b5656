#include "actions/command_win.h"

#include <exception>

#include "actions/process_dialogs_win.h"
#include "actions/show_log_win.h"
#include "actions/system_commands_win.h"

namespace kelvane {

namespace {

constexpr int kMemoryBalloonSeconds = 40;

void run(CommandHost& form, const Command& command) {
  switch (command.kind) {
    case CommandKind::LaunchTaskManager: LaunchTaskManager(form.MainWindow()); break;
    case CommandKind::ReleaseMemory: form.MemoryDefragmenter1Click(command.origin); break;
    case CommandKind::ShowHistory: form.ShowHistory(); break;
    case CommandKind::ShowLog: MneShowLogClick(form); break;
    case CommandKind::Settings: form.Settings1Click(); break;
    case CommandKind::About: form.About1Click(); break;
    case CommandKind::Exit: form.Close1Click(); break;
    case CommandKind::MemoryInfo:
      form.ShowBalloon("Kelvane", form.TipText(), 1, kMemoryBalloonSeconds);
      break;
    case CommandKind::LockWorkstation: LockWorkstationNow(); break;
    case CommandKind::RunDialog:
      ShowRunDialog("Kelvane", form.MainWindow(), form.ApplicationIcon());
      break;
    case CommandKind::ShutdownDialog: ShowShutdownDialog(); break;
    case CommandKind::ShowDesktop: MinimizeAllWindows(); break;
    case CommandKind::Process: OpenProcessDialog(form, command.process); break;
  }
}

}  // namespace

void execute(CommandHost& form, const Command& command) {
  try {
    run(form, command);
  } catch (const std::exception& error) {
    form.ShowError(error.what());
  }
}

}  // namespace kelvane
