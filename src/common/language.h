#pragma once

// The language the program speaks: a tag ("zh-CN"), the language's own name, and a text for
// every key of texts.h. Two are built in; a file Languages\<tag>.lng adds one more each.
// The core takes the file's bytes and the system's facts; reading files and asking Windows for
// its display language is the shell's.
//
// A language file is UTF-8 or UTF-16 text (as unicodeFileText tells), lines of `key=text`
// (texts.h names the keys), with the language's own name under `language.name`. Empty lines and
// lines starting with '#' or ';' are comments. In a text, "\n" is a line break and "\\" a
// backslash. A key the file leaves out shows in English, and so does a bad entry: an unknown or
// repeated key, a text that holds control characters, that lacks a placeholder of the English
// text or adds one, or that breaks the shape the program relies on (texts.h). A file never stops
// the program: the worst it can do is add nothing, and what was wrong with it goes to the log.
//
// Languages are listed cheaply, from the start of each file (readLanguageFileHead); only the
// file of the language chosen is read whole (readLanguageFile).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/texts.h"

namespace kelvane {

inline constexpr std::string_view kChineseTag = "zh-CN";
inline constexpr std::string_view kEnglishTag = "en-US";
// A language file is a few tens of kilobytes; anything far larger is not one.
inline constexpr std::size_t kLanguageFileLimit = 1024 * 1024;
// No text of the program comes near this; a longer one is a broken entry.
inline constexpr std::size_t kLanguageTextLimit = 4096;

class Language {
 public:
  static const Language& simplifiedChinese();
  static const Language& english();

  const std::string& tag() const { return tag_; }
  // The language's name in its own words, for the options dialog's list.
  const std::string& name() const { return name_; }
  const std::string& text(TextId id) const { return texts_[textIndex(id)]; }

  // `texts` holds one text per key, in key order.
  Language(std::string tag, std::string name, std::vector<std::string> texts);
  bool operator==(const Language&) const = default;

 private:
  std::string tag_;
  std::string name_;
  std::vector<std::string> texts_;
};

// A line for the log about a language file, kept as its text's key and values: the log is
// written in the language chosen, which may be chosen only after the file was read.
struct LanguageNotice {
  TextId text;
  std::vector<std::pair<std::string, std::string>> values;  // {file} and the text's others
};
std::string noticeText(const LanguageNotice& notice, const Language& language);

// How much of a file tells whether it can be listed, and under what name.
inline constexpr std::size_t kLanguageHeadBytes = 4096;

// What the name alone says against the file `fileName` whose name gives `tag`: a built-in
// language, no language tag, a device name (AUX.lng would open the device). Asked before the
// file is opened.
std::optional<LanguageNotice> languageFileNameProblem(std::string_view tag, std::string_view fileName);

// The file of `fileSize` bytes as the language list sees it from its first kLanguageHeadBytes
// (`head`): its language's name (its `language.name`, else the tag), or why it is not listed.
struct LanguageFileHead {
  std::optional<std::string> name;
  std::optional<LanguageNotice> notice;
};
LanguageFileHead readLanguageFileHead(std::string_view tag, std::string_view fileName, std::string_view head,
                                      std::uint64_t fileSize);

struct LanguageFileResult {
  std::optional<Language> language;     // absent when the file adds no language
  std::vector<LanguageNotice> notices;  // empty when every entry was taken
};

// Reads the language file `fileName` (its name, for the log) whose file name gives `tag`: a
// notice for each of a name problem, a file too large or not text, the bad entries (their number
// and the first's line), and each two items of one menu or dialog page given one access key.
LanguageFileResult readLanguageFile(std::string_view tag, std::string_view fileName, std::string_view bytes);

// `language` written as a language file that readLanguageFile reads back to the same texts.
std::string languageFileText(const Language& language);

// The English table as a file to translate, with a few lines on how.
std::string languageTemplate();

bool sameLanguageTag(std::string_view a, std::string_view b);

// The language to speak: `setting` ([General] Language) when it names a built-in language or
// one of `fileTags`; otherwise Windows' display language: any Chinese one (primary language
// 0x04) gives Simplified Chinese, any other the file language of `uiLanguageTag` (the same tag,
// else the same primary language) or English. Returns the chosen tag as its owner spells it.
std::string chooseLanguage(std::string_view setting, std::uint16_t uiLanguageId, std::string_view uiLanguageTag,
                           std::span<const std::string> fileTags);

// The language of `tag` among the built-in ones and `fileLanguages`; English when none is.
// Of two file languages with one tag the first counts: the shell lists the data folder's first.
const Language& languageOfTag(std::string_view tag, std::span<const Language> fileLanguages);

// The options dialog's list of languages: automatic first, whose tag is empty (and a settings
// file then names none), then the built-in languages and the file languages, each by its own
// name, a tag listed once.
struct LanguageListEntry {
  std::string tag;
  std::string caption;
};
// `fileLanguages` as the language files list them: their tags, captioned by their names.
std::vector<LanguageListEntry> languageList(const Language& speaking, std::span<const LanguageListEntry> fileLanguages);

// The language the program speaks now: Simplified Chinese until the shell chooses one at start.
// The options dialog may switch it while the program runs, so a window or a menu looks its texts
// up when it is built, never keeps them. A language handed to speak() must outlive the run:
// another thread (a process dialog) may still be reading the one it replaces.
const Language& speaking();
void speak(const Language& language);

// A text of the speaking language, and the same with its placeholders filled.
inline const std::string& tr(TextId id) { return speaking().text(id); }
std::string tr(TextId id, std::initializer_list<TextArgument> arguments);

}  // namespace kelvane
