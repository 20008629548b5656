#include "update/web_pages.h"

#include "common/ascii_text.h"

namespace kelvane {

bool isWebAddress(std::string_view address) {
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  std::string_view rest;
  if (startsWithIgnoringAsciiCase(address, "http://")) {
    rest = address.substr(7);
  } else if (startsWithIgnoringAsciiCase(address, "https://")) {
    rest = address.substr(8);
  } else {
    return false;
  }
  return !rest.empty() && rest.front() != '/' && rest.front() != '\\';
}

}  // namespace kelvane
