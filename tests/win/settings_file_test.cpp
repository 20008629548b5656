// The settings file and theme folder on a real (Wine) file system.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "common/text_win.h"
#include "scratch_folder_win.h"
#include "settings/color_text.h"
#include "settings/settings_file_win.h"
#include "settings/theme_folder_win.h"
#include "settings/visual_style_win.h"

using namespace kelvane;
using kelvane::testing::ScratchFolder;

namespace {

struct Layout {
  ScratchFolder root;
  SettingsFolders folders;
  Layout() {
    folders.programFolder = root.path() + L"Program Files\\Kelvane\\";
    folders.appDataFolder = root.path() + L"AppData\\Roaming";
    SHCreateDirectoryExW(nullptr, folders.programFolder.c_str(), nullptr);
    CreateDirectoryW((root.path() + L"AppData").c_str(), nullptr);
    CreateDirectoryW(folders.appDataFolder.c_str(), nullptr);
  }
  std::wstring userFolder() const { return folders.appDataFolder + L"\\Brimvale\\Kelvane\\"; }
};

bool isFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const SettingsContext kContext{6, "C:\\default.log"};

}  // namespace

TEST(SettingsFolders, PortableModeLogAndThemeFolders) {
  Layout layout;
  bool portable = true;
  EXPECT_EQ(GetSettingsFileName(layout.folders, portable), layout.userFolder() + L"Kelvane.Settings");
  EXPECT_FALSE(portable);
  EXPECT_TRUE(isFolder(layout.userFolder()));  // created with its missing parents
  EXPECT_EQ(GetDefaultLogFileName(layout.folders, false), layout.userFolder() + L"Kelvane.log");
  EXPECT_EQ(GetDataFolder(layout.folders, false, true), layout.userFolder() + L"Themes\\");
  EXPECT_TRUE(isFolder(layout.userFolder() + L"Themes\\"));

  // A Kelvane.log beside the program is the default log, while the settings stay per user.
  ScratchFolder::writeBytes(layout.folders.programFolder + L"Kelvane.log", "");
  EXPECT_EQ(GetDefaultLogFileName(layout.folders, false), layout.folders.programFolder + L"Kelvane.log");
  EXPECT_EQ(GetSettingsFileName(layout.folders, portable), layout.userFolder() + L"Kelvane.Settings");
  EXPECT_FALSE(portable);

  // An empty settings file beside the program switches to portable use.
  ScratchFolder::writeBytes(layout.folders.programFolder + L"Kelvane.Settings", "");
  EXPECT_EQ(GetSettingsFileName(layout.folders, portable),
            layout.folders.programFolder + L"Kelvane.Settings");
  EXPECT_TRUE(portable);
  EXPECT_EQ(GetDataFolder(layout.folders, true, true), layout.folders.programFolder + L"Themes\\");
  EXPECT_TRUE(isFolder(layout.folders.programFolder + L"Themes\\"));

  EXPECT_TRUE(FileExistsOnReadyDrive(layout.folders.programFolder + L"Kelvane.Settings"));
  EXPECT_FALSE(FileExistsOnReadyDrive(layout.folders.programFolder + L"nothing"));
  EXPECT_FALSE(FileExistsOnReadyDrive(layout.folders.programFolder));  // a folder is no file
  EXPECT_FALSE(FileExistsOnReadyDrive(L""));
  EXPECT_FALSE(FileExistsOnReadyDrive(L"Q:\\Kelvane.Settings"));  // no such drive, no pop-up
  EXPECT_FALSE(FileExistsOnReadyDrive(L".\\Kelvane.Settings"));
}

TEST(SettingsFile, FirstRunSaveAndWhatSurvivesIt) {
  Layout layout;
  const std::wstring path = layout.folders.programFolder + L"Kelvane.Settings";
  ScratchFolder::writeBytes(path, "");
  LoadedOptions loaded = loadOptionsFromFile(path, kContext);
  EXPECT_TRUE(loaded.firstRun);
  EXPECT_EQ(loaded.options.LogFile, "C:\\default.log");
  ASSERT_TRUE(saveOptionsToFile(path, loaded.options));
  const std::string saved = ScratchFolder::readBytes(path);
  EXPECT_EQ(saved.rfind("[General]\r\nWarn=1\r\n", 0), 0u) << saved;
  EXPECT_EQ(saved.find("LogFile"), std::string::npos);
  EXPECT_FALSE(loadOptionsFromFile(path, kContext).firstRun);
  // Only the settings file is left in the folder: no temporary file stays behind.
  EXPECT_EQ(layout.root.listing(), L"AppData;Program Files;");
  WIN32_FIND_DATAW found{};
  int files = 0;
  const HANDLE search = FindFirstFileW((layout.folders.programFolder + L"*").c_str(), &found);
  do files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
  while (FindNextFileW(search, &found));
  FindClose(search);
  EXPECT_EQ(files, 1);

  // A hand-written LogFile, comments, unknown keys and bytes that are no text in the code page
  // all survive a save; only the changed value is rewritten.
  const std::string handMade = utf8ToAnsi("; 我的设置\r\n") + "; odd \xFF\x81 bytes\r\n" +
                               "[General]\r\nLogFile=D:\\my.log\r\nWarn=0\r\nFuture=7\r\n";
  ScratchFolder::writeBytes(path, handMade);
  loaded = loadOptionsFromFile(path, kContext);
  EXPECT_EQ(loaded.options.LogFile, "D:\\my.log");
  EXPECT_FALSE(loaded.options.Warn);
  loaded.options.Warn = true;
  loaded.options.LogFile = "E:\\changed.log";
  ASSERT_TRUE(saveOptionsToFile(path, loaded.options));
  const std::string after = ScratchFolder::readBytes(path);
  const std::string expectedStart = utf8ToAnsi("; 我的设置\r\n") + "; odd \xFF\x81 bytes\r\n" +
                                    "[General]\r\nLogFile=D:\\my.log\r\nWarn=1\r\nFuture=7\r\nWarnMsgBox=0\r\n";
  EXPECT_EQ(after.substr(0, expectedStart.size()), expectedStart);

  // What the system's profile functions read from the saved file is what was saved.
  const std::string ansiPath = utf8ToAnsi(toUtf8(path));
  char buffer[64] = "";
  GetPrivateProfileStringA("Colors", "GreenColor", "", buffer, sizeof buffer, ansiPath.c_str());
  EXPECT_STREQ(buffer, "Automatic");
  EXPECT_EQ(GetPrivateProfileIntA("Font", "Color", 0, ansiPath.c_str()), -16777208);
}

TEST(SettingsFile, ReadOnlyFileIsLeftAloneAndReported) {
  Layout layout;
  const std::wstring path = layout.userFolder() + L"Kelvane.Settings";
  GetDataFolder(layout.folders, false, false);
  const std::string original = "[General]\r\nShowPercentage=1\r\nWarn=0\r\n";
  ScratchFolder::writeBytes(path, original);
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  TKelvaneOptions options = loadOptionsFromFile(path, kContext).options;
  options.Warn = true;
  EXPECT_FALSE(saveOptionsToFile(path, options));
  EXPECT_EQ(ScratchFolder::readBytes(path), original);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

  // A folder that does not exist cannot be written to either.
  EXPECT_FALSE(saveOptionsToFile(layout.root.path() + L"missing\\Kelvane.Settings", options));
}

TEST(SettingsFile, CustomColorsUnderTheirChineseSection) {
  Layout layout;
  const std::wstring path = layout.userFolder() + L"Kelvane.Settings";
  GetDataFolder(layout.folders, false, false);
  std::array<std::uint32_t, kCustomColorCount> colors{};
  colors.fill(0xFFFFFFFFu);
  colors[0] = 0x00FF00;
  ASSERT_TRUE(editIniFile(path, [&](IniDocument& ini) { WriteCustomColors(ini, colors); }));
  char buffer[32] = "";
  GetPrivateProfileStringA(utf8ToAnsi("自定义颜色").c_str(), "ColorA", "", buffer, sizeof buffer,
                           utf8ToAnsi(toUtf8(path)).c_str());
  EXPECT_STREQ(buffer, "00FF00");
  const auto text = readTextFile(path);
  ASSERT_TRUE(text);
  EXPECT_EQ(ReadCustomColors(IniDocument::parse(text->text))[0], 0x00FF00u);
}

TEST(ThemeFolder, SavingListingAndTheFirstRunTheme) {
  Layout layout;
  const std::wstring themes = GetDataFolder(layout.folders, false, true);
  EXPECT_TRUE(ListThemeNames(themes).empty());

  ThemeColors colors;
  colors.texts = {"FFFFFF", "202020", "-1", "ButtonShadow", "00C000", "-1", "FF0000"};
  colors.transBk = false;
  colors.fullBar = true;
  const std::string name = MakeValidFileName("a/b:c");
  ASSERT_TRUE(SaveThemeFile(ThemeFilePath(themes, name), name, colors));
  EXPECT_TRUE(FileExistsOnReadyDrive(themes + L"a_b_c.Kelvane Theme"));
  ScratchFolder::writeBytes(themes + L"notes.txt", "x");
  ScratchFolder::writeBytes(themes + L"Hidden.Kelvane Theme", "");
  SetFileAttributesW((themes + L"Hidden.Kelvane Theme").c_str(), FILE_ATTRIBUTE_HIDDEN);
  auto names = ListThemeNames(themes);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Hidden", "a_b_c"}));
  EXPECT_EQ(readThemeFileAt(ThemeFilePath(themes, "a_b_c")), colors);
  EXPECT_EQ(readThemeFileAt(ThemeFilePath(themes, "absent")).texts, ThemeColors{}.texts);

  // Wine reports the "Blue" scheme of its own theme and no desktop composition, which is the
  // "anything else" case: the system-colours theme.
  const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  const int style = DetectVisualStyle();
  if (underWine) {
    EXPECT_EQ(style, 5);
  }
  EXPECT_GE(style, 0);
  EXPECT_LE(style, 5);

  TKelvaneOptions options = defaultOptions(6);
  applyFirstRunThemeFromFolder(options, themes, style);  // no such file yet: nothing changes
  EXPECT_EQ(options, defaultOptions(6));
  const std::string firstRunFile(FirstRunThemeFileName(style));
  const std::string firstRunName = firstRunFile.substr(0, firstRunFile.size() - kThemeFileExtension.size());
  ASSERT_TRUE(SaveThemeFile(ThemeFilePath(themes, firstRunName), firstRunName, colors));
  applyFirstRunThemeFromFolder(options, themes, style);
  EXPECT_EQ(options.FontColor, clWhite);
  EXPECT_EQ(options.Font.Color, clWhite);
  EXPECT_EQ(options.OpaqueBkColor, rgbColor(0x20, 0x20, 0x20));
  EXPECT_EQ(options.FullBarColor, clAutomatic);
  EXPECT_EQ(options.BarBorderColor, systemColor(16));
  EXPECT_EQ(options.RedColor, 0x0000FF);
  EXPECT_FALSE(options.TransBk);
  EXPECT_TRUE(options.FullBar);
}

TEST(SettingsFile, UnicodeFilesStayUnicode) {
  Layout layout;
  const std::wstring path = layout.folders.programFolder + L"Kelvane.Settings";
  const std::wstring content = L"[General]\r\nShowPercentage=1\r\nWarn=0\r\n[自定义颜色]\r\nColorA=00FF00\r\n";
  std::string littleEndian = "\xFF\xFE", bigEndian = "\xFE\xFF";
  for (wchar_t c : content) {
    littleEndian += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    bigEndian += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  const std::string utf8 = "\xEF\xBB\xBF" + toUtf8(content);
  // The mark and the lines before the first new key are kept as they were.
  const std::size_t keptCharacters = std::wstring(L"[General]\r\nShowPercentage=1\r\nWarn=0\r\n").size();
  for (const auto& [bytes, kept] : {std::pair{littleEndian, 2 + 2 * keptCharacters},
                                    std::pair{bigEndian, 2 + 2 * keptCharacters},
                                    std::pair{utf8, 3 + keptCharacters}}) {
    ScratchFolder::writeBytes(path, bytes);
    const LoadedOptions loaded = loadOptionsFromFile(path, kContext);
    EXPECT_FALSE(loaded.firstRun);
    EXPECT_FALSE(loaded.options.Warn);
    ASSERT_TRUE(saveOptionsToFile(path, loaded.options));
    const std::string after = ScratchFolder::readBytes(path);
    EXPECT_EQ(after.substr(0, kept), bytes.substr(0, kept));
    const auto text = readTextFile(path);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->encoding, splitByteOrderMark(bytes).encoding);
    const IniDocument saved = IniDocument::parse(text->text);
    EXPECT_EQ(saved.sectionNames(), (std::vector<std::string>{"General", "自定义颜色", "Font", "Colors"}));
    EXPECT_EQ(saved.get("General", "RefreshRate"), "1000");
    EXPECT_EQ(ReadCustomColors(saved)[0], 0x00FF00u);
  }
  // The profile functions read the little-endian file as we wrote it.
  ScratchFolder::writeBytes(path, littleEndian);
  ASSERT_TRUE(saveOptionsToFile(path, loadOptionsFromFile(path, kContext).options));
  wchar_t value[32] = L"";
  GetPrivateProfileStringW(L"General", L"RefreshRate", L"", value, 32, path.c_str());
  EXPECT_STREQ(value, L"1000");
  GetPrivateProfileStringW(L"自定义颜色", L"ColorA", L"", value, 32, path.c_str());
  EXPECT_STREQ(value, L"00FF00");
}

TEST(SettingsFile, StaleSaveTemporariesGoAndNothingElse) {
  Layout layout;
  const std::wstring data = GetDataFolder(layout.folders, false, false);
  const std::wstring themes = GetDataFolder(layout.folders, false, true);
  // A process of ours that is still running (started suspended, ended below) may be saving.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION running{};
  ASSERT_TRUE(CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             nullptr, &startup, &running));
  const std::wstring runningPid = std::to_wstring(running.dwProcessId);
  const std::wstring selfPid = std::to_wstring(GetCurrentProcessId());
  const std::vector<std::wstring> stale = {
      data + L"Kelvane.Settings.4000001-0.kelvane-save", data + L"Kelvane.Settings." + selfPid + L"-3.kelvane-save",
      themes + L"Windows Aero.Kelvane Theme.4000002-1.kelvane-save"};
  const std::vector<std::wstring> kept = {
      data + L"Kelvane.Settings." + runningPid + L"-0.kelvane-save", data + L"kel1A2B.tmp",
      data + L"notes.kelvane-save", data + L"Kelvane.Settings.12-x.kelvane-save", themes + L"mine.tmp"};
  for (const auto& path : stale) ScratchFolder::writeBytes(path, "[General]\r\n");
  for (const auto& path : kept) ScratchFolder::writeBytes(path, "user");
  removeStaleSaveFiles(layout.folders, false);
  TerminateProcess(running.hProcess, 0);
  CloseHandle(running.hThread);
  CloseHandle(running.hProcess);
  for (const auto& path : stale) EXPECT_FALSE(FileExistsOnReadyDrive(path)) << toUtf8(path);
  for (const auto& path : kept) EXPECT_EQ(ScratchFolder::readBytes(path), "user") << toUtf8(path);

  // A save leaves no temporary behind, also when an old one holds its first name.
  const std::wstring path = data + L"Kelvane.Settings";
  const std::wstring first = data + L"Kelvane.Settings." + selfPid + L"-0.kelvane-save";
  ScratchFolder::writeBytes(first, "older");
  ASSERT_TRUE(saveOptionsToFile(path, defaultOptions(6)));
  EXPECT_EQ(ScratchFolder::readBytes(first), "older");
  DeleteFileW(first.c_str());
  for (const auto& name : kept) DeleteFileW(name.c_str());
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((data + L"*.kelvane-save").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST(ThemeFolder, DeliveredThemesFillAnEmptyFolderAndNeverReplaceTheUsers) {
  Layout layout;
  const std::wstring themes = GetDataFolder(layout.folders, false, true);
  ScratchFolder::writeBytes(themes + L"Mine.Kelvane Theme", "[KelvaneTheme]\r\nName=Mine\r\n");
  deliverThemeFiles(themes);
  auto names = ListThemeNames(themes);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Mine", "System Colors", "Windows Aero", "Windows XP Style (Blue)",
                                             "Windows XP Style (Olive Green)", "Windows XP Style (Silver)"}));
  for (int style = 1; style <= 5; ++style) {
    const std::wstring path = themes + toWide(std::string(FirstRunThemeFileName(style)));
    const auto text = readTextFile(path);
    ASSERT_TRUE(text);
    const IniDocument theme = IniDocument::parse(text->text);
    EXPECT_EQ(theme.get(kThemeSection, "Name").value_or("") + std::string(kThemeFileExtension),
              FirstRunThemeFileName(style));
    for (const std::string& color : ReadThemeFile(theme).texts) EXPECT_NE(TextToColor(color), clAutomatic);
  }
  EXPECT_EQ(ScratchFolder::readBytes(themes + L"Mine.Kelvane Theme"), "[KelvaneTheme]\r\nName=Mine\r\n");

  // The first run on Wine takes the system colours from what was delivered.
  TKelvaneOptions options = defaultOptions(6);
  applyFirstRunThemeFromFolder(options, themes, 5);
  EXPECT_EQ(options.GreenColor, rgbColor(0x00, 0xC0, 0x00));

  // A folder that holds one of them, in the user's own version, gets nothing.
  const std::wstring own = themes + L"System Colors.Kelvane Theme";
  for (int style = 1; style <= 5; ++style)
    DeleteFileW((themes + toWide(std::string(FirstRunThemeFileName(style)))).c_str());
  ScratchFolder::writeBytes(own, "[KelvaneTheme]\r\nGreenColor=123456\r\n");
  deliverThemeFiles(themes);
  EXPECT_EQ(ListThemeNames(themes).size(), 2u);
  EXPECT_EQ(ScratchFolder::readBytes(own), "[KelvaneTheme]\r\nGreenColor=123456\r\n");
}

// A listed theme is read only from a file of at most 1 MB, and read or deleted only inside the
// theme folder.
TEST(ThemeFolder, ListedThemesAreSmallFilesInsideTheFolder) {
  Layout layout;
  const std::wstring themes = GetDataFolder(layout.folders, false, true);
  const std::string theme = "[KelvaneTheme]\r\nGreenColor=00C000\r\n";
  const ThemeColors unreadable = readThemeFileAt(themes + L"absent.Kelvane Theme");
  for (const std::size_t size : {kMaxThemeFileBytes, kMaxThemeFileBytes + 1}) {
    ScratchFolder::writeBytes(themes + L"Big.Kelvane Theme", theme + std::string(size - theme.size(), ' '));
    EXPECT_EQ(readListedTheme(themes, "Big").texts[4], size == kMaxThemeFileBytes ? "00C000" : "-1");
  }
  const std::wstring outside = layout.userFolder() + L"victim.Kelvane Theme";
  ScratchFolder::writeBytes(outside, theme);
  EXPECT_EQ(readListedTheme(themes, "..\\victim"), unreadable);
  deleteListedTheme(themes, "..\\victim");
  EXPECT_EQ(ScratchFolder::readBytes(outside), theme);
}
