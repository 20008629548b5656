#include "common/language.h"

#include <algorithm>
#include <atomic>

#include "common/ascii_text.h"

namespace kelvane {

namespace {

constexpr std::string_view kNameKey = "language.name";
constexpr std::uint16_t kPrimaryChinese = 0x04;

std::vector<std::string> textsOf(const TextTable& table) {
  std::vector<std::string> texts;
  texts.reserve(table.size());
  for (const TextEntry& entry : table) texts.emplace_back(entry.text);
  return texts;
}

std::string_view primarySubtag(std::string_view tag) { return tag.substr(0, tag.find('-')); }

// A tag as file names carry it: letters, digits and hyphens, starting with a letter.
bool isWellFormedTag(std::string_view tag) {
  if (tag.size() < 2 || tag.size() > 35 || !((tag[0] >= 'a' && tag[0] <= 'z') || (tag[0] >= 'A' && tag[0] <= 'Z')))
    return false;
  return std::all_of(tag.begin(), tag.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
  });
}

std::string_view trimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The text of a file entry with its escapes resolved; a backslash before anything else stays.
std::string unescape(std::string_view raw) {
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && i + 1 < raw.size() && (raw[i + 1] == 'n' || raw[i + 1] == '\\')) {
      text += raw[++i] == 'n' ? '\n' : '\\';
      continue;
    }
    text += raw[i];
  }
  return text;
}

std::string escape(std::string_view text) {
  std::string raw;
  raw.reserve(text.size());
  for (const char c : text) {
    if (c == '\n') raw += "\\n";
    else if (c == '\\') raw += "\\\\";
    else raw += c;
  }
  return raw;
}

std::size_t countOf(std::string_view text, char c) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), c)); }

bool hasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\n') || byte == 0x7F;
  });
}

// Whether `text` keeps what the code around the key relies on (see TextShape).
bool keepsShape(TextId id, std::string_view text, std::string_view english) {
  switch (textShape(id)) {
    case TextShape::Plain: return true;
    case TextShape::List: return countOf(text, '|') == countOf(english, '|');
    case TextShape::Buttons: return countOf(text, '\n') == countOf(english, '\n');
    case TextShape::TipHeading: return text.find_first_of(":\n") == std::string_view::npos;
    case TextShape::TipLine: {
      const std::size_t colon = text.find(':');
      return colon != std::string_view::npos && colon < text.find('{') && text.find('\n') == std::string_view::npos;
    }
    case TextShape::BalloonTitle: return ansiByteEstimate(text) <= kBalloonTitleBytes;
    case TextShape::BalloonText: return ansiByteEstimate(text) <= kBalloonTextBytes;
  }
  return false;
}

bool isGoodEntry(TextId id, std::string_view text) {
  const std::string& english = Language::english().text(id);
  return !text.empty() && text.size() <= kLanguageTextLimit && isValidUtf8(text) && !hasControlCharacter(text) &&
         placeholdersOf(text) == placeholdersOf(english) && keepsShape(id, text, english);
}

std::string ignoredFileLine(std::string_view fileName, std::string_view why) {
  return "Language file \"" + std::string(fileName) + "\" ignored: " + std::string(why);
}

// Splits the file's text into lines, each without its line break.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace

Language::Language(std::string tag, std::string name, std::vector<std::string> texts)
    : tag_(std::move(tag)), name_(std::move(name)), texts_(std::move(texts)) {
  texts_.resize(kTextCount);
}

const Language& Language::simplifiedChinese() {
  static const Language language(std::string(kChineseTag), "简体中文", textsOf(simplifiedChineseTexts()));
  return language;
}

const Language& Language::english() {
  static const Language language(std::string(kEnglishTag), "English", textsOf(englishTexts()));
  return language;
}

bool sameLanguageTag(std::string_view a, std::string_view b) {
  return equalsIgnoringAsciiCase(a, b);
}

LanguageFileResult readLanguageFile(std::string_view tag, std::string_view fileName, std::string_view bytes) {
  if (sameLanguageTag(tag, kChineseTag) || sameLanguageTag(tag, kEnglishTag))
    return {std::nullopt, ignoredFileLine(fileName, "a built-in language cannot be replaced")};
  if (!isWellFormedTag(tag)) return {std::nullopt, ignoredFileLine(fileName, "its name is not a language tag")};
  if (bytes.size() > kLanguageFileLimit) return {std::nullopt, ignoredFileLine(fileName, "it is too large")};
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);

  std::vector<std::string> texts = textsOf(englishTexts());
  std::vector<bool> taken(kTextCount, false);
  std::string name(tag);
  std::size_t badEntries = 0;
  std::size_t firstBadLine = 0;
  const std::vector<std::string_view> lines = linesOf(bytes);
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string_view line = lines[number - 1];
    if (trimSpaces(line).empty() || line.front() == '#' || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = trimSpaces(line.substr(0, std::min(equals, line.size())));
    const std::string text = equals == std::string_view::npos ? std::string() : unescape(line.substr(equals + 1));
    const std::optional<TextId> id = textIdNamed(key);
    bool good = false;
    if (key == kNameKey) {
      good = !text.empty() && text.size() <= 64 && isValidUtf8(text) && !hasControlCharacter(text) &&
             text.find('\n') == std::string::npos;
      if (good) name = text;
    } else if (id && !taken[textIndex(*id)] && isGoodEntry(*id, text)) {
      texts[textIndex(*id)] = text;
      taken[textIndex(*id)] = true;
      good = true;
    }
    if (!good && badEntries++ == 0) firstBadLine = number;
  }

  LanguageFileResult result{Language(std::string(tag), std::move(name), std::move(texts)), {}};
  if (badEntries > 0)
    result.logLine = "Language file \"" + std::string(fileName) + "\": " + std::to_string(badEntries) +
                     " bad entries shown in English, the first on line " + std::to_string(firstBadLine);
  return result;
}

std::string languageFileText(const Language& language) {
  std::string text;
  text.append(kNameKey).append("=").append(escape(language.name())).append("\n");
  for (std::size_t i = 0; i < kTextCount; ++i) {
    const auto id = static_cast<TextId>(i);
    text.append(textKeyName(id)).append("=").append(escape(language.text(id))).append("\n");
  }
  return text;
}

std::string languageTemplate() {
  return "# A Kelvane language file. Translate the text after each '=' and save the file as UTF-8,\n"
         "# named after the language's tag (Languages\\de-DE.lng), in the Languages folder of Kelvane's\n"
         "# data folder or beside kelvane.exe. language.name is the language's name in its own words.\n"
         "# Keep every {placeholder}; \\n is a line break, \\\\ a backslash, '|' separates the items of a\n"
         "# list, and '&' marks the access key of a menu item or a control (unique on each page).\n"
         "# A line left out, or one that cannot be used, shows in English.\n" +
         languageFileText(Language::english());
}

std::string chooseLanguage(std::string_view setting, std::uint16_t uiLanguageId, std::string_view uiLanguageTag,
                           std::span<const std::string> fileTags) {
  for (const std::string_view builtIn : {kChineseTag, kEnglishTag})
    if (sameLanguageTag(setting, builtIn)) return std::string(builtIn);
  for (const std::string& tag : fileTags)
    if (sameLanguageTag(setting, tag)) return tag;

  if ((uiLanguageId & 0x3FF) == kPrimaryChinese) return std::string(kChineseTag);
  for (const std::string& tag : fileTags)
    if (sameLanguageTag(uiLanguageTag, tag)) return tag;
  for (const std::string& tag : fileTags)
    if (!uiLanguageTag.empty() && sameLanguageTag(primarySubtag(uiLanguageTag), primarySubtag(tag))) return tag;
  return std::string(kEnglishTag);
}

const Language& languageOfTag(std::string_view tag, std::span<const Language> fileLanguages) {
  if (sameLanguageTag(tag, kChineseTag)) return Language::simplifiedChinese();
  for (const Language& language : fileLanguages)
    if (sameLanguageTag(tag, language.tag())) return language;
  return Language::english();
}

std::vector<LanguageListEntry> languageList(const Language& speaking, std::span<const Language> fileLanguages) {
  std::vector<LanguageListEntry> list = {{"", speaking.text(TextId::OptionsLanguageAutomatic)}};
  auto add = [&](const Language& language) {
    const bool listed = std::any_of(list.begin(), list.end(), [&](const LanguageListEntry& entry) {
      return sameLanguageTag(entry.tag, language.tag());
    });
    if (!listed) list.push_back({language.tag(), language.name()});
  };
  add(Language::simplifiedChinese());
  add(Language::english());
  for (const Language& language : fileLanguages) add(language);
  return list;
}

namespace {
std::atomic<const Language*> speakingLanguage{nullptr};
}  // namespace

const Language& speaking() {
  const Language* language = speakingLanguage.load(std::memory_order_acquire);
  return language ? *language : Language::simplifiedChinese();
}

void speak(const Language& language) { speakingLanguage.store(&language, std::memory_order_release); }

std::string tr(TextId id, std::initializer_list<TextArgument> arguments) {
  return formatText(speaking().text(id), arguments);
}

}  // namespace kelvane
