#include "update/web_pages.h"

namespace kelvane {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool isWebAddress(std::string_view address) {
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) return false;
  }
  std::string_view rest;
  if (startsWithNoCase(address, "http://")) {
    rest = address.substr(7);
  } else if (startsWithNoCase(address, "https://")) {
    rest = address.substr(8);
  } else {
    return false;
  }
  return !rest.empty() && rest.front() != '/' && rest.front() != '\\';
}

}  // namespace kelvane
