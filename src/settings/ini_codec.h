#pragma once
// An INI document that reads and edits text the way Windows' private-profile functions do, so
// that a file behaves the same whether the program or an older copy of it touches it:
// - names compare without letter case (ASCII letters), blanks around names and values are
//   trimmed, one pair of matching quotes around a value is removed;
// - the first of duplicate sections or keys wins; lines starting with ';' are comments;
//   keys above the first section header cannot be reached;
// - CR LF, LF and CR line ends read alike;
// - an edit touches only the line it changes: a key not yet present goes after the last entry
//   line of its section, a new section at the end of the file; new and changed lines end in
//   CR LF; every other byte (comments, blank lines, unknown keys, odd line ends) stays.
// The text is taken byte for byte; only ASCII characters have a meaning to the syntax, so UTF-8
// and the double-byte code pages' text converted to UTF-8 pass through untouched.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// GetPrivateProfileString with a 2048-character buffer: at most 2047 characters of a value.
inline constexpr std::size_t kIniValueLimit = 2047;

// Names compare as Windows compares them in these files: ASCII letters without case.
bool sameIniName(std::string_view a, std::string_view b);

// The blanks trimmed around names and values read from a file, as Windows trims them: space,
// tab and vertical tab. A form feed or any other control character is part of the text.
constexpr bool isIniBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument parse(std::string_view text);

  // The value of the first matching key in the first matching section, cut to `limit`
  // characters (never inside a UTF-8 sequence); nullopt when the section or key is missing.
  // Only spaces are trimmed from the section and key given here (tabs are part of the name).
  std::optional<std::string> get(std::string_view section, std::string_view key,
                                 std::size_t limit = kIniValueLimit) const;
  // As GetPrivateProfileString with a default: the default loses its trailing spaces.
  std::string get(std::string_view section, std::string_view key, std::string_view fallback,
                  std::size_t limit = kIniValueLimit) const;

  // Stores `value` exactly as given (no quoting). Line breaks inside it would inject lines into
  // the file, so each CR or LF is stored as a space.
  void set(std::string_view section, std::string_view key, std::string_view value);

  // Takes out the first matching key of the first matching section, as the profile functions
  // delete a key; nothing else changes.
  void remove(std::string_view section, std::string_view key);

  // Names of the sections in file order, duplicates included.
  std::vector<std::string> sectionNames() const;
  bool hasSection(std::string_view section) const;
  // Names of the keys of the first matching section in file order, duplicates included (as
  // GetPrivateProfileSection lists them).
  std::vector<std::string> keyNames(std::string_view section) const;

  std::string serialize() const;

  // Text that is only looked at once (a downloaded file) need not become a document: scan()
  // reads it in one pass, with the rules above, and calls `visit` for every line get() can
  // reach: the header of the first section of each name, then each key under it, in file
  // order. The views point into `text`; values come as get() gives them.
  struct ScannedLine {
    std::string_view section;  // its name as its header spells it
    bool header = false;       // the section's header line, with no key or value
    std::string_view key, value;
  };
  static void scan(std::string_view text, const std::function<void(const ScannedLine&)>& visit,
                   std::size_t limit = kIniValueLimit);

 private:
  enum class Kind : unsigned char { Other, Comment, Section, Entry, Key };
  // What a line is: Entry is a line without '=', Key one with it. The name (section or key)
  // and the value are ranges of the line's text, blanks trimmed.
  struct Shape {
    Kind kind = Kind::Other;
    std::size_t nameAt = 0, nameSize = 0, valueAt = 0, valueSize = 0;
  };
  struct Line : Shape {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r", or "" for a last line without one
  };
  static Shape shapeOf(std::string_view text);
  static Line makeLine(std::string text, std::string end);
  static std::string_view nameOf(const Line& line);
  // Index of the first header line of `section`, or npos.
  std::size_t findSection(std::string_view section) const;
  // Index one past the last line of the section whose header is at `header`.
  std::size_t sectionEnd(std::size_t header) const;
  void ensureLastLineEnded();

  std::vector<Line> lines_;
};

}  // namespace kelvane
