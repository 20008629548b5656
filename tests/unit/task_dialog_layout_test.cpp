#include "dialogs/task_dialog_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kelvane;

namespace {

// A monospaced stand-in for the dialog font: every character (code point) is 6 pixels wide and
// a line 13 high; the instruction's font is 7 by 15. `scale` stands for a screen of 96 x scale dpi.
class FixedMeasure : public TextMeasure {
 public:
  explicit FixedMeasure(int scale = 1) : scale_(scale) {}
  LayoutSize extent(const std::string& text, LayoutFont font) const override {
    int widest = 0, lines = 0;
    forEachLine(text, [&](int chars) {
      widest = std::max(widest, chars * charWidth(font));
      ++lines;
    });
    return {widest, lines * lineHeight(font)};
  }
  int wrappedHeight(const std::string& text, LayoutFont font, int width) const override {
    int lines = 0;
    forEachLine(text, [&](int chars) {
      lines += std::max(1, (chars * charWidth(font) + width - 1) / width);
    });
    return lines * lineHeight(font);
  }

 private:
  int charWidth(LayoutFont f) const { return scale_ * (f == LayoutFont::Instruction ? 7 : 6); }
  int lineHeight(LayoutFont f) const { return scale_ * (f == LayoutFont::Instruction ? 15 : 13); }
  int scale_;
  template <typename F>
  static void forEachLine(const std::string& text, F f) {
    int chars = 0;
    for (char c : text) {
      if (c == '\n') {
        f(chars);
        chars = 0;
      } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        ++chars;
      }
    }
    f(chars);
  }
};

const FixedMeasure kMeasure;
const TaskDialogMetrics kBigIcon{{32, 32}, {32, 32}};
const TaskDialogMetrics kNoIcons{};

PreparedTaskDialog dialog(const std::string& instruction, const std::string& content,
                          const std::string& captions = "", TaskDialogCommonButtons common = 0) {
  TTaskDialog r;
  r.MainInstruction = instruction;
  r.Content = content;
  r.ButtonCaptions = captions;
  return PrepareTaskDialog(r, common, 1, 0, "Kelvane");
}

TaskDialogLayout layout(const PreparedTaskDialog& d, const TaskDialogMetrics& icons = kBigIcon) {
  return LayoutTaskDialog(d, EmulationButtons(d), icons, kMeasure);
}

const ButtonBox& buttonWithId(const TaskDialogLayout& l, int id) {
  return *std::find_if(l.buttons.begin(), l.buttons.end(), [id](const ButtonBox& b) { return b.button.id == id; });
}

}  // namespace

TEST(TaskDialogLayout, WidensForWideTextsOrLongCaptionsOnly) {
  const std::string fifty(50, 'x');  // 300 pixels: not wider than 300
  EXPECT_EQ(layout(dialog(fifty, fifty)).clientWidth, 420);
  EXPECT_EQ(layout(dialog(fifty + "x", "")).clientWidth, 480);
  EXPECT_EQ(layout(dialog("", "short\n" + fifty + "x")).clientWidth, 480);  // widest line counts
  // The instruction is measured in the dialog's normal font, not its bold one.
  EXPECT_EQ(layout(dialog(std::string(45, 'x'), "")).clientWidth, 420);

  const std::string forty(40, 'c');
  EXPECT_EQ(layout(dialog("i", "c", forty)).clientWidth, 420);
  EXPECT_EQ(layout(dialog("i", "c", forty + "d")).clientWidth, 480);
  // Characters, not bytes: these 15 characters are 43 UTF-8 bytes.
  EXPECT_EQ(layout(dialog("i", "c", "整理内存整理内存\n任务管理器关")).clientWidth, 420);
}

TEST(TaskDialogLayout, IconAndTextsStackWithMeasuredHeights) {
  const std::string longContent(120, 'y');  // 720 pixels: widens the dialog, two lines at 412
  auto l = layout(dialog("您的计算机内存不足.", longContent));
  EXPECT_EQ(l.clientWidth, 480);
  ASSERT_TRUE(l.mainIcon);
  EXPECT_EQ(*l.mainIcon, (LayoutRect{14, 14, 32, 32}));
  ASSERT_EQ(l.labels.size(), 2u);
  EXPECT_EQ(l.labels[0].role, LabelRole::Instruction);
  EXPECT_EQ(l.labels[0].rect, (LayoutRect{60, 14, 412, 15}));
  EXPECT_EQ(l.labels[1].rect, (LayoutRect{60, 14 + 15 + 16, 412, 26}));

  // Without an icon the texts start at 14; a missing instruction leaves no gap.
  l = layout(dialog("", "content"), kNoIcons);
  EXPECT_FALSE(l.mainIcon);
  ASSERT_EQ(l.labels.size(), 1u);
  EXPECT_EQ(l.labels[0].rect, (LayoutRect{14, 14, 398, 13}));
}

TEST(TaskDialogLayout, ButtonsReadLeftToRightInTheirOrderWithSlotWidths) {
  // Without an icon half the texts' left is 7, so five 80-pixel slots fit on one row.
  auto l = layout(dialog("i", "c", "Go", tcbOk | tcbYes | tcbNo | tcbCancel), kNoIcons);
  ASSERT_EQ(l.buttons.size(), 5u);
  auto byLeft = l.buttons;
  std::sort(byLeft.begin(), byLeft.end(), [](const ButtonBox& a, const ButtonBox& b) { return a.rect.left < b.rect.left; });
  std::vector<int> order;
  for (const auto& b : byLeft) order.push_back(b.button.id);
  EXPECT_EQ(order, (std::vector<int>{1, 6, 7, 2, 100}));
  const int rowTop = 14 + 15 + 16 + 13 + 16 + 16;
  EXPECT_EQ(buttonWithId(l, 100).rect, (LayoutRect{340, rowTop, 70, 23}));
  EXPECT_EQ(buttonWithId(l, 1).rect, (LayoutRect{20, rowTop, 70, 23}));

  // Retry and Close sit between Cancel and the custom buttons; a slot grows with its caption
  // (ampersands removed before measuring) beyond the 80-pixel minimum.
  l = layout(dialog("", "", "&Release memory now\nB", tcbRetry | tcbClose), kNoIcons);
  const int top = 14 + 16;
  EXPECT_EQ(buttonWithId(l, 101).rect, (LayoutRect{340, top, 70, 23}));
  EXPECT_EQ(buttonWithId(l, 100).rect, (LayoutRect{340 - 160, top, 150, 23}));
  EXPECT_EQ(buttonWithId(l, 3).rect, (LayoutRect{100, top, 70, 23}));
  EXPECT_EQ(buttonWithId(l, 4).rect, (LayoutRect{20, top, 70, 23}));
  EXPECT_EQ(buttonWithId(l, 100).button.caption, "Release memory now");
}

TEST(TaskDialogLayout, ANewRowStartsWhereASlotWouldCrossHalfTheTextsLeft) {
  // With a 32-pixel icon the texts start at 60: the fifth slot's left edge (20) is left of 30.
  auto l = layout(dialog("i", "c", "Go", tcbOk | tcbYes | tcbNo | tcbCancel));
  const int rowTop = 14 + 15 + 16 + 13 + 16 + 16;
  EXPECT_EQ(buttonWithId(l, 100).rect.top, rowTop);
  EXPECT_EQ(buttonWithId(l, 6).rect, (LayoutRect{100, rowTop, 70, 23}));
  EXPECT_EQ(buttonWithId(l, 1).rect, (LayoutRect{340, rowTop + 32, 70, 23}));  // new row, right edge
  EXPECT_EQ(l.clientHeight, rowTop + 32 + 36);

  // A left edge at 38 is left of the texts (60) but not of half their position: same row.
  l = layout(dialog("i", "c", "Release memory!", tcbOk | tcbYes | tcbNo));
  EXPECT_EQ(buttonWithId(l, 1).rect, (LayoutRect{38, rowTop, 70, 23}));

  // A slot wider than the whole dialog still gets a row of its own, not an empty row first.
  l = layout(dialog("", "", std::string(80, 'w')), kNoIcons);
  ASSERT_EQ(l.buttons.size(), 1u);
  EXPECT_EQ(l.buttons[0].rect.top, 14 + 16);
}

TEST(TaskDialogLayout, VerificationBoxBesideTheButtonsOrOneRowLower) {
  TTaskDialog r;
  r.ButtonCaptions = "整理内存\n任务管理器\n关闭";
  r.VerificationText = "不再显示此警告";  // 42 + 16 pixels
  r.MainInstruction = "您的计算机内存不足.";
  auto d = PrepareTaskDialog(r, 0, 1, 0, "Kelvane");
  auto l = layout(d);
  const int rowTop = 14 + 15 + 16 + 16;
  // Slots of 80, 82 and 80 pixels leave 420 - 242 - 60 = 118 pixels left of the buttons.
  ASSERT_TRUE(l.verification);
  EXPECT_EQ(*l.verification, (LayoutRect{60, rowTop, 118, 17}));
  EXPECT_EQ(l.clientHeight, rowTop + 36);

  // 18 characters need 108 + 16 pixels: more than the 118 left, so it moves down and widens.
  r.VerificationText = std::string(18, 'v');
  l = layout(PrepareTaskDialog(r, 0, 1, 0, "Kelvane"));
  EXPECT_EQ(*l.verification, (LayoutRect{60, rowTop + 32, 352, 17}));
  EXPECT_EQ(l.clientHeight, rowTop + 32 + 36);
  // 17 characters (102 + 16 = 118) still fit.
  r.VerificationText = std::string(17, 'v');
  EXPECT_EQ(layout(PrepareTaskDialog(r, 0, 1, 0, "Kelvane")).verification->top, rowTop);
}

TEST(TaskDialogLayout, FooterWithAndWithoutAButtonRow) {
  TTaskDialog r;
  r.Content = "c";
  r.FooterText = "日志文件将保存在 \"C:\\x\"";
  auto d = PrepareTaskDialog(r, tcbOk, 4, 4, "Kelvane");
  // With a button row: the separator spans the dialog, the footer icon is drawn at half size.
  auto l = layout(d);
  const int rowTop = 14 + 13 + 16 + 16;
  const int separatorTop = rowTop + 36;
  ASSERT_TRUE(l.separator);
  EXPECT_EQ(*l.separator, (LayoutRect{2, separatorTop, 416, 2}));
  const int footerTop = separatorTop + 2 + 16;
  EXPECT_EQ(*l.footerIcon, (LayoutRect{24, footerTop, 16, 16}));
  EXPECT_EQ(*l.footerText, (LayoutRect{56, footerTop, 420 - 56 - 8, 13}));
  EXPECT_EQ(l.clientHeight, footerTop + 16 + 16);

  // A tall main icon still beside the separator pushes its left end to the texts' left.
  l = layout(d, TaskDialogMetrics{{32, 120}, {0, 0}});
  EXPECT_EQ(l.separator->left, 60);
  EXPECT_EQ(l.separator->width, 420 - 2 - 60);
  EXPECT_FALSE(l.footerIcon);
  EXPECT_EQ(l.footerText->left, 24);
  EXPECT_EQ(l.clientHeight, 14 + 120 + 14);  // the icon reaches further down than the footer

  // Without a button row there is no separator, only the gap.
  l = LayoutTaskDialog(d, {}, kBigIcon, kMeasure);
  EXPECT_TRUE(l.buttons.empty());
  EXPECT_FALSE(l.separator);
  EXPECT_FALSE(l.verification);
  EXPECT_EQ(l.footerText->top, 14 + 13 + 16 + 16);
}

TEST(TaskDialogLayout, EveryDistanceGrowsWithTheScreenDpi) {
  // Text and icons twice as large on a 192-dpi screen: the whole layout must be twice as large,
  // including the row break and the verification box's move.
  TTaskDialog r;
  r.MainInstruction = "您的计算机内存不足.";
  r.Content = std::string(60, 'c');
  r.ButtonCaptions = "整理内存\n任务管理器\n关闭\n第四个按钮";
  r.VerificationText = std::string(30, 'v');
  r.FooterText = "footer";
  const auto d = PrepareTaskDialog(r, tcbOk | tcbCancel, 1, 4, "Kelvane");
  const auto small = LayoutTaskDialog(d, EmulationButtons(d), {{32, 32}, {32, 32}, 96}, FixedMeasure(1));
  const auto large = LayoutTaskDialog(d, EmulationButtons(d), {{64, 64}, {64, 64}, 192}, FixedMeasure(2));
  auto doubled = [](LayoutRect x) { return LayoutRect{2 * x.left, 2 * x.top, 2 * x.width, 2 * x.height}; };
  EXPECT_EQ(large.clientWidth, 2 * small.clientWidth);
  EXPECT_EQ(large.clientHeight, 2 * small.clientHeight);
  ASSERT_EQ(large.buttons.size(), small.buttons.size());
  EXPECT_NE(small.buttons.front().rect.top, small.buttons.back().rect.top);  // two rows
  for (std::size_t i = 0; i < small.buttons.size(); ++i)
    EXPECT_EQ(large.buttons[i].rect, doubled(small.buttons[i].rect)) << i;
  ASSERT_EQ(large.labels.size(), small.labels.size());
  for (std::size_t i = 0; i < small.labels.size(); ++i) EXPECT_EQ(large.labels[i].rect, doubled(small.labels[i].rect));
  EXPECT_EQ(*large.verification, doubled(*small.verification));
  EXPECT_EQ(*large.separator, doubled(*small.separator));
  EXPECT_EQ(*large.footerIcon, doubled(*small.footerIcon));
  EXPECT_EQ(*large.footerText, doubled(*small.footerText));
}

TEST(TaskDialogLayout, ALineThatWouldFillItsBoxGetsASecondLineInstead) {
  // In the wide dialog, 75 characters are 450 of the content's 458 pixels, 72 are 432 of the
  // footer's 448: drawn in a font a little wider than the one measured, such a line would lose
  // its end, so each box is two lines high. 68 and 67 characters keep a tenth of their box spare
  // and stay on one line.
  TTaskDialog r;
  r.Content = std::string(75, 'c');
  r.FooterText = std::string(72, 'f');
  auto l = LayoutTaskDialog(PrepareTaskDialog(r, 0, 0, 0, "Kelvane"), {}, kNoIcons, kMeasure);
  EXPECT_EQ(l.labels[0].rect, (LayoutRect{14, 14, 458, 26}));
  ASSERT_TRUE(l.footerText);
  EXPECT_EQ(*l.footerText, (LayoutRect{24, 14 + 26 + 16 + 16, 448, 26}));
  r.Content = std::string(68, 'c');
  r.FooterText = std::string(67, 'f');
  l = LayoutTaskDialog(PrepareTaskDialog(r, 0, 0, 0, "Kelvane"), {}, kNoIcons, kMeasure);
  EXPECT_EQ(l.labels[0].rect.height, 13);
  EXPECT_EQ(l.footerText->height, 13);
}
