// The files shared with users on a Western system, whose ANSI code page (1252) has no Chinese.
// ctest runs these once more under an English locale; under any other code page they skip.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "app/alert_step_win.h"
#include "history/program_history_win.h"
#include "common/clock_win.h"
#include "common/text_win.h"
#include "fake_form_services.h"
#include "history/history_export_win.h"
#include "scratch_folder_win.h"
#include "settings/log_file_win.h"
#include "settings/settings_file_win.h"

using namespace kelvane;
using kelvane::testing::FakeFormServices;
using kelvane::testing::ScratchFolder;

namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

class WesternCodePage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
  }

  std::wstring profileString(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    wchar_t value[64] = L"";
    GetPrivateProfileStringW(section, key, L"", value, 64, path.c_str());
    return value;
  }

  ScratchFolder folder;
};

}  // namespace

TEST_F(WesternCodePage, CustomColorsSurviveAsUnicodeWhileFilesThatFitStayAnsi) {
  const std::wstring path = folder.path() + L"Kelvane.Settings";
  // "é" is a letter of the code page: a file of such text saves as ANSI, its bytes kept.
  const std::string handMade = "; r\xE9glages\r\n[General]\r\nWarn=0\r\n";
  ScratchFolder::writeBytes(path, handMade);
  const SettingsContext context{6, "C:\\default.log"};
  const TKelvaneOptions options = loadOptionsFromFile(path, context).options;
  ASSERT_TRUE(saveOptionsToFile(path, options));
  const std::string ansi = ScratchFolder::readBytes(path);
  EXPECT_EQ(ansi.substr(0, handMade.size()), handMade);
  EXPECT_NE(ansi.find("RefreshRate=1000\r\n"), std::string::npos);

  // The colour dialog's custom colours live under a Chinese section name.
  std::array<std::uint32_t, kCustomColorCount> colors{};
  colors.fill(0xFFFFFFFFu);
  colors[0] = 0x00FF00;
  colors[15] = 0x123456;
  ASSERT_TRUE(editIniFile(path, [&](IniDocument& ini) { WriteCustomColors(ini, colors); }));
  const std::string unicode = ScratchFolder::readBytes(path);
  EXPECT_EQ(unicode.substr(0, 2), kUtf16Mark);
  // Windows' own profile functions find the section and everything that was there before.
  EXPECT_EQ(profileString(path, L"自定义颜色", L"ColorA"), L"00FF00");
  EXPECT_EQ(profileString(path, L"General", L"RefreshRate"), L"1000");
  const auto read = readTextFile(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->encoding, FileEncoding::Utf16Le);
  EXPECT_EQ(read->text.rfind("; r\xC3\xA9glages\r\n[General]\r\nWarn=0\r\n", 0), 0u);

  // Saving the settings again keeps the file Unicode and the colours in it.
  ASSERT_TRUE(saveOptionsToFile(path, loadOptionsFromFile(path, context).options));
  EXPECT_EQ(ScratchFolder::readBytes(path).substr(0, 2), kUtf16Mark);
  const CustomColors stored = ReadCustomColors(IniDocument::parse(readTextFile(path).value().text));
  EXPECT_EQ(stored[0], 0x00FF00u);
  EXPECT_EQ(stored[15], 0x123456u);
}

TEST_F(WesternCodePage, TheAlertLogIsWrittenInEnglish) {
  FakeFormServices form;
  form.options.RedPercent = 40;
  form.options.WriteLog = true;
  form.options.Warn = false;
  form.options.DefragOnHighMemory = false;
  form.options.WarnMsgBox = false;
  form.options.LogFile = "Kelvane.log";
  form.dataFolder = toUtf8(folder.path());
  AlertState state;
  constexpr std::uint64_t GB = 1073741824ull;
  RunAlertStep(state, form, MemorySample{55, 8 * GB, 4 * GB, 16 * GB, 12 * GB}, 600000);
  EXPECT_TRUE(form.errors.empty());
  const std::string log = ScratchFolder::readBytes(folder.path() + L"Kelvane.log");
  EXPECT_NE(log.find(": Memory load: 55% | Physical memory: 4 GB/8 GB | Page file: 4 GB/16 GB\r\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find('?'), std::string::npos) << log;
}

// The history speaks Chinese here, which the code page cannot hold: what it logs (a file that was
// not a history file, an export that could not be written) goes into the log in English.
TEST_F(WesternCodePage, TheHistorysLogLinesAreWrittenInEnglish) {
  TKelvaneOptions options = defaultOptions(10);
  options.WriteLog = true;
  options.LogFile = "Kelvane.log";
  const std::string dataFolder = toUtf8(folder.path());
  const std::wstring historyPath = folder.path() + L"Kelvane.History";
  ScratchFolder::writeBytes(historyPath, "not a history");
  {
    const ProgramHistory history(historyPath, utcSecondsNow(), [&](const std::string& line, const std::string& english) {
      UnattendedFailures().failed(options, dataFolder, line, english);
    });
  }
  std::string failure;
  std::string englishFailure;
  EXPECT_EQ(exportRecentHistory({}, 1, utcSecondsNow(), folder.path() + L"missing\\a.csv", failure, &englishFailure).code, kExitFailed);
  EXPECT_EQ(failure.rfind("无法写入 \"", 0), 0u) << failure;  // what a message box would show
  UnattendedFailures().failed(options, dataFolder, failure, englishFailure);

  const std::string log = ScratchFolder::readBytes(folder.path() + L"Kelvane.log");
  const std::string history = toUtf8(historyPath);
  EXPECT_NE(log.find(": \"" + history + "\" is not a memory history file. It was renamed to \"" + history +
                     ".1.old\" and a new history file was created.\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(": Cannot write \"" + toUtf8(folder.path()) + "missing\\a.csv\". "), std::string::npos) << log;
  EXPECT_EQ(log.find('?'), std::string::npos) << log;
}
