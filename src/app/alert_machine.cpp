#include "app/alert_machine.h"

#include "common/language.h"
#include "dialogs/task_dialog.h"

namespace kelvane {

namespace {

constexpr int kButtonRelease = 100;
constexpr int kButtonTaskManager = 101;

}  // namespace

bool AlertMachine::holdOffPassed(std::uint32_t tickCount) const {
  if (!alerted_) return true;
  return static_cast<std::uint32_t>(tickCount - lastAlertTick_) > kAlertHoldOffMs;
}

AlertPlan AlertMachine::decide(const Input& input, const TKelvaneOptions& options) {
  AlertPlan plan;
  plan.load = input.sample.dwMemoryLoad;
  if (!options.Warn && !options.DefragOnHighMemory && !options.WarnMsgBox && !options.WriteLog)
    return plan;
  plan.active = true;

  const std::int64_t load = input.sample.dwMemoryLoad;
  const std::int64_t red = options.RedPercent;
  plan.fires = previousLoad_ <= red && load >= red && holdOffPassed(input.tickCount);
  if (!plan.fires) return plan;

  alerted_ = true;
  lastAlertTick_ = input.tickCount;

  plan.release = options.DefragOnHighMemory;
  plan.title = tr(TextId::AlertTitle);
  plan.text = tr(options.DefragOnHighMemory ? TextId::AlertTextAfterRelease : TextId::AlertTextWithoutRelease);
  plan.balloon = options.Warn;
  plan.dialog = options.WarnMsgBox && !input.dialogOpen;
  if (plan.dialog) {
    plan.request.WindowTitle = "Kelvane";
    plan.request.MainInstruction = plan.title;
    plan.request.Content = plan.text;
    plan.request.ButtonCaptions = tr(options.DefragOnHighMemory ? TextId::AlertOkButton : TextId::AlertButtons);
    plan.request.VerificationText = tr(TextId::DontShowWarningAgain);
  }
  plan.writeLog = options.WriteLog;
  return plan;
}

void AlertMachine::finish(const AlertPlan& plan) {
  if (plan.active) previousLoad_ = static_cast<std::int32_t>(plan.load);
}

AlertAnswer interpretAlertAnswer(const AlertPlan& plan, int result, bool verificationChecked) {
  AlertAnswer answer;
  answer.release = result == kButtonRelease && !plan.release;
  answer.startTaskManager = result == kButtonTaskManager;
  answer.switchOffDialog = verificationChecked;
  return answer;
}

std::string AlertLogLine(const Language& language, const std::string& dateText, const std::string& timeText,
                         const MemorySample& sample, const NumberFormat& format) {
  const std::string load = std::to_string(sample.dwMemoryLoad);
  const std::string usedPhysical = SizeText(sample.usedPhys(), format);
  const std::string totalPhysical = SizeText(static_cast<std::int64_t>(sample.ullTotalPhys), format);
  const std::string usedPageFile = SizeText(sample.usedPageFile(), format);
  const std::string totalPageFile = SizeText(static_cast<std::int64_t>(sample.ullTotalPageFile), format);
  return formatText(language.text(TextId::LogHighLoadLine),
                    {{"date", dateText},
                     {"time", timeText},
                     {"load", load},
                     {"usedPhysical", usedPhysical},
                     {"totalPhysical", totalPhysical},
                     {"usedPageFile", usedPageFile},
                     {"totalPageFile", totalPageFile}});
}

}  // namespace kelvane
