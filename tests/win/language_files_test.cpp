// Language files as the program finds them at start: the data folder's before the program
// folder's, a broken, hostile or built-in one named in one log line, and the setting or
// Windows' display language deciding which language is spoken. The list is cheap; the chosen
// file is read whole when chosen, and one that cannot be used then counts as missing.
#include "settings/language_files_win.h"

#include <psapi.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/file_encoding.h"
#include "common/text_win.h"
#include "fresh_process_win.h"
#include "scratch_folder_win.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

std::wstring languageFolderIn(const ScratchFolder& folder) {
  const std::wstring path = folder.path() + std::wstring(kLanguageFolder);
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

std::vector<std::string> englishLines(const std::vector<LanguageNotice>& notices) {
  std::vector<std::string> lines;
  for (const LanguageNotice& notice : notices) lines.push_back(noticeText(notice, Language::english()));
  return lines;
}

std::size_t linesNaming(const std::vector<std::string>& lines, std::string_view name) {
  return static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(name) != std::string::npos; }));
}

std::size_t privateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PagefileUsage;
}

}  // namespace

TEST(LanguageFiles, TheDataFolderWinsAndEachBadFileIsNamedOnce) {
  ScratchFolder data, program;
  const std::wstring dataLanguages = languageFolderIn(data), programLanguages = languageFolderIn(program);
  ScratchFolder::writeBytes(dataLanguages + L"de-DE.lng", "language.name=Deutsch\nmenu.exit=&Beenden\n");
  ScratchFolder::writeBytes(programLanguages + L"de-DE.lng", "language.name=Nie\n");
  ScratchFolder::writeBytes(programLanguages + L"pt-BR.lng", "language.name=Português\nmenu.exit=Sair {x}\n");
  ScratchFolder::writeBytes(programLanguages + L"zh-CN.lng", "menu.exit=x\n");
  ScratchFolder::writeBytes(programLanguages + L"fr-FR.lng", std::string(kLanguageFileLimit + 4096, 'a'));
  ScratchFolder::writeBytes(programLanguages + L"notes.txt", "menu.exit=x\n");

  const std::vector<std::string> log = englishLines(loadLanguageFiles({data.path(), program.path()}));
  const auto files = languageFiles().entries();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "Deutsch");
  EXPECT_EQ(files[1].tag(), "pt-BR");
  ASSERT_EQ(log.size(), 2u);  // the built-in zh-CN, the far too large fr-FR
  for (const char* name : {"zh-CN.lng", "fr-FR.lng"}) EXPECT_EQ(linesNaming(log, name), 1u) << name;

  // The setting names a language; without one, the display language of Wine's Chinese locale.
  EXPECT_TRUE(speakLanguageSetting("DE-de").empty());
  EXPECT_EQ(tr(TextId::MenuExit), "&Beenden");
  const std::vector<std::string> chosen = englishLines(speakLanguageSetting("pt-br"));  // its bad entry, now
  EXPECT_EQ(tr(TextId::MenuExit), Language::english().text(TextId::MenuExit));
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_NE(chosen[0].find("pt-BR.lng\": 1 bad entry shown in English"), std::string::npos) << chosen[0];
  speakLanguageSetting("en-US");
  EXPECT_EQ(tr(TextId::MenuExit), "E&xit");
  speakLanguageSetting("");
  EXPECT_EQ(tr(TextId::MenuExit), "退出(&E)");

  // The languages are listed once: the one spoken must outlive every reader.
  EXPECT_TRUE(loadLanguageFiles({program.path()}).empty());
  EXPECT_EQ(languageFiles().entries().size(), 2u);
}

// 3,000 files are listed in a few hundred bytes each, without their texts; translators' files
// in UTF-16 are read, files of another code page and device names are left out with one line
// each, and a chosen file found broken or gone when read whole counts as missing.
TEST(LanguageFiles, DISABLED_ThreeThousandFilesInAFreshProcess) {
  ScratchFolder data;
  const std::wstring languages = languageFolderIn(data);
  constexpr int kFiles = 3000;
  for (int i = 0; i < kFiles; ++i) {
    const std::string number = std::to_string(10000 + i).substr(1);
    ScratchFolder::writeBytes(languages + L"tt-" + toWide(number) + L".lng",
                              "language.name=Sprache " + number + "\r\nmenu.exit=Ende " + number + "\r\n");
  }
  ScratchFolder::writeBytes(languages + L"de-DE.lng",
                            "\xFF\xFE" + utf8ToUtf16("language.name=Deutsch\r\nmenu.exit=&Beenden\r\n", FileEncoding::Utf16Le));
  ScratchFolder::writeBytes(languages + L"zh-TW.lng", "language.name=\xD6\xD0\xCE\xC4\r\n");  // code page 936
  ScratchFolder::writeBytes(languages + L"fr-FR.lng",
                            "language.name=Français\n#" + std::string(kLanguageHeadBytes, 'x') + "\nmenu.exit=\xC3\n");
  // Made past Win32's device names, as a copy from another system can bring it.
  ScratchFolder::writeBytes(L"\\\\?\\" + languages + L"AUX.lng", "language.name=Aux\n");
  ASSERT_EQ(ScratchFolder::readBytes(L"\\\\?\\" + languages + L"AUX.lng"), "language.name=Aux\n");

  const std::size_t before = privateBytes();
  const std::vector<std::string> log = englishLines(loadLanguageFiles({data.path()}));
  const std::size_t grown = privateBytes() - before;
  const LanguageFileList& list = languageFiles();
  ASSERT_EQ(list.entries().size(), kFiles + 2u);  // and de-DE, fr-FR
  EXPECT_LE(list.bytesHeld(), 512u * list.entries().size());
  EXPECT_LT(grown, 8u << 20) << "private bytes grew by " << grown;
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(linesNaming(log, "zh-TW.lng\" ignored: it is not UTF-8 or UTF-16 text"), 1u);
  EXPECT_EQ(linesNaming(log, "AUX.lng\" ignored: its name is a device name"), 1u);
  const auto listed = listedFileLanguages();
  EXPECT_NE(std::find_if(listed.begin(), listed.end(), [](const LanguageListEntry& e) { return e.caption == "Sprache 2999"; }),
            listed.end());

  EXPECT_TRUE(speakLanguageSetting("de-DE").empty());
  EXPECT_EQ(tr(TextId::MenuExit), "&Beenden");
  EXPECT_TRUE(speakLanguageSetting("tt-0042").empty());
  EXPECT_EQ(tr(TextId::MenuExit), "Ende 0042");
  EXPECT_EQ(speaking().name(), "Sprache 0042");

  // Found broken when read whole, or gone: one line, and Windows' language (Chinese here).
  std::vector<std::string> fallback = englishLines(speakLanguageSetting("fr-FR"));
  ASSERT_EQ(fallback.size(), 1u);
  EXPECT_NE(fallback[0].find("fr-FR.lng\" ignored: it is not UTF-8 or UTF-16 text"), std::string::npos);
  EXPECT_EQ(speaking().tag(), "zh-CN");
  ASSERT_TRUE(DeleteFileW((languages + L"tt-0007.lng").c_str()));
  fallback = englishLines(speakLanguageSetting("tt-0007"));
  ASSERT_EQ(fallback.size(), 1u);
  EXPECT_NE(fallback[0].find("Cannot read language file"), std::string::npos) << fallback[0];
  EXPECT_NE(fallback[0].find("tt-0007.lng"), std::string::npos) << fallback[0];
  EXPECT_EQ(speaking().tag(), "zh-CN");

  DeleteFileW((L"\\\\?\\" + languages + L"AUX.lng").c_str());
}

TEST(LanguageFiles, ThreeThousandFilesAreListedCheaplyAndOnlyTheChosenIsReadWhole) {
  runInAFreshProcess(L"LanguageFiles.DISABLED_ThreeThousandFilesInAFreshProcess", 300000);
}
