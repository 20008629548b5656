#pragma once
// One reading of the system memory status and everything the tick derives from it: the value
// the picture shows, the bar colour class, the tip text, and the byte-count formatters.

#include <cstdint>
#include <string>

#include "common/number_format.h"
#include "settings/options.h"

namespace kelvane {

// The fields of MEMORYSTATUSEX that Kelvane uses, in bytes.
struct MemorySample {
  std::uint32_t dwMemoryLoad = 0;
  std::uint64_t ullTotalPhys = 0;
  std::uint64_t ullAvailPhys = 0;
  std::uint64_t ullTotalPageFile = 0;
  std::uint64_t ullAvailPageFile = 0;

  // Used amounts are total minus free of the same kind, signed: a system that reports more
  // free than total must not wrap around to 16 EB.
  std::int64_t usedPhys() const {
    return static_cast<std::int64_t>(ullTotalPhys) - static_cast<std::int64_t>(ullAvailPhys);
  }
  std::int64_t usedPageFile() const {
    return static_cast<std::int64_t>(ullTotalPageFile) - static_cast<std::int64_t>(ullAvailPageFile);
  }
};

enum class LoadLevelKind { Green, Yellow, Red };

const char* loadLevelName(LoadLevelKind level);  // "green", "yellow", "red"

// The total of the kind being shown; the tray menu divides process sizes by it.
std::uint64_t ShownTotal(const MemorySample& sample, const TKelvaneOptions& options);

// Byte count with its unit, for tips, log lines and menus ("1.5 GB", "1024 MB", "1 byte").
std::string SizeText(std::int64_t bytes, const NumberFormat& format);

// Unit-less number for the picture: bytes, KB, MB, or GB with two decimals.
std::string IconNumberText(std::int64_t bytes, bool optimizeForGigabytes, const NumberFormat& format);

// The text the picture shows, before the picture shortens it.
std::string DisplayText(const MemorySample& sample, const TKelvaneOptions& options,
                        const NumberFormat& format);

// The text the picture draws. It is DisplayText, except that with OptimizeForGigabytes an
// amount under 10 MB whose byte or kilobyte count has five digits (too many for 16 pixels) is
// given in gigabytes like every other amount of that display: "0.00" or "0.01", never a
// kilobyte count that would read as gigabytes once shortened.
std::string PictureText(const MemorySample& sample, const TKelvaneOptions& options,
                        const NumberFormat& format);

LoadLevelKind LoadLevel(const MemorySample& sample, const TKelvaneOptions& options);

// The tool tip: optional header line, then load, physical memory and page file lines, CR LF.
std::string HintText(const MemorySample& sample, const TKelvaneOptions& options,
                     const NumberFormat& format);

}  // namespace kelvane
