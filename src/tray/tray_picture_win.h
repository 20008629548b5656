#pragma once
// From the composed picture to the notification area: the design for the system's small-icon
// size, the value in the system font drawn with GDI, the icon itself, and the decision to leave
// the notification area alone when nothing it shows has changed.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "memory/memory_status.h"
#include "common/handles_win.h"
#include "common/number_format.h"
#include "settings/options.h"
#include "settings/system_colors.h"
#include "tray/tray_icon_win.h"
#include "tray/tip_schedule.h"
#include "tray/tray_image.h"

namespace kelvane {

// An icon of the picture's size: pixels of exactly TransparentKey are see-through when
// `seeThrough` is set, every other pixel is fully opaque. A 32-bit icon with alpha and with the
// matching monochrome mask, so it draws the same with and without alpha blending.
UniqueIcon IconFromBitmap(const PixelBuffer& pixels, bool seeThrough);

// The size in pixels the notification area shows icons at: the small-icon size for the
// taskbar's DPI (16 at 100 %, 20 at 125 %, 24 at 150 %, 32 at 200 %).
int trayIconSize();

// The picture's font as GDI wants it, sized for a picture of `designSize` pixels: its points at
// 96 DPI for 16 pixels, in proportion for the larger designs.
UniqueFont createPictureFont(const TFontSpec& font, int designSize = TrayImageSize);

// A memory DC and a picture-sized DIB made once and kept, so that measuring and drawing the
// system-font value makes no GDI object on the ticks that change the picture.
class PictureTextCanvas {
 public:
  // Width of `text` and height of "1" in `font`, on a canvas of `size` pixels.
  SystemFontMetrics measure(const std::string& text, HFONT font, int size);
  // Draws plan.text in `font` onto the pixels, text background transparent.
  void draw(PixelBuffer& pixels, const SystemFontTextPlan& plan, HFONT font);

 private:
  bool prepare(int width, int height);

  UniqueBitmap dib_;
  UniqueMemoryDc dc_;  // destroyed first, so the DIB is no longer selected when it goes
  std::uint32_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

// What the tick knows about who may read the tip (tipDue).
struct TipReaders {
  std::uint64_t now = 0;        // the tick's time, GetTickCount64
  bool pointerOver = false;
  bool pointerArrived = false;  // a mouse-move found it over the icon for the first time
  bool wordingChanged = false;  // settings applied, language chosen, number format changed
};

// What the tick hands over each time.
struct TrayTick {
  const TKelvaneOptions& options;
  const MemorySample& sample;
  const NumberFormat& format;
  const SystemColorTable& systemColors;
  const std::string& hint;  // UTF-8
  PictureColors colors = {};
  TipReaders tip = {};
};

// The main form's picture maker. Keeps the digit strips, the picture font, the notification
// area's icon size and what the area shows now: a tick whose picture and tip are unchanged
// compares and stops, with no GDI object, no window look-up and no shell call.
class TTrayPicture {
 public:
  // `iconSize` tells the notification area's icon size; asked again after invalidate().
  explicit TTrayPicture(std::function<int()> iconSize = trayIconSize) : iconSizeSource_(std::move(iconSize)) {}

  // Composes the picture and, if the picture or its size differ from what `tray` shows, gives it
  // the new icon and tip in one modification; else sends the tip alone when tipDue says so.
  // True when the tray was changed (every change carries the tip).
  bool show(TTrayIconComponent& tray, const TrayTick& tick);

  // The taskbar's DPI, the theme or the shell changed: the next show() asks the system for the
  // icon size again and redraws even if nothing else changed.
  void invalidate();

  // The last picture composed, at its design size, with the system-font value drawn in.
  const PixelBuffer& lastPicture() const { return shown_; }
  // The notification area's icon size as last asked (the picture's own before the first show).
  int iconSize() const { return iconSize_ ? iconSize_ : TrayImageSize; }
  std::uint64_t iconsCreated() const { return iconsCreated_; }
  std::uint64_t ticksSkipped() const { return ticksSkipped_; }

 private:
  HFONT fontFor(const TFontSpec& wanted, int designSize);
  bool unchanged(const TrayPictureKey& key, const TrayTick& tick) const;
  bool showTipAlone(TTrayIconComponent& tray, const TrayTick& tick);

  std::function<int()> iconSizeSource_;
  DigitStrips strips_;
  UniqueFont font_;
  TFontSpec fontSpec_;
  int fontDesignSize_ = 0;
  PictureTextCanvas canvas_;
  int iconSize_ = 0;  // 0 until asked for

  bool haveShown_ = false;
  TrayPictureKey shownKey_;
  TKelvaneOptions shownOptions_;
  NumberFormat shownFormat_;
  SystemColorTable shownColors_{};
  PictureColors shownPictureColors_;
  std::string shownHint_;                    // the tip the shell has
  std::optional<std::uint64_t> tipSentAt_;   // when it got it
  PixelBuffer shown_;
  bool shownSeeThrough_ = false;
  int shownSize_ = 0;
  std::uint64_t iconsCreated_ = 0;
  std::uint64_t ticksSkipped_ = 0;
};

}  // namespace kelvane
