#pragma once
// PNG files of the preview's pictures, written by libpng (native builds). The Windows build of
// the preview has no libpng and reports that it writes no PNG files.

#include <cstdint>
#include <span>
#include <string>

namespace preview {

// Writes `pixels` (width x height values 0x00RRGGBB, top row first) as an 8-bit RGB PNG file.
// Returns an empty text on success, otherwise what went wrong.
std::string writePngFile(const std::string& path, std::span<const std::uint32_t> pixels, int width,
                         int height);

}  // namespace preview
