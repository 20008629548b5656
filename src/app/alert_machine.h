#pragma once
// The high-memory alert decision. The tick hands in one sample, the settings, the millisecond
// tick count and whether the alert dialog is already on screen; the machine answers with what
// the shell must do (release, balloon, dialog, log line). It keeps only the load of the last
// tick and the time of the last alert, so it can be driven tick by tick in tests.
//
// A step comes in two halves because the dialog is modal: `decide` runs before the outputs are
// carried out, and `finish` after them. Ticks that run inside the dialog's message loop make
// complete decide/finish pairs of their own; the outer tick's `finish` then writes its older
// load last, and a log failure that aborts the outer tick skips its `finish` altogether.

#include <cstdint>
#include <string>

#include "common/language.h"
#include "common/number_format.h"
#include "memory/memory_status.h"
#include "settings/options.h"

namespace kelvane {

inline constexpr std::uint32_t kAlertHoldOffMs = 300000;  // five minutes between alerts

// The task dialog that asks what to do about the low memory.
struct AlertDialogRequest {
  std::string WindowTitle;
  std::string MainInstruction;
  std::string Content;
  std::string ButtonCaptions;  // one caption per line; the buttons answer 100, 101, 102
  std::string VerificationText;
  int MainIcon = 1;  // warning
  int FooterIcon = 0;
  int Width = 270;
};

struct AlertPlan {
  std::uint32_t load = 0;  // the sample's load, for `finish`
  bool active = false;     // false when every alert switch is off: the step changes nothing
  bool fires = false;
  bool release = false;       // release memory before anything is shown
  bool balloon = false;       // warning balloon, 10 seconds
  std::string title;          // balloon title and the dialog's main instruction
  std::string text;           // balloon text and the dialog's content
  bool dialog = false;        // the shell must mark the dialog open while it shows it
  AlertDialogRequest request;
  bool writeLog = false;      // append one line, after the dialog has closed
};

// What the dialog's answer means for the program.
struct AlertAnswer {
  bool release = false;
  bool startTaskManager = false;
  bool switchOffDialog = false;  // WarnMsgBox := false
};

class AlertMachine {
 public:
  struct Input {
    MemorySample sample;
    std::uint32_t tickCount = 0;  // GetTickCount, wraps after 49.7 days
    bool dialogOpen = false;
  };

  AlertPlan decide(const Input& input, const TKelvaneOptions& options);
  // Ends the step that `decide` planned; a plan of a step that had nothing to do is ignored.
  void finish(const AlertPlan& plan);

  std::int32_t previousLoad() const { return previousLoad_; }
  bool holdOffArmed() const { return alerted_; }
  std::uint32_t nextAlertTick() const { return lastAlertTick_ + kAlertHoldOffMs; }

 private:
  bool holdOffPassed(std::uint32_t tickCount) const;

  std::int32_t previousLoad_ = 0;
  // The hold-off is measured as time elapsed since the last alert, in unsigned 32-bit
  // arithmetic, so it survives the wrap of the tick count; before the first alert there is none.
  bool alerted_ = false;
  std::uint32_t lastAlertTick_ = 0;
};

// The answer is read against the plan that opened the dialog: with the automatic release the
// only button is "&OK", which answers 100 like the release button of the three.
AlertAnswer interpretAlertAnswer(const AlertPlan& plan, int result, bool verificationChecked);

// One log line without its line end, in `language`: "<date> <time>: 内存使用: 91% | 物理内存: ... |
// 页面文件: ...". The date and time come formatted by the system's short date and long time formats.
std::string AlertLogLine(const Language& language, const std::string& dateText, const std::string& timeText,
                         const MemorySample& sample, const NumberFormat& format);

}  // namespace kelvane
