#include <gtest/gtest.h>

#include "settings/ini_codec.h"
#include "update/update_check.h"
#include "update/web_pages.h"

using namespace kelvane;

namespace {

std::string versionFile(const std::string& kelvaneLine) {
  return "[CurrentVersions]\r\nOther=9.9.9.9\r\n" + kelvaneLine +
         "\r\n[DownloadURL]\r\nKelvane=https://example.org/k.zip\r\n[DateReleased]\r\nDate=2026-11-30\r\n";
}

std::string captionAfter(const std::optional<std::string>& downloaded, const std::string& own) {
  DownloadLabel label;
  label.checkStarted();
  label.checkEnded(judgeVersionFile(downloaded, "Kelvane", own));
  return label.caption();
}

}  // namespace

TEST(VersionFile, SectionsKeysAndHistoryInNumberOrder) {
  const auto file = readVersionFile(
      "; maker's file\n[currentversions]\n kelvane = 3.3.0.0 \n[DownloadURL]\nKelvane=https://x/k.zip\n"
      "[DateReleased]\nDate=2026年11月\n[BetaVersions]\nKelvane=3.4.0.1\n"
      "[CurrentHistory]\n4=four\n2=two\n1=one\n",
      "Kelvane");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->currentVersion, "3.3.0.0");
  EXPECT_EQ(file->downloadUrl, "https://x/k.zip");
  EXPECT_EQ(file->releaseDate, "2026年11月");
  EXPECT_EQ(file->betaVersion, "3.4.0.1");
  // Keys 1, 2 and 4: three entries, so three lines, the third (key 3) empty.
  EXPECT_EQ(file->changes, (std::vector<std::string>{"one", "two", ""}));

  const auto other = readVersionFile("[CurrentVersions]\nOther=1.0.0.0\n", "Kelvane");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->currentVersion, "");
  EXPECT_TRUE(other->changes.empty());
  // A server's error page is no version file at all.
  EXPECT_FALSE(readVersionFile("<html><head><title>404 Not Found</title></head></html>", "Kelvane"));
  EXPECT_FALSE(readVersionFile("", "Kelvane"));

  EXPECT_EQ(programKey("C:\\Program Files\\Kelvane\\Kelvane.exe"), "Kelvane");
  EXPECT_EQ(programKey("kelvane"), "kelvane");
  EXPECT_EQ(programKey("D:/a.b/Kelvane.portable.exe"), "Kelvane.portable");
}

// The one-pass reading gives what the settings files' document gives for the same text, the
// history put together as a search per number would: odd files included.
TEST(VersionFile, OnePassReadingAgreesWithTheDocument) {
  std::string longValue;
  for (int i = 0; i < 2100; ++i) longValue += "版";
  const std::string texts[] = {
      "Kelvane=0.0.0.1\n[CurrentVersions]\nKELVANE = \"3.3.0.0\" \n kelvane=9\n[currentversions]\nKelvane=8\n",
      "[CurrentHistory]\r1=a\r01=b\r3=c\r1=d\r=e\r\n[CurrentVersions]\rKelvane=1.0\n[CurrentHistory]\n2=late\n",
      "; [CurrentVersions]\n[ CurrentVersions ] tail\n\tKelvane\t=\t'2.0'\nno equals\n[DownloadURL]\nKelvane=u\n"
      "[DateReleased]\ndate=d\n[BetaVersions]\nKelvane=b\n[currenthistory]\n 2 = two \n9=nine\n2=again",
      "[CurrentVersions]\nKelvane=" + longValue + "\n[CurrentHistory]\n1=" + longValue,
      "[CurrentVersions\nKelvane=1\n[DownloadURL]\n[DownloadURL]\nKelvane=second\n",
      "",
      "[Other]\nKelvane=1\n[CurrentHistory]\n1=x\n",
  };
  for (const std::string& text : texts) {
    const IniDocument ini = IniDocument::parse(text);
    const auto file = readVersionFile(text, "Kelvane");
    ASSERT_EQ(file.has_value(), ini.hasSection("CurrentVersions")) << text;
    EXPECT_EQ(offeredVersion(text, "Kelvane"), file ? std::optional(file->currentVersion) : std::nullopt) << text;
    if (!file) continue;
    EXPECT_EQ(file->currentVersion, ini.get("CurrentVersions", "Kelvane", "")) << text;
    EXPECT_EQ(file->downloadUrl, ini.get("DownloadURL", "Kelvane", "")) << text;
    EXPECT_EQ(file->releaseDate, ini.get("DateReleased", "Date", "")) << text;
    EXPECT_EQ(file->betaVersion, ini.get("BetaVersions", "Kelvane", "")) << text;
    std::vector<std::string> history;
    for (std::size_t key = 1; key <= ini.keyNames("CurrentHistory").size(); ++key)
      history.push_back(ini.get("CurrentHistory", std::to_string(key), ""));
    EXPECT_EQ(file->changes, history) << text;
  }
}

TEST(VersionFile, IniKeyNamesOfASection) {
  const IniDocument ini = IniDocument::parse("[A]\nx=1\n;c\ny\nx=2\n[B]\nz=3\n[a]\nw=4\n");
  EXPECT_EQ(ini.keyNames("a"), (std::vector<std::string>{"x", "x"}));
  EXPECT_TRUE(ini.hasSection(" b"));
  EXPECT_FALSE(ini.hasSection("C"));
  EXPECT_TRUE(ini.keyNames("C").empty());
}

TEST(VersionFile, VersionsAreUpToFourNumbers) {
  EXPECT_EQ(parseVersion("3.2.10.0"), (FourPartVersion{3, 2, 10, 0}));
  EXPECT_EQ(parseVersion("3.3.1"), (FourPartVersion{3, 3, 1, 0}));
  EXPECT_EQ(parseVersion("65535.0.0.007"), (FourPartVersion{65535, 0, 0, 7}));
  for (const char* bad : {"", "3..1.0", "3.2.1.0.", ".3.2", "3.2.1.0.5", "3.2.x.0", " 3.2.1.0", "3.2.1.0 ", "-3.2.1.0",
                          "65536.0.0.0", "000001.0.0.0", "99999999999999999999.0.0.0", "3,2,1,0"})
    EXPECT_FALSE(parseVersion(bad)) << bad;
  EXPECT_EQ(versionString({3, 2, 10, 0}), "3.2.10.0");
}

TEST(VersionFile, LabelAfterACheck) {
  // Part by part: 3.3.0.0 is newer than 3.2.10.0 (the digits run together would say 3300 < 32100).
  EXPECT_EQ(captionAfter(versionFile("Kelvane=3.3.0.0"), "3.2.10.0"), "<link>Kelvane 3.3 可供下载</link>");
  EXPECT_EQ(captionAfter(versionFile("Kelvane=3.2.1.4"), "3.2.1.0"), "<link>Kelvane 3.21 SR4 可供下载</link>");
  EXPECT_EQ(captionAfter(versionFile("Kelvane=3.3.1"), "3.2.10.0"), "<link>Kelvane 3.31 可供下载</link>");
  EXPECT_EQ(captionAfter(versionFile("Kelvane=3.2.10.0"), "3.2.10.0"), "Kelvane 是最新的");
  EXPECT_EQ(captionAfter(versionFile("Kelvane=3.2.9.99"), "3.2.10.0"), "Kelvane 是最新的");
  EXPECT_EQ(captionAfter(versionFile("Kelvane=3.2.10"), "3.2.10.0"), "Kelvane 是最新的");
  // Whatever leaves a version unknown is a failed check, never "up to date" nor a lasting
  // "checking".
  for (const auto& failed : std::vector<std::optional<std::string>>{
           std::nullopt, versionFile("Kelvanex=4.0.0.0"), versionFile("Kelvane="), versionFile("Kelvane=four"),
           versionFile("Kelvane=4.0.0.0.0"), versionFile("Kelvane=4000000.0.0.0"),
           "<html><body><h1>Error 404</h1></body></html>", versionFile("Kelvane=4.0.0.0") + std::string(70000, ';')})
    EXPECT_EQ(captionAfter(failed, "3.2.10.0"), "检查新版本时出错");
  EXPECT_EQ(captionAfter(versionFile("Kelvane=4.0.0.0"), ""), "检查新版本时出错");
}

TEST(VersionFile, DownloadLabelStates) {
  DownloadLabel label;
  EXPECT_EQ(label.caption(), "<link>检查更新</link>");
  EXPECT_TRUE(label.hasLink());
  EXPECT_TRUE(label.checksOnShow());
  EXPECT_EQ(label.LabelDownloadLinkClick(), DownloadLabel::Click::StartCheck);

  label.checkStarted();
  EXPECT_EQ(label.caption(), "正在检查更新...");
  EXPECT_TRUE(label.greyed());
  EXPECT_FALSE(label.hasLink());
  // One check at a time: showing the window again or clicking starts nothing.
  EXPECT_FALSE(label.checksOnShow());
  EXPECT_EQ(label.LabelDownloadLinkClick(), DownloadLabel::Click::Nothing);

  label.checkEnded(judgeVersionFile(std::nullopt, "Kelvane", "1.0.0.0"));
  EXPECT_FALSE(label.greyed());
  EXPECT_TRUE(label.checksOnShow());  // a failure is tried again at the next showing

  // Closed before an answer: as before the check (the failure's text), and tried again.
  label.checkStarted();
  label.checkAbandoned();
  EXPECT_EQ(label.caption(), "检查新版本时出错");
  EXPECT_TRUE(label.checksOnShow());

  label.checkStarted();
  label.checkEnded(judgeVersionFile(versionFile("Kelvane=1.0.0.0"), "Kelvane", "1.0.0.0"));
  label.checkAbandoned();  // nothing runs any more: the answer stays
  EXPECT_EQ(label.state(), DownloadLabelState::UpToDate);
  EXPECT_FALSE(label.checksOnShow());

  DownloadLabel closed;
  closed.checkStarted();
  closed.checkAbandoned();  // the window was hidden while the check ran
  EXPECT_EQ(closed.caption(), "<link>检查更新</link>");
  EXPECT_TRUE(closed.checksOnShow());

  DownloadLabel offered;
  offered.checkStarted();
  offered.checkEnded(judgeVersionFile(versionFile("Kelvane=1.0.1.0"), "Kelvane", "1.0.0.0"));
  EXPECT_TRUE(offered.hasLink());
  EXPECT_FALSE(offered.checksOnShow());
  EXPECT_EQ(offered.LabelDownloadLinkClick(), DownloadLabel::Click::OpenDownloadPage);
}

TEST(WebPages, OnlyWebAddressesAreOpened) {
  for (const std::string& page : {versionFileAddress(), downloadPage(), supportPage(), std::string(kDonationPage)})
    EXPECT_TRUE(isWebAddress(page)) << page;
  EXPECT_TRUE(isWebAddress("HTTP://127.0.0.1:8080/ver/curr_ver.txt"));
  for (const char* bad : {"", "http://", "https:///etc", "file:///C:/Windows/notepad.exe", "C:\\Windows\\notepad.exe",
                          "javascript:alert(1)", "http://host/a b", "http://host/\r\nx", "ftp://host/x", "https:\\\\host",
                          "mailto:a@b.c", " http://host/"})
    EXPECT_FALSE(isWebAddress(bad)) << bad;
}
