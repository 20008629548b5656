#pragma once
// Colour themes as files: the seven picture colours and the two background switches in the
// KelvaneTheme section of a "*.Kelvane Theme" file. No file access here.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_codec.h"
#include "settings/options.h"

namespace kelvane {

inline constexpr std::string_view kThemeFileExtension = ".Kelvane Theme";
inline constexpr std::string_view kThemeSection = "KelvaneTheme";
inline constexpr std::string_view kThemeVersion = "22";
// The colour text of an automatic slot in a theme file.
inline constexpr std::string_view kThemeAutomatic = "-1";

// The seven slots in the order of the theme page's colour list and of the file's keys.
inline constexpr int kThemeSlotCount = 7;
inline constexpr std::array<ColorSlot, kThemeSlotCount> kThemeSlots = {
    ColorSlot::FontColor,  ColorSlot::OpaqueBkColor, ColorSlot::FullBarColor,
    ColorSlot::BarBorderColor, ColorSlot::GreenColor, ColorSlot::YellowColor,
    ColorSlot::RedColor};
inline constexpr std::array<std::string_view, kThemeSlotCount> kThemeColorKeys = {
    "FontColor", "BackgroundColor", "BarColor", "BarBorderColor",
    "GreenColor", "YellowColor",    "RedColor"};

// A theme as the theme page holds it: colour texts as they stand ("-1" for automatic) and the
// two check boxes.
struct ThemeColors {
  std::array<std::string, kThemeSlotCount> texts{"-1", "-1", "-1", "-1", "-1", "-1", "-1"};
  bool transBk = false;  // "透明背景"
  bool fullBar = false;  // "不透明栏"
  bool operator==(const ThemeColors&) const = default;
};

// Reads a theme file. Missing colours are "-1", a missing Ver is "22", missing switches are
// false. Files of other versions stored OpaqueBackground with the opposite meaning.
ThemeColors ReadThemeFile(const IniDocument& theme);

// The same for the first run, which reads OpaqueBackground in the current meaning whatever
// the file's Ver.
ThemeColors ReadFirstRunThemeFile(const IniDocument& theme);

// Writes Ver, Name, the seven colours and the two switches, in that order; other keys stay.
void WriteThemeFile(IniDocument& theme, std::string_view name, const ThemeColors& colors);

// The theme page's view of the record: "-1" for an automatic slot, else ColorToText; the text
// colour is taken from the font.
ThemeColors ThemeColorsFromOptions(const TKelvaneOptions& options);

// OK or Apply on the theme page: every slot from its text ("-1" or unreadable is automatic),
// then the font follows the text colour, and the two switches.
void ApplyThemeColors(TKelvaneOptions& options, const ThemeColors& colors);

// The first run: slots whose text is "-1" keep their loaded value.
void ApplyFirstRunTheme(TKelvaneOptions& options, const ThemeColors& colors);

// The theme file chosen for the first run by DetectVisualStyle's result (0..5).
std::string_view FirstRunThemeFileName(int visualStyle);

// The theme files delivered with the program are those of the visual styles 1..5. They go into
// the theme folder only when it holds none of them (names compared without letter case, as the
// file system compares them), so that the user's own files and deletions stand.
inline constexpr int kFirstDeliveredThemeStyle = 1, kLastDeliveredThemeStyle = 5;
bool ShouldDeliverThemeFiles(const std::vector<std::string>& themeNamesInFolder);

// DetectVisualStyle's decision from what the system reports. compositionOn is true only when
// DwmIsCompositionEnabled succeeded and said so; colorScheme is empty when uxtheme gave none.
int VisualStyleFromSystem(int majorVersion, int minorVersion, bool ntPlatform, bool compositionOn,
                          std::string_view colorScheme);

// Text fit to be a file name: | < > " ? * : / \ become '_', and at most 255 characters remain.
// Control characters become '_' too, and a device name such as CON gets a '_' in front: the
// system would not make a file of either.
std::string MakeValidFileName(std::string_view text);

// A name the theme list shows, reads and deletes: one that saving could have made
// (MakeValidFileName leaves it as it is). Anything else could name a device, whose "file" may
// never answer a read, or lead out of the theme folder.
bool IsListableThemeName(std::string_view name);

// A theme is a few hundred bytes; a bigger file in the folder is not read as one.
inline constexpr std::uint64_t kMaxThemeFileBytes = 1024 * 1024;

// True when a listed file name ends in ".Kelvane Theme" (letter case ignored, as the folder
// listing matches it); the theme's name is what precedes the extension.
bool IsThemeFileName(std::string_view fileName);
std::string ThemeNameFromFileName(std::string_view fileName);

// The theme list's entries 2 and up, in listing order, from a folder listing; names that are
// not listable are left out.
std::vector<std::string> ThemeNamesFromListing(const std::vector<std::string>& fileNames);

}  // namespace kelvane
