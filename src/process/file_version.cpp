#include "process/file_version.h"

#include <cstdio>

namespace kelvane {

std::string TranslationName(std::uint16_t language, std::uint16_t codePage) {
  char text[16];
  std::snprintf(text, sizeof text, "%.4x%.4x", static_cast<unsigned>(language),
                static_cast<unsigned>(codePage));
  return text;
}

std::string StringValuePath(const std::vector<std::string>& translations, const std::string& key) {
  const std::string translation = translations.empty() ? "040904E4" : translations.front();
  return "\\StringFileInfo\\" + translation + "\\" + key;
}

std::string FileVersionText(std::uint32_t fileVersionMS, std::uint32_t fileVersionLS) {
  return std::to_string(fileVersionMS >> 16) + "." + std::to_string(fileVersionMS & 0xFFFF) + "." +
         std::to_string(fileVersionLS >> 16) + "." + std::to_string(fileVersionLS & 0xFFFF);
}

}  // namespace kelvane
