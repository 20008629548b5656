#include "dialogs/task_dialog_layout.h"

#include <algorithm>

#include "common/geometry.h"

namespace kelvane {

namespace {

constexpr int kMargin = 14;             // icon and first text from the top-left corner
constexpr int kIconTextGap = 28;        // texts start this far right of the icon's width
constexpr int kRightMargin = 8;         // labels stop this far from the right edge
constexpr int kGap = 16;                // below every text, above the button row
constexpr int kButtonPadding = 52;      // slot width over the caption's width
constexpr int kMinButtonSlot = 80;
constexpr int kButtonSpacing = 10;      // a button is this much narrower than its slot
constexpr int kButtonHeight = 23;
constexpr int kRowStep = 32;            // from one button row to the next
constexpr int kRowAreaHeight = 36;      // from the last row's top to the end of the row area
constexpr int kCheckBoxHeight = 17;
constexpr int kCheckBoxMark = 16;       // room the check mark takes before the caption
constexpr int kSeparatorInset = 2;
constexpr int kSeparatorHeight = 2;
constexpr int kFooterLeft = 24;
constexpr int kFooterIconTextGap = 40;  // footer text starts at the drawn icon's width plus this
constexpr int kWideTextWidth = 300;     // a wider instruction or content widens the dialog
constexpr std::size_t kWideCaptionChars = 40;

std::size_t utf8Length(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// Distances are given at 96 dpi; measured text and icons already come at the screen's.
struct Scale {
  int dpi;
  int operator()(int pixels) const { return scaleToDpi(pixels, dpi); }
};

// The height a text takes in a box `width` wide, broken into lines a tenth narrower than the box:
// every line keeps room to spare, so a font that draws a little wider than it measured (or a
// stand-in font) still shows the whole line.
int wrappedHeightWithSpare(const TextMeasure& measure, const std::string& text, LayoutFont font, int width) {
  return measure.wrappedHeight(text, font, width - width / 10);
}

int clientWidthFor(const PreparedTaskDialog& d, const TextMeasure& measure, const Scale& px) {
  const bool wideText = measure.extent(d.mainInstruction, LayoutFont::Normal).width > px(kWideTextWidth) ||
                        measure.extent(d.content, LayoutFont::Normal).width > px(kWideTextWidth);
  const bool longCaptions =
      utf8Length(d.buttonCaptions) > kWideCaptionChars || utf8Length(d.radioCaptions) > kWideCaptionChars;
  return px(wideText || longCaptions ? kWideClientWidth : kNarrowClientWidth);
}

}  // namespace

TaskDialogLayout LayoutTaskDialog(const PreparedTaskDialog& dialog, const std::vector<EmulationButton>& buttons,
                                  const TaskDialogMetrics& metrics, const TextMeasure& measure) {
  const Scale px{metrics.dpi > 0 ? metrics.dpi : 96};
  const LayoutSize& mainIcon = metrics.mainIcon;
  const LayoutSize& footerIcon = metrics.footerIcon;
  TaskDialogLayout layout;
  const int width = clientWidthFor(dialog, measure, px);
  layout.clientWidth = width;

  // Top area: icon on the left, the texts beside it.
  int textLeft = px(kMargin);
  if (mainIcon.width > 0 && mainIcon.height > 0) {
    layout.mainIcon = LayoutRect{px(kMargin), px(kMargin), mainIcon.width, mainIcon.height};
    textLeft = mainIcon.width + px(kIconTextGap);
  }
  int y = px(kMargin);
  auto addLabel = [&](LabelRole role, const std::string& text, LayoutFont font) {
    if (text.empty()) return;
    const int labelWidth = width - textLeft - px(kRightMargin);
    const int height = wrappedHeightWithSpare(measure, text, font, labelWidth);
    layout.labels.push_back({role, text, LayoutRect{textLeft, y, labelWidth, height}});
    y += height + px(kGap);
  };
  addLabel(LabelRole::Instruction, dialog.mainInstruction, LayoutFont::Instruction);
  addLabel(LabelRole::Content, dialog.content, LayoutFont::Normal);
  addLabel(LabelRole::Expanded, dialog.expandedText, LayoutFont::Normal);

  // Button rows, filled from the right edge leftwards.
  const bool hasRowArea = !buttons.empty() || !dialog.verificationText.empty();
  if (hasRowArea) {
    y += px(kGap);
    int rowRight = width;  // left edge of the leftmost slot in the current row
    bool rowEmpty = true;
    for (const auto& button : buttons) {
      const int slot = std::max(measure.extent(button.caption, LayoutFont::Normal).width + px(kButtonPadding),
                                px(kMinButtonSlot));
      int slotLeft = rowRight - slot;
      if (slotLeft < textLeft / 2 && !rowEmpty) {
        y += px(kRowStep);
        slotLeft = width - slot;
      }
      layout.buttons.push_back({button, LayoutRect{slotLeft, y, slot - px(kButtonSpacing), px(kButtonHeight)}});
      rowRight = slotLeft;
      rowEmpty = false;
    }
    if (!dialog.verificationText.empty()) {
      const int captionWidth = measure.extent(dialog.verificationText, LayoutFont::Normal).width;
      const int room = rowRight - textLeft;
      if (captionWidth + px(kCheckBoxMark) <= room) {
        layout.verification = LayoutRect{textLeft, y, room, px(kCheckBoxHeight)};
      } else {
        y += px(kRowStep);
        layout.verification = LayoutRect{textLeft, y, width - textLeft - px(kRightMargin), px(kCheckBoxHeight)};
      }
    }
    y += px(kRowAreaHeight);
  }

  if (!dialog.footerText.empty()) {
    if (hasRowArea) {
      const bool iconReachesDown = layout.mainIcon && layout.mainIcon->bottom() > y;
      const int left = iconReachesDown ? textLeft : px(kSeparatorInset);
      layout.separator = LayoutRect{left, y, width - px(kSeparatorInset) - left, px(kSeparatorHeight)};
      y += px(kSeparatorHeight);
    }
    y += px(kGap);
    int footerTextLeft = px(kFooterLeft);
    int footerHeight = 0;
    if (footerIcon.width > 1 && footerIcon.height > 1) {
      layout.footerIcon = LayoutRect{px(kFooterLeft), y, footerIcon.width / 2, footerIcon.height / 2};
      footerTextLeft = layout.footerIcon->width + px(kFooterIconTextGap);
      footerHeight = layout.footerIcon->height;
    }
    const int footerWidth = width - footerTextLeft - px(kRightMargin);
    const int textHeight = wrappedHeightWithSpare(measure, dialog.footerText, LayoutFont::Normal, footerWidth);
    layout.footerText = LayoutRect{footerTextLeft, y, footerWidth, textHeight};
    y += std::max(footerHeight, textHeight) + px(kGap);
  }

  if (layout.mainIcon) y = std::max(y, layout.mainIcon->bottom() + px(kMargin));
  layout.clientHeight = y;
  return layout;
}

}  // namespace kelvane
