#pragma once
// The settings record: every user setting of Kelvane, named after its key in the settings file.
// Portable: no Windows types. The main form owns one instance for the whole run.

#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

// 0x00BBGGRR for a plain colour, 0xFF000000 + n for system colour n (0..24), -1 for automatic.
using TColor = std::int32_t;

inline constexpr TColor clAutomatic = -1;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor SystemColorBase = static_cast<TColor>(0xFF000000u);
inline constexpr int SystemColorCount = 25;
inline constexpr int COLOR_BTNSHADOW_INDEX = 16;
inline constexpr int COLOR_WINDOWTEXT_INDEX = 8;

constexpr TColor systemColor(int index) { return SystemColorBase + index; }
constexpr bool isSystemColor(TColor c) {
  return c >= SystemColorBase && c < SystemColorBase + SystemColorCount;
}
constexpr TColor rgbColor(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// Font style bits as the settings file stores them.
enum FontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TFontSpec {
  std::string Name = "Tahoma";
  int CharSet = 1;  // DEFAULT_CHARSET
  TColor Color = systemColor(COLOR_WINDOWTEXT_INDEX);
  int Size = 6;  // points
  int Style = 0;
  bool operator==(const TFontSpec&) const = default;
};

enum class DoubleClickActionKind : int {
  TaskManager = 0,
  ReleaseMemory = 1,
  MemoryInfo = 2,
  ShowSettings = 3,
  LockWorkstation = 4,
  RunDialog = 5,
  ShutdownDialog = 6,
  ShowDesktop = 7,
  ShowHistory = 8,
};

// The [History] section: where the memory history window was and the range it showed, and
// whether a release the user asked for says what it freed. A missing place means the default
// (centred on the tray's monitor, 640 x 360 at 96 DPI).
struct THistorySettings {
  std::optional<std::int32_t> WindowLeft;
  std::optional<std::int32_t> WindowTop;
  std::optional<std::int32_t> WindowWidth;
  std::optional<std::int32_t> WindowHeight;
  // The DPI the size was saved at; nothing means 96 (files written before it was kept).
  std::optional<std::int32_t> WindowDpi;
  std::int32_t Range = 1;  // 0..3: 1 hour, 24 hours, 7 days, 30 days
  bool ReleaseBalloon = true;
  bool operator==(const THistorySettings&) const = default;
};

// Field order is the declared order of the settings (the preview tool dumps them in this order).
struct TKelvaneOptions {
  bool Warn = true;
  bool ShowPage = false;  // depends on the system version: see defaultOptions()
  bool ShowFree = false;
  bool ShowPercentage = false;
  std::int32_t YellowPercent = 65;
  std::int32_t RedPercent = 90;
  bool NoBorder = true;
  TFontSpec Font{};
  bool ShowPercSign = false;
  bool InternalFont = true;
  bool TransBk = false;
  bool BarBottom = false;
  bool HintWhatisDisplayed = true;
  bool StandardGauge = true;
  TColor FontColor = systemColor(COLOR_WINDOWTEXT_INDEX);
  TColor OpaqueBkColor = clAutomatic;
  TColor BarBorderColor = clAutomatic;
  TColor GreenColor = clAutomatic;
  TColor YellowColor = clAutomatic;
  TColor RedColor = clAutomatic;
  bool MiniInternalFont = false;
  std::int32_t RefreshRate = 1000;
  bool FullBar = false;
  TColor FullBarColor = clAutomatic;
  std::int32_t RefreshHotkey = 0;
  bool ShowTopProcess = true;
  std::int32_t TopProcessCount = 10;
  bool ShowMemMenu = true;
  bool OptimizeForGigabytes = true;
  bool DefragOnHighMemory = true;
  bool DefragEveryActive = false;
  std::int32_t DefragEvery = 120;
  std::int32_t DoubleClickAction = 0;
  bool SwitchOffMonitorOnLock = false;
  bool WarnMsgBox = false;
  std::int32_t HighlightProcessAbove = 1000;
  TColor ProcMenuHightlightColor = clAutomatic;
  bool ClickedDonation = false;
  bool NoWarningSwithOffMonMobile = false;
  bool ShowNameInsteadOfModule = false;
  std::int32_t ProcessValueType = 0;
  bool UnifyProcesses = true;
  bool ShowWelcomeWindow = true;
  bool WriteLog = false;
  std::string LogFile;  // default comes from the data folder rules at load time
  // Digits and border of a see-through picture in the contrast colour of the taskbar's light or
  // dark mode, at draw time only (FontColor and BarBorderColor keep their values).
  bool FollowTaskbarTheme = false;
  // Not one of the fields above: a section of its own, outside themes and the field list.
  THistorySettings History{};
  // [General] Language: the tag of the language to speak ("zh-CN", "en-US", a language file's),
  // empty for Windows' display language. Outside the field list too: no theme carries it.
  std::string Language;

  bool operator==(const TKelvaneOptions&) const = default;
};

// The record for a fresh installation. The page file is shown by default only before Vista
// (major version below 6), where commit charge was what users watched.
TKelvaneOptions defaultOptions(int osMajorVersion);

// Colour slots that have an automatic colour.
enum class ColorSlot {
  FontColor,
  OpaqueBkColor,
  BarBorderColor,
  FullBarColor,
  GreenColor,
  YellowColor,
  RedColor,
  ProcMenuHightlightColor,
};

TColor automaticColor(ColorSlot slot);
TColor& colorField(TKelvaneOptions& options, ColorSlot slot);
TColor colorField(const TKelvaneOptions& options, ColorSlot slot);

// The slot's colour as drawn: the field, or its automatic colour when the field is -1. With
// automaticOnly the automatic colour itself (what the options dialog offers as the default).
TColor EffectiveColor(const TKelvaneOptions& options, ColorSlot slot, bool automaticOnly = false);

// The font's colour follows FontColor; an automatic FontColor is stored as black.
void ApplyFontColor(TKelvaneOptions& options);

}  // namespace kelvane
