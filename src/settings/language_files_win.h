#pragma once
// The languages that files add, Languages\<tag>.lng in the data folder and beside the program,
// and the choice of the language the program speaks from the setting and Windows' display
// language. The list of files is cheap (a few hundred bytes a file, from each file's start);
// only the file of the language chosen is read whole, when it is chosen.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/language.h"

namespace kelvane {

inline constexpr std::wstring_view kLanguageFolder = L"Languages\\";

// One listed file: its name as found ("de-DE.lng"), the name of its language, and which of the
// list's folders holds it.
struct LanguageFileEntry {
  std::string fileName;
  std::string name;
  std::uint8_t folder = 0;
  std::string_view tag() const { return std::string_view(fileName).substr(0, fileName.size() - 4); }
};

class LanguageFileList {
 public:
  LanguageFileList() = default;
  // The files of each folder's Languages folder (each folder with a trailing backslash), the
  // first folder's winning a tag that two have. Each file left out gets a notice.
  static LanguageFileList read(const std::vector<std::wstring>& folders, std::vector<LanguageNotice>& notices);

  std::span<const LanguageFileEntry> entries() const { return entries_; }
  std::wstring pathOf(const LanguageFileEntry& entry) const;
  // The bytes the list takes, its own counting: what its strings and vectors hold.
  std::size_t bytesHeld() const;

 private:
  void readFolder(std::uint8_t folder, std::vector<LanguageNotice>& notices);
  std::vector<std::wstring> languageFolders_;
  std::vector<LanguageFileEntry> entries_;
};

// Reads the list of language files of each folder once, at start, and keeps it for the run; a
// second call adds nothing. Returns a notice for each file left out.
std::vector<LanguageNotice> loadLanguageFiles(const std::vector<std::wstring>& folders);

// The list loadLanguageFiles kept, and its languages as the options dialog lists them.
const LanguageFileList& languageFiles();
std::vector<LanguageListEntry> listedFileLanguages();

// Speaks the language `setting` ([General] Language) chooses, Windows' display language
// deciding when it names none (or none there is). A file language is read whole now; a file that
// cannot be used then counts as missing and the choice is made again without it. Returns the
// notices about the file read: its bad entries, or why it was not used.
std::vector<LanguageNotice> speakLanguageSetting(std::string_view setting);

}  // namespace kelvane
