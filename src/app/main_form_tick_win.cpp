// The refresh tick: one memory reading drives the picture, the tip and the alert step.
#include "app/main_form_win.h"
#include "common/clock_win.h"
#include "common/system_info_win.h"
#include "settings/system_colors_win.h"

namespace kelvane {

void TFrmKelvaneMain::onTimer1Timer() {
  const MemorySample sample = readMemorySample();
  shownTotal_ = ShownTotal(sample, options_);
  lastSample_ = sample;
  // The system facts the picture depends on were read when they last changed
  // (onSystemChange); an unchanged tick compares and stops inside show().
  const std::string hint = HintText(sample, options_, numberFormat_);
  trayPicture_.show(*Tray, TrayTick{options_, sample, numberFormat_, systemColors_, hint});
  if (history_) history_->sample(sample, utcSecondsNow());
  runAlertStep(sample);
}

void TFrmKelvaneMain::onSystemChange() {
  numberFormat_ = readUserNumberFormat();
  systemColors_ = readSystemColors();
  trayPicture_.invalidate();
  // The new picture comes from the queue: the change may arrive as a broadcast its sender waits
  // on, and the tick can open the low-memory question.
  PostMessageW(hwnd_, WM_REFRESH_TICK, 0, 0);
}

}  // namespace kelvane
