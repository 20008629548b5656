#include "settings/visual_style_win.h"

#include <windows.h>

#include <string>

#include "common/system_info_win.h"
#include "common/system_library_win.h"
#include "common/text_win.h"
#include "settings/theme_file.h"

namespace kelvane {

int DetectVisualStyle() {
  using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  using DwmIsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL*);

  const UniqueLibrary uxtheme = loadSystemLibrary(L"uxtheme.dll");
  const auto getCurrentThemeName = systemExport<GetCurrentThemeNameFn>(uxtheme, "GetCurrentThemeName");
  if (!getCurrentThemeName) return VisualStyleFromSystem(0, 0, false, false, "");
  wchar_t themeFile[256] = L"", colorScheme[256] = L"", size[256] = L"";
  std::string scheme;
  if (SUCCEEDED(getCurrentThemeName(themeFile, 255, colorScheme, 255, size, 255)))
    scheme = toUtf8(colorScheme);

  const auto version = readOsVersion();
  if (!version) return VisualStyleFromSystem(0, 0, false, false, scheme);
  bool compositionOn = false;
  if (version->major >= 6) {
    const UniqueLibrary dwmapi = loadSystemLibrary(L"dwmapi.dll");
    const auto isEnabled = systemExport<DwmIsCompositionEnabledFn>(dwmapi, "DwmIsCompositionEnabled");
    BOOL enabled = FALSE;
    compositionOn = isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
  }
  return VisualStyleFromSystem(static_cast<int>(version->major), static_cast<int>(version->minor),
                               version->platform == VER_PLATFORM_WIN32_NT, compositionOn, scheme);
}

}  // namespace kelvane
