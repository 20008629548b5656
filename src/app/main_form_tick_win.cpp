// The refresh tick: one memory reading drives the picture, the tip and the alert step.
#include "app/main_form_win.h"
#include "common/clock_win.h"
#include "common/system_info_win.h"
#include "settings/system_colors_win.h"
#include "tray/taskbar_look_win.h"

namespace kelvane {

void TFrmKelvaneMain::onTimer1Timer() {
  const MemorySample sample = readMemorySample();
  shownTotal_ = ShownTotal(sample, options_);
  lastSample_ = sample;
  showOnTray(Tray->pointerOver(trayPicture_.iconSize()));
  if (history_) history_->sample(sample, utcSecondsNow());
  runAlertStep(sample);
}

std::string TFrmKelvaneMain::currentHint() const { return HintText(lastSample_, options_, numberFormat_); }

void TFrmKelvaneMain::showOnTray(bool pointerOver, bool pointerArrived) {
  // The system facts the picture depends on were read when they last changed
  // (onSystemChange); an unchanged tick compares and stops inside show().
  const std::string hint = currentHint();
  const TipReaders tip{GetTickCount64(), pointerOver, pointerArrived, std::exchange(tipWordingChanged_, false)};
  trayPicture_.show(*Tray, TrayTick{options_, lastSample_, numberFormat_, systemColors_, hint,
                                    pictureColors(options_, taskbarLook_, systemColors_), tip});
}

void TFrmKelvaneMain::onSystemChange() {
  numberFormat_ = readUserNumberFormat();
  systemColors_ = readSystemColors();
  taskbarLook_ = readTaskbarLook();
  tipWordingChanged_ = true;
  trayPicture_.invalidate();
  // The new picture comes from the queue: the change may arrive as a broadcast its sender waits
  // on, and the tick can open the low-memory question.
  PostMessageW(hwnd_, WM_REFRESH_TICK, 0, 0);
}

}  // namespace kelvane
