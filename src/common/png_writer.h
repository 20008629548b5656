#pragma once
// A minimal PNG writer for developer tools: 8-bit RGB, no filtering, and the image data in
// stored (uncompressed) deflate blocks, so it needs no compression library. Files are larger
// than necessary, which does not matter for 16 x 16 pictures and contact sheets.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvane {

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
std::uint32_t adler32(std::span<const std::uint8_t> bytes);

// `pixels` holds width x height values 0x00RRGGBB, top row first. Returns the file's bytes.
std::vector<std::uint8_t> encodePng(std::span<const std::uint32_t> pixels, int width, int height);

}  // namespace kelvane
