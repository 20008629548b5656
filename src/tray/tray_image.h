#pragma once
// The tray picture, 16 x 16 or one of its larger designs (tray/picture_design.h): a background, a bar gauge whose length follows the memory load and
// whose colour follows the load level, optional segment gaps, and the display value in built-in
// pixel digits or in the system font. Composed into a plain pixel buffer; the shell turns it
// into an icon and, for the system font, draws the text the core placed.

#include <optional>
#include <string>

#include "memory/memory_status.h"
#include "common/number_format.h"
#include "settings/options.h"
#include "settings/system_colors.h"
#include "tray/digit_strips.h"
#include "tray/picture_colors.h"
#include "tray/pixel_buffer.h"

namespace kelvane {

inline constexpr int TrayImageSize = 16;
// The background colour of a see-through picture; the icon makes these pixels transparent.
inline constexpr Pixel TransparentKey = 0x030303;

// Sizes the shell measured with the picture's font selected: the width of the text to draw and
// the height of the text "1".
struct SystemFontMetrics {
  int textWidth = 0;
  int heightOfOne = 0;
};

// The value drawn in the system font, left for the shell: `text` at (x, y) in `font`, in
// `color`, with a transparent text background.
struct SystemFontTextPlan {
  std::string text;
  int x = 0;
  int y = 0;
  Pixel color = 0;
  TFontSpec font;

  bool operator==(const SystemFontTextPlan&) const = default;
};

struct TrayPicture {
  PixelBuffer pixels{TrayImageSize, TrayImageSize};
  // Pixels of exactly TransparentKey are see-through (TransBk); otherwise the icon is opaque.
  bool seeThrough = false;
  std::optional<SystemFontTextPlan> fontText;

  bool operator==(const TrayPicture&) const = default;
};

// What a tick hands over: its copy of the settings, the sample with the texts derived from it,
// and the facts of the system the picture depends on.
struct TrayImageInput {
  const TKelvaneOptions& options;
  const MemorySample& sample;
  const std::string& displayText;
  LoadLevelKind level;
  const SystemColorTable& systemColors;
  const NumberFormat& format;            // the system's decimal and thousands separators
  SystemFontMetrics fontMetrics = {};    // used only without InternalFont
  int size = TrayImageSize;              // the design drawn: 16, 20 or 24 pixels
  PictureColors colors = {};             // the taskbar's and high contrast's, over the settings'
};

TrayPicture ComposeTrayImage(const TrayImageInput& input, DigitStrips& strips);

// All the picture takes from a sample: with the same settings, colours, number format and
// metrics, two samples of equal keys compose the same picture. A tick compares keys and stops.
struct TrayPictureKey {
  std::string displayText;  // PictureText
  LoadLevelKind level = LoadLevelKind::Green;
  int barFill = 0;          // BarFillLength

  bool operator==(const TrayPictureKey&) const = default;
};

TrayPictureKey trayPictureKey(const MemorySample& sample, const TKelvaneOptions& options,
                              const NumberFormat& format, int size = TrayImageSize);

// The filled length of the bar: the right edge of the fill rectangle, in a picture of `size`.
int BarFillLength(std::uint32_t memoryLoad, const TKelvaneOptions& options, int size = TrayImageSize);

}  // namespace kelvane
