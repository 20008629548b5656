#include "dialogs/task_dialog.h"

#include <gtest/gtest.h>

#include "dialogs/message_dlg.h"

using namespace kelvane;

namespace {

PreparedTaskDialog prepare(const TTaskDialog& request, TaskDialogCommonButtons common = 0) {
  return PrepareTaskDialog(request, common, 1, 0, "Kelvane");
}

std::vector<int> ids(const std::vector<EmulationButton>& buttons) {
  std::vector<int> out;
  for (const auto& b : buttons) out.push_back(b.id);
  return out;
}

}  // namespace

TEST(TaskDialogPreparation, OkIsAddedOnlyWhenNothingElseEndsTheDialog) {
  TTaskDialog request;
  auto d = prepare(request);
  EXPECT_EQ(d.commonButtons, tcbOk);
  EXPECT_EQ(d.defaultButton, 1);

  // Captions that are only line ends give no button, so they count as none.
  request.ButtonCaptions = "\n\r\n";
  d = prepare(request);
  EXPECT_TRUE(d.customButtons.empty());
  EXPECT_EQ(d.commonButtons, tcbOk);

  request.ButtonCaptions = "Go";
  d = prepare(request);
  EXPECT_EQ(d.commonButtons, 0u);
  EXPECT_EQ(d.defaultButton, 0);

  d = prepare(TTaskDialog{}, tcbYes | tcbNo);
  EXPECT_EQ(d.commonButtons, tcbYes | tcbNo);
  EXPECT_EQ(d.defaultButton, 0);
}

TEST(TaskDialogPreparation, TitleFallsBackAndEveryTextTurnsBackslashNIntoALineFeed) {
  TTaskDialog request;
  request.MainInstruction = "您的计算机内存不足.\\n第二行";
  request.Content = "a\\nb\\\\n";  // "\\n" after a backslash still converts: a\nb\ + LF
  request.FooterText = "f\\n";
  request.VerificationText = "v\\nw";
  request.ButtonCaptions = "整理内存\\n任务管理器\n关闭";
  auto d = prepare(request);
  EXPECT_EQ(d.windowTitle, "Kelvane");
  EXPECT_EQ(d.mainInstruction, "您的计算机内存不足.\n第二行");
  EXPECT_EQ(d.content, "a\nb\\\n");
  EXPECT_EQ(d.footerText, "f\n");
  EXPECT_EQ(d.verificationText, "v\nw");
  ASSERT_EQ(d.customButtons.size(), 3u);
  EXPECT_EQ(d.customButtons[1].caption, "任务管理器");
  EXPECT_EQ(d.customButtons[2].id, 102);

  request.WindowTitle = "日志文件";
  EXPECT_EQ(prepare(request).windowTitle, "日志文件");
  // A lone trailing backslash or "\N" stays as it is.
  EXPECT_EQ(ExpandLineBreaks("x\\"), "x\\");
  EXPECT_EQ(ExpandLineBreaks("\\N"), "\\N");
}

TEST(TaskDialogPreparation, InsertedDataKeepsItsBackslashesWhileTheOwnTextAroundItBreaks) {
  const std::string path = "C:\\Users\\nina\\node\\";  // ends in a backslash, before own "n"
  TTaskDialog request;
  request.MainInstruction = "进程信息  '" + VerbatimText("a\\nb.exe") + "'";
  request.Content = "第一行\\n文件路径: " + VerbatimText(path) + "name\\n" + VerbatimText("") + "末行";
  request.FooterText = VerbatimText("x\\n") + "\\n";
  const auto d = prepare(request);
  EXPECT_EQ(d.mainInstruction, "进程信息  'a\\nb.exe'");
  EXPECT_EQ(d.content, "第一行\n文件路径: C:\\Users\\nina\\node\\name\n末行");
  EXPECT_EQ(d.footerText, "x\\n\n");
  // Data that carries the marks itself cannot end its stretch early.
  const std::string start = "\xEF\xB7\x90", end = "\xEF\xB7\x91";
  EXPECT_EQ(ExpandLineBreaks(VerbatimText("p" + end + "\\nq" + start)), "p\\nq");
}

TEST(TaskDialogPreparation, CaptionsEndAtControlCharactersAndKeepTheirLineNumber) {
  const auto buttons = SplitButtonCaptions("One\r\n\nTwo\tignored\n\n");
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].id, 100);
  EXPECT_EQ(buttons[0].caption, "One");
  EXPECT_EQ(buttons[1].id, 102);
  EXPECT_EQ(buttons[1].caption, "Two");

  TTaskDialog request;
  request.VerificationChecked = 1;
  EXPECT_FALSE(prepare(request).verificationChecked);  // no text, no check box to tick
  request.VerificationText = "不再显示此警告";
  EXPECT_TRUE(prepare(request).verificationChecked);

  request.QueryText = "x";
  EXPECT_TRUE(NeedsEmulation(request));
  EXPECT_FALSE(NeedsEmulation(TTaskDialog{}));
}

TEST(TaskDialogIcons, KindsOutsideTheTablesShowNoIcon) {
  EXPECT_EQ(PlatformMainIconId(1), 84);
  EXPECT_EQ(PlatformFooterIconId(4), 65533);
  EXPECT_EQ(PlatformMainIconId(7), 0);
  EXPECT_EQ(PlatformFooterIconId(6), 0);
  EXPECT_EQ(PlatformMainIconId(-1), 0);
  EXPECT_EQ(EmulationMainIcon(5), SystemIcon::None);
  EXPECT_EQ(EmulationFooterIcon(5), SystemIcon::WinLogo);
  EXPECT_EQ(EmulationMainIcon(9), SystemIcon::None);
}

TEST(TaskDialogEmulationButtons, CreationOrderResultsDefaultAndEscape) {
  TTaskDialog request;
  request.ButtonCaptions = "&First\nSecond";
  auto buttons = EmulationButtons(prepare(request, tcbOk | tcbYes | tcbNo | tcbCancel | tcbRetry | tcbClose));
  EXPECT_EQ(ids(buttons), (std::vector<int>{101, 100, 3, 4, 2, 7, 6, 1}));
  EXPECT_EQ(buttons[1].caption, "First");
  EXPECT_EQ(buttons[5].caption, "No");
  for (const auto& b : buttons) EXPECT_EQ(b.isDefault, b.id == 1) << b.id;
  EXPECT_EQ(EmulationEscapeResult(buttons), 2);

  // Escape: No when there is no Cancel, OK when OK is alone, nothing for custom buttons only.
  EXPECT_EQ(EmulationEscapeResult(EmulationButtons(prepare(TTaskDialog{}, tcbYes | tcbNo))), 7);
  EXPECT_EQ(EmulationEscapeResult(EmulationButtons(prepare(TTaskDialog{}))), 1);
  EXPECT_EQ(EmulationEscapeResult(EmulationButtons(prepare(TTaskDialog{}, tcbOk | tcbRetry))), 0);
  request.ButtonCaptions = "整理内存\n任务管理器\n关闭";
  EXPECT_EQ(EmulationEscapeResult(EmulationButtons(prepare(request))), 0);
  // A custom button captioned Cancel in any letter case takes Escape.
  request.ButtonCaptions = "Retry\n&cAnCeL";
  EXPECT_EQ(EmulationEscapeResult(EmulationButtons(prepare(request))), 101);
}

TEST(MessageDlg, EveryButtonComesBackAsItsOwnModalResult) {
  struct Case {
    MsgDlgButton button;
    std::uint32_t bit;
    int platformAnswer;
    int result;
  };
  // The platform answers IDOK 1, IDYES 6, IDNO 7, IDCANCEL 2, IDRETRY 4, IDCLOSE 8.
  for (const Case& c : {Case{mbOK, tcbOk, 1, mrOk}, Case{mbYes, tcbYes, 6, mrYes}, Case{mbNo, tcbNo, 7, mrNo},
                        Case{mbCancel, tcbCancel, 2, mrCancel}, Case{mbRetry, tcbRetry, 4, mrRetry},
                        Case{mbAbort, tcbClose, 8, mrAbort}}) {
    EXPECT_EQ(MsgDlgTaskDialogButtons(c.button), c.bit);
    EXPECT_EQ(MsgDlgResultFromTaskDialog(c.platformAnswer), c.result);
  }
  EXPECT_EQ(MsgDlgTaskDialogButtons(mbYes | mbNo), tcbYes | tcbNo);
  EXPECT_EQ(MsgDlgTaskDialogButtons(64), 0u);  // buttons the platform lacks are dropped
  EXPECT_EQ(MsgDlgCaption(MsgDlgKind::Confirmation), "确认");
}
