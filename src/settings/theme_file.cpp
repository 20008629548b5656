#include "settings/theme_file.h"

#include "common/ascii_text.h"
#include "settings/color_text.h"
#include "settings/settings_codec.h"

namespace kelvane {

namespace {

bool readSwitch(const IniDocument& theme, std::string_view key) {
  const auto text = theme.get(kThemeSection, key);
  if (!text) return false;
  return ParseSettingInteger(*text).value_or(0) != 0;
}

TColor colorFromThemeText(std::string_view text) {
  return text == kThemeAutomatic ? clAutomatic : TextToColor(text);
}

}  // namespace

ThemeColors ReadThemeFile(const IniDocument& theme) {
  ThemeColors colors;
  for (std::size_t i = 0; i < kThemeColorKeys.size(); ++i)
    colors.texts[i] = theme.get(kThemeSection, kThemeColorKeys[i], kThemeAutomatic);
  const bool opaque = readSwitch(theme, "OpaqueBackground");
  const bool currentVersion = theme.get(kThemeSection, "Ver", kThemeVersion) == kThemeVersion;
  colors.transBk = currentVersion ? !opaque : opaque;
  colors.fullBar = readSwitch(theme, "BarOpaqueBackground");
  return colors;
}

ThemeColors ReadFirstRunThemeFile(const IniDocument& theme) {
  ThemeColors colors = ReadThemeFile(theme);
  // The first run takes the switch as the current version writes it, whatever Ver says: the
  // files it picks are the ones delivered with the program.
  colors.transBk = !readSwitch(theme, "OpaqueBackground");
  return colors;
}

void WriteThemeFile(IniDocument& theme, std::string_view name, const ThemeColors& colors) {
  theme.set(kThemeSection, "Ver", kThemeVersion);
  theme.set(kThemeSection, "Name", name);
  for (std::size_t i = 0; i < kThemeColorKeys.size(); ++i)
    theme.set(kThemeSection, kThemeColorKeys[i], colors.texts[i]);
  theme.set(kThemeSection, "OpaqueBackground", colors.transBk ? "0" : "1");
  theme.set(kThemeSection, "BarOpaqueBackground", colors.fullBar ? "1" : "0");
}

ThemeColors ThemeColorsFromOptions(const TKelvaneOptions& options) {
  ThemeColors colors;
  for (std::size_t i = 0; i < kThemeSlots.size(); ++i) {
    const TColor value = kThemeSlots[i] == ColorSlot::FontColor
                             ? options.Font.Color
                             : colorField(options, kThemeSlots[i]);
    colors.texts[i] = value == clAutomatic ? std::string(kThemeAutomatic) : ColorToText(value);
  }
  colors.transBk = options.TransBk;
  colors.fullBar = options.FullBar;
  return colors;
}

void ApplyThemeColors(TKelvaneOptions& options, const ThemeColors& colors) {
  for (std::size_t i = 0; i < kThemeSlots.size(); ++i)
    colorField(options, kThemeSlots[i]) = colorFromThemeText(colors.texts[i]);
  ApplyFontColor(options);
  options.TransBk = colors.transBk;
  options.FullBar = colors.fullBar;
}

void ApplyFirstRunTheme(TKelvaneOptions& options, const ThemeColors& colors) {
  for (std::size_t i = 0; i < kThemeSlots.size(); ++i)
    if (colors.texts[i] != kThemeAutomatic)
      colorField(options, kThemeSlots[i]) = TextToColor(colors.texts[i]);
  options.TransBk = colors.transBk;
  options.FullBar = colors.fullBar;
  ApplyFontColor(options);
}

std::string_view FirstRunThemeFileName(int visualStyle) {
  switch (visualStyle) {
    case 0:
    case 1: return "Windows Aero.Kelvane Theme";
    case 2: return "Windows XP Style (Blue).Kelvane Theme";
    case 3: return "Windows XP Style (Olive Green).Kelvane Theme";
    case 4: return "Windows XP Style (Silver).Kelvane Theme";
    default: return "System Colors.Kelvane Theme";
  }
}

int VisualStyleFromSystem(int majorVersion, int minorVersion, bool ntPlatform, bool compositionOn,
                          std::string_view colorScheme) {
  if (majorVersion >= 6) {
    if (compositionOn) return 0;
    std::string_view trimmed = colorScheme;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
    return trimmed == "NormalColor" ? 1 : 5;
  }
  if (ntPlatform && (majorVersion > 5 || (majorVersion == 5 && minorVersion >= 1))) {
    if (colorScheme == "NormalColor") return 2;
    if (colorScheme == "HomeStead") return 3;
    if (colorScheme == "Metallic") return 4;
  }
  return 5;
}

namespace {

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices whatever follows their first dot, and
// blanks before that dot do not count. The system also reads the superscript digits one to
// three as port numbers.
bool isDeviceName(std::string_view name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::string folded = lowerAsciiText(name);
  if (folded == "con" || folded == "prn" || folded == "aux" || folded == "nul") return true;
  if (!folded.starts_with("com") && !folded.starts_with("lpt")) return false;
  const std::string_view port = std::string_view(folded).substr(3);
  return (port.size() == 1 && port[0] >= '1' && port[0] <= '9') || port == "\u00B9" ||
         port == "\u00B2" || port == "\u00B3";
}

}  // namespace

std::string MakeValidFileName(std::string_view text) {
  std::string name;
  std::size_t characters = 0;
  for (char c : text) {
    const bool startsCharacter = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (startsCharacter && ++characters > 255) break;
    static constexpr std::string_view kInvalid = "|<>\"?*:/\\";
    // Control characters cannot be in a file name either.
    const bool invalid = kInvalid.find(c) != std::string_view::npos ||
                         (static_cast<unsigned char>(c) < 0x20);
    name += invalid ? '_' : c;
  }
  if (!isDeviceName(name)) return name;
  std::string prefixed(1, '_');
  prefixed += name;
  return prefixed;
}

bool IsListableThemeName(std::string_view name) { return MakeValidFileName(name) == name; }

bool IsThemeFileName(std::string_view fileName) {
  if (fileName.size() < kThemeFileExtension.size()) return false;
  return equalsIgnoringAsciiCase(fileName.substr(fileName.size() - kThemeFileExtension.size()), kThemeFileExtension);
}

std::string ThemeNameFromFileName(std::string_view fileName) {
  if (!IsThemeFileName(fileName)) return std::string(fileName);
  return std::string(fileName.substr(0, fileName.size() - kThemeFileExtension.size()));
}

std::vector<std::string> ThemeNamesFromListing(const std::vector<std::string>& fileNames) {
  std::vector<std::string> names;
  for (const std::string& fileName : fileNames)
    if (IsThemeFileName(fileName) && IsListableThemeName(ThemeNameFromFileName(fileName)))
      names.push_back(ThemeNameFromFileName(fileName));
  return names;
}

}  // namespace kelvane

namespace kelvane {

bool ShouldDeliverThemeFiles(const std::vector<std::string>& themeNamesInFolder) {
  for (int style = kFirstDeliveredThemeStyle; style <= kLastDeliveredThemeStyle; ++style) {
    const std::string delivered = ThemeNameFromFileName(FirstRunThemeFileName(style));
    for (const std::string& name : themeNamesInFolder)
      if (equalsIgnoringAsciiCase(name, delivered)) return false;
  }
  return true;
}

}  // namespace kelvane
