// The refresh tick: one memory reading drives the picture, the tip and the alert step.
#include "app/main_form_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

MemorySample readMemorySample() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  GlobalMemoryStatusEx(&status);
  return MemorySample{status.dwMemoryLoad, status.ullTotalPhys, status.ullAvailPhys,
                      status.ullTotalPageFile, status.ullAvailPageFile};
}

// TODO(tray picture): replace this plain square in the load colour with the composed picture.
UniqueIcon placeholderPicture(const TKelvaneOptions& options, LoadLevelKind level) {
  const ColorSlot slot = level == LoadLevelKind::Green    ? ColorSlot::GreenColor
                         : level == LoadLevelKind::Yellow ? ColorSlot::YellowColor
                                                          : ColorSlot::RedColor;
  TColor color = EffectiveColor(options, slot);
  if (isSystemColor(color)) color = static_cast<TColor>(GetSysColor(color - SystemColorBase));
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = 16;
  header.bV5Height = -16;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_RGB;
  void* bits = nullptr;
  const ScreenDc screen;
  UniqueBitmap colorBitmap(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueBitmap maskBitmap(CreateBitmap(16, 16, 1, 1, nullptr));
  if (!colorBitmap || !maskBitmap || !bits) return UniqueIcon();
  const std::uint32_t bgra = 0xFF000000u | (static_cast<std::uint32_t>(color & 0xFF) << 16) |
                             (static_cast<std::uint32_t>(color) & 0xFF00u) |
                             ((static_cast<std::uint32_t>(color) >> 16) & 0xFFu);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int i = 0; i < 16 * 16; ++i) pixels[i] = bgra;
  ICONINFO info{TRUE, 0, 0, maskBitmap.get(), colorBitmap.get()};
  return UniqueIcon(CreateIconIndirect(&info));
}

}  // namespace

void TFrmKelvaneMain::onTimer1Timer() {
  const MemorySample sample = readMemorySample();
  const TKelvaneOptions options = options_;  // the picture works on a copy taken each tick
  shownTotal_ = ShownTotal(sample, options);
  Tray->setHint(toWide(HintText(sample, options, numberFormat_)));
  Tray->setIcon(placeholderPicture(options, LoadLevel(sample, options)));
  runAlertStep(sample);
}

}  // namespace kelvane
