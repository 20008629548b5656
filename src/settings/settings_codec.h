#pragma once
// The settings record <-> the settings file's INI text. No files here: the shell reads the
// file's text, hands the document in, and writes back what comes out.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ini_codec.h"
#include "settings/options.h"

namespace kelvane {

inline constexpr std::string_view kSettingsFileName = "Kelvane.Settings";
inline constexpr std::string_view kSectionGeneral = "General";
inline constexpr std::string_view kSectionFont = "Font";
inline constexpr std::string_view kSectionColors = "Colors";
inline constexpr std::string_view kSectionCustomColors = "自定义颜色";
inline constexpr std::string_view kSectionHistory = "History";

// What the load needs to know about the machine.
struct SettingsContext {
  int osMajorVersion = 10;
  std::string defaultLogFile;  // GetDefaultLogFileName
};

struct LoadedOptions {
  TKelvaneOptions options;
  // No ShowPercentage that reads as an integer other than -101: nobody has saved this file.
  bool firstRun = true;
};

// Integer text as the settings file holds it: signed decimal, or hexadecimal after "$" or after
// "0x"/"0X" followed by at least one more character (up to 32 bits, read as two's complement).
// nullopt for anything that is not such a 32-bit integer.
std::optional<std::int32_t> ParseSettingInteger(std::string_view text);

// A key of Colors: missing, empty or "Automatic" is automatic, anything else TextToColor.
TColor ReadColorSetting(const IniDocument& ini, std::string_view key);

// Every setting from the document over the defaults for this machine; FontColor follows the
// font's colour. A RefreshRate, TopProcessCount or DefragEvery of 0 or below would stop the
// timers or empty the menu, so those fall back to their defaults.
LoadedOptions LoadOptionsFromIni(const IniDocument& ini, const SettingsContext& context);

// Every setting into the document, in the order that gives a new file its layout. LogFile is
// never written: it is the user's to set by hand. A key of [History] is written only when it
// differs from its default or the document has it already, so a file that never used the
// history saves as it did before there was one. Language likewise is written only when it names
// a language or the document has it already.
void SaveOptionsToIni(IniDocument& ini, const TKelvaneOptions& options);

// [General] Language as the file has it (empty when missing): all that start-up needs to know
// before the rest of the settings is read.
std::string ReadLanguageSetting(const IniDocument& ini);

// The sixteen custom colours of the colour dialog (keys ColorA..ColorP of "自定义颜色").
inline constexpr int kCustomColorCount = 16;
using CustomColors = std::array<std::optional<std::uint32_t>, kCustomColorCount>;
// The keys that are present, non-empty and hexadecimal.
CustomColors ReadCustomColors(const IniDocument& ini);
// All sixteen, upper-case hexadecimal padded to six digits; an empty slot is 0xFFFFFFFF.
void WriteCustomColors(IniDocument& ini, const std::array<std::uint32_t, kCustomColorCount>& colors);

}  // namespace kelvane
