#include "update/web_pages_win.h"

#include <windows.h>
#include <shellapi.h>

#include "common/text_win.h"
#include "update/web_pages.h"

namespace kelvane {

bool openWebPage(const std::string& address) {
  if (!isWebAddress(address)) return false;
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", toWide(address).c_str(), nullptr, nullptr, SW_SHOW));
  return result > 32;
}

}  // namespace kelvane
