#pragma once

// Every text the user can see, by a stable key. A language is a table with one text per key;
// the built-in ones are Simplified Chinese (the program's own texts) and English, and a
// language file may add more (language.h).
//
// Texts are UTF-8. A part that the program fills in is a named placeholder, "{name}", so a
// translation may put it where its grammar wants; formatText fills them. A key's name (the
// second column) is what a language file writes before '='; it never changes once released.
// The shape (third column) is what the code around a text relies on, and what every language
// has to keep (see TextShape).

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvane {

#define KELVANE_TEXT_KEYS(X)                                                   \
  /* the tray menu */                                                          \
  X(MenuTaskManager, "menu.taskManager", Plain)                                \
  X(MenuRelease, "menu.release", Plain)                                        \
  X(MenuHistory, "menu.history", Plain)                                        \
  X(MenuShowLog, "menu.showLog", Plain)                                        \
  X(MenuSettings, "menu.settings", Plain)                                      \
  X(MenuAbout, "menu.about", Plain)                                            \
  X(MenuExit, "menu.exit", Plain)                                              \
  X(MenuNotAvailable, "menu.notAvailable", Plain)                              \
  /* the picture's tip; its lines are also the menu's memory lines */          \
  X(TipShowsUsedPhysical, "tip.showsUsedPhysical", TipHeading)                 \
  X(TipShowsFreePhysical, "tip.showsFreePhysical", TipHeading)                 \
  X(TipShowsUsedPageFile, "tip.showsUsedPageFile", TipHeading)                 \
  X(TipShowsFreePageFile, "tip.showsFreePageFile", TipHeading)                 \
  X(TipMemoryLoad, "tip.memoryLoad", TipLine)                                  \
  X(TipPhysicalMemory, "tip.physicalMemory", TipLine)                          \
  X(TipPageFile, "tip.pageFile", TipLine)                                      \
  /* byte counts */                                                            \
  X(SizeGigabytes, "size.gigabytes", Plain)                                    \
  X(SizeMegabytes, "size.megabytes", Plain)                                    \
  X(SizeKilobytes, "size.kilobytes", Plain)                                    \
  X(SizeOneByte, "size.oneByte", Plain)                                        \
  X(SizeBytes, "size.bytes", Plain)                                            \
  /* the high memory load alert: balloon, dialog and log */                    \
  X(AlertTitle, "alert.title", BalloonTitle)                                   \
  X(AlertTextAfterRelease, "alert.textAfterRelease", BalloonText)              \
  X(AlertTextWithoutRelease, "alert.textWithoutRelease", BalloonText)          \
  X(AlertButtons, "alert.buttons", Buttons)                                    \
  X(AlertOkButton, "alert.okButton", Buttons)                                  \
  X(DontShowWarningAgain, "common.dontShowWarningAgain", Plain)                \
  X(LogHighLoadLine, "log.highLoadLine", Plain)                                \
  X(ShowLogNothingYet, "showLog.nothingYet", Plain)                            \
  X(ShowLogOnlyAbove, "showLog.onlyAbove", Plain)                              \
  X(ShowLogTitle, "showLog.title", Plain)                                      \
  X(ShowLogSavedIn, "showLog.savedIn", Plain)                                  \
  /* start-up and a second start */                                            \
  X(StartupNeedsWindowsNt, "startup.needsWindowsNt", Plain)                    \
  X(StartupCopyNotResponding, "startup.copyNotResponding", Plain)              \
  X(RunningBalloonTitle, "running.balloonTitle", BalloonTitle)                 \
  X(RunningBalloonText, "running.balloonText", BalloonText)                    \
  /* the about window and its update label */                                  \
  X(AboutTitle, "about.title", Plain)                                          \
  X(AboutVersion, "about.version", Plain)                                      \
  X(AboutSupport, "about.support", Plain)                                      \
  X(AboutDonate, "about.donate", Plain)                                        \
  X(UpdateCheckLink, "update.checkLink", Plain)                                \
  X(UpdateChecking, "update.checking", Plain)                                  \
  X(UpdateAvailable, "update.available", Plain)                                \
  X(UpdateUpToDate, "update.upToDate", Plain)                                  \
  X(UpdateFailed, "update.failed", Plain)                                      \
  /* the welcome window */                                                     \
  X(WelcomeTitle, "welcome.title", Plain)                                      \
  X(WelcomeHeading, "welcome.heading", Plain)                                  \
  X(WelcomeExplanation, "welcome.explanation", Plain)                          \
  X(WelcomeDonation, "welcome.donation", Plain)                                \
  X(WelcomeDontShowAgain, "welcome.dontShowAgain", Plain)                      \
  /* buttons and captions shared by the dialogs */                             \
  X(ButtonOk, "button.ok", Plain)                                              \
  X(ButtonCancel, "button.cancel", Plain)                                      \
  X(ButtonClose, "button.close", Plain)                                        \
  X(ButtonRetry, "button.retry", Plain)                                        \
  X(ButtonYes, "button.yes", Plain)                                            \
  X(ButtonNo, "button.no", Plain)                                              \
  X(MessageWarning, "message.warning", Plain)                                  \
  X(MessageError, "message.error", Plain)                                      \
  X(MessageInformation, "message.information", Plain)                          \
  X(MessageConfirmation, "message.confirmation", Plain)                        \
  /* the process dialog */                                                     \
  X(ProcessInstruction, "process.instruction", Plain)                          \
  X(ProcessName, "process.name", Plain)                                        \
  X(ProcessCompany, "process.company", Plain)                                  \
  X(ProcessVersion, "process.version", Plain)                                  \
  X(ProcessPath, "process.path", Plain)                                        \
  X(ProcessNoInformation, "process.noInformation", Plain)                      \
  X(ProcessWarning, "process.warning", Plain)                                  \
  X(ProcessMaybeSystem, "process.maybeSystem", Plain)                          \
  X(ProcessCopyDetails, "process.copyDetails", Plain)                          \
  X(ProcessSearchOnline, "process.searchOnline", Plain)                        \
  X(ProcessButtons, "process.buttons", Buttons)                                \
  X(ProcessEndFailed, "process.endFailed", Plain)                              \
  X(ProcessReleaseFailed, "process.releaseFailed", Plain)                      \
  X(ProcessReleased, "process.released", BalloonText)                          \
  X(ProcessNothingReleased, "process.nothingReleased", BalloonText)            \
  /* the options dialog */                                                     \
  X(OptionsCaption, "options.caption", Plain)                                  \
  X(OptionsPages, "options.pages", List)                                       \
  X(OptionsShowPageFile, "options.showPageFile", Plain)                        \
  X(OptionsShowFree, "options.showFree", Plain)                                \
  X(OptionsShowPercentage, "options.showPercentage", Plain)                    \
  X(OptionsDescribeInTip, "options.describeInTip", Plain)                      \
  X(OptionsYellowAbove, "options.yellowAbove", Plain)                          \
  X(OptionsRedAbove, "options.redAbove", Plain)                                \
  X(OptionsBarColorsLink, "options.barColorsLink", Plain)                      \
  X(OptionsHighLoadHeading, "options.highLoadHeading", Plain)                  \
  X(OptionsShowBalloon, "options.showBalloon", Plain)                          \
  X(OptionsShowMessageBox, "options.showMessageBox", Plain)                    \
  X(OptionsReleaseOnHighLoad, "options.releaseOnHighLoad", Plain)              \
  X(OptionsWriteLog, "options.writeLog", Plain)                                \
  X(OptionsLanguage, "options.language", Plain)                                \
  X(OptionsLanguageAutomatic, "options.languageAutomatic", Plain)              \
  X(OptionsReleaseEvery, "options.releaseEvery", Plain)                        \
  X(OptionsMinutes, "options.minutes", Plain)                                  \
  X(OptionsReleaseHotKey, "options.releaseHotKey", Plain)                      \
  X(OptionsRefreshInterval, "options.refreshInterval", Plain)                  \
  X(OptionsMilliseconds, "options.milliseconds", Plain)                        \
  X(OptionsDefaultLink, "options.defaultLink", Plain)                          \
  X(OptionsDoubleClick, "options.doubleClick", Plain)                          \
  X(OptionsDoubleClickActions, "options.doubleClickActions", List)             \
  X(OptionsMonitorOffOnLock, "options.monitorOffOnLock", Plain)                \
  X(OptionsMillisecondsNote, "options.millisecondsNote", Plain)                \
  X(OptionsShowTopProcesses, "options.showTopProcesses", Plain)                \
  X(OptionsProcessCount, "options.processCount", Plain)                        \
  X(OptionsProcesses, "options.processes", Plain)                              \
  X(OptionsProcessValue, "options.processValue", Plain)                        \
  X(OptionsProcessValues, "options.processValues", List)                       \
  X(OptionsHighlightAbove, "options.highlightAbove", Plain)                    \
  X(OptionsHighlightColor, "options.highlightColor", Plain)                    \
  X(OptionsShowDescriptions, "options.showDescriptions", Plain)                \
  X(OptionsGroupProcesses, "options.groupProcesses", Plain)                    \
  X(OptionsMore, "options.more", Plain)                                        \
  X(OptionsShowMemoryInfo, "options.showMemoryInfo", Plain)                    \
  X(OptionsFontButton, "options.fontButton", Plain)                            \
  X(OptionsFontDescription, "options.fontDescription", Plain)                  \
  X(OptionsInternalFontPanel, "options.internalFontPanel", Plain)              \
  X(OptionsInternalFont, "options.internalFont", Plain)                        \
  X(OptionsMiniFont, "options.miniFont", Plain)                                \
  X(OptionsValueUnit, "options.valueUnit", Plain)                              \
  X(OptionsTransparent, "options.transparent", Plain)                          \
  X(OptionsStandardBar, "options.standardBar", Plain)                          \
  X(OptionsNoBarBorder, "options.noBarBorder", Plain)                          \
  X(OptionsBarAtBottom, "options.barAtBottom", Plain)                          \
  X(OptionsOpaqueBar, "options.opaqueBar", Plain)                              \
  X(OptionsPercentSign, "options.percentSign", Plain)                          \
  X(OptionsFollowTaskbar, "options.followTaskbar", Plain)                      \
  X(OptionsTheme, "options.theme", Plain)                                      \
  X(OptionsSaveAs, "options.saveAs", Plain)                                    \
  X(OptionsDelete, "options.delete", Plain)                                    \
  X(OptionsItems, "options.items", Plain)                                      \
  X(OptionsColor, "options.color", Plain)                                      \
  X(OptionsApply, "options.apply", Plain)                                      \
  /* language files, as the log names them */                                  \
  X(LanguageFileBuiltIn, "languageFile.builtIn", Plain)                        \
  X(LanguageFileNotTag, "languageFile.notTag", Plain)                          \
  X(LanguageFileDeviceName, "languageFile.deviceName", Plain)                  \
  X(LanguageFileTooLarge, "languageFile.tooLarge", Plain)                      \
  X(LanguageFileNotText, "languageFile.notText", Plain)                        \
  X(LanguageFileUnreadable, "languageFile.unreadable", Plain)                  \
  X(LanguageFileBadEntry, "languageFile.badEntry", Plain)                      \
  X(LanguageFileBadEntries, "languageFile.badEntries", Plain)                  \
  X(LanguageFileSharedAccessKey, "languageFile.sharedAccessKey", Plain)        \
  /* the themes page */                                                        \
  X(ThemeDefaultColors, "theme.defaultColors", Plain)                          \
  X(ThemeCurrentColors, "theme.currentColors", Plain)                          \
  X(ThemeSlotText, "theme.slotText", Plain)                                    \
  X(ThemeSlotBackground, "theme.slotBackground", Plain)                        \
  X(ThemeSlotBarBackground, "theme.slotBarBackground", Plain)                  \
  X(ThemeSlotBarBorder, "theme.slotBarBorder", Plain)                          \
  X(ThemeSlotNormal, "theme.slotNormal", Plain)                                \
  X(ThemeSlotYellow, "theme.slotYellow", Plain)                                \
  X(ThemeSlotRed, "theme.slotRed", Plain)                                      \
  X(ThemeSaveTitle, "theme.saveTitle", Plain)                                  \
  X(ThemeSavePrompt, "theme.savePrompt", Plain)                                \
  X(ThemeReplaceQuestion, "theme.replaceQuestion", Plain)                      \
  X(ThemeDeleteQuestion, "theme.deleteQuestion", Plain)                        \
  /* the colour lists (the system colours keep their own names) */             \
  X(ColorDefault, "color.default", Plain)                                      \
  X(ColorBlack, "color.black", Plain)                                          \
  X(ColorMaroon, "color.maroon", Plain)                                        \
  X(ColorGreen, "color.green", Plain)                                          \
  X(ColorOlive, "color.olive", Plain)                                          \
  X(ColorNavy, "color.navy", Plain)                                            \
  X(ColorPurple, "color.purple", Plain)                                        \
  X(ColorTeal, "color.teal", Plain)                                            \
  X(ColorGray, "color.gray", Plain)                                            \
  X(ColorSilver, "color.silver", Plain)                                        \
  X(ColorRed, "color.red", Plain)                                              \
  X(ColorLime, "color.lime", Plain)                                            \
  X(ColorYellow, "color.yellow", Plain)                                        \
  X(ColorBlue, "color.blue", Plain)                                            \
  X(ColorFuchsia, "color.fuchsia", Plain)                                      \
  X(ColorAqua, "color.aqua", Plain)                                            \
  X(ColorWhite, "color.white", Plain)                                          \
  X(ColorCustom, "color.custom", Plain)                                        \
  X(FontDialogCustomColor, "fontDialog.customColor", Plain)                    \
  /* the monitor switch-off warning on a portable computer */                  \
  X(PortableTitle, "portable.title", Plain)                                    \
  X(PortableInstruction, "portable.instruction", Plain)                        \
  X(PortableContent, "portable.content", Plain)                                \
  X(PortableButtons, "portable.buttons", Buttons)                              \
  /* errors */                                                                 \
  X(ErrorCannotOpen, "error.cannotOpen", Plain)                                \
  X(ErrorLogCannotOpen, "error.logCannotOpen", Plain)                          \
  X(ErrorLogCannotWrite, "error.logCannotWrite", Plain)                        \
  X(ErrorCode, "error.code", Plain)                                            \
  X(ErrorUnableToWrite, "error.unableToWrite", Plain)                          \
  X(ErrorClipboard, "error.clipboard", Plain)                                  \
  X(ErrorCannotCopy, "error.cannotCopy", Plain)                                \
  X(ErrorUnknown, "error.unknown", Plain)                                      \
  X(ErrorNoApplicationWindow, "error.noApplicationWindow", Plain)              \
  X(ErrorNoMainWindow, "error.noMainWindow", Plain)                            \
  X(ErrorNoOptionsDialog, "error.noOptionsDialog", Plain)                      \
  X(ErrorNoMenuWindow, "error.noMenuWindow", Plain)                            \
  X(ErrorNoNotificationWindow, "error.noNotificationWindow", Plain)            \
  X(ErrorNoProcessDialogsWindow, "error.noProcessDialogsWindow", Plain)        \
  X(ErrorNoProcessDialog, "error.noProcessDialog", Plain)                      \
  X(ErrorNoWelcomeWindow, "error.noWelcomeWindow", Plain)                      \
  X(LogMessageLoopFailed, "log.messageLoopFailed", Plain)                      \
  /* the memory history */                                                     \
  X(HistoryWindowTitle, "history.windowTitle", Plain)                          \
  X(HistoryRangeHour, "history.rangeHour", Plain)                              \
  X(HistoryRangeDay, "history.rangeDay", Plain)                                \
  X(HistoryRangeWeek, "history.rangeWeek", Plain)                              \
  X(HistoryRangeMonth, "history.rangeMonth", Plain)                            \
  X(HistoryExportCsv, "history.exportCsv", Plain)                              \
  X(HistoryGrowers, "history.growers", Plain)                                  \
  X(HistoryGrowersLastDay, "history.growersLastDay", Plain)                    \
  X(HistoryNoGrowers, "history.noGrowers", Plain)                              \
  X(HistoryWindowTooSmall, "history.windowTooSmall", Plain)                    \
  X(HistoryNotRunning, "history.notRunning", Plain)                            \
  X(HistoryNotRecorded, "history.notRecorded", Plain)                          \
  X(HistoryMomentLoad, "history.momentLoad", Plain)                            \
  X(HistoryMomentUsedPhysical, "history.momentUsedPhysical", Plain)            \
  X(HistoryMomentAlert, "history.momentAlert", Plain)                          \
  X(HistoryMomentReleased, "history.momentReleased", Plain)                    \
  X(HistoryMomentNothingReleased, "history.momentNothingReleased", Plain)      \
  X(HistorySourceMenu, "history.sourceMenu", Plain)                            \
  X(HistorySourceHotKey, "history.sourceHotKey", Plain)                        \
  X(HistorySourceDoubleClick, "history.sourceDoubleClick", Plain)              \
  X(HistorySourceTimer, "history.sourceTimer", Plain)                          \
  X(HistorySourceHighLoad, "history.sourceHighLoad", Plain)                    \
  X(HistorySourceCommandLine, "history.sourceCommandLine", Plain)              \
  X(HistoryReleased, "history.released", BalloonText)                          \
  X(HistoryNothingReleased, "history.nothingReleased", BalloonText)            \
  X(HistoryCsvColumns, "history.csvColumns", List)                             \
  X(HistoryCsvMinute, "history.csvMinute", Plain)                              \
  X(HistoryCsvStart, "history.csvStart", Plain)                                \
  X(HistoryCsvExit, "history.csvExit", Plain)                                  \
  X(HistoryCsvAlert, "history.csvAlert", Plain)                                \
  X(HistoryCsvRelease, "history.csvRelease", Plain)                            \
  X(HistoryCsvFiles, "history.csvFiles", Plain)                                \
  X(HistoryAllFiles, "history.allFiles", Plain)                                \
  X(HistoryCannotCopy, "history.cannotCopy", Plain)                            \
  X(HistoryCannotWrite, "history.cannotWrite", Plain)                          \
  X(HistoryCannotRead, "history.cannotRead", Plain)                            \
  X(HistoryNotHistoryFile, "history.notHistoryFile", Plain)                    \
  X(HistoryKeptAside, "history.keptAside", Plain)                              \
  X(HistoryCannotKeepAside, "history.cannotKeepAside", Plain)                  \
  X(HistoryInMemory, "history.inMemory", Plain)                                \
  X(HistoryNotDiskFile, "history.notDiskFile", Plain)                          \
  X(HistoryRepairedGrown, "history.repairedGrown", Plain)                      \
  X(HistoryRepairedCut, "history.repairedCut", Plain)                          \
  X(HistoryNoWindow, "history.noWindow", Plain)                                \
  /* the command line */                                                       \
  X(CommandLineUsage, "commandLine.usage", Plain)                              \
  X(CommandLineHistory, "commandLine.history", Plain)                          \
  X(CommandLineSettings, "commandLine.settings", Plain)                        \
  X(CommandLineRelease, "commandLine.release", Plain)                          \
  X(CommandLineExit, "commandLine.exit", Plain)                                \
  X(CommandLineExportOperands, "commandLine.exportOperands", Plain)            \
  X(CommandLineExport, "commandLine.export", Plain)                            \
  X(CommandLineHelp, "commandLine.help", Plain)                                \
  X(CommandLineWithoutCopy, "commandLine.withoutCopy", Plain)                  \
  X(CommandLineExitCodes, "commandLine.exitCodes", Plain)                      \
  X(CommandLineNeedsFile, "commandLine.needsFile", Plain)                      \
  X(CommandLineExtraArgument, "commandLine.extraArgument", Plain)              \
  X(CommandLineBadDays, "commandLine.badDays", Plain)                          \
  X(CommandLineUnknownArgument, "commandLine.unknownArgument", Plain)          \
  X(CommandLineUnknownSwitch, "commandLine.unknownSwitch", Plain)              \
  X(CommandLineQuiet, "commandLine.quiet", Plain)                              \
  X(CommandLineQuietAlone, "commandLine.quietAlone", Plain)                    \
  X(CommandLineNotUnderstood, "commandLine.notUnderstood", Plain)              \
  X(ExportProgramFile, "commandLine.exportProgramFile", Plain)                 \
  X(ExportNotDiskFile, "commandLine.exportNotDiskFile", Plain)                 \
  X(ExportReadOnly, "commandLine.exportReadOnly", Plain)

// What the code around a text relies on; every language keeps it.
enum class TextShape : std::uint8_t {
  Plain,
  List,          // items split at '|': as many as in English
  Buttons,       // button captions split at line breaks: as many as in English
  TipHeading,    // a line of the tip and a menu line: no ':' and no line break
  TipLine,       // a line of the tip that the menu splits at its first ':', which comes before any value
  BalloonTitle,  // at most kBalloonTitleBytes in the system code page
  BalloonText,   // at most kBalloonTextBytes in the system code page
};

enum class TextId : std::uint16_t {
#define KELVANE_TEXT_ID(id, name, shape) id,
  KELVANE_TEXT_KEYS(KELVANE_TEXT_ID)
#undef KELVANE_TEXT_ID
};

inline constexpr std::size_t kTextCount = 0
#define KELVANE_TEXT_ONE(id, name, shape) +1
    KELVANE_TEXT_KEYS(KELVANE_TEXT_ONE)
#undef KELVANE_TEXT_ONE
    ;

// The platform's byte limits (NOTIFYICONDATA): the tip, and a balloon's title and text, each
// counted without the terminating zero.
inline constexpr std::size_t kTipBytes = 127;
inline constexpr std::size_t kBalloonTitleBytes = 63;
inline constexpr std::size_t kBalloonTextBytes = 255;

struct TextEntry {
  TextId id;
  std::string_view text;
};
// A built-in language: one entry per key, in the order of the keys.
using TextTable = std::array<TextEntry, kTextCount>;

const TextTable& simplifiedChineseTexts();
const TextTable& englishTexts();

constexpr bool inKeyOrder(const TextTable& table) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (static_cast<std::size_t>(table[i].id) != i) return false;
  return true;
}

constexpr std::size_t textIndex(TextId id) { return static_cast<std::size_t>(id); }
std::string_view textKeyName(TextId id);
TextShape textShape(TextId id);
std::optional<TextId> textIdNamed(std::string_view name);

// Fills each "{name}" of `pattern` with the value given for that name. A brace that does not
// open a known name's placeholder stays as it is, so a stray brace in a translation shows
// instead of vanishing.
using TextArgument = std::pair<std::string_view, std::string_view>;
std::string formatText(std::string_view pattern, std::span<const TextArgument> arguments);
inline std::string formatText(std::string_view pattern, std::initializer_list<TextArgument> arguments) {
  return formatText(pattern, std::span<const TextArgument>(arguments.begin(), arguments.size()));
}

// The placeholder names of a text, sorted, each once.
std::vector<std::string> placeholdersOf(std::string_view text);

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValidUtf8(std::string_view text);

// The size of a UTF-8 text in a double-byte system code page (code page 936 and its kind):
// an ASCII character is one byte, any other character of the basic plane two. A character
// beyond it counts four (a surrogate pair, as the conversion sees it). Exact for the built-in
// languages' characters; an estimate for the rest, which the shell's cut settles.
std::size_t ansiByteEstimate(std::string_view utf8);

// The longest start of `utf8` whose ansiByteEstimate is at most `maxBytes`, ending on a
// character boundary.
std::string_view cutToAnsiEstimate(std::string_view utf8, std::size_t maxBytes);

}  // namespace kelvane
