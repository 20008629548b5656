// The picture's way into the notification area, for real under the Windows API: the icon's
// mask and colours, the enlargement for high DPI, the system-font text, and that a long run of
// ticks neither keeps old icons alive nor grows the process.
#include "tray/tray_picture_win.h"

#include "tray/picture_design.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <vector>

using namespace kelvane;

namespace {

const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");

// Reads a bitmap back as 32-bit pixels, top row first; a monochrome bitmap reads as black
// (bit 0) and white (bit 1).
std::vector<std::uint32_t> readBitmap(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(width * height));
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bits;
}

// The icon drawn over a background of `backdrop`, as the notification area would draw it.
std::vector<std::uint32_t> drawOver(HICON icon, int size, std::uint32_t backdrop) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
  auto* bits = static_cast<std::uint32_t*>(raw);
  for (int i = 0; i < size * size; ++i) bits[i] = backdrop;
  HGDIOBJ old = SelectObject(dc, dib);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<std::uint32_t> out(bits, bits + size * size);
  for (auto& p : out) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
  return out;
}

PixelBuffer samplePicture() {
  PixelBuffer p(16, 16, TransparentKey);
  for (int x = 0; x < 16; ++x) p.setPixel(x, 1, 0x00FF00);
  p.setPixel(3, 8, 0x000000);
  p.setPixel(4, 8, 0x040404);  // next to the key, still opaque
  p.setPixel(5, 8, 0xFFFFFF);
  p.setPixel(15, 15, 0x123456);
  return p;
}

}  // namespace

TEST(IconFromBitmap, KeyPixelsSeeThroughOnlyWhenAsked) {
  const PixelBuffer picture = samplePicture();
  for (bool seeThrough : {true, false}) {
    SCOPED_TRACE(seeThrough ? "see-through" : "opaque");
    UniqueIcon icon = IconFromBitmap(picture, seeThrough);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    ASSERT_TRUE(info.hbmColor != nullptr);
    BITMAP colorInfo{};
    GetObjectW(info.hbmColor, sizeof(colorInfo), &colorInfo);
    EXPECT_EQ(colorInfo.bmWidth, 16);
    EXPECT_EQ(colorInfo.bmHeight, 16);
    const auto mask = readBitmap(info.hbmMask, 16, 16);
    const auto drawn = drawOver(icon.get(), 16, 0xABCDEF);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const Pixel p = picture.pixel(x, y);
        const bool transparent = seeThrough && p == TransparentKey;
        const std::size_t i = static_cast<std::size_t>(y * 16 + x);
        EXPECT_EQ((mask[i] & 0xFFFFFF) != 0, transparent) << x << "," << y;
        EXPECT_EQ(drawn[i], transparent ? 0xABCDEFu : p) << x << "," << y;
      }
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

TEST(IconFromBitmap, EnlargedIconsKeepWholePixels) {
  const PixelBuffer picture = samplePicture();
  for (int size : {20, 24, 32}) {
    SCOPED_TRACE(size);
    UniqueIcon icon = IconFromBitmap(scaleNearest(picture, size, size), true);
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    BITMAP colorInfo{};
    GetObjectW(info.hbmColor, sizeof(colorInfo), &colorInfo);
    EXPECT_EQ(colorInfo.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // Every drawn pixel is one of the picture's pixels (or the backdrop for the key), never a
    // blend, and the picture's corners land in the icon's corners.
    const auto drawn = drawOver(icon.get(), size, 0xABCDEF);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const Pixel source = picture.pixel(x * 16 / size, y * 16 / size);
        const Pixel expected = source == TransparentKey ? 0xABCDEFu : source;
        // A repeated pixel may come from either neighbour at non-whole factors.
        const Pixel alternative = picture.pixel(std::min(15, (x * 16 + 15) / size), std::min(15, (y * 16 + 15) / size));
        const Pixel expected2 = alternative == TransparentKey ? 0xABCDEFu : alternative;
        const Pixel got = drawn[static_cast<std::size_t>(y * size + x)];
        EXPECT_TRUE(got == expected || got == expected2) << x << "," << y << " " << std::hex << got;
      }
    }
    EXPECT_EQ(drawn[static_cast<std::size_t>(size * size - 1)], 0x123456u);
    if (size == 32) {
      EXPECT_EQ(drawn[static_cast<std::size_t>(16 * 32 + 6)], 0x000000u);   // (3,8) doubled
      EXPECT_EQ(drawn[static_cast<std::size_t>(17 * 32 + 9)], 0x040404u);   // (4,8) doubled
    }
  }
  // At 100 % the notification area's size is the picture's own.
  EXPECT_EQ(trayIconSize(), GetSystemMetrics(SM_CXSMICON));
}

TEST(TrayPicture, UnchangedTicksCostNothingAndOldIconsAreReleased) {
  TTrayIconComponent tray(nullptr, nullptr, nullptr);
  TTrayPicture picture;
  TKelvaneOptions options = defaultOptions(10);
  options.ShowPercentage = true;
  const SystemColorTable colors = windows10SystemColors();
  MemorySample sample{40, 16ull << 30, 8ull << 30, 24ull << 30, 12ull << 30};
  const std::string hint = "tip";

  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
  const HICON first = tray.icon();
  EXPECT_FALSE(picture.show(tray, {options, sample, kDot, colors, hint}));
  EXPECT_EQ(tray.icon(), first);
  EXPECT_EQ(picture.iconsCreated(), 1u);
  EXPECT_EQ(picture.ticksSkipped(), 1u);

  // A new tip over the same picture waits while nobody can be reading it, and goes alone, with
  // the icon kept, once the pointer is over the icon.
  const std::string otherHint = "other tip";
  const std::uint64_t calls = TTrayIconComponent::shellCallCount();
  EXPECT_FALSE(picture.show(tray, {options, sample, kDot, colors, otherHint, {}, {.now = 1000}}));
  EXPECT_EQ(tray.hint(), L"tip");
  EXPECT_EQ(TTrayIconComponent::shellCallCount(), calls);
  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, colors, otherHint, {}, {.now = 1500, .pointerOver = true}}));
  EXPECT_EQ(tray.hint(), L"other tip");
  EXPECT_EQ(TTrayIconComponent::shellCallCount(), calls + 1);
  EXPECT_EQ(tray.icon(), first);
  EXPECT_EQ(picture.iconsCreated(), 1u);

  sample.dwMemoryLoad = 41;  // another number, same bar length
  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, colors, otherHint}));
  EXPECT_EQ(picture.iconsCreated(), 2u);
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(first, &info)) << "the replaced icon must be destroyed";
}

TEST(TrayPicture, AnUnchangedTickMakesNothingAndAsksNothing) {
  TTrayIconComponent tray(nullptr, nullptr, nullptr);
  TTrayPicture picture;
  TKelvaneOptions options = defaultOptions(10);
  options.InternalFont = false;  // the path with the most GDI work: measuring and drawing text
  options.ShowPercentage = true;
  const SystemColorTable colors = windows10SystemColors();
  MemorySample sample{40, 16ull << 30, 8ull << 30, 24ull << 30, 12ull << 30};
  const std::string hint = "tip";
  auto made = [] {
    return std::vector<long>{UniqueIcon::adoptedCount(), UniqueBitmap::adoptedCount(),
                             UniqueFont::adoptedCount(), UniqueMemoryDc::adoptedCount(),
                             ScreenDc::borrowedCount()};
  };
  ASSERT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
  const auto before = made();
  for (int i = 0; i < 1000; ++i) {
    sample.ullAvailPhys += 4096;  // moves below what the picture and the tip show
    ASSERT_FALSE(picture.show(tray, {options, sample, kDot, colors, hint}));
  }
  EXPECT_EQ(made(), before) << "icons, bitmaps, fonts, memory DCs, screen DCs";
  EXPECT_EQ(picture.ticksSkipped(), 1000u);

  // A new value: one new icon, its text measured and drawn with the kept font and DC.
  sample.dwMemoryLoad = 41;
  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
  const auto changed = made();
  EXPECT_EQ(changed[0], before[0] + 1);
  EXPECT_EQ(changed[2], before[2]);
  EXPECT_EQ(changed[3], before[3]);

  // The DPI, the theme or the shell changed: the next tick redraws though the values did not.
  picture.invalidate();
  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
  EXPECT_FALSE(picture.show(tray, {options, sample, kDot, colors, hint}));
  // So do new settings and new system colours, without being told.
  options.BarBottom = !options.BarBottom;
  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
  SystemColorTable darker = colors;
  for (auto& c : darker) c = c / 2;
  options.InternalFont = true;
  EXPECT_TRUE(picture.show(tray, {options, sample, kDot, darker, hint}));
}

TEST(TrayPicture, TenThousandTicksLeaveTheProcessFlat) {
  TTrayIconComponent tray(nullptr, nullptr, nullptr);
  TTrayPicture picture;
  TKelvaneOptions options = defaultOptions(10);
  options.ShowPercentage = true;
  const SystemColorTable colors = windows10SystemColors();
  auto workingSet = [] {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
  };
  auto run = [&](int ticks) {
    for (int i = 0; i < ticks; ++i) {
      MemorySample sample{static_cast<DWORD>(i % 101), 16ull << 30, 8ull << 30, 24ull << 30, 12ull << 30};
      const std::string hint = "tick " + std::to_string(i);
      picture.show(tray, {options, sample, kDot, colors, hint});
    }
  };
  auto liveHandles = [] {
    return std::vector<long>{UniqueIcon::liveCount(), UniqueBitmap::liveCount(),
                             UniqueFont::liveCount(), UniqueMemoryDc::liveCount()};
  };
  run(1000);  // warm up: fonts, caches, the heap's first growth
  const SIZE_T before = workingSet();
  const auto handlesBefore = liveHandles();
  const HICON oldIcon = tray.icon();
  run(10000);
  const SIZE_T after = workingSet();
  EXPECT_EQ(picture.iconsCreated(), 11000u);
  EXPECT_EQ(liveHandles(), handlesBefore) << "icons, bitmaps, fonts and DCs owned by the program";
  // The system-font path draws with GDI objects of its own.
  options.InternalFont = false;
  run(10);
  const auto fontHandlesBefore = liveHandles();
  run(1000);
  EXPECT_EQ(liveHandles(), fontHandlesBefore) << "the same with the system font";
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(oldIcon, &info));
  // Ten thousand leaked icons would be megabytes; allow the heap some slack.
  EXPECT_LT(after, before + 512 * 1024) << "before " << before << " after " << after;
  std::printf("working set before %zu KB, after 10,000 ticks %zu KB\n",
              static_cast<std::size_t>(before / 1024), static_cast<std::size_t>(after / 1024));
}

namespace {

// Shows 88% in 6-point Tahoma, black on white, and returns whether the tray was changed.
bool showSystemFontValue(TTrayPicture& picture) {
  TTrayIconComponent tray(nullptr, nullptr, nullptr);
  TKelvaneOptions options = defaultOptions(10);
  options.InternalFont = false;
  options.ShowPercentage = true;
  options.Font.Name = "Tahoma";
  options.Font.Size = 6;
  ApplyFontColor(options);
  const SystemColorTable colors = windows10SystemColors();
  const MemorySample sample{88, 16ull << 30, 2ull << 30, 24ull << 30, 12ull << 30};
  const std::string hint = "tip";
  return picture.show(tray, {options, sample, kDot, colors, hint});
}

}  // namespace

TEST(TrayPicture, SystemFontValueOnATransparentTextBackground) {
  TTrayPicture picture;
  ASSERT_TRUE(showSystemFontValue(picture));
  const PixelBuffer& p = picture.lastPicture();
  int black = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const Pixel px = p.pixel(x, y);
      // Only the background, the bar and whole text pixels: no button-face box behind the
      // text, no smoothed edge colours.
      EXPECT_TRUE(px == 0xFFFFFF || px == 0x000000 || px == 0xFFFF00) << x << "," << y << " " << std::hex << px;
      black += px == 0x000000;
    }
  }
  EXPECT_GT(black, 6) << "the value must be drawn";
  for (int x = 0; x < 16; ++x) EXPECT_NE(p.pixel(x, 0), 0x000000u) << "text stays below the bar";
}

namespace {

// The main form's routing of the system's notices: each of these makes the picture ask for the
// icon size again on the next tick.
TTrayPicture* g_routed = nullptr;
LRESULT CALLBACK routeSystemChange(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_routed && (message == WM_DPICHANGED || message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE))
    g_routed->invalidate();
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int iconWidth(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

}  // namespace

TEST(TrayPicture, TheIconFollowsTheTaskbarsSizeWithThePictureDrawnForIt) {
  int reported = 16, asked = 0;
  TTrayPicture picture([&] {
    ++asked;
    return reported;
  });
  TTrayIconComponent tray(nullptr, nullptr, nullptr);
  tray.AddIcon();  // a restarted shell gets back only the icons that were there
  TKelvaneOptions options = defaultOptions(10);
  options.ShowPercentage = options.ShowPercSign = true;
  ApplyFontColor(options);
  const SystemColorTable colors = windows10SystemColors();
  const MemorySample sample{45, 16ull << 30, 8ull << 30, 24ull << 30, 12ull << 30};
  const std::string hint = "tip", text = "45%";
  ASSERT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
  EXPECT_EQ(iconWidth(tray.icon()), 16);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = routeSystemChange;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"KelvaneTestSystemChange";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(window != nullptr);
  g_routed = &picture;
  tray.OnTaskbarCreated = [&] { picture.invalidate(); };
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

  struct Change { int size; UINT message; };
  for (const Change& change : {Change{24, WM_DPICHANGED}, Change{20, WM_SETTINGCHANGE},
                               Change{28, WM_DISPLAYCHANGE}, Change{48, taskbarCreated}}) {
    SCOPED_TRACE(change.size);
    reported = change.size;
    const int askedBefore = asked;
    EXPECT_FALSE(picture.show(tray, {options, sample, kDot, colors, hint})) << "nothing told it yet";
    if (change.message == taskbarCreated)
      SendMessageW(TTrayIconComponent::notificationWindow(), taskbarCreated, 0, 0);
    else
      SendMessageW(window, change.message, 0, 0);
    ASSERT_TRUE(picture.show(tray, {options, sample, kDot, colors, hint}));
    EXPECT_EQ(asked, askedBefore + 1);
    ASSERT_EQ(iconWidth(tray.icon()), change.size);

    // The icon shows the design for that size, whole pixels, never an enlargement of 16.
    const PictureFit fit = fitPicture(change.size);
    DigitStrips strips;
    TrayImageInput input{options, sample, text, LoadLevel(sample, options), colors, kDot, {}, fit.designSize};
    bool seeThrough = false;
    const PixelBuffer expected = placeOnIcon(ComposeTrayImage(input, strips).pixels, fit, seeThrough);
    input.size = 16;
    const PixelBuffer enlarged = scaleNearest(ComposeTrayImage(input, strips).pixels, change.size, change.size);
    const auto drawn = drawOver(tray.icon(), change.size, 0xABCDEF);
    int differentFromEnlarged = 0;
    for (int y = 0; y < change.size; ++y) {
      for (int x = 0; x < change.size; ++x) {
        const Pixel want = expected.pixel(x, y) == TransparentKey ? 0xABCDEFu : expected.pixel(x, y);
        ASSERT_EQ(drawn[static_cast<std::size_t>(y * change.size + x)], want) << x << "," << y;
        differentFromEnlarged += want != enlarged.pixel(x, y);
      }
    }
    EXPECT_GT(differentFromEnlarged, 0);
  }
  g_routed = nullptr;
  DestroyWindow(window);
}

TEST(TrayPicture, SystemFontTextGrowsWithTheDesign) {
  auto textRows = [](int iconSize) {
    TTrayPicture picture([iconSize] { return iconSize; });
    showSystemFontValue(picture);
    const PixelBuffer& p = picture.lastPicture();
    int rows = 0;
    for (int y = 0; y < p.height(); ++y) {
      bool ink = false;
      for (int x = 0; x < p.width(); ++x) ink = ink || p.pixel(x, y) == 0x000000;
      rows += ink;
    }
    return std::pair{p.width(), rows};
  };
  const auto [width16, rows16] = textRows(16);
  const auto [width24, rows24] = textRows(24);
  EXPECT_EQ(width16, 16);
  EXPECT_EQ(width24, 24);
  ASSERT_GT(rows16, 3);
  // The font's pixel height follows the design: half as tall again, give or take a row.
  EXPECT_GE(rows24 * 2, rows16 * 3 - 2) << rows16 << " rows at 16, " << rows24 << " at 24";
}
