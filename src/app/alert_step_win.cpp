#include "app/alert_step_win.h"

#include "actions/show_log_win.h"
#include "actions/system_commands_win.h"
#include "app/alert_dialog_win.h"
#include "common/clock_win.h"
#include "settings/log_file_win.h"

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

void askAboutLowMemory(AlertState& state, AlertHost& form, const AlertPlan& plan) {
  AlertDialogResult result;
  {
    DialogOpenFlag open(state.AlertDialogOpen);
    ForceForeground(form.ApplicationWindow());
    result = RunAlertDialog(plan.request, form.MainWindow());
  }
  const AlertAnswer answer = interpretAlertAnswer(plan, result.result, result.verificationChecked);
  if (answer.release) form.MemoryDefragmenter1Click(CommandOrigin::HighLoad);
  if (answer.startTaskManager) LaunchTaskManager(form.MainWindow());
  if (answer.switchOffDialog) {
    TKelvaneOptions options = form.Options();
    options.WarnMsgBox = false;
    form.ApplyOptions(options, {});  // saved at exit, with the rest of the record
  }
}

}  // namespace

void RunAlertStep(AlertState& state, AlertHost& form, const MemorySample& sample,
                  std::uint32_t tickCount) {
  const AlertPlan plan =
      state.machine.decide({sample, tickCount, state.AlertDialogOpen}, form.Options());
  if (plan.fires) form.RecordAlert(sample);
  if (plan.release) form.MemoryDefragmenter1Click(CommandOrigin::HighLoad);
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

}  // namespace kelvane
