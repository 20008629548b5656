#include "app/alert_step_win.h"

#include <shellapi.h>

#include "actions/system_commands_win.h"
#include "app/alert_dialog_win.h"
#include "app/alert_log_win.h"
#include "app/log_path.h"
#include "common/text_win.h"
#include "settings/settings_file_win.h"

namespace kelvane {

namespace {

class DialogOpenFlag {
 public:
  explicit DialogOpenFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~DialogOpenFlag() { flag_ = false; }
  DialogOpenFlag(const DialogOpenFlag&) = delete;
  DialogOpenFlag& operator=(const DialogOpenFlag&) = delete;

 private:
  bool& flag_;
};

void askAboutLowMemory(AlertState& state, FormServices& form, const AlertPlan& plan) {
  AlertDialogResult result;
  {
    DialogOpenFlag open(state.AlertDialogOpen);
    ForceForeground(form.ApplicationWindow());
    result = RunAlertDialog(plan.request, form.MainWindow());
  }
  const AlertAnswer answer = interpretAlertAnswer(plan, result.result, result.verificationChecked);
  if (answer.release) form.MemoryDefragmenter1Click();
  if (answer.startTaskManager) LaunchTaskManager(form.MainWindow());
  if (answer.switchOffDialog) form.Options().WarnMsgBox = false;
}

}  // namespace

std::wstring LogFilePath(FormServices& form) {
  return toWide(ResolveLogPath(form.Options().LogFile, form.DataFolder()));
}

void RunAlertStep(AlertState& state, FormServices& form, const MemorySample& sample,
                  std::uint32_t tickCount) {
  const AlertPlan plan =
      state.machine.decide({sample, tickCount, state.AlertDialogOpen}, form.Options());
  if (plan.release) form.MemoryDefragmenter1Click();
  if (plan.balloon) form.ShowBalloon(plan.title, plan.text, 2, 10);
  if (plan.dialog) askAboutLowMemory(state, form, plan);
  if (plan.writeLog) {
    const DateTimeTexts now = CurrentDateTimeTexts();
    const auto lineIn = [&](const Language& language) {
      return AlertLogLine(language, now.date, now.time, sample, form.SystemNumberFormat());
    };
    try {
      AppendLogLine(LogFilePath(form), lineIn(Language::simplifiedChinese()), lineIn(Language::english()));
    } catch (const LogWriteError& error) {
      // The alert itself has happened and the hold-off runs; only this tick's load is not kept.
      form.ShowError(error.what());
      return;
    }
  }
  state.machine.finish(plan);
}

void MneShowLogClick(FormServices& form) {
  const std::wstring path = LogFilePath(form);
  if (FileExistsOnReadyDrive(path)) {
    try {
      OpenDocument(form.MainWindow(), path);
    } catch (const std::exception& error) {
      form.ShowError(error.what());
    }
    return;
  }
  ShowLogNoticeDialog(MakeShowLogNotice(form.Options().RedPercent, toUtf8(path)),
                      form.MainWindow());
}

void LogUnattendedFailure(FormServices& form, const std::string& what) {
  if (!form.Options().WriteLog) return;
  const DateTimeTexts now = CurrentDateTimeTexts();
  try {
    AppendLogLine(LogFilePath(form), now.date + " " + now.time + ": " + what);
  } catch (const LogWriteError&) {
  }
}

}  // namespace kelvane
