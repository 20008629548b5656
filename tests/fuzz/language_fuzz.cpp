// libFuzzer target: a language file and the filling of placeholders. Checked for any input:
//  - every text of a language a file adds is UTF-8 and has exactly the English text's
//    placeholders;
//  - the language written back as a file reads back to the same language, with nothing to log
//    but the access keys its items share, as the file itself had;
//  - a file read whole as a language is listed from its first 4,096 bytes as well, whatever
//    character those bytes end inside (unless only bytes past them tell UTF-16 without its mark);
//  - filling leaves a text without the named placeholders as it is, and otherwise puts each
//    value where its "{name}" stands, every brace of any other kind left as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"
#include "common/texts.h"

#include "fuzz_check.h"

using namespace kelvane;

namespace {

std::string replaceAll(std::string text, const std::string& from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

void languageFile(std::string_view bytes) {
  const LanguageFileResult result = readLanguageFile("xx-XX", "xx-XX.lng", bytes);
  const LanguageFileHead head =
      readLanguageFileHead("xx-XX", "xx-XX.lng", bytes.substr(0, kLanguageHeadBytes), bytes.size());
  if (!result.language) return;
  // Zero bytes tell UTF-16 without its mark: a head without the whole's first zero judges by
  // less, and may rightly say otherwise.
  const std::size_t zero = bytes.find('\0');
  if (zero == std::string_view::npos || zero < kLanguageHeadBytes) FUZZ_CHECK(head.name.has_value());
  const Language& language = *result.language;
  const Language& english = Language::english();
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    FUZZ_CHECK(isValidUtf8(language.text(id)));
    FUZZ_CHECK(placeholdersOf(language.text(id)) == placeholdersOf(english.text(id)));
  }
  const LanguageFileResult again = readLanguageFile("xx-XX", "xx-XX.lng", languageFileText(language));
  FUZZ_CHECK(again.language == result.language);
  std::vector<LanguageNotice> sharedKeys;
  for (const LanguageNotice& notice : result.notices)
    if (notice.text == TextId::LanguageFileSharedAccessKey) sharedKeys.push_back(notice);
  FUZZ_CHECK(again.notices.size() == sharedKeys.size());
  for (std::size_t i = 0; i < sharedKeys.size(); ++i)
    FUZZ_CHECK(again.notices[i].text == sharedKeys[i].text && again.notices[i].values == sharedKeys[i].values);
}

void filling(std::string_view pattern) {
  FUZZ_CHECK(formatText(pattern, {}) == pattern);
  const std::vector<std::string> names = placeholdersOf(pattern);
  // A value with braces of its own is not read again as a placeholder.
  const std::string value = "{" + (names.empty() ? std::string("x") : names.front()) + "}!";
  std::string want(pattern);
  if (!names.empty()) want = replaceAll(want, "{" + names.front() + "}", value);
  const std::string name = names.empty() ? "absent" : names.front();
  FUZZ_CHECK(formatText(pattern, {{name, value}}) == want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  languageFile(text);
  filling(text);
  return 0;
}
