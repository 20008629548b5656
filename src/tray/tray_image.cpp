#include "tray/tray_image.h"

#include "tray/picture_design.h"
#include "tray/picture_text.h"

namespace kelvane {

namespace {

// The bar reaches the very right edge only in the see-through borderless look without segments;
// everywhere else the last column is left for the border or the last gap.
bool fullWidthBar(const TKelvaneOptions& o) { return o.NoBorder && !o.StandardGauge && o.TransBk; }

struct BarGeometry {
  int top;           // y1, the bar's top row
  int digitOffset;   // yo, how far the digits move when the bar is at the bottom
};

BarGeometry barGeometry(const TKelvaneOptions& o, const PictureDesign& d) {
  if (!o.BarBottom) return {0, 0};
  return {d.size - d.band - (o.NoBorder ? 1 : 0), -d.band};
}

Rect fillRectangle(const TKelvaneOptions& o, const PictureDesign& d, int y1, int w) {
  const int b = d.band;
  if (o.InternalFont && o.NoBorder) {
    if (o.TransBk) return o.BarBottom ? Rect{0, y1 + 2, w, y1 + b + 1} : Rect{0, y1, w, y1 + b - 1};
    if (o.BarBottom) return {1, y1 + 2, w, y1 + b};
  }
  return {1, y1 + 1, w, y1 + b - 1};
}

Pixel levelColor(const TKelvaneOptions& o, LoadLevelKind level, const SystemColorTable& colors) {
  switch (level) {
    case LoadLevelKind::Green: return pixelFromColor(paintColor(o, ColorSlot::GreenColor, colors));
    case LoadLevelKind::Yellow: return pixelFromColor(paintColor(o, ColorSlot::YellowColor, colors));
    case LoadLevelKind::Red: return pixelFromColor(paintColor(o, ColorSlot::RedColor, colors));
  }
  return 0;
}

void drawSegmentGaps(PixelBuffer& canvas, const TKelvaneOptions& o, const PictureDesign& d, int y1,
                     Pixel color) {
  if (o.NoBorder) {
    const int y0 = o.TransBk && !o.BarBottom ? y1 - 1 : y1;
    for (int x : d.gapsWithoutBorder) canvas.fillRect({x, y0 + 1, x + 1, y0 + d.band + 1}, color);
  } else {
    for (int x : d.gapsWithBorder) canvas.fillRect({x, y1 + 1, x + 1, y1 + d.band - 1}, color);
  }
}

DigitRun digitRun(const PictureDesign& d, const TKelvaneOptions& o, std::size_t count) {
  switch (count) {
    case 1: return d.one;
    case 2: return o.MiniInternalFont ? d.twoMini : o.ShowPercentage ? d.twoThin : d.two;
    case 3: return d.three;
    case 4: return d.four;
    default: return d.more;
  }
}

TPicClip& stripFor(StripClips& strips, const TKelvaneOptions& o, std::size_t count) {
  if (o.MiniInternalFont) return strips.clipMini;
  switch (count) {
    case 1: return strips.clip2;
    case 2: return o.ShowPercentage ? strips.clip3 : strips.clip2;
    case 3: return strips.clip3;
    default: return strips.clip4;
  }
}

void drawBuiltInDigits(PixelBuffer& canvas, const TrayImageInput& in, const PictureDesign& d,
                       DigitStrips& strips) {
  const TKelvaneOptions& o = in.options;
  const DigitText digits = BuiltInDigitText(in.displayText, o.OptimizeForGigabytes, in.format);
  const std::size_t n = digits.glyphs.size();

  auto [x0, pitch] = digitRun(d, o, n);
  // One column further left makes room for the decimal point; never past the left edge, where
  // four narrow glyphs already start.
  if (digits.gigabyteLayout && x0 > 0) --x0;

  const int bottom = o.BarBottom ? 1 : 0;
  int top = d.digitTop[bottom];
  if (o.TransBk && !o.BarBottom) top += d.seeThroughDrop;
  if (o.MiniInternalFont) top += d.miniDrop[bottom];
  const int pointRow = d.pointRow[o.MiniInternalFont ? 1 : 0][bottom];
  // The point and the space after it push the rest of the text to the right.
  const int pointShift = d.pointSize + 1;

  const Pixel pointColor =
      pixelFromColor(in.colors.text.value_or(paintColor(o, ColorSlot::FontColor, in.systemColors)));
  const Pixel glyphColor =
      pixelFromColor(in.colors.text.value_or(resolveSystemColor(o.Font.Color, in.systemColors)));
  TPicClip& clip = stripFor(strips.forSize(d.size), o, n);

  for (std::size_t i = 1; i <= n; ++i) {
    int x = static_cast<int>(i - 1) * pitch + x0;
    if (static_cast<int>(i) == digits.pointPosition) {
      canvas.fillRect({x, pointRow, x + d.pointSize, pointRow + d.pointSize}, pointColor);
      x0 += pointShift;
      x += pointShift;
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

SystemFontTextPlan placeSystemFontText(const TrayImageInput& in, int size, int yo) {
  const TKelvaneOptions& o = in.options;
  SystemFontTextPlan plan;
  plan.text = SystemFontText(in.displayText, o.OptimizeForGigabytes, in.format);
  plan.x = (size - in.fontMetrics.textWidth) / 2;
  plan.y = size - in.fontMetrics.heightOfOne + yo;
  plan.color = pixelFromColor(in.colors.text.value_or(resolveSystemColor(o.Font.Color, in.systemColors)));
  plan.font = o.Font;
  return plan;
}

}  // namespace

int BarFillLength(std::uint32_t memoryLoad, const TKelvaneOptions& options, int size) {
  const std::uint64_t w = static_cast<std::uint64_t>(memoryLoad) * static_cast<std::uint64_t>(size) / 100;
  if (w < 1) return 1;
  if (w >= static_cast<std::uint64_t>(size - 1)) return fullWidthBar(options) ? size : size - 1;
  return static_cast<int>(w);
}

TrayPicture ComposeTrayImage(const TrayImageInput& in, DigitStrips& strips) {
  const TKelvaneOptions& o = in.options;
  const PictureDesign& d = pictureDesign(in.size);
  const int size = d.size;
  const auto [y1, yo] = barGeometry(o, d);
  TrayPicture picture;
  picture.seeThrough = o.TransBk;
  if (size != TrayImageSize) picture.pixels = PixelBuffer(size, size);
  PixelBuffer& canvas = picture.pixels;

  const Pixel background =
      o.TransBk ? TransparentKey
                : pixelFromColor(in.colors.background.value_or(
                      paintColor(o, ColorSlot::OpaqueBkColor, in.systemColors)));
  canvas.fillRect({0, 0, size, size}, background);

  if (!o.NoBorder) {
    const Rect border =
        o.InternalFont ? Rect{0, y1, size, y1 + d.band} : Rect{0, y1 + 1, size - 1, y1 + d.band - 1};
    canvas.fillRect(border, background);
    const TColor borderColor =
        in.colors.border.value_or(paintColor(o, ColorSlot::BarBorderColor, in.systemColors));
    canvas.frameRect(border, pixelFromColor(borderColor));
  }

  const int w = BarFillLength(in.sample.dwMemoryLoad, o, size);
  const Rect fill = fillRectangle(o, d, y1, w);
  canvas.fillRect(fill, levelColor(o, in.level, in.systemColors));

  if (o.FullBar) {
    const int right = fullWidthBar(o) ? size : size - 1;
    canvas.fillRect({fill.right, fill.top, right, fill.bottom},
                    pixelFromColor(paintColor(o, ColorSlot::FullBarColor, in.systemColors)));
  }

  if (o.StandardGauge) drawSegmentGaps(canvas, o, d, y1, background);

  if (o.InternalFont)
    drawBuiltInDigits(canvas, in, d, strips);
  else
    picture.fontText = placeSystemFontText(in, size, yo);
  return picture;
}

TrayPictureKey trayPictureKey(const MemorySample& sample, const TKelvaneOptions& options,
                              const NumberFormat& format, int size) {
  return {PictureText(sample, options, format), LoadLevel(sample, options),
          BarFillLength(sample.dwMemoryLoad, options, size)};
}

}  // namespace kelvane
