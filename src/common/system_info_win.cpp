#include "common/system_info_win.h"

#include <vector>

#include "common/text_win.h"

namespace kelvane {

std::optional<OsVersion> readOsVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return std::nullopt;
#pragma GCC diagnostic pop
  return OsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

namespace {

std::string localeText(LCTYPE type, const char* fallback) {
  wchar_t buffer[16];
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
  if (length <= 0) return fallback;  // an empty setting (no digit grouping symbol) is the user's choice
  return toUtf8(std::wstring(buffer, static_cast<std::size_t>(length - 1)));
}

}  // namespace

NumberFormat readUserNumberFormat() {
  return NumberFormat::fromSystem(localeText(LOCALE_SDECIMAL, "."), localeText(LOCALE_STHOUSAND, ","),
                                  localeText(LOCALE_SGROUPING, "3;0"));
}

std::string readProductVersion() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path, 0, size, data.data())) return {};
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed)
    return {};
  return std::to_string(HIWORD(fixed->dwProductVersionMS)) + "." +
         std::to_string(LOWORD(fixed->dwProductVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwProductVersionLS)) + "." +
         std::to_string(LOWORD(fixed->dwProductVersionLS));
}

UiLanguage readUiLanguage() {
  UiLanguage language{GetUserDefaultUILanguage(), {}};
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
  if (LCIDToLocaleName(MAKELCID(language.id, SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) > 0)
    language.tag = toUtf8(name);
  return language;
}

std::wstring programFolder() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // long paths beyond MAX_PATH
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace kelvane
