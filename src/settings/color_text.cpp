#include "settings/color_text.h"

#include <array>
#include <optional>

namespace kelvane {

namespace {

constexpr std::array<std::string_view, SystemColorCount> kSystemColorNames = {
    "ScrollBar",     "Background",          "ActiveCaption",   "InactiveCaption",
    "Menu",          "Window",              "WindowFrame",     "MenuText",
    "WindowText",    "CaptionText",         "ActiveBorder",    "InactiveBorder",
    "AppWorkSpace",  "Highlight",           "HighlightText",   "ThreeDFace",
    "ButtonShadow",  "GrayText",            "ButtonText",      "InactiveCaptionText",
    "ButtonHighlight", "ThreeDDarkShadow",  "ThreeDHighlight", "InfoText",
    "InfoBackground",
};

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

// One colour component: one or two hexadecimal digits.
std::optional<int> hexGroup(std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return std::nullopt;
  const std::string_view group = text.substr(offset, 2);
  int value = 0;
  for (char c : group) {
    const auto digit = hexDigit(c);
    if (!digit) return std::nullopt;
    value = value * 16 + *digit;
  }
  return value;
}

}  // namespace

std::string_view SystemColorName(int index) {
  if (index < 0 || index >= SystemColorCount) return {};
  return kSystemColorNames[static_cast<std::size_t>(index)];
}

std::string ColorToText(TColor color) {
  if (isSystemColor(color)) return std::string(SystemColorName(color - SystemColorBase));
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto value = static_cast<std::uint32_t>(color);
  std::string text;
  for (int shift : {0, 8, 16}) {
    const unsigned byte = (value >> shift) & 0xFFu;
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xFu];
  }
  return text;
}

TColor TextToColor(std::string_view text) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  for (int i = 0; i < SystemColorCount; ++i)
    if (text == kSystemColorNames[static_cast<std::size_t>(i)]) return systemColor(i);
  const auto red = hexGroup(text, 0);
  const auto green = hexGroup(text, 2);
  const auto blue = hexGroup(text, 4);
  if (!red || !green || !blue) return clAutomatic;
  return rgbColor(*red, *green, *blue);
}

TColor ColorSettingFromText(std::string_view text) {
  if (text.empty() || text == "Automatic") return clAutomatic;
  return TextToColor(text);
}

std::string ColorSettingText(TColor color) {
  return color == clAutomatic ? "Automatic" : ColorToText(color);
}

}  // namespace kelvane
