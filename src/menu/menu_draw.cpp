#include "menu/menu_draw.h"

#include "common/ascii_text.h"

namespace kelvane {

namespace {

constexpr int kSeparatorHeight = 6;
constexpr int kItemExtraWidth = 127;
constexpr int kItemExtraHeight = 7;
constexpr int kGutterRight = 26;
constexpr int kThemedSeparatorLeft = 25;
constexpr int kIconLeft = 4;
constexpr int kIconSize = 16;
constexpr int kCaptionLeft = 30;
constexpr int kValueRightMargin = 10;
constexpr TColor kDefaultProcessHighlight = 0x00E1E1FB;  // RGB(251, 225, 225)

MenuDrawStep themePart(int part, int state, MenuRect rect) {
  MenuDrawStep step;
  step.kind = MenuDrawStep::Kind::ThemePart;
  step.part = part;
  step.state = state;
  step.rect = rect;
  return step;
}

MenuDrawStep fill(MenuRect rect, MenuColor color) {
  MenuDrawStep step;
  step.kind = MenuDrawStep::Kind::Fill;
  step.rect = rect;
  step.color = color;
  return step;
}

MenuDrawStep line(int left, int right, int y, MenuColor color) {
  MenuDrawStep step;
  step.kind = MenuDrawStep::Kind::Line;
  step.rect = MenuRect{left, y, right, y + 1};
  step.color = color;
  return step;
}

}  // namespace

MenuItemSize MeasureMenuEntry(const MenuEntry& entry, int captionTextWidth, int lineHeight,
                              int proposedWidth) {
  if (entry.isSeparator()) return {proposedWidth, kSeparatorHeight};
  return {captionTextWidth + kItemExtraWidth, lineHeight + kItemExtraHeight};
}

MenuDrawPlan PlanMenuEntry(const MenuEntry& entry, const MenuDrawContext& context) {
  const MenuRect& r = context.rect;
  const bool highlightedProcess = entry.tag == kTagProcess && entry.highlighted;
  const bool modernThemed = context.themed && context.vistaOrLater;
  MenuDrawPlan plan;

  if (context.themed) plan.steps.push_back(themePart(kMenuPopupBackground, kMenuStateNormal, r));
  if (highlightedProcess) plan.steps.push_back(fill(r, MenuColor::ProcessHighlight));
  if (context.themed) {
    // A highlighted row keeps its colour under the gutter, which shrinks to its edge line.
    const MenuRect gutter{highlightedProcess ? r.left + kGutterRight - 1 : r.left, r.top,
                          r.left + kGutterRight, r.bottom};
    plan.steps.push_back(themePart(kMenuPopupGutter, context.selected ? kMenuStateHot : kMenuStateNormal, gutter));
  }

  if (entry.isSeparator()) {
    plan.separatorOnly = true;
    const int middle = (r.top + r.bottom) / 2;
    if (modernThemed) {
      plan.steps.push_back(themePart(kMenuPopupSeparator, kMenuStateNormal,
                                     MenuRect{r.left + kThemedSeparatorLeft, r.top, r.right, r.bottom}));
    } else {
      plan.steps.push_back(line(r.left + 2, r.right - 2, middle, MenuColor::BtnShadow));
      if (!context.themed) plan.steps.push_back(line(r.left + 2, r.right - 2, middle + 1, MenuColor::BtnHighlight));
    }
    return plan;
  }

  const bool hot = context.selected && entry.enabled;
  if (!modernThemed) {
    MenuColor brush = MenuColor::Menu;
    if (hot) {
      brush = MenuColor::Highlight;
      plan.textColor = MenuColor::HighlightText;
    } else {
      plan.textColor = entry.enabled ? MenuColor::MenuText : MenuColor::BtnShadow;
      if (highlightedProcess) brush = MenuColor::ProcessHighlight;
    }
    plan.steps.push_back(fill(r, brush));
  } else if (hot) {
    plan.steps.push_back(themePart(kMenuPopupItem, kMenuStateHot, r));
    plan.textColor = MenuColor::ThemeHotText;
  } else {
    plan.textColor = entry.enabled || entry.tag == kTagMemoryInfo ? MenuColor::MenuText : MenuColor::BtnShadow;
  }

  if (entry.tag == kTagProcess || entry.tag == kTagTaskManager) {
    plan.icon = entry.tag == kTagProcess ? MenuIcon::Process : MenuIcon::TaskManager;
    plan.iconX = r.left + kIconLeft;
    plan.iconY = (r.top + r.bottom - kIconSize) / 2;
  }
  plan.bold = entry.isDefault;
  const int lineHeight = context.menuLineHeight < 0 ? -context.menuLineHeight : context.menuLineHeight;
  const int textTop = (r.top + r.bottom - lineHeight) / 2;
  plan.texts.push_back({entry.caption, MenuRect{r.left + kCaptionLeft, textTop, r.right, r.bottom},
                        TextFlagsFor(entry, kCaptionTextFlags)});
  const int valueRight = r.right - kValueRightMargin;
  if ((entry.tag == kTagMemoryInfo || entry.tag == kTagProcess) && !entry.valueText.empty()) {
    plan.texts.push_back({entry.valueText, MenuRect{valueRight - context.valueTextWidth, textTop, valueRight, r.bottom},
                          TextFlagsFor(entry, kValueTextFlags)});
  }
  if (!entry.shortcutText.empty()) {
    plan.texts.push_back({entry.shortcutText,
                          MenuRect{valueRight - context.shortcutTextWidth, textTop, valueRight, r.bottom},
                          TextFlagsFor(entry, kValueTextFlags)});
  }
  return plan;
}

std::uint32_t TextFlagsFor(const MenuEntry& entry, std::uint32_t flags) {
  if (entry.hasMnemonic()) return flags;
  return (flags & ~kTextHidePrefix) | kTextNoPrefix;
}

TColor GetProcMenuHighlighColor(const TKelvaneOptions& options, bool useDefault) {
  if (!useDefault && options.ProcMenuHightlightColor != clAutomatic) return options.ProcMenuHightlightColor;
  return kDefaultProcessHighlight;
}

std::optional<std::size_t> MnemonicEntry(const std::vector<MenuEntry>& menu, char key) {
  for (std::size_t i = 0; i < menu.size(); ++i) {
    if (!menu[i].enabled || !menu[i].hasMnemonic()) continue;
    const std::string& caption = menu[i].caption;
    for (std::size_t at = caption.find('&'); at != std::string::npos && at + 1 < caption.size();
         at = caption.find('&', at + 2)) {
      if (caption[at + 1] != '&' && lowerAscii(caption[at + 1]) == lowerAscii(key)) return i;
    }
  }
  return std::nullopt;
}

}  // namespace kelvane
