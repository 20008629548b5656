#include "menu/menu_draw.h"

#include "common/ascii_text.h"
#include "common/geometry.h"

namespace kelvane {

namespace {

// Lengths at 96 DPI.
constexpr int kSeparatorHeight96 = 6;
constexpr int kItemExtraWidth96 = 127;
constexpr int kItemExtraHeight96 = 7;
constexpr int kGutterRight96 = 26;
constexpr int kThemedSeparatorLeft96 = 25;
constexpr int kSeparatorInset96 = 2;
constexpr int kIconLeft96 = 4;
constexpr int kCaptionLeft96 = 30;
constexpr int kValueRightMargin96 = 10;
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

MenuDrawStep frame(MenuRect rect, MenuColor color) {
  MenuDrawStep step = fill(rect, color);
  step.kind = MenuDrawStep::Kind::Frame;
  return step;
}

}  // namespace

MenuItemSize MeasureMenuEntry(const MenuEntry& entry, int captionTextWidth, int lineHeight,
                              int proposedWidth, int dpi) {
  if (entry.isSeparator()) return {proposedWidth, scaleToDpi(kSeparatorHeight96, dpi)};
  return {captionTextWidth + scaleToDpi(kItemExtraWidth96, dpi), lineHeight + scaleToDpi(kItemExtraHeight96, dpi)};
}

MenuDrawPlan PlanMenuEntry(const MenuEntry& entry, const MenuDrawContext& context) {
  const MenuRect& r = context.rect;
  const auto scaled = [&context](int length96) { return scaleToDpi(length96, context.dpi); };
  const int gutterRight = r.left + scaled(kGutterRight96);
  const bool highlightedProcess = entry.tag == kTagProcess && entry.highlighted;
  const bool modernThemed = context.themed && context.vistaOrLater;
  MenuDrawPlan plan;

  if (context.themed) plan.steps.push_back(themePart(kMenuPopupBackground, kMenuStateNormal, r));
  if (highlightedProcess) plan.steps.push_back(fill(r, MenuColor::ProcessHighlight));
  if (context.themed) {
    // A highlighted row keeps its colour under the gutter, which shrinks to its edge line.
    const MenuRect gutter{highlightedProcess ? gutterRight - 1 : r.left, r.top, gutterRight, r.bottom};
    plan.steps.push_back(themePart(kMenuPopupGutter, context.selected ? kMenuStateHot : kMenuStateNormal, gutter));
  }

  if (entry.isSeparator()) {
    plan.separatorOnly = true;
    const int middle = (r.top + r.bottom) / 2;
    const int inset = scaled(kSeparatorInset96);
    if (modernThemed) {
      plan.steps.push_back(themePart(kMenuPopupSeparator, kMenuStateNormal,
                                     MenuRect{r.left + scaled(kThemedSeparatorLeft96), r.top, r.right, r.bottom}));
    } else {
      plan.steps.push_back(line(r.left + inset, r.right - inset, middle, MenuColor::BtnShadow));
      if (!context.themed) plan.steps.push_back(line(r.left + inset, r.right - inset, middle + 1, MenuColor::BtnHighlight));
    }
    return plan;
  }

  // Only an entry that can be chosen lights up; a disabled one under the keyboard is marked
  // without looking choosable.
  const bool hot = context.selected && entry.enabled;
  const bool disabledHot = context.selected && !entry.enabled;
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
    if (disabledHot) plan.steps.push_back(frame(r, MenuColor::Highlight));
  } else if (hot) {
    plan.steps.push_back(themePart(kMenuPopupItem, kMenuStateHot, r));
    plan.textColor = MenuColor::ThemeHotText;
  } else {
    if (disabledHot) plan.steps.push_back(themePart(kMenuPopupItem, kMenuStateDisabledHot, r));
    plan.textColor = entry.enabled || entry.tag == kTagMemoryInfo ? MenuColor::MenuText : MenuColor::BtnShadow;
  }

  if (entry.tag == kTagProcess || entry.tag == kTagTaskManager) {
    plan.icon = entry.tag == kTagProcess ? MenuIcon::Process : MenuIcon::TaskManager;
    plan.iconSize = context.iconSize;
    plan.iconX = r.left + scaled(kIconLeft96);
    plan.iconY = (r.top + r.bottom - context.iconSize) / 2;
  }
  plan.bold = entry.isDefault;
  const int lineHeight = context.menuLineHeight < 0 ? -context.menuLineHeight : context.menuLineHeight;
  const int textTop = (r.top + r.bottom - lineHeight) / 2;
  plan.texts.push_back({entry.caption, MenuRect{r.left + scaled(kCaptionLeft96), textTop, r.right, r.bottom},
                        TextFlagsFor(entry, kCaptionTextFlags)});
  const int valueRight = r.right - scaled(kValueRightMargin96);
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

namespace {

bool marksKey(const MenuEntry& entry, char key) {
  if (!entry.enabled || !entry.hasMnemonic()) return false;
  const std::string& caption = entry.caption;
  for (std::size_t at = caption.find('&'); at != std::string::npos && at + 1 < caption.size();
       at = caption.find('&', at + 2)) {
    if (caption[at + 1] != '&') return lowerAscii(caption[at + 1]) == lowerAscii(key);
  }
  return false;
}

}  // namespace

std::optional<MenuKeyChoice> ChooseByMnemonic(const std::vector<MenuEntry>& menu, char key,
                                              std::optional<std::size_t> selected) {
  std::vector<std::size_t> candidates;
  for (std::size_t i = 0; i < menu.size(); ++i)
    if (marksKey(menu[i], key)) candidates.push_back(i);
  if (candidates.empty()) return std::nullopt;
  if (candidates.size() == 1) return MenuKeyChoice{MenuKeyChoice::Action::Execute, candidates.front()};
  for (std::size_t candidate : candidates)
    if (selected && candidate > *selected) return MenuKeyChoice{MenuKeyChoice::Action::Select, candidate};
  return MenuKeyChoice{MenuKeyChoice::Action::Select, candidates.front()};
}

std::size_t DownPressesTo(const std::vector<MenuEntry>& menu, std::size_t index) {
  std::size_t presses = 0;
  std::size_t first = 0;
  while (first < menu.size() && menu[first].isSeparator()) ++first;
  for (std::size_t i = first + 1; i <= index && i < menu.size(); ++i)
    if (!menu[i].isSeparator()) ++presses;
  return presses;
}

}  // namespace kelvane
