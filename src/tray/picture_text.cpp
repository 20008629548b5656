#include "tray/picture_text.h"

#include <charconv>

namespace kelvane {

namespace {

constexpr int kMaxGlyphs = 4;
constexpr int kGigabyteDecimals = 2;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t characterCount(const std::string& text, std::size_t bytes) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < bytes && i < text.size(); ++i)
    if (!isContinuationByte(text[i])) ++count;
  return count;
}

std::string firstCharacters(const std::string& text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isContinuationByte(text[i]) && seen++ == count) return text.substr(0, i);
  }
  return text;
}

std::string removeAll(std::string text, const std::string& what) {
  if (what.empty()) return text;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
    text.erase(at, what.size());
  return text;
}

// Characters before the decimal separator, a minus sign not counted.
std::size_t integerLength(const std::string& text, const std::string& decimalSeparator) {
  const std::size_t end = decimalSeparator.empty() ? std::string::npos : text.find(decimalSeparator);
  const std::size_t bytes = end == std::string::npos ? text.size() : end;
  const std::size_t count = characterCount(text, bytes);
  return !text.empty() && text[0] == '-' ? count - 1 : count;
}

// The number in the next larger unit (or the one after, for absurd amounts), two decimals.
// Empty when the text is not a number, which the callers then draw as it is.
std::string inLargerUnit(const std::string& digits, const NumberFormat& format) {
  std::string plain = digits;
  if (!format.decimalSeparator.empty()) {
    const std::size_t at = digits.find(format.decimalSeparator);
    if (at != std::string::npos)
      plain = digits.substr(0, at) + "." + digits.substr(at + format.decimalSeparator.size());
  }
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return {};
  std::string text;
  do {
    value /= 1024.0;
    text = formatFixed(value, kGigabyteDecimals, format, false);
  } while (integerLength(text, format.decimalSeparator) > kMaxGlyphs);
  return text;
}

}  // namespace

DigitText BuiltInDigitText(const std::string& displayText, bool optimizeForGigabytes,
                           const NumberFormat& format) {
  // Thousands separators carry no value and are never drawn; dropping them before the text is
  // cut to four characters keeps "9,876" from losing its last digit.
  std::string text = removeAll(displayText, format.thousandSeparator);
  bool gigabyteLayout = optimizeForGigabytes;
  if (integerLength(text, format.decimalSeparator) > kMaxGlyphs) {
    const std::string larger = inLargerUnit(text, format);
    if (!larger.empty()) {
      text = larger;
      gigabyteLayout = true;
    }
  }
  DigitText result;
  result.gigabyteLayout = gigabyteLayout;
  if (gigabyteLayout) {
    text = firstCharacters(text, kMaxGlyphs);
    const std::size_t at =
        format.decimalSeparator.empty() ? std::string::npos : text.find(format.decimalSeparator);
    if (at != std::string::npos) result.pointPosition = static_cast<int>(characterCount(text, at)) + 1;
  }
  text = removeAll(text, format.decimalSeparator);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isContinuationByte(text[i])) continue;
    const char c = text[i];
    result.glyphs += (c >= '0' && c <= '9') || c == '%' ? c : '?';
  }
  return result;
}

std::string SystemFontText(const std::string& displayText, bool optimizeForGigabytes,
                           const NumberFormat& format) {
  if (optimizeForGigabytes) return displayText;
  const std::string plain =
      removeAll(removeAll(displayText, format.thousandSeparator), format.decimalSeparator);
  if (integerLength(plain, format.decimalSeparator) <= kMaxGlyphs) return plain;
  const std::string larger = inLargerUnit(plain, format);
  return larger.empty() ? plain : firstCharacters(larger, kMaxGlyphs);
}

}  // namespace kelvane
