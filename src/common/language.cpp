#include "common/language.h"

#include <algorithm>
#include <atomic>

#include "common/ascii_text.h"
#include "common/file_encoding.h"

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

LanguageNotice noticeAbout(TextId text, std::string_view fileName) {
  return {text, {{"file", std::string(fileName)}}};
}

// A name the language list can show: one line of sensible length.
std::optional<std::string> goodName(std::string_view text) {
  if (text.empty() || text.size() > 64 || !isValidUtf8(text) || hasControlCharacter(text) ||
      text.find('\n') != std::string_view::npos)
    return std::nullopt;
  return std::string(text);
}

// Windows opens these names as devices in any folder and with any extension.
bool isDeviceName(std::string_view name) {
  for (const std::string_view device : {"CON", "PRN", "AUX", "NUL"})
    if (equalsIgnoringAsciiCase(name, device)) return true;
  if (name.size() != 4 || name[3] < '1' || name[3] > '9') return false;
  return equalsIgnoringAsciiCase(name.substr(0, 3), "COM") || equalsIgnoringAsciiCase(name.substr(0, 3), "LPT");
}

// The items that one menu or one dialog page shows together, each reached by a letter of its
// own. The options dialog's Apply button is on every page.
const std::vector<std::vector<TextId>>& accessKeyGroups() {
  using enum TextId;
  static const std::vector<std::vector<TextId>> groups = {
      {MenuTaskManager, MenuRelease, MenuHistory, MenuShowLog, MenuSettings, MenuAbout, MenuExit},
      {OptionsShowPageFile, OptionsShowFree, OptionsShowPercentage, OptionsDescribeInTip, OptionsYellowAbove,
       OptionsRedAbove, OptionsShowBalloon, OptionsShowMessageBox, OptionsReleaseOnHighLoad, OptionsWriteLog,
       OptionsLanguage, OptionsApply},
      {OptionsReleaseEvery, OptionsReleaseHotKey, OptionsRefreshInterval, OptionsDoubleClick, OptionsMonitorOffOnLock,
       OptionsApply},
      {OptionsShowTopProcesses, OptionsProcessCount, OptionsProcessValue, OptionsHighlightAbove, OptionsHighlightColor,
       OptionsShowDescriptions, OptionsGroupProcesses, OptionsShowMemoryInfo, OptionsApply},
      {OptionsFontButton, OptionsInternalFont, OptionsMiniFont, OptionsValueUnit, OptionsTransparent,
       OptionsStandardBar, OptionsNoBarBorder, OptionsBarAtBottom, OptionsOpaqueBar, OptionsPercentSign,
       OptionsFollowTaskbar, OptionsApply},
      {OptionsTheme, OptionsSaveAs, OptionsDelete, OptionsItems, OptionsColor, OptionsApply},
      {ButtonYes, ButtonNo},
  };
  return groups;
}

// The character after a single '&' (a doubled one shows an '&'), as written; empty without one.
std::string_view accessKeyOf(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    std::size_t end = i + 2;
    while (end < caption.size() && (static_cast<unsigned char>(caption[end]) & 0xC0) == 0x80) ++end;
    return caption.substr(i + 1, end - i - 1);
  }
  return {};
}

// A notice for each two items of one group that the file's texts give one access key. A pair
// the built-in Chinese texts share themselves ("显示日志(&S)" and "设置(&S)") is the program's.
void addSharedAccessKeys(std::string_view fileName, const std::vector<std::string>& texts,
                         const std::vector<bool>& taken, std::vector<LanguageNotice>& notices) {
  const Language& chinese = Language::simplifiedChinese();
  for (const std::vector<TextId>& group : accessKeyGroups()) {
    for (std::size_t a = 0; a < group.size(); ++a) {
      for (std::size_t b = a + 1; b < group.size(); ++b) {
        const std::string& first = texts[textIndex(group[a])];
        const std::string& second = texts[textIndex(group[b])];
        const std::string_view key = accessKeyOf(first);
        if (key.empty() || !equalsIgnoringAsciiCase(key, accessKeyOf(second))) continue;
        if (!taken[textIndex(group[a])] && !taken[textIndex(group[b])]) continue;  // English's own
        if (first == chinese.text(group[a]) && second == chinese.text(group[b])) continue;
        notices.push_back({TextId::LanguageFileSharedAccessKey,
                           {{"file", std::string(fileName)},
                            {"first", std::string(textKeyName(group[a]))},
                            {"second", std::string(textKeyName(group[b]))},
                            {"key", std::string(key)}}});
      }
    }
  }
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

std::string noticeText(const LanguageNotice& notice, const Language& language) {
  std::vector<TextArgument> arguments;
  for (const auto& [name, value] : notice.values) arguments.emplace_back(name, value);
  return formatText(language.text(notice.text), arguments);
}

std::optional<LanguageNotice> languageFileNameProblem(std::string_view tag, std::string_view fileName) {
  if (sameLanguageTag(tag, kChineseTag) || sameLanguageTag(tag, kEnglishTag))
    return noticeAbout(TextId::LanguageFileBuiltIn, fileName);
  if (!isWellFormedTag(tag)) return noticeAbout(TextId::LanguageFileNotTag, fileName);
  if (isDeviceName(tag)) return noticeAbout(TextId::LanguageFileDeviceName, fileName);
  return std::nullopt;
}

LanguageFileHead readLanguageFileHead(std::string_view tag, std::string_view fileName, std::string_view head,
                                      std::uint64_t fileSize) {
  if (auto problem = languageFileNameProblem(tag, fileName)) return {std::nullopt, std::move(problem)};
  if (fileSize > kLanguageFileLimit) return {std::nullopt, noticeAbout(TextId::LanguageFileTooLarge, fileName)};
  head = head.substr(0, kLanguageHeadBytes);
  const std::optional<std::string> text = unicodeFileText(head, fileSize > head.size());
  if (!text) return {std::nullopt, noticeAbout(TextId::LanguageFileNotText, fileName)};
  for (const std::string_view line : linesOf(*text)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || trimSpaces(line.substr(0, equals)) != kNameKey) continue;
    if (auto name = goodName(unescape(line.substr(equals + 1)))) return {std::move(name), std::nullopt};
  }
  return {std::string(tag), std::nullopt};
}

LanguageFileResult readLanguageFile(std::string_view tag, std::string_view fileName, std::string_view bytes) {
  if (auto problem = languageFileNameProblem(tag, fileName)) return {std::nullopt, {std::move(*problem)}};
  if (bytes.size() > kLanguageFileLimit) return {std::nullopt, {noticeAbout(TextId::LanguageFileTooLarge, fileName)}};
  const std::optional<std::string> decoded = unicodeFileText(bytes, false);
  if (!decoded) return {std::nullopt, {noticeAbout(TextId::LanguageFileNotText, fileName)}};

  std::vector<std::string> texts = textsOf(englishTexts());
  std::vector<bool> taken(kTextCount, false);
  std::string name(tag);
  bool nameTaken = false;
  std::size_t badEntries = 0;
  std::size_t firstBadLine = 0;
  const std::vector<std::string_view> lines = linesOf(*decoded);
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string_view line = lines[number - 1];
    if (trimSpaces(line).empty() || line.front() == '#' || line.front() == ';') continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = trimSpaces(line.substr(0, std::min(equals, line.size())));
    const std::string text = equals == std::string_view::npos ? std::string() : unescape(line.substr(equals + 1));
    const std::optional<TextId> id = textIdNamed(key);
    bool good = false;
    if (key == kNameKey) {
      const auto named = nameTaken ? std::nullopt : goodName(text);  // the list shows the first
      if (named) name = *named;
      good = nameTaken = named.has_value();
    } else if (id && !taken[textIndex(*id)] && isGoodEntry(*id, text)) {
      texts[textIndex(*id)] = text;
      taken[textIndex(*id)] = true;
      good = true;
    }
    if (!good && badEntries++ == 0) firstBadLine = number;
  }

  LanguageFileResult result;
  if (badEntries > 0)
    result.notices.push_back({badEntries == 1 ? TextId::LanguageFileBadEntry : TextId::LanguageFileBadEntries,
                              {{"file", std::string(fileName)},
                               {"count", std::to_string(badEntries)},
                               {"line", std::to_string(firstBadLine)}}});
  addSharedAccessKeys(fileName, texts, taken, result.notices);
  result.language.emplace(std::string(tag), std::move(name), std::move(texts));
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
  return "# A Kelvane language file. Translate the text after each '=' and save the file as UTF-8 or\n"
         "# UTF-16, named after the language's tag (Languages\\de-DE.lng), in the Languages folder of\n"
         "# Kelvane's data folder or beside kelvane.exe. language.name is the language's name in its own\n"
         "# words; keep it near the top, where the list of languages looks for it.\n"
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

std::vector<LanguageListEntry> languageList(const Language& speaking, std::span<const LanguageListEntry> fileLanguages) {
  std::vector<LanguageListEntry> list = {{"", speaking.text(TextId::OptionsLanguageAutomatic)}};
  auto add = [&](const std::string& tag, const std::string& caption) {
    const bool listed = std::any_of(list.begin(), list.end(), [&](const LanguageListEntry& entry) {
      return sameLanguageTag(entry.tag, tag);
    });
    if (!listed) list.push_back({tag, caption});
  };
  for (const Language* builtIn : {&Language::simplifiedChinese(), &Language::english()})
    add(builtIn->tag(), builtIn->name());
  for (const LanguageListEntry& file : fileLanguages) add(file.tag, file.caption);
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
