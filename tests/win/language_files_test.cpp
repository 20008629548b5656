// Language files as the program finds them at start: the data folder's before the program
// folder's, a broken, hostile or built-in one named in one log line, and the setting or
// Windows' display language deciding which language is spoken.
#include "settings/language_files_win.h"

#include <gtest/gtest.h>

#include "scratch_folder_win.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

std::wstring languageFolderIn(const ScratchFolder& folder) {
  const std::wstring path = folder.path() + std::wstring(kLanguageFolder);
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
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

  const std::vector<std::string> log = loadLanguageFiles({data.path(), program.path()});
  ASSERT_EQ(fileLanguages().size(), 2u);
  EXPECT_EQ(fileLanguages()[0].name(), "Deutsch");
  EXPECT_EQ(fileLanguages()[1].tag(), "pt-BR");
  EXPECT_EQ(fileLanguages()[1].text(TextId::MenuExit), Language::english().text(TextId::MenuExit));
  ASSERT_EQ(log.size(), 3u);  // pt-BR's bad entry, the built-in zh-CN, the far too large fr-FR
  for (const char* name : {"pt-BR.lng", "zh-CN.lng", "fr-FR.lng"})
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [&](const std::string& line) { return line.find(name) != std::string::npos; }),
              1)
        << name;

  // The setting names a language; without one, the display language of Wine's Chinese locale.
  speakLanguageSetting("DE-de");
  EXPECT_EQ(tr(TextId::MenuExit), "&Beenden");
  speakLanguageSetting("en-US");
  EXPECT_EQ(tr(TextId::MenuExit), "E&xit");
  speakLanguageSetting("");
  EXPECT_EQ(tr(TextId::MenuExit), "退出(&E)");

  // The languages are read once: the one spoken must outlive every reader.
  EXPECT_TRUE(loadLanguageFiles({program.path()}).empty());
  EXPECT_EQ(fileLanguages().size(), 2u);
}
