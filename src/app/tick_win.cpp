// The refresh tick: one memory reading drives the picture, the tip and the alert step.
#include "app/main_form_win.h"
#include "common/text_win.h"
#include "settings/system_colors_win.h"

namespace kelvane {

namespace {

MemorySample readMemorySample() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);
  return MemorySample{status.dwMemoryLoad, status.ullTotalPhys, status.ullAvailPhys,
                      status.ullTotalPageFile, status.ullAvailPageFile};
}

}  // namespace

void TFrmKelvaneMain::onTimer1Timer() {
  const MemorySample sample = readMemorySample();
  const TKelvaneOptions options = options_;  // the picture works on a copy taken each tick
  shownTotal_ = ShownTotal(sample, options);
  lastSample_ = sample;
  const std::wstring hint = toWide(HintText(sample, options, numberFormat_));
  const SystemColorTable systemColors = readSystemColors();
  trayPicture_.show(*Tray, TrayTick{options, sample, numberFormat_, systemColors, hint});
  runAlertStep(sample);
}

}  // namespace kelvane
