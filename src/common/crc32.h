#pragma once
// CRC-32 as zlib and PNG compute it (reflected polynomial 0xEDB88320), for checksums of records
// the program writes itself.

#include <cstddef>
#include <cstdint>

namespace kelvane {

std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

}  // namespace kelvane
