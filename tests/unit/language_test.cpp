#include "common/language.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "common/file_encoding.h"
#include "menu/menu_model.h"

using namespace kelvane;

namespace {

const Language& builtIn(bool chinese) { return chinese ? Language::simplifiedChinese() : Language::english(); }

// The letter after a single '&', lower-cased; 0 without one.
char accessKey(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return 0;
}

// The tip as the program composes it, with the widest figures of a 1 TB machine.
std::string widestTip(const Language& language) {
  std::size_t widest = 0;
  std::string heading;
  for (TextId id : {TextId::TipShowsUsedPhysical, TextId::TipShowsFreePhysical, TextId::TipShowsUsedPageFile,
                    TextId::TipShowsFreePageFile}) {
    std::string line = formatText(language.text(id), {{"percent", "%"}});
    if (line.size() > widest) widest = line.size(), heading = line;
  }
  const std::string size = formatText(language.text(TextId::SizeGigabytes), {{"value", "1,023.99"}});
  return heading + "\r\n" + formatText(language.text(TextId::TipMemoryLoad), {{"load", "100"}}) + "\r\n" +
         formatText(language.text(TextId::TipPhysicalMemory), {{"used", size}, {"total", size}}) + "\r\n" +
         formatText(language.text(TextId::TipPageFile), {{"used", size}, {"total", size}});
}

// The log's lines about a file, in English, one a line.
std::string englishLog(const LanguageFileResult& read) {
  std::string log;
  for (const LanguageNotice& notice : read.notices) log += (log.empty() ? "" : "\n") + noticeText(notice, Language::english());
  return log;
}

}  // namespace

TEST(Texts, KeysHaveUniqueNamesAndEveryBuiltInLanguageReadsBackWholeAsAFile) {
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    EXPECT_TRUE(names.insert(textKeyName(id)).second) << textKeyName(id);
    EXPECT_EQ(textIdNamed(textKeyName(id)), id);
  }
  EXPECT_FALSE(textIdNamed("menu.nothing"));

  // Written as a file and read back under another tag, a built-in language passes every check
  // a translation must pass (placeholders of the English text, shapes, byte limits, UTF-8) and
  // keeps every text byte for byte: backslashes, line breaks and all. English goes as the
  // template a translator starts from.
  for (const bool chinese : {true, false}) {
    const Language& language = builtIn(chinese);
    const std::string file = chinese ? languageFileText(language) : languageTemplate();
    const auto read = readLanguageFile("x-test", "x-test.lng", file);
    ASSERT_TRUE(read.language);
    EXPECT_EQ(englishLog(read), "") << language.tag();
    EXPECT_EQ(read.language->name(), language.name());
    for (std::size_t i = 0; i < kTextCount; ++i) {
      const auto id = static_cast<TextId>(i);
      EXPECT_FALSE(language.text(id).empty()) << textKeyName(id);
      EXPECT_EQ(read.language->text(id), language.text(id)) << textKeyName(id);
    }
  }
  EXPECT_EQ(Language::simplifiedChinese().text(TextId::ThemeSlotNormal), "正常\\绿");

  // A text that itself holds what a file writes for a line break or a backslash.
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < kTextCount; ++i) texts.push_back(Language::english().text(static_cast<TextId>(i)));
  texts[textIndex(TextId::ShowLogSavedIn)] = "C:\\new\\\\{path}\n";
  const auto read = readLanguageFile("x-test", "x-test.lng", languageFileText(Language("x-test", "X", texts)));
  ASSERT_TRUE(read.language);
  EXPECT_EQ(read.language->text(TextId::ShowLogSavedIn), texts[textIndex(TextId::ShowLogSavedIn)]);
}

TEST(Texts, TipLinesSplitIntoMenuLinesAndEveryLimitedTextFits) {
  for (const bool chinese : {true, false}) {
    const Language& language = builtIn(chinese);
    const std::string tip = widestTip(language);
    EXPECT_LE(ansiByteEstimate(tip), kTipBytes) << tip;

    const auto lines = MemoryLineEntries(tip);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].valueText.empty()) << "the heading has no value part";
    EXPECT_EQ(lines[1].valueText, " 100%");
    EXPECT_EQ(lines[2].valueText, " 1,023.99 GB/1,023.99 GB");
    for (std::size_t i = 1; i < lines.size(); ++i)
      EXPECT_EQ(lines[i].caption.find_first_of("{}%/0123456789"), std::string::npos) << lines[i].caption;

    for (TextId id : {TextId::AlertTitle, TextId::RunningBalloonTitle})
      EXPECT_LE(ansiByteEstimate(language.text(id)), kBalloonTitleBytes) << textKeyName(id);
    for (TextId id : {TextId::AlertTextAfterRelease, TextId::AlertTextWithoutRelease, TextId::RunningBalloonText})
      EXPECT_LE(ansiByteEstimate(language.text(id)), kBalloonTextBytes) << textKeyName(id);
  }
  // Cut anywhere, a text ends on a whole character and uses the room it has.
  const std::string text = "内存 a€😀b";  // 2-byte estimate for each CJK and the euro sign, 4 for the emoji
  const std::vector<std::string_view> cuts = {"", "", "内", "内", "内存", "内存 ", "内存 a", "内存 a",
                                              "内存 a€", "内存 a€", "内存 a€", "内存 a€", "内存 a€😀", "内存 a€😀b"};
  for (std::size_t limit = 0; limit < cuts.size(); ++limit)
    EXPECT_EQ(cutToAnsiEstimate(text, limit), cuts[limit]) << limit;
}

TEST(Texts, AccessKeysAreUniqueOnEachMenuAndDialogPage) {
  using enum TextId;
  const std::vector<TextId> buttons = {OptionsApply};
  const std::vector<std::vector<TextId>> pages = {
      {OptionsShowPageFile, OptionsShowFree, OptionsShowPercentage, OptionsDescribeInTip, OptionsYellowAbove,
       OptionsRedAbove, OptionsShowBalloon, OptionsShowMessageBox, OptionsReleaseOnHighLoad, OptionsWriteLog},
      {OptionsReleaseEvery, OptionsReleaseHotKey, OptionsRefreshInterval, OptionsDoubleClick, OptionsMonitorOffOnLock},
      {OptionsShowTopProcesses, OptionsProcessCount, OptionsProcessValue, OptionsHighlightAbove, OptionsHighlightColor,
       OptionsShowDescriptions, OptionsGroupProcesses, OptionsShowMemoryInfo},
      {OptionsFontButton, OptionsInternalFont, OptionsMiniFont, OptionsValueUnit, OptionsTransparent,
       OptionsStandardBar, OptionsNoBarBorder, OptionsBarAtBottom, OptionsOpaqueBar, OptionsPercentSign,
       OptionsFollowTaskbar},
      {OptionsTheme, OptionsSaveAs, OptionsDelete, OptionsItems, OptionsColor},
  };
  const std::vector<TextId> menu = {MenuTaskManager, MenuRelease, MenuHistory, MenuShowLog, MenuSettings, MenuAbout, MenuExit};
  for (const bool chinese : {true, false}) {
    auto groups = pages;
    for (auto& page : groups) page.insert(page.end(), buttons.begin(), buttons.end());
    // The Chinese menu has always given "S" to two items; its texts stay as they are.
    if (!chinese) groups.push_back(menu);
    for (const auto& group : groups) {
      std::set<char> keys;
      for (const TextId id : group) {
        const char key = accessKey(builtIn(chinese).text(id));
        EXPECT_NE(key, 0) << textKeyName(id);
        EXPECT_TRUE(keys.insert(key).second) << builtIn(chinese).tag() << " " << textKeyName(id) << " " << key;
      }
    }
  }
}

TEST(Texts, PlaceholdersAreFilledByNameInAnyOrderAndNothingElseIsTouched) {
  EXPECT_EQ(formatText("{b} before {a}, {b} again", {{"a", "1"}, {"b", "2"}}), "2 before 1, 2 again");
  // A value is never read as a pattern; braces that are no known placeholder stay.
  EXPECT_EQ(formatText("{path}: {unknown} {} {1} {a b} {", {{"path", "{path}"}}), "{path}: {unknown} {} {1} {a b} {");
  EXPECT_EQ(placeholdersOf("{used}/{total} {used} {} {9x}"), (std::vector<std::string>{"total", "used"}));

  EXPECT_TRUE(isValidUtf8("a内😀"));
  for (const std::string_view bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\x86",
                                     "\x80", "\xFF"})
    EXPECT_FALSE(isValidUtf8(bad)) << bad.size();
}

TEST(LanguageFile, BadEntriesFallBackOneByOneAndOneLogLineNamesTheFile) {
  const std::string file =
      "\xEF\xBB\xBF# Deutsch\r\n"
      "language.name=Deutsch\r\n"
      "menu.exit=&Beenden\r\n"
      "tip.memoryLoad=Speicherlast: {load}%\r\n"
      "showLog.savedIn=Die Protokolldatei liegt in \"{path}\".\\nBackslash: \\\\ \\x\r\n"
      "\n"
      "menu.about=Über &Kelvane\n"
      "menu.about=Zweimal\n"                                   // a repeated key
      "menu.release=Speicher freigeben {percent}\n"            // a placeholder English lacks
      "tip.physicalMemory=Physischer Speicher: {used}\n"       // one of English's missing
      "tip.pageFile={used}/{total} Auslagerungsdatei:\n"       // the menu would split inside a value
      "tip.showsUsedPhysical=Zeigt: belegt {percent}\n"        // a ':' in the heading
      "options.pages=Allgemein|Erweitert\n"                    // two pages of five
      "alert.buttons=Freigeben\\nTask-Manager\n"                // two buttons of three (and a stray line)
      "alert.title=" + std::string(64, 'x') + "\n" +           // past the balloon title's 63 bytes
      "menu.settings=" + std::string(kLanguageTextLimit + 1, 'x') + "\n" +  // far too long
      "menu.showLog=Protokoll\x01 anzeigen\n"                  // a control character
      "menu.taskManager=\n"                                    // empty
      "no.such.key=Text\n"
      "just a line without equals sign\n";
  const auto read = readLanguageFile("de-DE", "de-DE.lng", file);
  ASSERT_TRUE(read.language);
  const Language& de = *read.language;
  const Language& en = Language::english();
  EXPECT_EQ(de.tag(), "de-DE");
  EXPECT_EQ(de.name(), "Deutsch");
  EXPECT_EQ(de.text(TextId::MenuExit), "&Beenden");
  EXPECT_EQ(de.text(TextId::TipMemoryLoad), "Speicherlast: {load}%");
  EXPECT_EQ(de.text(TextId::ShowLogSavedIn), "Die Protokolldatei liegt in \"{path}\".\nBackslash: \\ \\x");
  EXPECT_EQ(de.text(TextId::MenuAbout), "Über &Kelvane");
  for (TextId id : {TextId::MenuRelease, TextId::TipPhysicalMemory, TextId::TipPageFile, TextId::TipShowsUsedPhysical,
                    TextId::OptionsPages, TextId::AlertButtons, TextId::AlertTitle, TextId::MenuSettings,
                    TextId::MenuShowLog, TextId::MenuTaskManager, TextId::WelcomeTitle})
    EXPECT_EQ(de.text(id), en.text(id)) << textKeyName(id);
  EXPECT_EQ(englishLog(read),
            "Language file \"de-DE.lng\": 13 bad entries shown in English, the first on line 8");
}

TEST(LanguageFile, HostileOrMisplacedFilesNeverBreakAndAreNamedInTheLog) {
  for (const std::string_view tag : {"zh-CN", "EN-us"}) {
    const auto read = readLanguageFile(tag, "x.lng", "language.name=Mine\nmenu.exit=Mine\n");
    EXPECT_FALSE(read.language) << tag;
    EXPECT_EQ(englishLog(read), "Language file \"x.lng\" ignored: a built-in language cannot be replaced");
  }
  EXPECT_FALSE(readLanguageFile("../evil", "e.lng", "").language);

  const std::string huge(10 * 1024 * 1024, 'a');
  const auto tooLarge = readLanguageFile("fr-FR", "fr-FR.lng", huge);
  EXPECT_FALSE(tooLarge.language);
  EXPECT_EQ(englishLog(tooLarge), "Language file \"fr-FR.lng\" ignored: it is too large");

  // A megabyte of binary noise is no text: no language, one log line saying so.
  std::string noise(kLanguageFileLimit, '\0');
  std::uint32_t seed = 12345;
  for (char& c : noise) c = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
  const auto read = readLanguageFile("fr-FR", "fr-FR.lng", noise);
  EXPECT_FALSE(read.language);
  EXPECT_EQ(englishLog(read), "Language file \"fr-FR.lng\" ignored: it is not UTF-8 or UTF-16 text");
}

TEST(LanguageChoice, SettingFirstThenWindowsDisplayLanguage) {
  const std::vector<std::string> files = {"de-DE", "pt-BR"};
  struct Case {
    std::string_view setting;
    std::uint16_t uiLanguage;
    std::string_view uiTag;
    std::string_view chosen;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"en-US", 0x0804, "zh-CN", "en-US"},    // the setting wins over a Chinese Windows
           {"ZH-cn", 0x0409, "en-US", "zh-CN"},    // tags compare without case
           {"pt-br", 0x0409, "en-US", "pt-BR"},    // a file's language, spelt as its file
           {"", 0x0804, "zh-CN", "zh-CN"},         // automatic: Chinese Windows
           {"", 0x0404, "zh-TW", "zh-CN"},         // any Chinese
           {"", 0x0C04, "zh-HK", "zh-CN"},
           {"xx-YY", 0x0804, "zh-CN", "zh-CN"},    // a language nobody provides counts as automatic
           {"", 0x0409, "en-US", "en-US"},
           {"", 0x0407, "de-DE", "de-DE"},         // a file provides Windows' language
           {"", 0x0C07, "de-AT", "de-DE"},         // or its primary language
           {"", 0x0416, "pt-BR", "pt-BR"},
           {"", 0x040C, "fr-FR", "en-US"},         // nobody provides French
           {"", 0x0411, "", "en-US"},
       })
    EXPECT_EQ(chooseLanguage(c.setting, c.uiLanguage, c.uiTag, files), c.chosen)
        << c.setting << " " << std::hex << c.uiLanguage;
}

TEST(LanguageChoice, TheListAndTheLookupSeeEachTagOnceAndFallBackToEnglish) {
  std::vector<Language> files;
  for (const auto& [tag, file] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
           {"de-DE", "language.name=Deutsch\nmenu.exit=&Beenden\n"},
           {"DE-de", "language.name=Zweites Deutsch\nmenu.exit=Nie\n"},  // the program folder's copy
           {"pt-BR", "language.name=Português (Brasil)\n"},
           {"it-IT", "language.name=Italiano\\nsu due righe\n"}})  // a name of two lines: none
    files.push_back(*readLanguageFile(tag, std::string(tag) + ".lng", file).language);
  std::vector<LanguageListEntry> listed;
  for (const Language& file : files) listed.push_back({file.tag(), file.name()});

  const auto list = languageList(Language::english(), listed);
  std::vector<std::string> shown;
  for (const auto& entry : list) shown.push_back(entry.tag + "=" + entry.caption);
  EXPECT_EQ(shown, (std::vector<std::string>{"=Automatic (same as Windows)", "zh-CN=简体中文", "en-US=English",
                                              "de-DE=Deutsch", "pt-BR=Português (Brasil)", "it-IT=it-IT"}));
  EXPECT_EQ(languageList(Language::simplifiedChinese(), listed)[0].caption, "自动 (跟随 Windows)");

  EXPECT_EQ(languageOfTag("de-de", files).text(TextId::MenuExit), "&Beenden");
  EXPECT_EQ(languageOfTag("zh-CN", files).tag(), "zh-CN");
  EXPECT_EQ(languageOfTag("fr-FR", files).tag(), "en-US");
  EXPECT_EQ(languageOfTag("", files).tag(), "en-US");
}

TEST(LanguageChoice, TheSpeakingLanguageSwitchesWhatEveryLookupSays) {
  EXPECT_EQ(tr(TextId::AboutTitle), Language::simplifiedChinese().text(TextId::AboutTitle));
  const auto german = *readLanguageFile("de-DE", "de-DE.lng", "language.name=Deutsch\nmenu.exit=&Beenden\n").language;
  speak(german);
  EXPECT_EQ(tr(TextId::MenuExit), "&Beenden");
  EXPECT_EQ(tr(TextId::MenuAbout), Language::english().text(TextId::MenuAbout));
  EXPECT_EQ(tr(TextId::ShowLogSavedIn, {{"path", "C:\\log.txt"}}).find("{path}"), std::string::npos);
  speak(Language::simplifiedChinese());
  EXPECT_EQ(tr(TextId::MenuExit), Language::simplifiedChinese().text(TextId::MenuExit));
}

// What translators' editors save: UTF-16 either way round (Notepad's "Unicode"), with or without
// its mark, reads as UTF-8 does; text in another code page is left out, named in one line; the
// list judges a file by its start and the choice by all of it; counts agree in number; two items
// of one page given one key are named.
TEST(LanguageFile, UnicodeFormsCountsAndSharedAccessKeysAsTheLogSaysThem) {
  const std::string german = "language.name=Deutsch\r\nmenu.exit=&Beenden\r\nmenu.about=Über &Kelvane\r\n";
  const std::string bomless = utf8ToUtf16(german, FileEncoding::Utf16Le);
  for (const std::string& file : {"\xFF\xFE" + bomless, "\xFE\xFF" + utf8ToUtf16(german, FileEncoding::Utf16Be), bomless}) {
    const auto read = readLanguageFile("de-DE", "de-DE.lng", file);
    ASSERT_TRUE(read.language) << englishLog(read);
    EXPECT_EQ(read.language->name(), "Deutsch");
    EXPECT_EQ(read.language->text(TextId::MenuAbout), "Über &Kelvane");
    EXPECT_EQ(englishLog(read), "");
    EXPECT_EQ(readLanguageFileHead("de-DE", "de-DE.lng", file, file.size()).name, "Deutsch");
  }

  // Code page 936 bytes, a lone surrogate, an odd byte: no text, the same line from the list and the choice.
  const std::string notText = "Language file \"zh-TW.lng\" ignored: it is not UTF-8 or UTF-16 text";
  for (const std::string& file : {std::string("language.name=\xD6\xD0\xCE\xC4\n"), std::string("\xFF\xFE\x00\xD8x\0", 6),
                                  "\xFF\xFE" + bomless + "x"}) {
    const auto read = readLanguageFile("zh-TW", "zh-TW.lng", file);
    EXPECT_FALSE(read.language);
    EXPECT_EQ(englishLog(read), notText);
    const auto head = readLanguageFileHead("zh-TW", "zh-TW.lng", file, file.size());
    EXPECT_FALSE(head.name);
    ASSERT_TRUE(head.notice);
    EXPECT_EQ(noticeText(*head.notice, Language::english()), notText);
  }

  // The list reads the first 4,096 bytes: a character the cut splits is no fault; a fault further
  // on is found when the file is read whole.
  std::string padded = "language.name=Français\n#" + std::string(kLanguageHeadBytes - 26, 'x') + "é\n";
  ASSERT_EQ(padded[kLanguageHeadBytes], '\xA9');  // the cut falls inside "é"
  EXPECT_EQ(readLanguageFileHead("fr-FR", "fr-FR.lng", padded, padded.size()).name, "Français");
  const std::string utf16Padded =  // 24 characters, 2,022 more, then a pair: its halves at 4,094 and 4,096
      "\xFF\xFE" + utf8ToUtf16("language.name=Français\n#" + std::string(2022, 'x') + "😀", FileEncoding::Utf16Le);
  ASSERT_EQ(utf16Padded.size(), kLanguageHeadBytes + 2);  // the cut falls between the two halves of the pair
  EXPECT_EQ(readLanguageFileHead("fr-FR", "fr-FR.lng", utf16Padded, utf16Padded.size()).name, "Français");
  padded += "menu.exit=\xC3\n";
  EXPECT_TRUE(readLanguageFileHead("fr-FR", "fr-FR.lng", padded, padded.size()).name);
  EXPECT_FALSE(readLanguageFile("fr-FR", "fr-FR.lng", padded).language);
  EXPECT_EQ(readLanguageFileHead("pt-BR", "pt-BR.lng", "menu.exit=Sair\n", 15).name, "pt-BR");  // no name: the tag

  // Counts in the log agree in number, in both built-in languages.
  const auto one = readLanguageFile("nl-NL", "nl.lng", "menu.exit=&Quit\nmenu.about=Over {x}\n");
  EXPECT_EQ(englishLog(one), "Language file \"nl.lng\": 1 bad entry shown in English, on line 2");
  const auto four = readLanguageFile("nl-NL", "nl.lng", "a=1\nb=2\nmenu.exit=E&xit\nc=3\nd=4\n");
  EXPECT_EQ(englishLog(four), "Language file \"nl.lng\": 4 bad entries shown in English, the first on line 1");
  EXPECT_EQ(noticeText(four.notices[0], Language::simplifiedChinese()),
            "语言文件 \"nl.lng\": 4 个错误条目以英文显示, 第一个在第 1 行");

  // One key for two items of one page (whatever its case), or for an item and Apply; the same
  // key on two pages, and the Chinese menu's own pair, are no clash.
  const auto shared = readLanguageFile("nl-NL", "nl.lng",
                                       "options.showFree=&Zonder\noptions.writeLog=&Logbestand\n"
                                       "options.transparent=&Zicht\nmenu.showLog=显示日志(&S)\nmenu.settings=设置(&S)\n");
  EXPECT_EQ(englishLog(shared), "");
  const auto clashes = readLanguageFile("nl-NL", "nl.lng",
                                        "options.showFree=&Wit\noptions.showPercentage=&wat\n"
                                        "options.internalFont=&Apart lettertype\nmenu.about=&Info\n"
                                        "menu.history=Gesch&iedenis\n");
  EXPECT_EQ(englishLog(clashes),
            "Language file \"nl.lng\": menu.history and menu.about share the access key \"i\"\n"
            "Language file \"nl.lng\": options.showFree and options.showPercentage share the access key \"W\"\n"
            "Language file \"nl.lng\": options.internalFont and options.apply share the access key \"A\"");
  ASSERT_TRUE(clashes.language);  // a clash is told, the texts are still used
  EXPECT_EQ(clashes.language->text(TextId::MenuAbout), "&Info");

  // Device names are never opened: Windows would open the device.
  for (const std::string_view device : {"AUX", "con", "Com1", "LPT9", "nul", "PRN"}) {
    const auto problem = languageFileNameProblem(device, "x.lng");
    ASSERT_TRUE(problem) << device;
    EXPECT_EQ(noticeText(*problem, Language::english()), "Language file \"x.lng\" ignored: its name is a device name");
  }
  for (const std::string_view fine : {"COM10", "AUX-x", "com", "LPT0", "de-DE"}) EXPECT_FALSE(languageFileNameProblem(fine, "x.lng")) << fine;
}
