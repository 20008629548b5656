#include "common/system_error_win.h"

#include "common/language.h"
#include "common/text_win.h"

namespace kelvane {

std::string systemMessageText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length ? toUtf8(std::wstring(buffer, length)) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text;
}

std::string systemReason(DWORD code) {
  const std::string text = systemMessageText(code);
  return text.empty() ? tr(TextId::ErrorCode, {{"code", std::to_string(code)}}) : text;
}

std::string failureMessage(const std::string& what, DWORD code) { return what + ": " + systemReason(code); }

}  // namespace kelvane
