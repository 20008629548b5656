#include "tray/taskbar_look_win.h"

#include <windows.h>

namespace kelvane {

namespace {

// Windows 10 and later keep the taskbar's mode here; earlier systems have no such value.
constexpr const wchar_t* kPersonalizeKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr const wchar_t* kLightTaskbarValue = L"SystemUsesLightTheme";

std::optional<bool> readLightTaskbar() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  DWORD value = 0, type = 0, size = sizeof(value);
  const LONG status = RegQueryValueExW(key, kLightTaskbarValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return {};
  return value != 0;
}

bool highContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

TaskbarLook readTaskbarLook() { return {readLightTaskbar(), highContrastOn()}; }

}  // namespace kelvane
