#pragma once
// Pictures kept in the program as PNG (RCDATA resources), decoded by the system's imaging
// component (WIC) when a window first needs them, so the program carries no image library. A
// picture that does not decode (a broken or cut resource, a missing one) comes back empty: the
// window shows no picture there and works on.

#include <windows.h>

#include <cstddef>

#include "common/handles_win.h"

struct IWICImagingFactory;

namespace kelvane {

// A 32-bit top-down DIB section with premultiplied alpha, ready for AlphaBlend.
struct Picture {
  UniqueBitmap bitmap;
  int width = 0, height = 0;
  explicit operator bool() const { return static_cast<bool>(bitmap); }
};

class PngDecoder {
 public:
  // COM on this thread and the imaging factory, for as long as the decoder lives. The imaging
  // component is loaded by handle, not through COM, which would keep it loaded for the run.
  PngDecoder();
  ~PngDecoder();
  PngDecoder(const PngDecoder&) = delete;
  PngDecoder& operator=(const PngDecoder&) = delete;

  // The PNG in `bytes`, scaled to width x height (0, 0: its own size).
  Picture decode(const void* bytes, std::size_t size, int width = 0, int height = 0) const;
  // The RCDATA resource `id` of this program.
  Picture decodeResource(int id, int width = 0, int height = 0) const;

 private:
  UniqueLibrary codecs_;  // released last, after the factory
  bool comStarted_ = false;
  IWICImagingFactory* factory_ = nullptr;
};

// Draws the picture with its transparency over what the DC holds; nothing when it is empty.
void drawPicture(HDC dc, const Picture& picture, int x, int y);

}  // namespace kelvane
