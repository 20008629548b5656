#include "tray/tray_picture_win.h"

#include <cstring>
#include <vector>

#include "common/dpi_win.h"
#include "common/text_win.h"
#include "tray/picture_design.h"
#include "tray/picture_text.h"

namespace kelvane {

namespace {

// The 16-pixel picture is designed at 100 %, so its font is sized for 96 DPI whatever the
// screen's DPI; a larger design takes the font's pixel height in proportion to its size, and a
// design repeated for a larger icon repeats its text with it.
constexpr int kPictureDpi = 96;

BITMAPV5HEADER topDownHeader(int width, int height, bool withAlphaMasks) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = width;
  header.bV5Height = -height;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = withAlphaMasks ? BI_BITFIELDS : BI_RGB;
  if (withAlphaMasks) {
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
  }
  return header;
}

// A 32-bit DIB section; `bits` receives its pixels, top row first, 0xAARRGGBB each.
UniqueBitmap createDib(HDC dc, int width, int height, bool withAlphaMasks, std::uint32_t** bits) {
  BITMAPV5HEADER header = topDownHeader(width, height, withAlphaMasks);
  void* raw = nullptr;
  UniqueBitmap dib(CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &raw, nullptr, 0));
  *bits = static_cast<std::uint32_t*>(raw);
  return dib;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

}  // namespace

UniqueIcon IconFromBitmap(const PixelBuffer& pixels, bool seeThrough) {
  const int width = pixels.width(), height = pixels.height();
  if (width <= 0 || height <= 0) return UniqueIcon();
  // A DIB section of RGB colours needs no device context: none is borrowed per icon.
  std::uint32_t* colorBits = nullptr;
  UniqueBitmap color = createDib(nullptr, width, height, true, &colorBits);
  if (!color || !colorBits) return UniqueIcon();

  // Monochrome rows are padded to whole 16-bit words; a set bit keeps the screen (see-through).
  const int maskStride = (width + 15) / 16 * 2;
  std::vector<BYTE> maskBits(static_cast<std::size_t>(maskStride * height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Pixel p = pixels.pixel(x, y) & 0xFFFFFFu;
      const bool transparent = seeThrough && p == TransparentKey;
      // A see-through pixel is black in the colour image, so the mask's AND/XOR leaves the
      // screen untouched also where alpha is ignored.
      colorBits[y * width + x] = transparent ? 0u : 0xFF000000u | p;
      if (transparent)
        maskBits[static_cast<std::size_t>(y * maskStride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  GdiFlush();
  UniqueBitmap mask(CreateBitmap(width, height, 1, 1, maskBits.data()));
  if (!mask) return UniqueIcon();
  ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
  return UniqueIcon(CreateIconIndirect(&info));  // copies both bitmaps
}

int trayIconSize() {
  static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
  static const auto getSystemMetricsForDpi =
      user32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  UINT dpi = 0;
  if (getDpiForWindow) {
    if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) dpi = getDpiForWindow(taskbar);
  }
  if (dpi == 0) {
    const ScreenDc screen;
    dpi = static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSX));
  }
  int size = 0;
  if (getSystemMetricsForDpi && dpi) size = getSystemMetricsForDpi(SM_CXSMICON, dpi);
  if (size <= 0) size = GetSystemMetrics(SM_CXSMICON);
  return size > 0 ? size : TrayImageSize;
}

UniqueFont createPictureFont(const TFontSpec& font, int designSize) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(font.Size, kPictureDpi * designSize, 72 * TrayImageSize);
  lf.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
  lf.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = static_cast<BYTE>(font.CharSet);
  // Smoothed edges would blend into the background colour, and with a see-through background
  // leave a fringe of near-key pixels that the icon shows as dark specks: draw whole pixels.
  lf.lfQuality = NONANTIALIASED_QUALITY;
  const std::wstring face = toWide(font.Name);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&lf));
}

bool PictureTextCanvas::prepare(int width, int height) {
  if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
  if (!dc_) return false;
  if (!dib_ || width != width_ || height != height_) {
    dib_ = createDib(dc_.get(), width, height, false, &bits_);
    width_ = dib_ ? width : 0;
    height_ = dib_ ? height : 0;
  }
  return dib_ && bits_;
}

SystemFontMetrics PictureTextCanvas::measure(const std::string& text, HFONT font, int size) {
  if (!prepare(size, size)) return {};
  SelectObjectScope selectFont(dc_.get(), font);
  const std::wstring wide = toWide(text);
  SIZE textSize{}, oneSize{};
  GetTextExtentPoint32W(dc_.get(), wide.c_str(), static_cast<int>(wide.size()), &textSize);
  GetTextExtentPoint32W(dc_.get(), L"1", 1, &oneSize);
  return {static_cast<int>(textSize.cx), static_cast<int>(oneSize.cy)};
}

void PictureTextCanvas::draw(PixelBuffer& pixels, const SystemFontTextPlan& plan, HFONT font) {
  if (!prepare(pixels.width(), pixels.height())) return;
  std::memcpy(bits_, pixels.pixels().data(), pixels.pixels().size() * sizeof(Pixel));
  {
    SelectObjectScope selectBitmap(dc_.get(), dib_.get());
    SelectObjectScope selectFont(dc_.get(), font);
    SetBkMode(dc_.get(), TRANSPARENT);
    const Pixel c = plan.color;
    SetTextColor(dc_.get(), RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
    const std::wstring wide = toWide(plan.text);
    TextOutW(dc_.get(), plan.x, plan.y, wide.c_str(), static_cast<int>(wide.size()));
    GdiFlush();
  }
  // GDI text leaves the unused top byte in any state; the picture has none.
  for (std::size_t i = 0; i < pixels.pixels().size(); ++i) pixels.pixels()[i] = bits_[i] & 0xFFFFFFu;
}

HFONT TTrayPicture::fontFor(const TFontSpec& wanted, int designSize) {
  if (!font_ || !(wanted == fontSpec_) || designSize != fontDesignSize_) {
    font_ = createPictureFont(wanted, designSize);
    fontSpec_ = wanted;
    fontDesignSize_ = designSize;
  }
  return font_.get();
}

void TTrayPicture::invalidate() {
  iconSize_ = 0;
  haveShown_ = false;
}

bool TTrayPicture::unchanged(const TrayPictureKey& key, const TrayTick& tick) const {
  return haveShown_ && key == shownKey_ && tick.options == shownOptions_ && tick.format == shownFormat_ &&
         tick.systemColors == shownColors_ && tick.colors == shownPictureColors_ && iconSize_ == shownSize_;
}

bool TTrayPicture::showTipAlone(TTrayIconComponent& tray, const TrayTick& tick) {
  const TipTick tip{.now = tick.tip.now,
                    .pictureChanged = false,
                    .pointerOver = tick.tip.pointerOver,
                    .pointerArrived = tick.tip.pointerArrived,
                    .wordingChanged = tick.tip.wordingChanged,
                    .textChanged = tick.hint != shownHint_,
                    .lastSent = tipSentAt_};
  if (!tipDue(tip)) {
    ++ticksSkipped_;
    return false;
  }
  shownHint_ = tick.hint;
  tipSentAt_ = tick.tip.now;
  tray.setHint(toWide(shownHint_));
  return true;
}

bool TTrayPicture::show(TTrayIconComponent& tray, const TrayTick& tick) {
  const TKelvaneOptions& o = tick.options;
  if (iconSize_ == 0) iconSize_ = iconSizeSource_ ? iconSizeSource_() : TrayImageSize;
  const PictureFit fit = fitPicture(iconSize_);
  TrayPictureKey key = trayPictureKey(tick.sample, o, tick.format, fit.designSize);
  if (unchanged(key, tick)) return showTipAlone(tray, tick);

  SystemFontMetrics metrics;
  HFONT font = nullptr;
  if (!o.InternalFont) {
    font = fontFor(o.Font, fit.designSize);
    metrics = canvas_.measure(SystemFontText(key.displayText, o.OptimizeForGigabytes, tick.format), font,
                              fit.designSize);
  }
  const TrayImageInput input{o,       tick.sample,    key.displayText, key.level, tick.systemColors, tick.format,
                             metrics, fit.designSize, tick.colors};
  TrayPicture picture = ComposeTrayImage(input, strips_);
  if (picture.fontText && font) canvas_.draw(picture.pixels, *picture.fontText, font);

  // Another sample can still compose the very picture shown (a text shortened to the same
  // digits, or only the tip changed): the icon is then left as it is.
  const bool samePicture = haveShown_ && picture.pixels == shown_ &&
                           picture.seeThrough == shownSeeThrough_ && iconSize_ == shownSize_;
  // Kept before the shell is told: while it is, this thread may handle sent messages that
  // change the settings or the format the tick refers to.
  shownKey_ = std::move(key);
  shownOptions_ = o;
  shownFormat_ = tick.format;
  shownColors_ = tick.systemColors;
  shownPictureColors_ = tick.colors;
  shownSize_ = iconSize_;
  haveShown_ = true;
  if (samePicture) return showTipAlone(tray, tick);

  bool seeThrough = picture.seeThrough;
  const PixelBuffer onIcon = placeOnIcon(picture.pixels, fit, seeThrough);
  UniqueIcon icon = IconFromBitmap(onIcon, seeThrough);
  ++iconsCreated_;
  shown_ = std::move(picture.pixels);
  shownSeeThrough_ = picture.seeThrough;
  shownHint_ = tick.hint;
  tipSentAt_ = tick.tip.now;
  tray.setIconAndHint(std::move(icon), toWide(shownHint_));
  return true;
}

}  // namespace kelvane
