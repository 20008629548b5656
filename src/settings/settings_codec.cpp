#include "settings/settings_codec.h"

#include <cstdio>

#include "settings/color_text.h"
#include "settings/option_fields.h"

namespace kelvane {

namespace {

using O = TKelvaneOptions;

// The DPIs a kept window size may have been saved at; 96 is what a file without one means.
constexpr std::int32_t kBaseWindowDpi = 96;
constexpr std::int32_t kLeastWindowDpi = 48;
constexpr std::int32_t kMostWindowDpi = 960;

// Marks a file nobody has saved yet: every save writes ShowPercentage as 0 or 1.
constexpr std::int32_t kFirstRunProbe = -101;

// General keys in the order a save writes them; RedPercent and YellowPercent follow the Font
// section, which is how files written by every earlier version are laid out.
constexpr std::string_view kGeneralKeysBeforeFont[] = {
    "Warn", "WarnMsgBox", "WriteLog", "HighlightProcessAbove", "ShowNameInsteadOfModule",
    "UnifyProcesses", "ShowPage", "ShowFree", "NoBorder", "ShowPercentage", "ShowPercSign",
    "InternalFont", "HintWhatisDisplayed", "StandardGauge", "BarBottom", "TransBk",
    "MiniInternalFont", "RefreshRate", "FullBar", "RefreshHotkey", "ShowWelcomeWindow",
    "ShowTopProcess", "TopProcessCount", "ShowMemMenu", "OptimizeForGigabytes",
    "DefragOnHighMemory", "DefragEveryActive", "DefragEvery", "DoubleClickAction",
    "SwitchOffMonitorOnLock", "ClickedDonation", "NoWarningSwithOffMonMobile",
    "ProcessValueType"};
constexpr std::string_view kLanguageKey = "Language";
constexpr std::string_view kGeneralKeysAfterFont[] = {"RedPercent", "YellowPercent"};
constexpr std::string_view kColorKeys[] = {"ProcMenuHightlightColor", "OpaqueBkColor",
                                           "BarBorderColor", "GreenColor", "YellowColor",
                                           "RedColor", "FullBarColor"};

std::optional<std::uint32_t> parseDigits(std::string_view digits, unsigned base) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

std::int32_t readInteger(const IniDocument& ini, std::string_view section, std::string_view key,
                         std::int32_t fallback) {
  const auto text = ini.get(section, key);
  if (!text) return fallback;
  return ParseSettingInteger(*text).value_or(fallback);
}

bool readBoolean(const IniDocument& ini, std::string_view key, bool fallback) {
  return readInteger(ini, kSectionGeneral, key, fallback ? 1 : 0) != 0;
}

void writeField(IniDocument& ini, const TKelvaneOptions& options, std::string_view key) {
  const OptionField* field = findOptionField(std::string(key));
  if (field == nullptr) return;
  if (field->type == FieldType::Boolean)
    ini.set(kSectionGeneral, key, options.*field->boolean ? "1" : "0");
  else if (field->type == FieldType::Integer)
    ini.set(kSectionGeneral, key, std::to_string(options.*field->integer));
}

std::optional<std::int32_t> readOptionalInteger(const IniDocument& ini, std::string_view section,
                                                std::string_view key) {
  const auto text = ini.get(section, key);
  return text ? ParseSettingInteger(*text) : std::nullopt;
}

THistorySettings loadHistorySettings(const IniDocument& ini) {
  THistorySettings history;
  history.WindowLeft = readOptionalInteger(ini, kSectionHistory, "WindowLeft");
  history.WindowTop = readOptionalInteger(ini, kSectionHistory, "WindowTop");
  history.WindowWidth = readOptionalInteger(ini, kSectionHistory, "WindowWidth");
  history.WindowHeight = readOptionalInteger(ini, kSectionHistory, "WindowHeight");
  // A size too small to be a window's is no size: the default is used.
  for (auto* size : {&history.WindowWidth, &history.WindowHeight})
    if (*size && **size <= 0) size->reset();
  history.WindowDpi = readOptionalInteger(ini, kSectionHistory, "WindowDpi");
  // No screen has such a DPI: the size is taken as saved at 96.
  if (history.WindowDpi && (*history.WindowDpi < kLeastWindowDpi || *history.WindowDpi > kMostWindowDpi))
    history.WindowDpi.reset();
  const std::int32_t range = readInteger(ini, kSectionHistory, "Range", history.Range);
  if (range >= 0 && range <= 3) history.Range = range;
  history.ReleaseBalloon = readInteger(ini, kSectionHistory, "ReleaseBalloon", 1) != 0;
  return history;
}

void writeHistoryKey(IniDocument& ini, std::string_view key, std::optional<std::int32_t> value,
                     std::optional<std::int32_t> fallback) {
  if (!value) return;  // the default place: nothing to keep, and a key already there is left alone
  if (value == fallback && !ini.get(kSectionHistory, key)) return;
  ini.set(kSectionHistory, key, std::to_string(*value));
}

void saveHistorySettings(IniDocument& ini, const THistorySettings& history) {
  const THistorySettings defaults;
  writeHistoryKey(ini, "WindowLeft", history.WindowLeft, defaults.WindowLeft);
  writeHistoryKey(ini, "WindowTop", history.WindowTop, defaults.WindowTop);
  writeHistoryKey(ini, "WindowWidth", history.WindowWidth, defaults.WindowWidth);
  writeHistoryKey(ini, "WindowHeight", history.WindowHeight, defaults.WindowHeight);
  // The size's DPI goes with it, and only when it is not 96: a size saved at 96 DPI leaves the
  // file as files were before the DPI was kept.
  if (history.WindowWidth || history.WindowHeight) {
    if (history.WindowDpi && *history.WindowDpi != kBaseWindowDpi)
      ini.set(kSectionHistory, "WindowDpi", std::to_string(*history.WindowDpi));
    else
      ini.remove(kSectionHistory, "WindowDpi");
  }
  writeHistoryKey(ini, "Range", history.Range, defaults.Range);
  writeHistoryKey(ini, "ReleaseBalloon", history.ReleaseBalloon ? 1 : 0, 1);
}

void fallBackWhenNotPositive(std::int32_t& value, std::int32_t fallback) {
  if (value <= 0) value = fallback;
}

}  // namespace

std::optional<std::int32_t> ParseSettingInteger(std::string_view text) {
  if (!text.empty() && text.front() == '$') {
    const auto value = parseDigits(text.substr(1), 16);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
  }
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const auto value = parseDigits(text.substr(2), 16);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
  }
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto magnitude = parseDigits(text, 10);
  if (!magnitude) return std::nullopt;
  const std::int64_t value = negative ? -static_cast<std::int64_t>(*magnitude) : *magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

TColor ReadColorSetting(const IniDocument& ini, std::string_view key) {
  return ColorSettingFromText(ini.get(kSectionColors, key, "Automatic"));
}

LoadedOptions LoadOptionsFromIni(const IniDocument& ini, const SettingsContext& context) {
  LoadedOptions result;
  result.firstRun =
      readInteger(ini, kSectionGeneral, "ShowPercentage", kFirstRunProbe) == kFirstRunProbe;
  TKelvaneOptions& options = result.options;
  options = defaultOptions(context.osMajorVersion);

  for (const OptionField& field : optionFields()) {
    switch (field.type) {
      case FieldType::Boolean:
        options.*field.boolean = readBoolean(ini, field.key, options.*field.boolean);
        break;
      case FieldType::Integer:
        options.*field.integer =
            readInteger(ini, kSectionGeneral, field.key, options.*field.integer);
        break;
      case FieldType::Color:
        // FontColor has no key: it comes from the font below.
        if (field.color != &O::FontColor) options.*field.color = ReadColorSetting(ini, field.key);
        break;
      case FieldType::String:
        options.*field.text = ini.get(kSectionGeneral, field.key, context.defaultLogFile);
        break;
      case FieldType::Font: break;
    }
  }

  TFontSpec& font = options.Font;
  font.Name = ini.get(kSectionFont, "Name", font.Name);
  // The character set is one byte wide and only four style bits exist: values that cannot be
  // what a save wrote are not used.
  const std::int32_t charSet = readInteger(ini, kSectionFont, "CharSet", font.CharSet);
  if (charSet >= 0 && charSet <= 255) font.CharSet = charSet;
  font.Color = readInteger(ini, kSectionFont, "Color", font.Color);
  font.Size = readInteger(ini, kSectionFont, "Size", font.Size);
  font.Style = readInteger(ini, kSectionFont, "Style", font.Style) & 0xF;
  options.FontColor = font.Color;
  ApplyFontColor(options);

  const TKelvaneOptions defaults = defaultOptions(context.osMajorVersion);
  fallBackWhenNotPositive(options.RefreshRate, defaults.RefreshRate);
  fallBackWhenNotPositive(options.TopProcessCount, defaults.TopProcessCount);
  fallBackWhenNotPositive(options.DefragEvery, defaults.DefragEvery);
  options.History = loadHistorySettings(ini);
  options.Language = ReadLanguageSetting(ini);
  return result;
}

void SaveOptionsToIni(IniDocument& ini, const TKelvaneOptions& options) {
  for (std::string_view key : kGeneralKeysBeforeFont) writeField(ini, options, key);
  const TFontSpec& font = options.Font;
  ini.set(kSectionFont, "Name", font.Name);
  ini.set(kSectionFont, "CharSet", std::to_string(font.CharSet));
  ini.set(kSectionFont, "Color", std::to_string(font.Color));
  ini.set(kSectionFont, "Size", std::to_string(font.Size));
  ini.set(kSectionFont, "Style", std::to_string(font.Style));
  for (std::string_view key : kGeneralKeysAfterFont) writeField(ini, options, key);
  for (std::string_view key : kColorKeys) {
    const OptionField* field = findOptionField(std::string(key));
    ini.set(kSectionColors, key, ColorSettingText(options.*field->color));
  }
  for (const OptionField& field : optionFields())
    if (field.write == FieldWrite::WhenSetOrPresent && fieldWritten(field, options, ini))
      ini.set(kSectionGeneral, field.key, options.*field.boolean ? "1" : "0");
  // Automatic is the absence of a choice: a file that never chose a language stays as it was.
  if (!options.Language.empty() || ini.get(kSectionGeneral, kLanguageKey))
    ini.set(kSectionGeneral, kLanguageKey, options.Language);
  saveHistorySettings(ini, options.History);
}

std::string ReadLanguageSetting(const IniDocument& ini) { return ini.get(kSectionGeneral, kLanguageKey, ""); }

CustomColors ReadCustomColors(const IniDocument& ini) {
  CustomColors colors;
  for (int i = 0; i < kCustomColorCount; ++i) {
    const std::string key = std::string("Color") + static_cast<char>('A' + i);
    const auto text = ini.get(kSectionCustomColors, key);
    if (text && !text->empty()) colors[static_cast<std::size_t>(i)] = parseDigits(*text, 16);
  }
  return colors;
}

void WriteCustomColors(IniDocument& ini, const std::array<std::uint32_t, kCustomColorCount>& colors) {
  for (int i = 0; i < kCustomColorCount; ++i) {
    const std::string key = std::string("Color") + static_cast<char>('A' + i);
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colors[static_cast<std::size_t>(i)]);
    ini.set(kSectionCustomColors, key, text);
  }
}

}  // namespace kelvane
