#pragma once
// A history file held in memory: the preview writes one out at the end, and tests look at (and
// spoil) its bytes.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "history/history_file.h"

namespace kelvane {

class MemoryHistoryIo : public HistoryIo {
 public:
  MemoryHistoryIo() = default;
  explicit MemoryHistoryIo(std::vector<std::uint8_t> content) : bytes(std::move(content)) {}

  std::uint64_t size() override { return bytes.size(); }
  bool read(std::uint64_t offset, std::uint8_t* data, std::size_t size) override {
    if (offset > bytes.size() || bytes.size() - offset < size) return false;
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), size, data);
    return true;
  }
  bool write(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    if (offset + size > bytes.size()) bytes.resize(offset + size);
    std::copy_n(data, size, bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
  }
  bool resize(std::uint64_t size) override {
    bytes.resize(size);
    return true;
  }

  std::vector<std::uint8_t> bytes;
};

}  // namespace kelvane
