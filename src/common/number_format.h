#pragma once
// Number formatting with the user's separators and digit grouping passed in explicitly, so the
// core never reads locale globals and tests can try every separator set.

#include <string>
#include <vector>

namespace kelvane {

struct NumberFormat {
  std::string decimalSeparator = ".";
  std::string thousandSeparator = ",";
  // Group sizes from the right, as the system's grouping text lists them ("3;0" = {3}, repeat).
  std::vector<int> groups = {3};
  bool repeatLastGroup = true;

  bool operator==(const NumberFormat&) const = default;

  // Windows' LOCALE_SGROUPING form: "3;0" groups by three throughout, "3;2;0" is 12,34,567,
  // "3" groups only the last three digits, "0;0" or "" does not group.
  static NumberFormat fromSystem(std::string decimalSeparator, std::string thousandSeparator,
                                 const std::string& grouping);
};

// The value rounded half away from zero to `decimals` places, with exactly that many decimals;
// the integer part grouped when `grouped` is set.
std::string formatFixed(double value, int decimals, const NumberFormat& format, bool grouped);

// The value rounded to at most `maxDecimals` places, trailing zeros and a bare separator
// dropped, never grouped (the "#.##" picture of the byte-size texts).
std::string formatOptionalDecimals(double value, int maxDecimals, const NumberFormat& format);

// Inserts the thousands separator into a string of decimal digits.
std::string groupDigits(const std::string& digits, const NumberFormat& format);

}  // namespace kelvane
