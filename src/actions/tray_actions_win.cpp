#include "actions/tray_actions_win.h"

#include <wtsapi32.h>

#include <exception>

#include "actions/double_click.h"
#include "actions/system_commands_win.h"

namespace kelvane {

namespace {

constexpr int kMemoryBalloonSeconds = 40;

void runAction(FormServices& form, DoubleClickActionKind action) {
  switch (action) {
    case DoubleClickActionKind::TaskManager: LaunchTaskManager1Click(form); break;
    case DoubleClickActionKind::ReleaseMemory: form.MemoryDefragmenter1Click(); break;
    case DoubleClickActionKind::MemoryInfo:
      form.ShowBalloon("Kelvane", form.TipText(), 1, kMemoryBalloonSeconds);
      break;
    case DoubleClickActionKind::ShowSettings: form.Settings1Click(); break;
    case DoubleClickActionKind::LockWorkstation: LockWorkstationNow(); break;
    case DoubleClickActionKind::RunDialog:
      ShowRunDialog("Kelvane", form.MainWindow(), form.ApplicationIcon());
      break;
    case DoubleClickActionKind::ShutdownDialog: ShowShutdownDialog(); break;
    case DoubleClickActionKind::ShowDesktop: MinimizeAllWindows(); break;
  }
}

}  // namespace

void TrayDblClick(FormServices& form) {
  const auto action = DoubleClickActionFor(form.Options().DoubleClickAction);
  if (!action) return;
  try {
    runAction(form, *action);
  } catch (const std::exception& error) {
    form.ShowError(error.what());
  }
}

void LaunchTaskManager1Click(FormServices& form) { LaunchTaskManager(form.MainWindow()); }

void OnSessionChange(FormServices& form, WPARAM sessionEvent) {
  if (sessionEvent == WTS_SESSION_LOCK && form.Options().SwitchOffMonitorOnLock)
    SwitchOffMonitor(form.ApplicationWindow(), kMonitorOffIntervalMs);
}

}  // namespace kelvane
