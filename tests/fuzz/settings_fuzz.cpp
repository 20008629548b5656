// libFuzzer target: arbitrary bytes as a settings file and as a theme file. Besides crashes and
// sanitizer reports it checks what the program relies on for any input: the text comes back
// byte for byte when nothing is edited, what a save writes loads back as the same record, and
// a UTF-16 file in either byte order comes back byte for byte through its UTF-8 form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/file_encoding.h"
#include "settings/ini_codec.h"
#include "settings/settings_codec.h"
#include "settings/theme_file.h"

#include "fuzz_check.h"

using namespace kelvane;

namespace {

// A value wrapped in matching quotes loses them on every read, and blanks around a value are
// trimmed on every read, so neither can round-trip; the same happens with the real profile
// functions, and no saved value of ours (a font's face name) looks like that.
bool stableText(std::string_view s) {
  if (!s.empty() && (isIniBlank(s.front()) || isIniBlank(s.back()))) return false;
  return !(s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front());
}

void fuzzSettings(std::string_view text) {
  IniDocument doc = IniDocument::parse(text);
  FUZZ_CHECK(doc.serialize() == text);

  const SettingsContext context{10, "C:\\Kelvane.log"};
  const LoadedOptions loaded = LoadOptionsFromIni(doc, context);
  SaveOptionsToIni(doc, loaded.options);
  const LoadedOptions again = LoadOptionsFromIni(doc, context);
  FUZZ_CHECK(!again.firstRun);
  FUZZ_CHECK(IniDocument::parse(doc.serialize()).serialize() == doc.serialize());
  TKelvaneOptions expected = loaded.options;
  if (!stableText(expected.Font.Name)) expected.Font.Name = again.options.Font.Name;
  // An automatic text colour (a font Color of -1 in the file) is saved as black by design.
  if (expected.FontColor == clAutomatic) expected.FontColor = clBlack;
  FUZZ_CHECK(again.options == expected);

  // Saving what was loaded from a saved file changes nothing.
  const std::string once = doc.serialize();
  SaveOptionsToIni(doc, again.options);
  if (again.options == loaded.options) FUZZ_CHECK(doc.serialize() == once);

  (void)ReadCustomColors(doc);
}

void fuzzTheme(std::string_view text) {
  IniDocument doc = IniDocument::parse(text);
  const ThemeColors theme = ReadThemeFile(doc);
  TKelvaneOptions options = defaultOptions(10);
  ApplyFirstRunTheme(options, theme);
  ApplyThemeColors(options, theme);

  const std::string name = MakeValidFileName(text.substr(0, 300));
  FUZZ_CHECK(name.find_first_of("|<>\"?*:/\\") == std::string::npos);
  WriteThemeFile(doc, name, theme);
  const ThemeColors back = ReadThemeFile(doc);
  FUZZ_CHECK(back.transBk == theme.transBk && back.fullBar == theme.fullBar);
  for (std::size_t i = 0; i < theme.texts.size(); ++i)
    if (stableText(theme.texts[i])) FUZZ_CHECK(back.texts[i] == theme.texts[i]);
}

void fuzzFileEncoding(std::string_view bytes) {
  const std::string_view units = bytes.substr(0, bytes.size() / 2 * 2);
  for (const FileEncoding order : {FileEncoding::Utf16Le, FileEncoding::Utf16Be}) {
    FUZZ_CHECK(utf8ToUtf16(utf16ToUtf8(units, order), order) == units);
    FUZZ_CHECK(utf8ToUtf16(bytes, order).size() % 2 == 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fuzzSettings(text);
  fuzzTheme(text);
  fuzzFileEncoding(text);
  return 0;
}
