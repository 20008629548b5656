#include "tray/tray_image.h"

#include "tray/picture_text.h"

namespace kelvane {

namespace {

// The bar reaches the very right edge only in the see-through borderless look without segments;
// everywhere else column 15 is left for the border or the last gap.
bool fullWidthBar(const TKelvaneOptions& o) { return o.NoBorder && !o.StandardGauge && o.TransBk; }

struct BarGeometry {
  int top;           // y1, the bar's top row
  int digitOffset;   // yo, how far the digits move when the bar is at the bottom
};

BarGeometry barGeometry(const TKelvaneOptions& o) {
  if (!o.BarBottom) return {0, 0};
  return {o.NoBorder ? 10 : 11, -5};
}

Rect fillRectangle(const TKelvaneOptions& o, int y1, int w) {
  if (o.InternalFont && o.NoBorder) {
    if (o.TransBk) return o.BarBottom ? Rect{0, y1 + 2, w, y1 + 6} : Rect{0, y1, w, y1 + 4};
    if (o.BarBottom) return {1, y1 + 2, w, y1 + 5};
  }
  return {1, y1 + 1, w, y1 + 4};
}

Pixel levelColor(const TKelvaneOptions& o, LoadLevelKind level, const SystemColorTable& colors) {
  switch (level) {
    case LoadLevelKind::Green: return pixelFromColor(paintColor(o, ColorSlot::GreenColor, colors));
    case LoadLevelKind::Yellow: return pixelFromColor(paintColor(o, ColorSlot::YellowColor, colors));
    case LoadLevelKind::Red: return pixelFromColor(paintColor(o, ColorSlot::RedColor, colors));
  }
  return 0;
}

void drawSegmentGaps(PixelBuffer& canvas, const TKelvaneOptions& o, int y1, Pixel color) {
  if (o.NoBorder) {
    const int y0 = o.TransBk && !o.BarBottom ? y1 - 1 : y1;
    for (int x : {2, 5, 8, 11, 15}) canvas.fillRect({x, y0 + 1, x + 1, y0 + 6}, color);
  } else {
    for (int x : {3, 6, 9, 12}) canvas.fillRect({x, y1 + 1, x + 1, y1 + 4}, color);
  }
}

TPicClip& stripFor(DigitStrips& strips, const TKelvaneOptions& o, std::size_t count) {
  if (o.MiniInternalFont) return strips.clipMini;
  switch (count) {
    case 1: return strips.clip2;
    case 2: return o.ShowPercentage ? strips.clip3 : strips.clip2;
    case 3: return strips.clip3;
    default: return strips.clip4;
  }
}

void drawBuiltInDigits(PixelBuffer& canvas, const TrayImageInput& in, DigitStrips& strips,
                       int yo) {
  const TKelvaneOptions& o = in.options;
  const DigitText digits = BuiltInDigitText(in.displayText, o.OptimizeForGigabytes, in.format);
  const std::size_t n = digits.glyphs.size();

  int x0 = 0, g = 0;
  switch (n) {
    case 1: x0 = 4; g = 2; break;
    case 2: x0 = o.MiniInternalFont ? 3 : 1; g = o.MiniInternalFont ? 2 : 4; break;
    case 3: x0 = 1; g = 1; break;
    default: break;
  }
  // One column further left makes room for the decimal point; never past the left edge, where
  // four narrow glyphs already start.
  if (digits.gigabyteLayout && x0 > 0) --x0;

  int r = o.TransBk && !o.BarBottom ? 2 : 1;
  if (o.MiniInternalFont) r += o.BarBottom ? 2 : 1;
  const int top = 5 + r + yo;
  const int pointRow = o.MiniInternalFont ? (o.BarBottom ? 8 : 13) : (o.BarBottom ? 9 : 15);

  const Pixel pointColor =
      pixelFromColor(in.colors.text.value_or(paintColor(o, ColorSlot::FontColor, in.systemColors)));
  const Pixel glyphColor =
      pixelFromColor(in.colors.text.value_or(resolveSystemColor(o.Font.Color, in.systemColors)));
  TPicClip& clip = stripFor(strips, o, n);

  for (std::size_t i = 1; i <= n; ++i) {
    int x = static_cast<int>(i - 1) * (4 + g) + x0;
    if (static_cast<int>(i) == digits.pointPosition) {
      canvas.setPixel(x, pointRow, pointColor);
      x0 += 2;
      x += 2;
    }
    const char c = digits.glyphs[i - 1];
    if (c == '?') continue;  // no glyph for it: its place stays empty
    PixelBuffer& glyph = clip.Cell(c == '%' ? 10 : c - '0');
    if (glyphColor != StripBackgroundColor) {
      RecolorBitmap(glyph, StripGlyphColor, glyphColor);
      DrawTransparent(canvas, x, top, glyph, StripBackgroundColor);
    } else {
      // Magenta digits: the strip's own see-through colour must first make way.
      RecolorBitmap(glyph, StripBackgroundColor, TransparentKey);
      RecolorBitmap(glyph, StripGlyphColor, glyphColor);
      DrawTransparent(canvas, x, top, glyph, TransparentKey);
    }
  }
}

SystemFontTextPlan placeSystemFontText(const TrayImageInput& in, int yo) {
  const TKelvaneOptions& o = in.options;
  SystemFontTextPlan plan;
  plan.text = SystemFontText(in.displayText, o.OptimizeForGigabytes, in.format);
  plan.x = (TrayImageSize - in.fontMetrics.textWidth) / 2;
  plan.y = TrayImageSize - in.fontMetrics.heightOfOne + yo;
  plan.color = pixelFromColor(in.colors.text.value_or(resolveSystemColor(o.Font.Color, in.systemColors)));
  plan.font = o.Font;
  return plan;
}

}  // namespace

int BarFillLength(std::uint32_t memoryLoad, const TKelvaneOptions& options) {
  const std::uint64_t w = static_cast<std::uint64_t>(memoryLoad) * 16 / 100;
  if (w < 1) return 1;
  if (w >= 15) return fullWidthBar(options) ? 16 : 15;
  return static_cast<int>(w);
}

TrayPicture ComposeTrayImage(const TrayImageInput& in, DigitStrips& strips) {
  const TKelvaneOptions& o = in.options;
  const auto [y1, yo] = barGeometry(o);
  TrayPicture picture;
  picture.seeThrough = o.TransBk;
  PixelBuffer& canvas = picture.pixels;

  const Pixel background =
      o.TransBk ? TransparentKey
                : pixelFromColor(in.colors.background.value_or(
                      paintColor(o, ColorSlot::OpaqueBkColor, in.systemColors)));
  canvas.fillRect({0, 0, TrayImageSize, TrayImageSize}, background);

  if (!o.NoBorder) {
    const Rect border = o.InternalFont ? Rect{0, y1, 16, y1 + 5} : Rect{0, y1 + 1, 15, y1 + 4};
    canvas.fillRect(border, background);
    const TColor borderColor =
        in.colors.border.value_or(paintColor(o, ColorSlot::BarBorderColor, in.systemColors));
    canvas.frameRect(border, pixelFromColor(borderColor));
  }

  const int w = BarFillLength(in.sample.dwMemoryLoad, o);
  const Rect fill = fillRectangle(o, y1, w);
  canvas.fillRect(fill, levelColor(o, in.level, in.systemColors));

  if (o.FullBar) {
    const int right = fullWidthBar(o) ? 16 : 15;
    canvas.fillRect({fill.right, fill.top, right, fill.bottom},
                    pixelFromColor(paintColor(o, ColorSlot::FullBarColor, in.systemColors)));
  }

  if (o.StandardGauge) drawSegmentGaps(canvas, o, y1, background);

  if (o.InternalFont)
    drawBuiltInDigits(canvas, in, strips, yo);
  else
    picture.fontText = placeSystemFontText(in, yo);
  return picture;
}

TrayPictureKey trayPictureKey(const MemorySample& sample, const TKelvaneOptions& options,
                              const NumberFormat& format) {
  return {PictureText(sample, options, format), LoadLevel(sample, options),
          BarFillLength(sample.dwMemoryLoad, options)};
}

}  // namespace kelvane
