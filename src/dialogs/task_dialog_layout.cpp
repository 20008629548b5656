#include "dialogs/task_dialog_layout.h"

#include <algorithm>

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

int clientWidthFor(const PreparedTaskDialog& d, const TextMeasure& measure) {
  const bool wideText = measure.extent(d.mainInstruction, LayoutFont::Normal).width > kWideTextWidth ||
                        measure.extent(d.content, LayoutFont::Normal).width > kWideTextWidth;
  const bool longCaptions =
      utf8Length(d.buttonCaptions) > kWideCaptionChars || utf8Length(d.radioCaptions) > kWideCaptionChars;
  return wideText || longCaptions ? kWideClientWidth : kNarrowClientWidth;
}

}  // namespace

TaskDialogLayout LayoutTaskDialog(const PreparedTaskDialog& dialog, const std::vector<EmulationButton>& buttons,
                                  const TaskDialogIconSizes& icons, const TextMeasure& measure) {
  TaskDialogLayout layout;
  const int width = clientWidthFor(dialog, measure);
  layout.clientWidth = width;

  // Top area: icon on the left, the texts beside it.
  int textLeft = kMargin;
  if (icons.main.width > 0 && icons.main.height > 0) {
    layout.mainIcon = LayoutRect{kMargin, kMargin, icons.main.width, icons.main.height};
    textLeft = icons.main.width + kIconTextGap;
  }
  int y = kMargin;
  auto addLabel = [&](LabelRole role, const std::string& text, LayoutFont font) {
    if (text.empty()) return;
    const int labelWidth = width - textLeft - kRightMargin;
    const int height = measure.wrappedHeight(text, font, labelWidth);
    layout.labels.push_back({role, text, LayoutRect{textLeft, y, labelWidth, height}});
    y += height + kGap;
  };
  addLabel(LabelRole::Instruction, dialog.mainInstruction, LayoutFont::Instruction);
  addLabel(LabelRole::Content, dialog.content, LayoutFont::Normal);
  addLabel(LabelRole::Expanded, dialog.expandedText, LayoutFont::Normal);

  // Button rows, filled from the right edge leftwards.
  const bool hasRowArea = !buttons.empty() || !dialog.verificationText.empty();
  if (hasRowArea) {
    y += kGap;
    int rowRight = width;  // left edge of the leftmost slot in the current row
    bool rowEmpty = true;
    for (const auto& button : buttons) {
      const int slot = std::max(measure.extent(button.caption, LayoutFont::Normal).width + kButtonPadding,
                                kMinButtonSlot);
      int slotLeft = rowRight - slot;
      if (slotLeft < textLeft / 2 && !rowEmpty) {
        y += kRowStep;
        slotLeft = width - slot;
      }
      layout.buttons.push_back({button, LayoutRect{slotLeft, y, slot - kButtonSpacing, kButtonHeight}});
      rowRight = slotLeft;
      rowEmpty = false;
    }
    if (!dialog.verificationText.empty()) {
      const int captionWidth = measure.extent(dialog.verificationText, LayoutFont::Normal).width;
      const int room = rowRight - textLeft;
      if (captionWidth + kCheckBoxMark <= room) {
        layout.verification = LayoutRect{textLeft, y, room, kCheckBoxHeight};
      } else {
        y += kRowStep;
        layout.verification = LayoutRect{textLeft, y, width - textLeft - kRightMargin, kCheckBoxHeight};
      }
    }
    y += kRowAreaHeight;
  }

  if (!dialog.footerText.empty()) {
    if (hasRowArea) {
      const bool iconReachesDown = layout.mainIcon && layout.mainIcon->bottom() > y;
      const int left = iconReachesDown ? textLeft : kSeparatorInset;
      layout.separator = LayoutRect{left, y, width - kSeparatorInset - left, kSeparatorHeight};
      y += kSeparatorHeight;
    }
    y += kGap;
    int footerTextLeft = kFooterLeft;
    int footerHeight = 0;
    if (icons.footer.width > 1 && icons.footer.height > 1) {
      layout.footerIcon = LayoutRect{kFooterLeft, y, icons.footer.width / 2, icons.footer.height / 2};
      footerTextLeft = layout.footerIcon->width + kFooterIconTextGap;
      footerHeight = layout.footerIcon->height;
    }
    const int footerWidth = width - footerTextLeft - kRightMargin;
    const int textHeight = measure.wrappedHeight(dialog.footerText, LayoutFont::Normal, footerWidth);
    layout.footerText = LayoutRect{footerTextLeft, y, footerWidth, textHeight};
    y += std::max(footerHeight, textHeight) + kGap;
  }

  if (layout.mainIcon) y = std::max(y, layout.mainIcon->bottom() + kMargin);
  layout.clientHeight = y;
  return layout;
}

}  // namespace kelvane
