// Theme files, the first-run theme and the folder rules.
#include "settings/theme_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/color_text.h"
#include "settings/settings_paths.h"

using namespace kelvane;

namespace {

ThemeColors readTheme(const std::string& text) { return ReadThemeFile(IniDocument::parse(text)); }

}  // namespace

TEST(ThemeFile, ReadingVersionsAndMissingKeys) {
  const ThemeColors empty = readTheme("");
  EXPECT_EQ(empty.texts, ThemeColors{}.texts);  // all "-1"; Ver 22, OpaqueBackground false
  EXPECT_TRUE(empty.transBk);
  EXPECT_FALSE(empty.fullBar);

  EXPECT_FALSE(readTheme("[KelvaneTheme]\r\nVer=22\r\nOpaqueBackground=1\r\n").transBk);
  EXPECT_TRUE(readTheme("[KelvaneTheme]\r\nVer=21\r\nOpaqueBackground=1\r\n").transBk);
  EXPECT_FALSE(readTheme("[KelvaneTheme]\r\nVer=21\r\nOpaqueBackground=0\r\n").transBk);
  EXPECT_FALSE(readTheme("[KelvaneTheme]\r\nOpaqueBackground=1\r\n").transBk);

  const ThemeColors t = readTheme(
      "[kelvanetheme]\r\nFontColor=WindowText\r\nBackgroundColor=#102030\r\nBarColor=junk\r\n"
      "RedColor=-1\r\nBarOpaqueBackground=1\r\n");
  EXPECT_EQ(t.texts[0], "WindowText");
  EXPECT_EQ(t.texts[1], "#102030");
  EXPECT_EQ(t.texts[2], "junk");  // taken as it stands
  EXPECT_EQ(t.texts[3], "-1");
  EXPECT_EQ(t.texts[6], "-1");
  EXPECT_TRUE(t.fullBar);
}

TEST(ThemeFile, WritingAndApplying) {
  TKelvaneOptions o = defaultOptions(10);
  o.FontColor = 0x0000FF;
  ApplyFontColor(o);
  o.OpaqueBkColor = systemColor(15);
  o.RedColor = rgbColor(0xCC, 0, 0);
  o.TransBk = true;
  const ThemeColors colors = ThemeColorsFromOptions(o);
  EXPECT_EQ(colors.texts[0], "FF0000");
  EXPECT_EQ(colors.texts[1], "ThreeDFace");
  EXPECT_EQ(colors.texts[2], "-1");
  EXPECT_EQ(colors.texts[6], "CC0000");

  IniDocument file = IniDocument::parse("[KelvaneTheme]\r\nAuthor=me\r\nRedColor=000000\r\n");
  WriteThemeFile(file, "My theme", colors);
  EXPECT_EQ(file.serialize(),
            "[KelvaneTheme]\r\nAuthor=me\r\nRedColor=CC0000\r\nVer=22\r\nName=My theme\r\n"
            "FontColor=FF0000\r\nBackgroundColor=ThreeDFace\r\nBarColor=-1\r\n"
            "BarBorderColor=-1\r\nGreenColor=-1\r\nYellowColor=-1\r\nOpaqueBackground=0\r\n"
            "BarOpaqueBackground=0\r\n");
  EXPECT_EQ(ReadThemeFile(file), colors);

  // The dialog's OK: every slot is set, "-1" and unreadable texts to automatic.
  ThemeColors picked = colors;
  picked.texts[0] = "-1";
  picked.texts[4] = "nonsense";
  picked.transBk = false;
  picked.fullBar = true;
  TKelvaneOptions applied = o;
  applied.GreenColor = 0x123456;
  ApplyThemeColors(applied, picked);
  EXPECT_EQ(applied.FontColor, clAutomatic);
  EXPECT_EQ(applied.Font.Color, clBlack);
  EXPECT_EQ(applied.GreenColor, clAutomatic);
  EXPECT_EQ(applied.OpaqueBkColor, systemColor(15));
  EXPECT_FALSE(applied.TransBk);
  EXPECT_TRUE(applied.FullBar);

  // The first run keeps the loaded value where the theme says "-1".
  TKelvaneOptions first = defaultOptions(10);
  first.GreenColor = 0x123456;
  ApplyFirstRunTheme(first, picked);
  EXPECT_EQ(first.GreenColor, clAutomatic);  // "nonsense" is applied, as automatic
  EXPECT_EQ(first.FontColor, systemColor(COLOR_WINDOWTEXT_INDEX));
  EXPECT_EQ(first.RedColor, rgbColor(0xCC, 0, 0));
  EXPECT_TRUE(first.FullBar);
  TKelvaneOptions untouched = defaultOptions(10);
  untouched.BarBorderColor = 0x654321;
  ApplyFirstRunTheme(untouched, ThemeColors{});
  EXPECT_EQ(untouched.BarBorderColor, 0x654321);
}

TEST(ThemeFile, FirstRunReadsTheBackgroundSwitchWhateverTheVersion) {
  const IniDocument old = IniDocument::parse("[KelvaneTheme]\r\nVer=21\r\nOpaqueBackground=1\r\n");
  EXPECT_TRUE(ReadThemeFile(old).transBk);            // the theme page honours the old meaning
  EXPECT_FALSE(ReadFirstRunThemeFile(old).transBk);   // the first run does not
  const IniDocument current = IniDocument::parse("[KelvaneTheme]\r\nVer=22\r\nOpaqueBackground=0\r\n");
  EXPECT_TRUE(ReadFirstRunThemeFile(current).transBk);
  EXPECT_TRUE(ReadFirstRunThemeFile(IniDocument::parse("")).transBk);  // no switch: default false
}

TEST(ThemeFile, NamesAndVisualStyles) {
  EXPECT_EQ(MakeValidFileName("a/b:c"), "a_b_c");
  EXPECT_EQ(MakeValidFileName("|<>\"?*:/\\ok"), "_________ok");
  EXPECT_EQ(MakeValidFileName(std::string(300, 'x')), std::string(255, 'x'));
  EXPECT_EQ(MakeValidFileName(std::string(255, 'x')), std::string(255, 'x'));
  EXPECT_EQ(MakeValidFileName("tab\there\x01"), "tab_here_");
  EXPECT_EQ(MakeValidFileName("con"), "_con");
  EXPECT_EQ(MakeValidFileName("LPT1 .x"), "_LPT1 .x");
  EXPECT_EQ(MakeValidFileName("nul.txt"), "_nul.txt");
  EXPECT_EQ(MakeValidFileName("Console"), "Console");
  EXPECT_EQ(MakeValidFileName("COM0"), "COM0");
  std::string chinese;
  for (int i = 0; i < 300; ++i) chinese += "主";
  EXPECT_EQ(MakeValidFileName(chinese).size(), 255u * 3);

  EXPECT_EQ(ThemeNamesFromListing({"a_b_c.Kelvane Theme", "notes.txt", "Old.kelvane theme",
                                   ".Kelvane Theme", "x.Kelvane Themes"}),
            (std::vector<std::string>{"a_b_c", "Old", ""}));

  EXPECT_EQ(VisualStyleFromSystem(10, 0, true, true, "NormalColor"), 0);
  EXPECT_EQ(VisualStyleFromSystem(6, 1, true, false, " NormalColor "), 1);
  EXPECT_EQ(VisualStyleFromSystem(6, 1, true, false, "Blue"), 5);  // what Wine reports
  EXPECT_EQ(VisualStyleFromSystem(5, 1, true, false, "NormalColor"), 2);
  EXPECT_EQ(VisualStyleFromSystem(5, 2, true, false, "HomeStead"), 3);
  EXPECT_EQ(VisualStyleFromSystem(5, 1, true, false, "Metallic"), 4);
  EXPECT_EQ(VisualStyleFromSystem(5, 1, true, false, " Metallic"), 5);  // exact before Vista
  EXPECT_EQ(VisualStyleFromSystem(5, 0, true, false, "NormalColor"), 5);
  EXPECT_EQ(VisualStyleFromSystem(5, 1, false, false, "NormalColor"), 5);
  EXPECT_EQ(FirstRunThemeFileName(0), "Windows Aero.Kelvane Theme");
  EXPECT_EQ(FirstRunThemeFileName(1), "Windows Aero.Kelvane Theme");
  EXPECT_EQ(FirstRunThemeFileName(3), "Windows XP Style (Olive Green).Kelvane Theme");
  EXPECT_EQ(FirstRunThemeFileName(5), "System Colors.Kelvane Theme");
}

// A listed name is read and deleted as theme folder + name + extension. The list keeps exactly
// the names that saving could have made: no device, no separator, and every saved theme.
TEST(ThemeFile, ListingKeepsOnlyNamesSavingCouldHaveMade) {
  EXPECT_EQ(ThemeNamesFromListing({"AUX.Kelvane Theme", "aux .Kelvane Theme", "Com1.bak.Kelvane Theme",
                                   "lpt9 .x.Kelvane Theme", "nUl.Kelvane Theme", "COM¹.Kelvane Theme",
                                   "..\\victim.Kelvane Theme", "../victim.Kelvane Theme", "a:b.Kelvane Theme",
                                   "Auxiliary.Kelvane Theme", "COM10.Kelvane Theme", "...Kelvane Theme",
                                   "系统.Kelvane Theme"}),
            (std::vector<std::string>{"Auxiliary", "COM10", "..", "系统"}));  // "..": a plain name
  for (const char* answer : {"aux", "COM² .txt", "..\\victim", "a/b:c"})
    EXPECT_TRUE(IsListableThemeName(MakeValidFileName(answer))) << answer;
}

// The five files delivered with the program must exist under exactly the names the first run
// looks for, and read as complete themes.
TEST(ThemeFile, DeliveredThemesAreComplete) {
  const std::filesystem::path folder = std::filesystem::path(KELVANE_SOURCE_DIR) / "assets" / "themes";
  for (int style : {0, 2, 3, 4, 5}) {
    const std::filesystem::path path = folder / std::string(FirstRunThemeFileName(style));
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream text;
    text << in.rdbuf();
    const IniDocument doc = IniDocument::parse(text.str());
    EXPECT_EQ(doc.get(kThemeSection, "Ver"), "22") << path;
    const ThemeColors theme = ReadThemeFile(doc);
    for (const std::string& colorText : theme.texts)
      EXPECT_NE(TextToColor(colorText), clAutomatic) << path << ": " << colorText;
    // Saving it again changes nothing: the files are in the form the program writes.
    IniDocument again = doc;
    WriteThemeFile(again, doc.get(kThemeSection, "Name", ""), theme);
    EXPECT_EQ(again.serialize(), text.str()) << path;
  }
  // They go into a theme folder that holds none of them, whatever else it holds.
  EXPECT_TRUE(ShouldDeliverThemeFiles({}));
  EXPECT_TRUE(ShouldDeliverThemeFiles({"Mine", "Windows XP Style (Silver) copy", "System"}));
  EXPECT_FALSE(ShouldDeliverThemeFiles({"Mine", "system colors"}));
  EXPECT_FALSE(ShouldDeliverThemeFiles({"Windows XP Style (Olive Green)"}));
}

TEST(SettingsPaths, FoldersAndDriveChecks) {
  EXPECT_EQ(UserDataFolder("C:\\users\\root\\AppData\\Roaming"),
            "C:\\users\\root\\AppData\\Roaming\\Brimvale\\Kelvane\\");
  EXPECT_EQ(UserDataFolder("C:\\Roaming\\"), "C:\\Roaming\\Brimvale\\Kelvane\\");
  EXPECT_EQ(DataFolderFor(true, "D:\\Tools\\", "C:\\U\\", false), "D:\\Tools\\");
  EXPECT_EQ(DataFolderFor(true, "D:\\Tools", "C:\\U\\", true), "D:\\Tools\\Themes\\");
  EXPECT_EQ(DataFolderFor(false, "D:\\Tools\\", "C:\\U\\", true), "C:\\U\\Themes\\");
  EXPECT_EQ(DriveCheckFor(""), DriveCheck::Fail);
  EXPECT_EQ(DriveCheckFor("\\\\server\\share\\x"), DriveCheck::Pass);
  EXPECT_EQ(DriveCheckFor("e:\\Kelvane.Settings"), DriveCheck::QueryDrive);
  EXPECT_EQ(DriveCheckFor(".\\Kelvane.Settings"), DriveCheck::Fail);
  EXPECT_EQ(DriveCheckFor("1:\\x"), DriveCheck::Fail);
}

TEST(SettingsPaths, SaveTemporariesAreRecognisablyOursAndNothingElseIs) {
  EXPECT_EQ(SaveTemporaryName("Kelvane.Settings", 1234, 7), "Kelvane.Settings.1234-7.kelvane-save");
  EXPECT_EQ(SaveTemporaryOwner("Kelvane.Settings.1234-7.kelvane-save"), 1234ul);
  EXPECT_EQ(SaveTemporaryOwner(SaveTemporaryName("Windows Aero.Kelvane Theme", 4294967295ul, 0)),
            4294967295ul);
  for (const char* foreign : {"Kelvane.Settings", "kel12.tmp", "Kelvane.Settings.1234-7.kelvane-save.txt",
                              ".1234-7.kelvane-save", "x.1234.kelvane-save", "x.-7.kelvane-save",
                              "x.12-.kelvane-save", "x.12-7-1.kelvane-save", "x.4294967296-1.kelvane-save",
                              "x.12a-7.kelvane-save", "x.12-7.KELVANE-SAVE", "notes.kelvane-save"})
    EXPECT_EQ(SaveTemporaryOwner(foreign), std::nullopt) << foreign;
}
