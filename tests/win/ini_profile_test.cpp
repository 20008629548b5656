// The INI document against the system's own profile functions: a corpus of hand-made and odd
// files is read through GetPrivateProfileStringA and through the document, and every section
// and key name found in each file (in two letter cases) must give the same answer. Files in
// canonical form must also come out of edits byte for byte as WritePrivateProfileStringA
// writes them.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "common/text_win.h"
#include "scratch_folder_win.h"
#include "settings/ini_codec.h"
#include "settings/settings_file_win.h"

using namespace kelvane;
using kelvane::testing::ScratchFolder;

namespace {

const std::string kLong(3000, 'v');

// UTF-8 texts; they are stored in the system code page. Three of Windows' behaviours that Wine
// does not share are left to the core tests: a section name ends at its first ']' (Wine: the
// last), a header without ']' still opens its section (Wine ignores it), and only space, tab
// and vertical tab are blanks (Wine also trims a form feed).
const std::vector<std::string> kCorpus = {
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n",
    "[section1]\nname1=val1\nname2=\"val2\"\nname3\nname4=a\n[section2]\n",
    "[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r",
    "[section1]\r\nname1=val1\nname2=\"val2\"\rname3\r\nname4=a\n[section2]",
    "[S]\r\nk=  '   v   '  \r\n",
    "[S]\r\nk=  \"   v   '  \r\n",
    "[S]\r\nk='\"v\"'\r\n",
    "[S]\r\nk='\"v'\"\r\n",
    "[S]\r\nk=\"\r\nq=''\r\nr='\r\ns=\"\"\r\n",
    "[\"S\"]\r\n\"k\"=v\r\n[S]\r\nk=plain\r\n",
    "[S]\r\n \t\vk \t\v= \t\vv \t\v\r\n",
    "  [ x ]  \r\nk=v\r\n  j = w \r\n",
    "\r\n\n  \t[S]\r\nk=v\r\n",
    "[S]\r\n;k=v\r\n  ;j=w\r\nk2=;x\r\n#k=v\r\n",
    "[S]\r\nk=v1\r\nk=v2\r\nK=v3\r\n",
    "[S]\r\n[S]\r\nk=v\r\n",
    "[S]\r\nk=first\r\n[T]\r\nk=t\r\n[s]\r\nk=second\r\n",
    "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n",
    "[S]k=v\r\nj=w\r\n",
    "S]\r\nk=v\r\n",
    "[sec]\r\nmy key = a = b \r\nx==y\r\n=z\r\n",
    "[S]\r\nk=" + kLong + "\r\n",
    "[S]\r\nk=\r\nj=   \r\nl= \t \r\n",
    "[General]\r\nWarn=0\r\nRefreshRate=0x3E8\r\nShowPercentage=abc\r\n[Colors]\r\nGreenColor=#00FF00\r\n"
    "RedColor=threedface\r\n[Font]\r\nName=Tahoma\r\nColor=-16777208\r\n",
    "; Kelvane settings, edited by hand\r\n\r\n[General]\r\nLogFile=D:\\logs\\mine.log\r\n\r\n"
    "[Font]\r\nName=SimSun\r\n",
    "[KelvaneTheme]\r\nVer=21\r\nName=Old\r\nFontColor=-1\r\nOpaqueBackground=1\r\n",
    "[自定义颜色]\r\nColorA=FFFFFF\r\nColorB=FFFFFFFF\r\n",
    "; 注释\r\n[常规]\r\n名字=值\r\nk=中文 值\r\n",
    "[S]\r\nk=v",
    "[S]",
    "",
    "\r\n\r\n\r\n",
    "k=before any section\r\n[S]\r\nk=in S\r\n",
    "[A]\r\nk=a\r\n[B]\r\nk=b\r\n[C]\r\nk=c\r\n[a]\r\nk=a2\r\n",
    "[S]\r\n  indented=yes\r\n\tTabbed=yes\r\n",
    "[S]\r\nkey with spaces=v\r\n key with spaces =w\r\n",
    "[S]\r\nk=trailing spaces   \r\nj=   leading\r\n",
    "[S]\r\nk=\"quoted\" tail\r\nj='a'b'\r\n",
    "[ spaced section ]\r\nk=v\r\n[spaced  section]\r\nk=w\r\n",
    "[S]\r\nk=v ; not a comment\r\nj=v # nor this\r\n",
    "[S]\r\nNAME=upper\r\nname=lower\r\n",
    "[S]\r\nk=1\r\n\r\n\r\nj=2\r\n; end\r\n",
    "[S]\r\r\nk=1\r\n\n\rj=2\r\n",
    "[Colors]\r\nProcMenuHightlightColor=Highlight\r\nOpaqueBkColor=Automatic\r\n"
    "BarBorderColor=\r\n",
    "\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n=val_no_key\r\n[t]\r\n",
};

// Every bracketed and every '='-separated name in the text, as written and in upper case.
void namesIn(const std::string& text, std::set<std::string>& sections, std::set<std::string>& keys) {
  std::size_t start = 0;
  auto trim = [](std::string s) {
    const char* blanks = " \t\v\f";
    s.erase(0, s.find_first_not_of(blanks));
    const std::size_t last = s.find_last_not_of(blanks);
    s.erase(last == std::string::npos ? 0 : last + 1);
    return s;
  };
  while (start <= text.size()) {
    const std::size_t stop = std::min(text.find_first_of("\r\n", start), text.size());
    const std::string line = trim(text.substr(start, stop - start));
    if (!line.empty() && line[0] == '[') {
      sections.insert(trim(line.substr(1, line.find(']') - 1)));
    } else if (line.find('=') != std::string::npos) {
      keys.insert(trim(line.substr(0, line.find('='))));
    }
    start = stop + 1;
  }
  for (auto* names : {&sections, &keys}) {
    std::set<std::string> upper;
    for (std::string name : *names) {
      CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
      upper.insert(name);
    }
    names->insert(upper.begin(), upper.end());
    names->insert("missing");
  }
}

std::string profileString(const std::string& section, const std::string& key,
                          const std::string& ansiPath) {
  std::string buffer(kIniValueLimit + 1, '\0');
  const DWORD length = GetPrivateProfileStringA(utf8ToAnsi(section).c_str(), utf8ToAnsi(key).c_str(),
                                                "\x01", buffer.data(), static_cast<DWORD>(buffer.size()),
                                                ansiPath.c_str());
  buffer.resize(length);
  return buffer;
}

}  // namespace

TEST(IniAgainstProfileApi, ValuesAgreeOnTheCorpus) {
  ScratchFolder folder;
  ASSERT_GE(kCorpus.size(), 40u);
  int compared = 0;
  for (std::size_t i = 0; i < kCorpus.size(); ++i) {
    const std::wstring path = folder.path() + L"case" + std::to_wstring(i) + L".ini";
    ScratchFolder::writeBytes(path, utf8ToAnsi(kCorpus[i]));
    const std::string ansiPath = utf8ToAnsi(toUtf8(path));
    const IniDocument document = IniDocument::parse(readTextFile(path).value_or(TextFile{}).text);
    std::set<std::string> sections, keys;
    namesIn(kCorpus[i], sections, keys);
    for (const std::string& section : sections) {
      // Keys above the first section: the document follows Windows (unreachable), Wine finds
      // them; an empty section name "[]" is the other way round.
      if (section.empty()) continue;
      for (const std::string& key : keys) {
        // Wine reads a comment line ";k=v" as the key ";k"; Windows never finds it.
        if (!key.empty() && key[0] == ';') continue;
        const std::string expected = profileString(section, key, ansiPath);
        const std::string actual = utf8ToAnsiFile(document.get(section, key, "\x01"));
        EXPECT_EQ(actual, expected) << "case " << i << " [" << section << "] " << key;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 400);
}

TEST(IniAgainstProfileApi, CanonicalFilesAreWrittenByteForByte) {
  struct Write {
    const char* section;
    const char* key;
    const char* value;
  };
  struct Case {
    std::string before;
    std::vector<Write> writes;
  };
  const std::vector<Case> cases = {
      {"", {{"S", "K", "V"}}},
      {"[App1]\r\nkey1=string1\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n",
       {{"App3", "key5", "string5"}, {"app1", "KEY2", "x"}, {"App1", "key9", "new"},
        {"App2", "key4", ""}, {"App2", "key6", "six"}}},
      {"[SectionName]\r\nTestKey=TestValue", {{"SECTIONNAME", "TESTKEY", "v2"}}},
      {"[S]\r\nb=value\r\na=value\r\n", {{"S", "z", ""}, {"S", "b", ""}, {"S", "y", ""}, {"S", "a", ""}}},
      {"[A]\r\n[B]\r\nk=v\r\n", {{"A", "k", "1"}, {"B", "j", "2"}, {"C", "k", "3"}}},
      {"[自定义颜色]\r\nColorA=FFFFFF\r\n", {{"自定义颜色", "ColorB", "00FF00"}, {"自定义颜色", "ColorA", "0"}}},
  };
  ScratchFolder folder;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::wstring viaApi = folder.path() + L"api" + std::to_wstring(i) + L".ini";
    const std::wstring viaDocument = folder.path() + L"doc" + std::to_wstring(i) + L".ini";
    ScratchFolder::writeBytes(viaApi, utf8ToAnsi(cases[i].before));
    ScratchFolder::writeBytes(viaDocument, utf8ToAnsi(cases[i].before));
    const std::string ansiPath = utf8ToAnsi(toUtf8(viaApi));
    for (const Write& write : cases[i].writes) {
      ASSERT_TRUE(WritePrivateProfileStringA(utf8ToAnsi(write.section).c_str(),
                                             utf8ToAnsi(write.key).c_str(),
                                             utf8ToAnsi(write.value).c_str(), ansiPath.c_str()));
      ASSERT_TRUE(editIniFile(viaDocument, [&](IniDocument& document) {
        document.set(write.section, write.key, write.value);
      }));
    }
    EXPECT_EQ(ScratchFolder::readBytes(viaDocument), ScratchFolder::readBytes(viaApi)) << "case " << i;
  }
}
