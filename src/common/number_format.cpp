#include "common/number_format.h"

#include <cmath>
#include <cstdint>

namespace kelvane {

NumberFormat NumberFormat::fromSystem(std::string decimalSeparator, std::string thousandSeparator,
                                      const std::string& grouping) {
  NumberFormat format;
  format.decimalSeparator = std::move(decimalSeparator);
  format.thousandSeparator = std::move(thousandSeparator);
  format.groups.clear();
  format.repeatLastGroup = false;
  // Items separated by ';', each read up to its first non-digit; an empty text has no item.
  std::vector<int> sizes;
  std::size_t start = 0;
  while (start < grouping.size()) {
    std::size_t end = grouping.find(';', start);
    if (end == std::string::npos) end = grouping.size();
    int size = 0;
    for (std::size_t i = start; i < end; ++i) {
      const char c = grouping[i];
      if (c < '0' || c > '9') break;
      size = size * 10 + (c - '0');
      if (size > 9) break;  // the system allows 0..9
    }
    sizes.push_back(size);
    start = end + 1;
  }
  // A trailing 0 means "repeat the group before it"; a leading 0 means no grouping at all.
  if (!sizes.empty() && sizes.back() == 0) {
    sizes.pop_back();
    format.repeatLastGroup = true;
  }
  for (int size : sizes) {
    if (size == 0) break;
    format.groups.push_back(size);
  }
  if (format.groups.empty()) format.repeatLastGroup = false;
  return format;
}

std::string groupDigits(const std::string& digits, const NumberFormat& format) {
  if (format.groups.empty() || format.thousandSeparator.empty()) return digits;
  std::vector<std::string> parts;  // from the right
  std::size_t end = digits.size();
  std::size_t groupIndex = 0;
  while (end > 0) {
    int size;
    if (groupIndex < format.groups.size()) {
      size = format.groups[groupIndex];
    } else if (format.repeatLastGroup) {
      size = format.groups.back();
    } else {
      size = static_cast<int>(end);  // the rest stays in one piece
    }
    ++groupIndex;
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(size), end);
    parts.push_back(digits.substr(end - take, take));
    end -= take;
  }
  std::string out;
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
    if (!out.empty()) out += format.thousandSeparator;
    out += *it;
  }
  return out;
}

namespace {

// Rounds |value| half away from zero to `decimals` places and splits it into integer digits and
// exactly `decimals` fraction digits. Long double keeps byte counts up to 2^63 exact.
void splitRounded(double value, int decimals, std::string& integerDigits, std::string& fraction) {
  long double scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long double scaled = std::round(std::fabs(static_cast<long double>(value)) * scale);
  const auto whole = static_cast<std::uint64_t>(std::floor(scaled / scale));
  const auto rest = static_cast<std::uint64_t>(scaled - static_cast<long double>(whole) * scale);
  integerDigits = std::to_string(whole);
  fraction = std::to_string(rest);
  if (fraction.size() < static_cast<std::size_t>(decimals))
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
  if (decimals == 0) fraction.clear();
}

bool roundsToZero(const std::string& integerDigits, const std::string& fraction) {
  return integerDigits == "0" && fraction.find_first_not_of('0') == std::string::npos;
}

}  // namespace

std::string formatFixed(double value, int decimals, const NumberFormat& format, bool grouped) {
  std::string integerDigits, fraction;
  splitRounded(value, decimals, integerDigits, fraction);
  std::string out = (value < 0 && !roundsToZero(integerDigits, fraction)) ? "-" : "";
  out += grouped ? groupDigits(integerDigits, format) : integerDigits;
  if (decimals > 0) out += format.decimalSeparator + fraction;
  return out;
}

std::string formatOptionalDecimals(double value, int maxDecimals, const NumberFormat& format) {
  std::string integerDigits, fraction;
  splitRounded(value, maxDecimals, integerDigits, fraction);
  const bool negative = value < 0 && !roundsToZero(integerDigits, fraction);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string out = negative ? "-" : "";
  out += integerDigits;
  if (!fraction.empty()) out += format.decimalSeparator + fraction;
  return out;
}

}  // namespace kelvane
