// The settings file's encodings: what a hand-edited or old file reads as, and what a save writes.
#include "settings/settings_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/color_text.h"
#include "settings/option_fields.h"

using namespace kelvane;

namespace {

const SettingsContext kWin10{10, "C:\\data\\Kelvane.log"};

LoadedOptions load(const std::string& text, const SettingsContext& context = kWin10) {
  return LoadOptionsFromIni(IniDocument::parse(text), context);
}

// A complete file as a save of the defaults writes it, with `line` put in place of the line
// that starts with the same key.
std::string savedDefaultsWith(const std::string& line) {
  IniDocument doc;
  SaveOptionsToIni(doc, defaultOptions(10));
  std::string text = doc.serialize();
  const std::string key = line.substr(0, line.find('=') + 1);
  const std::size_t at = text.find("\r\n" + key);
  if (at == std::string::npos) return text + "[General]\r\n" + line + "\r\n";
  const std::size_t end = text.find("\r\n", at + 2);
  return text.replace(at + 2, end - at - 2, line);
}

}  // namespace

TEST(SettingsCodec, IntegerText) {
  EXPECT_EQ(ParseSettingInteger("1000"), 1000);
  EXPECT_EQ(ParseSettingInteger("-16777208"), -16777208);
  EXPECT_EQ(ParseSettingInteger("+7"), 7);
  EXPECT_EQ(ParseSettingInteger("0x3E8"), 1000);
  EXPECT_EQ(ParseSettingInteger("0X3e8"), 1000);
  EXPECT_EQ(ParseSettingInteger("$3E8"), 1000);
  EXPECT_EQ(ParseSettingInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseSettingInteger("$FF000008"), -16777208);
  EXPECT_EQ(ParseSettingInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseSettingInteger("-2147483648"), INT32_MIN);
  for (const char* bad : {"", "abc", "2147483648", "-2147483649", "$", "0x", "$100000000",
                          "12a", "1 2", "0xG", "--1", "-", "1.5", " 1"})
    EXPECT_EQ(ParseSettingInteger(bad), std::nullopt) << bad;
  EXPECT_EQ(ParseSettingInteger("0"), 0);  // "0x" needs a digit after it; "0" alone is zero
}

TEST(SettingsCodec, ColorText) {
  EXPECT_EQ(ColorToText(0x0000FF), "FF0000");
  EXPECT_EQ(ColorToText(rgbColor(0x12, 0xAB, 0x0C)), "12AB0C");
  EXPECT_EQ(ColorToText(systemColor(0)), "ScrollBar");
  EXPECT_EQ(ColorToText(systemColor(15)), "ThreeDFace");
  EXPECT_EQ(ColorToText(systemColor(24)), "InfoBackground");
  for (int n = 0; n < SystemColorCount; ++n)
    EXPECT_EQ(TextToColor(ColorToText(systemColor(n))), systemColor(n)) << n;

  EXPECT_EQ(TextToColor("#00FF00"), 0x00FF00);
  EXPECT_EQ(TextToColor("00FF00"), 0x00FF00);
  EXPECT_EQ(TextToColor("FF0000"), 0x0000FF);
  EXPECT_EQ(TextToColor("ff8000"), rgbColor(0xFF, 0x80, 0x00));
  EXPECT_EQ(TextToColor("102030junk"), rgbColor(0x10, 0x20, 0x30));
  EXPECT_EQ(TextToColor("#WindowText"), systemColor(8));
  EXPECT_EQ(TextToColor("threedface"), clAutomatic);  // names are case-sensitive
  EXPECT_EQ(TextToColor(""), clAutomatic);
  EXPECT_EQ(TextToColor("FF00"), clAutomatic);  // the blue group is empty
  EXPECT_EQ(TextToColor("FF00F"), rgbColor(0xFF, 0, 0xF));
  EXPECT_EQ(TextToColor("GG0000"), clAutomatic);
  EXPECT_EQ(TextToColor("-1"), clAutomatic);

  EXPECT_EQ(ColorSettingFromText("Automatic"), clAutomatic);
  EXPECT_EQ(ColorSettingFromText(""), clAutomatic);
  EXPECT_EQ(ColorSettingText(clAutomatic), "Automatic");
  EXPECT_EQ(ColorSettingText(0x00FF00), "00FF00");
}

TEST(SettingsCodec, MissingOrEmptyFileIsAFirstRunWithDefaults) {
  for (const std::string& text : {std::string(), std::string("[General]\r\n"),
                                  std::string("; nothing here\r\n")}) {
    const LoadedOptions loaded = load(text);
    EXPECT_TRUE(loaded.firstRun);
    TKelvaneOptions expected = defaultOptions(10);
    expected.LogFile = kWin10.defaultLogFile;
    expected.FontColor = expected.Font.Color;  // the font's colour, window text
    EXPECT_EQ(loaded.options, expected) << dumpOptions(loaded.options);
  }
  EXPECT_TRUE(load("", {5, ""}).options.ShowPage);
  EXPECT_FALSE(load("", {6, ""}).options.ShowPage);
}

TEST(SettingsCodec, FirstRunProbe) {
  EXPECT_FALSE(load(savedDefaultsWith("ShowPercentage=0")).firstRun);
  EXPECT_FALSE(load(savedDefaultsWith("ShowPercentage=1")).firstRun);
  EXPECT_FALSE(load("[General]\r\nShowPercentage=0x1\r\n").firstRun);
  EXPECT_TRUE(load(savedDefaultsWith("ShowPercentage=abc")).firstRun);
  EXPECT_TRUE(load(savedDefaultsWith("ShowPercentage=-101")).firstRun);
  std::string lowerCase = savedDefaultsWith("ShowPercentage=-101");
  lowerCase.replace(lowerCase.find("ShowPercentage"), 14, "showpercentage");
  EXPECT_TRUE(load(lowerCase).firstRun);
  // -101 is still a true Boolean once the probe is done.
  EXPECT_TRUE(load(savedDefaultsWith("ShowPercentage=-101")).options.ShowPercentage);
  EXPECT_FALSE(load(savedDefaultsWith("ShowPercentage=abc")).options.ShowPercentage);
}

TEST(SettingsCodec, ValueEncodingsOnLoad) {
  const TKelvaneOptions o = load(
      "[General]\r\nWarn=0\r\nShowFree=2\r\nShowPage=-1\r\nNoBorder=abc\r\n"
      "RefreshRate=0x3E8\r\nRedPercent=$50\r\nYellowPercent=40\r\nTopProcessCount=500\r\n"
      "DefragEvery=3\r\nRefreshHotkey=16449\r\nClickedDonation=1\r\n"
      "LogFile=D:\\logs\\mine.log\r\n"
      "[Colors]\r\nGreenColor=#00FF00\r\nYellowColor=00FFFF\r\nRedColor=threedface\r\n"
      "OpaqueBkColor=\r\nBarBorderColor=Automatic\r\nFullBarColor=ButtonFace\r\n"
      "ProcMenuHightlightColor=Highlight\r\n")
                              .options;
  EXPECT_FALSE(o.Warn);
  EXPECT_TRUE(o.ShowFree);
  EXPECT_TRUE(o.ShowPage);
  EXPECT_TRUE(o.NoBorder);  // unparsable: the default
  EXPECT_EQ(o.RefreshRate, 1000);
  EXPECT_EQ(o.RedPercent, 0x50);
  EXPECT_EQ(o.YellowPercent, 40);
  EXPECT_EQ(o.TopProcessCount, 500);  // outside the dialog's range, used as read
  EXPECT_EQ(o.DefragEvery, 3);
  EXPECT_EQ(o.RefreshHotkey, 16449);
  EXPECT_TRUE(o.ClickedDonation);
  EXPECT_EQ(o.LogFile, "D:\\logs\\mine.log");
  EXPECT_EQ(o.GreenColor, 0x00FF00);
  EXPECT_EQ(o.YellowColor, rgbColor(0, 0xFF, 0xFF));  // red, green, blue in that order
  EXPECT_EQ(o.RedColor, clAutomatic);
  EXPECT_EQ(o.OpaqueBkColor, clAutomatic);
  EXPECT_EQ(o.BarBorderColor, clAutomatic);
  EXPECT_EQ(o.FullBarColor, clAutomatic);  // not one of the names
  EXPECT_EQ(o.ProcMenuHightlightColor, systemColor(13));

  // Values that would stop the timers or empty the menu fall back; others are used as read.
  const TKelvaneOptions zero =
      load("[General]\r\nRefreshRate=0\r\nTopProcessCount=-5\r\nDefragEvery=0\r\n").options;
  EXPECT_EQ(zero.RefreshRate, 1000);
  EXPECT_EQ(zero.TopProcessCount, 10);
  EXPECT_EQ(zero.DefragEvery, 120);
  EXPECT_EQ(load("[General]\r\nRefreshRate=50\r\n").options.RefreshRate, 50);
}

TEST(SettingsCodec, FontKeysAndFontColor) {
  const TKelvaneOptions o =
      load("[Font]\r\nName=SimSun\r\nCharSet=134\r\nColor=255\r\nSize=9\r\nStyle=3\r\n").options;
  EXPECT_EQ(o.Font.Name, "SimSun");
  EXPECT_EQ(o.Font.CharSet, 134);
  EXPECT_EQ(o.Font.Color, 255);
  EXPECT_EQ(o.FontColor, 255);
  EXPECT_EQ(o.Font.Size, 9);
  EXPECT_EQ(o.Font.Style, fsBold | fsItalic);

  const TKelvaneOptions partial = load("[Font]\r\nSize=x\r\nCharSet=300\r\nStyle=255\r\n").options;
  EXPECT_EQ(partial.Font.Name, "Tahoma");
  EXPECT_EQ(partial.Font.Size, 6);
  EXPECT_EQ(partial.Font.CharSet, 1);  // does not fit the byte a character set is
  EXPECT_EQ(partial.Font.Style, 15);   // only the four style bits exist
  EXPECT_EQ(partial.Font.Color, systemColor(COLOR_WINDOWTEXT_INDEX));

  // An automatic text colour survives a save and load only as explicit black.
  TKelvaneOptions automatic = defaultOptions(10);
  automatic.FontColor = clAutomatic;
  ApplyFontColor(automatic);
  IniDocument doc;
  SaveOptionsToIni(doc, automatic);
  EXPECT_EQ(doc.get("Font", "Color"), "0");
  const TKelvaneOptions back = LoadOptionsFromIni(doc, kWin10).options;
  EXPECT_EQ(back.FontColor, clBlack);
  EXPECT_EQ(back.Font.Color, clBlack);
}

TEST(SettingsCodec, SaveWritesTheKnownLayout) {
  TKelvaneOptions o = defaultOptions(10);
  o.GreenColor = 0x00FF00;
  o.ProcMenuHightlightColor = systemColor(13);
  o.LogFile = "C:\\elsewhere.log";
  IniDocument doc;
  SaveOptionsToIni(doc, o);
  const std::string expected =
      "[General]\r\nWarn=1\r\nWarnMsgBox=0\r\nWriteLog=0\r\nHighlightProcessAbove=1000\r\n"
      "ShowNameInsteadOfModule=0\r\nUnifyProcesses=1\r\nShowPage=0\r\nShowFree=0\r\n"
      "NoBorder=1\r\nShowPercentage=0\r\nShowPercSign=0\r\nInternalFont=1\r\n"
      "HintWhatisDisplayed=1\r\nStandardGauge=1\r\nBarBottom=0\r\nTransBk=0\r\n"
      "MiniInternalFont=0\r\nRefreshRate=1000\r\nFullBar=0\r\nRefreshHotkey=0\r\n"
      "ShowWelcomeWindow=1\r\nShowTopProcess=1\r\nTopProcessCount=10\r\nShowMemMenu=1\r\n"
      "OptimizeForGigabytes=1\r\nDefragOnHighMemory=1\r\nDefragEveryActive=0\r\n"
      "DefragEvery=120\r\nDoubleClickAction=0\r\nSwitchOffMonitorOnLock=0\r\n"
      "ClickedDonation=0\r\nNoWarningSwithOffMonMobile=0\r\nProcessValueType=0\r\n"
      "RedPercent=90\r\nYellowPercent=65\r\n"
      "[Font]\r\nName=Tahoma\r\nCharSet=1\r\nColor=-16777208\r\nSize=6\r\nStyle=0\r\n"
      "[Colors]\r\nProcMenuHightlightColor=Highlight\r\nOpaqueBkColor=Automatic\r\n"
      "BarBorderColor=Automatic\r\nGreenColor=00FF00\r\nYellowColor=Automatic\r\n"
      "RedColor=Automatic\r\nFullBarColor=Automatic\r\n";
  EXPECT_EQ(doc.serialize(), expected);

  // Loading what was saved gives the record back, LogFile aside (it is never written).
  LoadedOptions loaded = LoadOptionsFromIni(doc, kWin10);
  EXPECT_FALSE(loaded.firstRun);
  o.FontColor = o.Font.Color;
  o.LogFile = kWin10.defaultLogFile;
  EXPECT_EQ(loaded.options, o);
}

TEST(SettingsCodec, SaveKeepsWhatTheUserHad) {
  const std::string before =
      "; written by hand\r\n[General]\r\nLogFile=D:\\my.log\r\nWarn=0\r\nFuture=7\r\n\r\n"
      "[自定义颜色]\r\nColorA=FFFFFF\r\nColorB=\r\nColorC=zz\r\n";
  IniDocument doc = IniDocument::parse(before);
  TKelvaneOptions o = LoadOptionsFromIni(doc, kWin10).options;
  EXPECT_EQ(o.LogFile, "D:\\my.log");
  o.LogFile = "changed in memory";
  SaveOptionsToIni(doc, o);
  const std::string after = doc.serialize();
  EXPECT_EQ(after.rfind("; written by hand\r\n[General]\r\nLogFile=D:\\my.log\r\nWarn=0\r\n"
                        "Future=7\r\nWarnMsgBox=0\r\n",
                        0),
            0u)
      << after;
  EXPECT_NE(after.find("YellowPercent=65\r\n\r\n[自定义颜色]\r\nColorA=FFFFFF\r\nColorB=\r\n"
                       "ColorC=zz\r\n[Font]\r\n"),
            std::string::npos)
      << after;
  EXPECT_EQ(doc.get("General", "LogFile"), "D:\\my.log");

  const CustomColors custom = ReadCustomColors(doc);
  EXPECT_EQ(custom[0], 0xFFFFFFu);
  EXPECT_EQ(custom[1], std::nullopt);  // empty
  EXPECT_EQ(custom[2], std::nullopt);  // not hexadecimal
  EXPECT_EQ(custom[3], std::nullopt);  // missing
  std::array<std::uint32_t, kCustomColorCount> colors{};
  colors.fill(0xFFFFFFFFu);
  colors[0] = 0x0000FF;
  colors[15] = 0xABCDEF;
  WriteCustomColors(doc, colors);
  EXPECT_EQ(doc.get(kSectionCustomColors, "ColorA"), "0000FF");
  EXPECT_EQ(doc.get(kSectionCustomColors, "ColorB"), "FFFFFFFF");
  EXPECT_EQ(doc.get(kSectionCustomColors, "ColorP"), "ABCDEF");
  EXPECT_EQ(ReadCustomColors(doc)[15], 0xABCDEFu);
}

TEST(SettingsCodec, HistorySectionOnlyOnceUsed) {
  // The defaults write no [History] (the known layout above has none); a changed key writes
  // that key alone, and a key in the file already stays, even at its default.
  TKelvaneOptions o = defaultOptions(10);
  o.History.Range = 3;
  o.History.WindowLeft = -1200;  // a monitor left of the primary one
  IniDocument doc;
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.keyNames(kSectionHistory), (std::vector<std::string>{"WindowLeft", "Range"}));
  EXPECT_EQ(LoadOptionsFromIni(doc, kWin10).options.History, o.History);

  IniDocument kept = IniDocument::parse(
      "[History]\r\nReleaseBalloon=1\r\nRange=9\r\nWindowWidth=0\r\nWindowHeight=abc\r\n");
  const THistorySettings read = LoadOptionsFromIni(kept, kWin10).options.History;
  EXPECT_EQ(read, THistorySettings{});  // out of range and no sizes: the defaults
  TKelvaneOptions back = defaultOptions(10);
  back.History = read;
  back.History.ReleaseBalloon = false;
  SaveOptionsToIni(kept, back);
  EXPECT_EQ(kept.get(kSectionHistory, "ReleaseBalloon"), "0");
  EXPECT_EQ(kept.get(kSectionHistory, "Range"), "1");
  EXPECT_EQ(kept.get(kSectionHistory, "WindowWidth"), "0");  // no size to put in its place
}

TEST(SettingsCodec, HistoryWindowDpiGoesWithTheSizeOnlyWhenNot96) {
  // A size saved at 96 DPI: the file holds no DPI and saves byte for byte as it was.
  const std::string at96 = savedDefaultsWith("Warn=0") + "[History]\r\nWindowWidth=700\r\nWindowHeight=420\r\n";
  IniDocument doc = IniDocument::parse(at96);
  TKelvaneOptions o = LoadOptionsFromIni(doc, kWin10).options;
  EXPECT_EQ(o.History.WindowDpi, std::nullopt);
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.serialize(), at96);

  // Saved at 144 DPI: the DPI follows the size, and reads back.
  o.History.WindowWidth = 1050;
  o.History.WindowDpi = 144;
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.keyNames(kSectionHistory), (std::vector<std::string>{"WindowWidth", "WindowHeight", "WindowDpi"}));
  EXPECT_EQ(doc.get(kSectionHistory, "WindowDpi"), "144");
  EXPECT_EQ(LoadOptionsFromIni(IniDocument::parse(doc.serialize()), kWin10).options.History, o.History);

  // At 96 again the key goes, and the file is as a 96-DPI save leaves it.
  o.History.WindowWidth = 700;
  o.History.WindowDpi.reset();
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.serialize(), at96);

  // A DPI no screen has is no DPI: the size counts as saved at 96.
  EXPECT_EQ(LoadOptionsFromIni(IniDocument::parse("[History]\r\nWindowWidth=700\r\nWindowDpi=0\r\n"), kWin10)
                .options.History.WindowDpi,
            std::nullopt);
}

TEST(SettingsCodec, LanguageWrittenOnlyOnceChosen) {
  // A file that never chose a language is automatic and saves byte for byte as it was.
  const std::string file = savedDefaultsWith("Warn=0");
  IniDocument doc = IniDocument::parse(file);
  TKelvaneOptions o = LoadOptionsFromIni(doc, kWin10).options;
  EXPECT_EQ(o.Language, "");
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.serialize(), file);

  // A choice is written and read back; automatic again keeps the key, empty.
  o.Language = "en-US";
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.get(kSectionGeneral, "Language"), "en-US");
  EXPECT_EQ(ReadLanguageSetting(IniDocument::parse(doc.serialize())), "en-US");
  EXPECT_EQ(LoadOptionsFromIni(doc, kWin10).options.Language, "en-US");
  o.Language.clear();
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.get(kSectionGeneral, "Language"), "");
  EXPECT_EQ(LoadOptionsFromIni(doc, kWin10).options.Language, "");
}

TEST(SettingsCodec, FollowTaskbarThemeWrittenAndDumpedOnlyOnceChosen) {
  // Files from before the choice existed save and dump exactly as they did.
  const std::string file = savedDefaultsWith("Warn=0");
  IniDocument doc = IniDocument::parse(file);
  TKelvaneOptions o = LoadOptionsFromIni(doc, kWin10).options;
  EXPECT_FALSE(o.FollowTaskbarTheme);
  const std::string dumped = dumpOptions(o, doc);
  EXPECT_EQ(dumped.find("FollowTaskbarTheme"), std::string::npos);
  EXPECT_EQ(dumped.substr(dumped.size() - 9 - kWin10.defaultLogFile.size()), "LogFile=" + kWin10.defaultLogFile + "\n");
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.serialize(), file);

  // Chosen: written, read back, and dumped after the other lines.
  o.FollowTaskbarTheme = true;
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.get(kSectionGeneral, "FollowTaskbarTheme"), "1");
  const TKelvaneOptions chosen = LoadOptionsFromIni(doc, kWin10).options;
  EXPECT_TRUE(chosen.FollowTaskbarTheme);
  EXPECT_EQ(dumpOptions(chosen, doc), dumped + "FollowTaskbarTheme=1\n");

  // Switched off again, the key stays in the file as 0, and the dump shows it.
  o.FollowTaskbarTheme = false;
  SaveOptionsToIni(doc, o);
  EXPECT_EQ(doc.get(kSectionGeneral, "FollowTaskbarTheme"), "0");
  EXPECT_EQ(dumpOptions(LoadOptionsFromIni(doc, kWin10).options, doc), dumped + "FollowTaskbarTheme=0\n");
}
