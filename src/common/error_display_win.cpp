#include "common/error_display_win.h"

#include <windows.h>

#include "common/text_win.h"

namespace kelvane {

void showUnexpectedError(const std::string& message) {
  MessageBoxW(nullptr, toWide(message).c_str(), L"Kelvane", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace kelvane
