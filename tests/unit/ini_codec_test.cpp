// The INI document against what Windows' profile functions were observed to do.
#include "settings/ini_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace kelvane;

namespace {

// The file F of the observations: a quoted value, a line without '=' and a trailing section.
const std::string kF =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

std::optional<std::string> read(const std::string& text, const char* section, const char* key) {
  return IniDocument::parse(text).get(section, key);
}

std::string afterSet(const std::string& text, const char* section, const char* key,
                     const char* value) {
  IniDocument doc = IniDocument::parse(text);
  doc.set(section, key, value);
  return doc.serialize();
}

}  // namespace

TEST(IniRead, NamesCaseQuotesAndBlanks) {
  EXPECT_EQ(read(kF, "section1", "NaMe1"), "val1");
  EXPECT_EQ(read(kF, "SECTION1", "name1"), "val1");
  EXPECT_EQ(read(kF, "section1", "name2"), "val2");
  EXPECT_EQ(read(kF, "section1", "name3"), std::nullopt);  // no '=': not a key
  EXPECT_EQ(read(kF, "section2", "name1"), std::nullopt);
  EXPECT_EQ(read(kF, "nosection", "name1"), std::nullopt);

  EXPECT_EQ(read("[S]\r\nk=  '   v   '  \r\n", "S", "k"), "   v   ");
  EXPECT_EQ(read("[S]\r\nk=  \"   v   '  \r\n", "S", "k"), "\"   v   '");
  EXPECT_EQ(read("[S]\r\nk='\"v\"'\r\n", "S", "k"), "\"v\"");
  EXPECT_EQ(read("[S]\r\nk='\"v'\"\r\n", "S", "k"), "'\"v'\"");
  EXPECT_EQ(read("[S]\r\nk=\"\r\n", "S", "k"), "\"");  // a lone quote is no pair
  EXPECT_EQ(read("[S]\r\nk=\"\"\r\n", "S", "k"), "");
  // Quotes belong to section and key names.
  EXPECT_EQ(read("[\"S\"]\r\n\"k\"=v\r\n", "\"S\"", "\"k\""), "v");
  EXPECT_EQ(read("[\"S\"]\r\n\"k\"=v\r\n", "S", "k"), std::nullopt);
  // Space, tab and vertical tab around keys and values.
  EXPECT_EQ(read("[S]\r\n \t\vk \t\v= \t\vv \t\v\r\n", "S", "k"), "v");
  EXPECT_EQ(read("  [ x ]  \r\nk=v\r\n", "x", "k"), "v");
  // Other control characters, a form feed among them, are text (Wine trims it, Windows not).
  EXPECT_EQ(read("[S]\r\nk=v\f\r\n\fj=\fw\x1A\r\n", "S", "k"), "v\f");
  EXPECT_EQ(read("[S]\r\nk=v\f\r\n\fj=\fw\x1A\r\n", "S", "\fj"), "\fw\x1A");
  EXPECT_EQ(IniDocument::parse("[ x ]\r\n[y]\r\n").sectionNames(),
            (std::vector<std::string>{"x", "y"}));
  // Names given by the caller lose spaces only.
  EXPECT_EQ(read("[S]\r\nk=v\r\n", " S ", " k "), "v");
  EXPECT_EQ(read("[S]\r\nk=v\r\n", "\tS", "k"), std::nullopt);
  EXPECT_EQ(read("[S]\r\nk=v\r\n", "S", "k\t"), std::nullopt);
  // Key names can hold blanks inside and '=' only ends the first one.
  EXPECT_EQ(read("[S]\r\nmy key = a=b\r\n", "S", "my key"), "a=b");
}

TEST(IniRead, CommentsDuplicatesAndOddStructure) {
  EXPECT_EQ(read("[S]\r\n;k=v\r\n", "S", ";k"), std::nullopt);
  EXPECT_EQ(read("[S]\r\n;k=v\r\n", "S", "k"), std::nullopt);
  EXPECT_EQ(read("[S]\r\n   ;k=v\r\n", "S", "k"), std::nullopt);
  EXPECT_EQ(read("[S]\r\nk=;x\r\n", "S", "k"), ";x");  // no inline comments
  EXPECT_EQ(read("[S]\r\n#k=v\r\n", "S", "#k"), "v");  // '#' is not a comment

  EXPECT_EQ(read("[S]\r\nk=v1\r\nk=v2\r\n", "S", "k"), "v1");
  EXPECT_EQ(read("[S]\r\n[S]\r\nk=v\r\n", "S", "k"), std::nullopt);
  EXPECT_EQ(IniDocument::parse("[S]\r\n[S]\r\n").sectionNames().size(), 2u);

  const std::string a20 =
      "\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n=val_no_key\r\n[t]\r\n";
  EXPECT_EQ(read(a20, "", "key"), "val_e_section");
  EXPECT_EQ(read(a20, "s", ""), "val_no_key");
  EXPECT_EQ(read("key=top\r\n[s]\r\n", "", "key"), std::nullopt);  // above every section

  EXPECT_EQ(read("[S]k=v\r\n", "S", "k"), std::nullopt);  // text after ']' is ignored
  EXPECT_EQ(read("[S   \r\nk=v\r\n", "S", "k"), "v");      // a missing ']' is fine
  EXPECT_EQ(read("S]\r\nk=v\r\n", "S", "k"), std::nullopt);
  EXPECT_EQ(read("[sec]whoops]\r\nk=v\r\n", "sec", "k"), "v");
  EXPECT_EQ(read("[S]\r\nname2=\r\n", "S", "name2"), "");  // present but empty
}

TEST(IniRead, LineEndsAreAlike) {
  std::string lf = kF, cr = kF, mixed = kF;
  auto replaceAll = [](std::string& s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
      s.replace(at, from.size(), to);
  };
  replaceAll(lf, "\r\n", "\n");
  replaceAll(cr, "\r\n", "\r");
  replaceAll(mixed, "\r\nname2", "\nname2");
  replaceAll(mixed, "\r\nname4", "\rname4");
  for (const std::string& text : {lf, cr, mixed}) {
    EXPECT_EQ(read(text, "section1", "name1"), "val1");
    EXPECT_EQ(read(text, "section1", "name2"), "val2");
    EXPECT_EQ(read(text, "section1", "name4"), "a");
    EXPECT_EQ(read(text, "section2", "name4"), std::nullopt);
  }
  EXPECT_EQ(read("[S]\r\nk=v", "S", "k"), "v");  // no final line end
}

TEST(IniRead, DefaultsAndTheValueLimit) {
  const IniDocument f = IniDocument::parse(kF);
  EXPECT_EQ(f.get("section1", "missing", "default  "), "default");
  EXPECT_EQ(f.get("section1", "missing", "   d   "), "   d");
  EXPECT_EQ(f.get("section1", "missing", "\td\t"), "\td\t");
  EXPECT_EQ(f.get("section1", "name1", "x"), "val1");
  EXPECT_EQ(IniDocument().get("S", "k", "d"), "d");

  const std::string longValue(3000, 'x');
  EXPECT_EQ(read("[S]\r\nk=" + longValue + "\r\n", "S", "k"), std::string(kIniValueLimit, 'x'));
  EXPECT_EQ(f.get("section1", "name1", "", 3), "val");
  // The cut never splits a character: 2 three-byte characters fit into a limit of 2.
  EXPECT_EQ(read("[S]\r\nk=中文字\r\n", "S", "k").value().size(), 9u);
  EXPECT_EQ(IniDocument::parse("[S]\r\nk=中文字\r\n").get("S", "k", "", 2), "中文");
  EXPECT_EQ(read("[自定义颜色]\r\nColorA=FFFFFF\r\n", "自定义颜色", "colora"), "FFFFFF");
  const std::string huge(65534, 'h');
  EXPECT_EQ(IniDocument::parse("[S]\r\nk=" + huge).get("S", "k", "", 70000), huge);
  // Like Windows, no byte-order mark is understood: it hides the first section header.
  EXPECT_EQ(read("\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k"), std::nullopt);
}

TEST(IniWrite, NewFilesSectionsAndKeys) {
  EXPECT_EQ(afterSet("", "S", "K", "V"), "[S]\r\nK=V\r\n");
  EXPECT_EQ(afterSet("", " sec ", " key ", " V "), "[sec]\r\nkey= V \r\n");

  const std::string c4 =
      "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n";
  EXPECT_EQ(afterSet(c4, "App3", "key5", "string5"), c4 + "[App3]\r\nkey5=string5\r\n");
  EXPECT_EQ(afterSet(c4, "app1", "KEY2", "x"),
            "[App1]\r\nkey1=string1\r\nkey2=x\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n");
  EXPECT_EQ(afterSet(c4, "App1", "key9", "x"),
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\nkey9=x\r\n"
            "[App2]\r\nkey4=string4\r\n");
  EXPECT_EQ(afterSet("[App3]\r\n", "App3", "k", "v"), "[App3]\r\nk=v\r\n");

  IniDocument order = IniDocument::parse("[S]\r\nb=value\r\na=value\r\n");
  for (const char* key : {"z", "b", "y", "a"}) order.set("S", key, "");
  EXPECT_EQ(order.serialize(), "[S]\r\nb=\r\na=\r\nz=\r\ny=\r\n");

  IniDocument comments = IniDocument::parse(";c0\r\n[S]\r\n;c1\r\nb=value\r\n;c2\r\na=value\r\n");
  for (const char* key : {"z", ";x", "y", "a", "b"}) comments.set("S", key, "");
  EXPECT_EQ(comments.serialize(), ";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\ny=\r\n;x=\r\n");

  EXPECT_EQ(afterSet("[SectionName]\r\nTestKey=TestValue", "SECTIONNAME", "TESTKEY", "v2"),
            "[SectionName]\r\nTestKey=v2\r\n");
  EXPECT_EQ(afterSet("[S]\r\nk=v", "T", "k", "v"), "[S]\r\nk=v\r\n[T]\r\nk=v\r\n");
  EXPECT_EQ(afterSet("[S]", "S", "k", "v"), "[S]\r\nk=v\r\n");
}

TEST(IniWrite, EverythingElseStaysByteForByte) {
  // LF and CR line ends, blank lines, comments, indentation, unknown keys and a keyless
  // preamble survive an edit; only the changed line and the new line are CR LF.
  const std::string before =
      "; my settings\n\n  [General]  \n  Warn = 0 \n\n;keep\nUnknown=1\r[Other]\nx=y\n";
  IniDocument doc = IniDocument::parse(before);
  doc.set("General", "Warn", "1");
  doc.set("General", "RefreshRate", "500");
  EXPECT_EQ(doc.serialize(),
            "; my settings\n\n  [General]  \n  Warn =1\r\n\n;keep\nUnknown=1\r"
            "RefreshRate=500\r\n[Other]\nx=y\n");
  EXPECT_EQ(IniDocument::parse(before).serialize(), before);

  // The first of duplicate keys and sections is the one written.
  EXPECT_EQ(afterSet("[S]\r\nk=1\r\nk=2\r\n[S]\r\nk=3\r\n", "S", "k", "x"),
            "[S]\r\nk=x\r\nk=2\r\n[S]\r\nk=3\r\n");
  // A value cannot smuggle a line into the file.
  IniDocument injected = IniDocument::parse("[S]\r\n");
  injected.set("S", "k", "a\r\n[T]\nb=c");
  EXPECT_EQ(injected.get("T", "b"), std::nullopt);
  EXPECT_EQ(injected.get("S", "k"), "a  [T] b=c");
}
