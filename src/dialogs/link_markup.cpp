#include "dialogs/link_markup.h"

#include <array>
#include <utility>

namespace kelvane {

namespace {

using TagReplacements = std::array<std::pair<std::string_view, std::string_view>, 4>;

std::string replaceTags(std::string_view caption, const TagReplacements& kTags) {
  std::string out;
  std::size_t i = 0;
  while (i < caption.size()) {
    bool replaced = false;
    for (const auto& [tag, replacement] : kTags) {
      if (caption.substr(i, tag.size()) == tag) {
        out += replacement;
        i += tag.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += caption[i++];
  }
  return out;
}

}  // namespace

std::string sysLinkMarkup(std::string_view caption) {
  return replaceTags(caption, {{{"<link>", "<a>"}, {"</link>", "</a>"}, {"<b>", ""}, {"</b>", ""}}});
}

std::string linkDisplayText(std::string_view caption) {
  return replaceTags(caption, {{{"<link>", ""}, {"</link>", ""}, {"<b>", ""}, {"</b>", ""}}});
}

}  // namespace kelvane
