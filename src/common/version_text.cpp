#include "common/version_text.h"

#include <vector>

namespace kelvane {

std::string VersionText(const std::string& version) {
  std::vector<std::string> parts(1);
  for (char c : version) {
    if (c == '.') {
      parts.emplace_back();
    } else if (c >= '0' && c <= '9') {
      parts.back() += c;
    } else {
      return {};
    }
  }
  if (parts.size() != 4) return {};
  for (auto& part : parts) {
    if (part.empty() || part.size() > 9) return {};
    part = std::to_string(std::stol(part));  // "01" reads as 1, as the number it is
  }
  std::string text = parts[0] + "." + parts[1];
  if (std::stol(parts[2]) > 0) text += parts[2];
  if (std::stol(parts[3]) > 0) text += " SR" + parts[3];
  return text;
}

}  // namespace kelvane
