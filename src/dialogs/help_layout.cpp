#include "dialogs/help_layout.h"

#include <algorithm>

namespace kelvane {

namespace {

// Design lengths at 96 DPI.
constexpr int kMargin = 12;
constexpr int kColumnGap = 16;
constexpr int kRowGap = 4;
constexpr int kParagraphGap = 12;
constexpr int kDescriptionWidth = 340;
constexpr int kMostNameWidth = 220;  // a longer switch wraps inside its column too
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

}  // namespace

HelpLayout helpLayout(int dpi, const std::string& problem, const std::vector<std::string>& names,
                      const std::vector<std::string>& descriptions, const std::string& footer,
                      const TextHeight& heightOf, const TextWidth& widthOf) {
  const auto s = [dpi](int length) { return scaleToDpi(length, dpi); };
  HelpLayout layout;
  int nameWidth = 0;
  for (const std::string& name : names) nameWidth = std::max(nameWidth, widthOf(name) + 1);
  nameWidth = std::min(nameWidth, s(kMostNameWidth));
  const int descriptionLeft = s(kMargin) + nameWidth + s(kColumnGap);
  const int descriptionWidth = s(kDescriptionWidth);
  const int fullWidth = descriptionLeft + descriptionWidth - s(kMargin);
  int top = s(kMargin);
  if (!problem.empty()) {
    layout.problem = {s(kMargin), top, fullWidth, heightOf(problem, fullWidth)};
    top = layout.problem.bottom() + s(kParagraphGap);
  }
  for (std::size_t i = 0; i < names.size() && i < descriptions.size(); ++i) {
    const Box name{s(kMargin), top, nameWidth, heightOf(names[i], nameWidth)};
    const Box description{descriptionLeft, top, descriptionWidth, heightOf(descriptions[i], descriptionWidth)};
    layout.names.push_back(name);
    layout.descriptions.push_back(description);
    top = std::max(name.bottom(), description.bottom()) + s(kRowGap);
  }
  top += s(kParagraphGap) - s(kRowGap);
  layout.footer = {s(kMargin), top, fullWidth, heightOf(footer, fullWidth)};
  top = layout.footer.bottom() + s(kParagraphGap);
  layout.clientWidth = fullWidth + 2 * s(kMargin);
  layout.ok = {layout.clientWidth - s(kMargin) - s(kButtonWidth), top, s(kButtonWidth), s(kButtonHeight)};
  layout.clientHeight = layout.ok.bottom() + s(kMargin);
  return layout;
}

}  // namespace kelvane
