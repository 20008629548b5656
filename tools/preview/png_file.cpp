#include "png_file.h"

#include <vector>

#ifdef KELVANE_PREVIEW_LIBPNG
#include <png.h>
#endif

namespace preview {

std::string writePngFile(const std::string& path, std::span<const std::uint32_t> pixels, int width,
                         int height) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return "the picture's size does not match its pixels";
  }
#ifdef KELVANE_PREVIEW_LIBPNG
  std::vector<std::uint8_t> rgb;
  rgb.reserve(pixels.size() * 3);
  for (const std::uint32_t pixel : pixels) {
    rgb.push_back(static_cast<std::uint8_t>(pixel >> 16));
    rgb.push_back(static_cast<std::uint8_t>(pixel >> 8));
    rgb.push_back(static_cast<std::uint8_t>(pixel));
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) return {};
  std::string message = image.message;
  png_image_free(&image);
  return message.empty() ? "libpng could not write the file" : message;
#else
  (void)path;
  return "this build writes no PNG files; the native build of kelvane-preview does";
#endif
}

}  // namespace preview
