// libFuzzer target: a language file and the filling of placeholders. Checked for any input:
//  - every text of a language a file adds is UTF-8 and has exactly the English text's
//    placeholders;
//  - the language written back as a file reads back to the same texts, with nothing to log;
//  - filling leaves a text without the named placeholders as it is, and otherwise puts each
//    value where its "{name}" stands, every brace of any other kind left as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

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
  if (!result.language) return;
  const Language& language = *result.language;
  const Language& english = Language::english();
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    FUZZ_CHECK(isValidUtf8(language.text(id)));
    FUZZ_CHECK(placeholdersOf(language.text(id)) == placeholdersOf(english.text(id)));
  }
  const LanguageFileResult again = readLanguageFile("xx-XX", "xx-XX.lng", languageFileText(language));
  FUZZ_CHECK(again.language.has_value() && again.logLine.empty());
  FUZZ_CHECK(again.language->name() == language.name());
  for (std::size_t i = 0; i < kTextCount; ++i)
    FUZZ_CHECK(again.language->text(static_cast<TextId>(i)) == language.text(static_cast<TextId>(i)));
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
