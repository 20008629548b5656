#include "memory/memory_status.h"

#include <optional>

#include "common/language.h"

namespace kelvane {

const char* loadLevelName(LoadLevelKind level) {
  switch (level) {
    case LoadLevelKind::Green: return "green";
    case LoadLevelKind::Yellow: return "yellow";
    case LoadLevelKind::Red: return "red";
  }
  return "green";
}

std::uint64_t ShownTotal(const MemorySample& sample, const TKelvaneOptions& options) {
  return options.ShowPage ? sample.ullTotalPageFile : sample.ullTotalPhys;
}

std::string SizeText(std::int64_t bytes, const NumberFormat& format) {
  constexpr double GB = 1073741824.0, MB = 1048576.0, KB = 1024.0;
  const double x = static_cast<double>(bytes);
  if (x > GB) return tr(TextId::SizeGigabytes, {{"value", formatOptionalDecimals(x / GB, 2, format)}});
  if (x > MB) return tr(TextId::SizeMegabytes, {{"value", formatOptionalDecimals(x / MB, 0, format)}});
  if (x > KB) return tr(TextId::SizeKilobytes, {{"value", formatOptionalDecimals(x / KB, 2, format)}});
  if (bytes == 1) return tr(TextId::SizeOneByte);
  // Zero keeps its digit ("0 bytes"): a picture of optional digits alone would print " bytes".
  return tr(TextId::SizeBytes, {{"value", formatOptionalDecimals(x, 2, format)}});
}

std::string IconNumberText(std::int64_t bytes, bool optimizeForGigabytes, const NumberFormat& format) {
  const double x = static_cast<double>(bytes);
  if (bytes < 10240) return formatFixed(x, 0, format, true);
  if (bytes < 10485760) return formatFixed(x / 1024.0, 0, format, true);
  if (!optimizeForGigabytes) return formatFixed(x / 1048576.0, 0, format, true);
  return formatFixed(x / 1073741824.0, 2, format, true);
}

namespace {

// The amount an absolute display shows; nothing for a percentage or the "0" of a full machine.
std::optional<std::int64_t> DisplayedAmount(const MemorySample& sample, const TKelvaneOptions& options) {
  if (options.ShowPercentage) return std::nullopt;
  if (!options.ShowFree) return options.ShowPage ? sample.usedPageFile() : sample.usedPhys();
  if (options.ShowPage) return static_cast<std::int64_t>(sample.ullAvailPageFile);
  // What little is left at 98 % and more is not worth a number that flickers.
  if (sample.dwMemoryLoad >= 98) return std::nullopt;
  return static_cast<std::int64_t>(sample.ullAvailPhys);
}

}  // namespace

std::string DisplayText(const MemorySample& sample, const TKelvaneOptions& options,
                        const NumberFormat& format) {
  if (options.ShowPercentage) {
    const std::int64_t load = sample.dwMemoryLoad;
    std::string text = std::to_string(options.ShowFree ? 100 - load : load);
    if (options.ShowPercSign) text += "%";
    return text;
  }
  const auto amount = DisplayedAmount(sample, options);
  return amount ? IconNumberText(*amount, options.OptimizeForGigabytes, format) : "0";
}

std::string PictureText(const MemorySample& sample, const TKelvaneOptions& options,
                        const NumberFormat& format) {
  std::string text = DisplayText(sample, options, format);
  const auto amount = DisplayedAmount(sample, options);
  constexpr std::int64_t kTenMegabytes = 10485760;  // from here on the display is in gigabytes
  if (!options.OptimizeForGigabytes || !amount || *amount >= kTenMegabytes) return text;
  std::size_t digits = 0;
  for (char c : text) digits += c >= '0' && c <= '9';
  if (digits > 4) text = formatFixed(static_cast<double>(*amount) / 1073741824.0, 2, format, true);
  return text;
}

LoadLevelKind LoadLevel(const MemorySample& sample, const TKelvaneOptions& options) {
  const std::int64_t load = sample.dwMemoryLoad;
  if (load < static_cast<std::int64_t>(options.YellowPercent)) return LoadLevelKind::Green;
  if (load < static_cast<std::int64_t>(options.RedPercent)) return LoadLevelKind::Yellow;
  return LoadLevelKind::Red;
}

std::string HintText(const MemorySample& sample, const TKelvaneOptions& options,
                     const NumberFormat& format) {
  std::string text;
  if (options.HintWhatisDisplayed) {
    const TextId heading = options.ShowFree ? (options.ShowPage ? TextId::TipShowsFreePageFile : TextId::TipShowsFreePhysical)
                                            : (options.ShowPage ? TextId::TipShowsUsedPageFile : TextId::TipShowsUsedPhysical);
    text += tr(heading, {{"percent", options.ShowPercentage ? "%" : ""}});
    text += "\r\n";
  }
  text += tr(TextId::TipMemoryLoad, {{"load", std::to_string(sample.dwMemoryLoad)}});
  text += "\r\n";
  text += tr(TextId::TipPhysicalMemory, {{"used", SizeText(sample.usedPhys(), format)},
                                          {"total", SizeText(static_cast<std::int64_t>(sample.ullTotalPhys), format)}});
  text += "\r\n";
  text += tr(TextId::TipPageFile, {{"used", SizeText(sample.usedPageFile(), format)},
                                    {"total", SizeText(static_cast<std::int64_t>(sample.ullTotalPageFile), format)}});
  return text;
}

}  // namespace kelvane
