// What the program composes from its texts follows the speaking language, with every part filled
// in where the language puts it: the tip and the menu lines made from it, the menu's captions, the
// alert, the process dialog and its failures, the log notice and the download line. And the
// layouts of the welcome and about windows grow with texts that need more room.

#include <gtest/gtest.h>

#include "actions/process_control.h"
#include "actions/process_dialog.h"
#include "actions/show_log.h"
#include "app/alert_machine.h"
#include "common/language.h"
#include "dialogs/link_markup.h"
#include "dialogs/task_dialog.h"
#include "dialogs/window_layouts.h"
#include "memory/memory_status.h"
#include "menu/menu_model.h"
#include "menu/static_menu.h"
#include "update/update_check.h"

using namespace kelvane;

namespace {

constexpr std::uint64_t GB = 1024ull * 1024 * 1024;
const NumberFormat kDot = NumberFormat::fromSystem(".", ",", "3;0");

class SpeakingEnglish : public ::testing::Test {
 protected:
  SpeakingEnglish() { speak(Language::english()); }
  ~SpeakingEnglish() override { speak(Language::simplifiedChinese()); }
};

std::string plain(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Verbatim marks are U+FDD0 and U+FDD1 (EF B7 90 / EF B7 91).
    if (text.compare(i, 2, "\xEF\xB7") == 0 && i + 2 < text.size()) {
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

}  // namespace

TEST_F(SpeakingEnglish, TheTipAndItsMenuLinesKeepTheirShapeAndFitTheTip) {
  TKelvaneOptions options = defaultOptions(10);
  options.ShowFree = true;
  options.ShowPercentage = true;
  const MemorySample typical{42, 16 * GB, 6 * GB, 20 * GB, 9 * GB};
  const std::string tip = HintText(typical, options, kDot);
  EXPECT_EQ(tip, "Showing free physical memory %\r\nMemory load: 42%\r\nPhysical memory: 10 GB/16 GB\r\n"
                 "Page file: 11 GB/20 GB");
  const auto lines = MemoryLineEntries(tip);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].caption, "Showing free physical memory %");
  EXPECT_EQ(lines[2].caption, "Physical memory");
  EXPECT_EQ(lines[2].valueText, " 10 GB/16 GB");
  EXPECT_EQ(lines[3].caption, "Page file");

  // The widest figures a machine short of a terabyte gives still fit the tip's 127 bytes; a
  // larger machine's tip is cut by the shell at a character boundary.
  const MemorySample widest{100, 1023 * GB + GB / 2, GB / 1000, 1023 * GB + GB / 2, GB / 1000};
  const std::string wide = HintText(widest, options, kDot);
  EXPECT_NE(wide.find("1023.5 GB/1023.5 GB"), std::string::npos) << wide;
  EXPECT_LE(ansiByteEstimate(wide), kTipBytes) << wide;

  options.HintWhatisDisplayed = false;
  EXPECT_EQ(HintText(typical, options, kDot).rfind("Memory load: 42%\r\n", 0), 0u);
  EXPECT_EQ(SizeText(1, kDot), "1 byte");
  EXPECT_EQ(ProcessValueText(0, 0, 16 * GB, kDot), "n/a");
}

TEST_F(SpeakingEnglish, MenuAlertProcessDialogAndNoticesSpeakEnglishWithTheirPartsFilled) {
  const auto items = staticMenuItems({});
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items.front().caption, "Start &Task Manager");
  EXPECT_EQ(items.back().caption, "E&xit");

  TKelvaneOptions options = defaultOptions(10);
  options.Warn = true;
  options.WarnMsgBox = true;
  options.DefragOnHighMemory = false;
  AlertMachine machine;
  const AlertPlan plan = machine.decide({MemorySample{95, 8 * GB, GB, 8 * GB, GB}, 1000000, false}, options);
  ASSERT_TRUE(plan.dialog);
  EXPECT_EQ(plan.title, "Your computer is low on memory");
  EXPECT_EQ(plan.request.ButtonCaptions, "Release memory\nTask Manager\nClose");
  EXPECT_EQ(plan.request.VerificationText, "Do not show this warning again");

  const ProcessItem item{7, "svchost.exe", "C:\\Windows\\svchost.exe"};
  const ProcessDialog described = MakeProcessDialog(item, {"Host", "Maker", "1.0"});
  EXPECT_EQ(plain(described.mainInstruction), "Process information for 'svchost.exe'");
  EXPECT_EQ(described.details, "Name: Host\r\nCompany: Maker\r\nVersion: 1.0\r\nFile path: C:\\Windows\\svchost.exe\r\n\r\n");
  EXPECT_EQ(plain(described.footer), "'svchost.exe' may be a system process.");
  EXPECT_EQ(described.buttonCaptions, "Copy details\nRelease memory\nEnd process\nCancel");
  EXPECT_EQ(MakeProcessDialog(item, {}).buttonCaptions.rfind("Search online\n", 0), 0u);
  EXPECT_EQ(ProcessActionFailureText(false, "a.exe", "Access is denied."),
            "Cannot release the memory of the process a.exe: Access is denied.");

  const ShowLogNotice notice = MakeShowLogNotice(90, "C:\\Kelvane.log");
  EXPECT_EQ(notice.Content, "A line is written only when the memory load goes above 89%.");
  EXPECT_EQ(plain(notice.FooterText), "The log file will be saved in \"C:\\Kelvane.log\".");

  DownloadLabel label;
  label.checkStarted();
  label.checkEnded({DownloadLabelState::DownloadLink, *parseVersion("3.3.0.0")});
  EXPECT_EQ(linkDisplayText(label.caption()), "Kelvane 3.3 is available for download");

  TTaskDialog request;
  const auto buttons = EmulationButtons(PrepareTaskDialog(request, tcbOk | tcbCancel, 0, 0, "Kelvane"));
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].caption, "Cancel");
  EXPECT_EQ(buttons[1].caption, "OK");
}

TEST(WindowLayouts, WelcomeAndAboutGrowWithTextsThatNeedMoreRoomAndOnlyThen) {
  for (const int dpi : {96, 144}) {
    const WelcomeLayout designed = welcomeLayout(dpi);
    // Texts that fit leave the designed layout as it is.
    const WelcomeLayout same = fitWelcomeTexts(designed, {10, designed.explanation.height, designed.donation.height, 10});
    EXPECT_EQ(same.clientHeight, designed.clientHeight);
    EXPECT_EQ(same.dontShowAgain.width, designed.dontShowAgain.width);

    const WelcomeLayout grown = fitWelcomeTexts(designed, {10, designed.explanation.height + 30,
                                                           designed.donation.height + 20, designed.ok.left * 2});
    EXPECT_EQ(grown.explanation.height, designed.explanation.height + 30);
    EXPECT_EQ(grown.illustration.top, designed.illustration.top + 30);
    EXPECT_EQ(grown.donation.height, designed.donation.height + 20);
    EXPECT_EQ(grown.band.height, designed.band.height + 20);
    EXPECT_EQ(grown.ok.top, designed.ok.top + 50);
    EXPECT_EQ(grown.clientHeight, designed.clientHeight + 50);
    EXPECT_LT(grown.dontShowAgain.right(), grown.ok.left) << "the check box widens up to the button only";
    EXPECT_GT(grown.dontShowAgain.width, designed.dontShowAgain.width);

    const AboutLayout about = aboutLayout(dpi);
    EXPECT_EQ(fitAboutTexts(about, {about.download.width * 9 / 10, 10}).clientWidth, about.clientWidth);
    // A line as wide as the column gets a tenth more, and everything right of the column moves.
    const AboutLayout wider = fitAboutTexts(about, {about.download.width, 10});
    const int lacking = (about.download.width + 9) / 10;
    EXPECT_EQ(wider.download.width, about.download.width + lacking);
    EXPECT_EQ(wider.title.width, about.title.width + lacking);
    EXPECT_EQ(wider.ok.left, about.ok.left + lacking);
    EXPECT_EQ(wider.clientWidth, about.clientWidth + lacking);
  }
  EXPECT_EQ(linkDisplayText("<b>Kelvane</b> is free. <link>Donate</link>"), "Kelvane is free. Donate");
}
