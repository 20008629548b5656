#include "settings/language_files_win.h"

#include <algorithm>
#include <list>
#include <optional>

#include "common/disk_file_win.h"
#include "common/handles_win.h"
#include "common/system_info_win.h"
#include "common/text_win.h"

namespace kelvane {

namespace {

bool endsWithLanguageExtension(const std::wstring& name) {
  constexpr std::wstring_view extension = L".lng";
  return name.size() > extension.size() &&
         _wcsicmp(name.c_str() + name.size() - extension.size(), extension.data()) == 0;
}

// The first `limit` bytes of the file and one more, so that the caller knows whether there was
// more; nothing when it is no ordinary disk file or cannot be read. Looked at before it is
// opened (opening a device can wait for the device) and again once open.
std::optional<std::string> readLimitedBytes(const std::wstring& path, std::size_t limit) {
  if (fileKindOf(path) != FileKind::Ordinary) return std::nullopt;
  const UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || !isDiskFile(file.get())) return std::nullopt;
  std::string bytes;
  std::string buffer(std::min<std::size_t>(limit + 1, 65536), '\0');
  DWORD got = 0;
  while (bytes.size() <= limit) {
    const auto wanted = static_cast<DWORD>(std::min(buffer.size(), limit + 1 - bytes.size()));
    if (!ReadFile(file.get(), buffer.data(), wanted, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    bytes.append(buffer.data(), got);
  }
  return bytes;
}

template <typename Char>
std::size_t heapBytes(const std::basic_string<Char>& text) {
  const auto* data = reinterpret_cast<const char*>(text.data());
  const auto* self = reinterpret_cast<const char*>(&text);
  const bool inside = data >= self && data < self + sizeof(text);  // short texts live in the object
  return inside ? 0 : (text.capacity() + 1) * sizeof(Char);
}

LanguageFileList& keptList() {
  static LanguageFileList list;
  return list;
}

// The file languages spoken in this run. A language handed to speak() must outlive every reader
// (a process dialog's thread may still read the one replaced), so none is ever dropped; one read
// again to the same texts is not kept twice.
const Language& keptLanguage(Language language) {
  static std::list<Language> spoken;
  for (const Language& kept : spoken)
    if (kept == language) return kept;
  return spoken.emplace_back(std::move(language));
}

}  // namespace

LanguageFileList LanguageFileList::read(const std::vector<std::wstring>& folders, std::vector<LanguageNotice>& notices) {
  LanguageFileList list;
  for (const std::wstring& folder : folders) list.languageFolders_.push_back(folder + std::wstring(kLanguageFolder));
  list.languageFolders_.shrink_to_fit();
  for (std::size_t folder = 0; folder < list.languageFolders_.size() && folder < 256; ++folder)
    list.readFolder(static_cast<std::uint8_t>(folder), notices);
  list.entries_.shrink_to_fit();
  return list;
}

void LanguageFileList::readFolder(std::uint8_t folder, std::vector<LanguageNotice>& notices) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((languageFolders_[folder] + L"*.lng").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & kNotOrdinary) || !endsWithLanguageExtension(name)) continue;
    const std::string fileName = toUtf8(name);
    const std::string_view tag = std::string_view(fileName).substr(0, fileName.size() - 4);
    const bool listed = std::any_of(entries_.begin(), entries_.end(),
                                    [&](const LanguageFileEntry& entry) { return sameLanguageTag(entry.tag(), tag); });
    if (listed) continue;  // the data folder's file wins
    const std::wstring path = languageFolders_[folder] + name;
    // The name alone may say no: a device name must not even be opened.
    if (auto problem = languageFileNameProblem(tag, toUtf8(path))) {
      notices.push_back(std::move(*problem));
      continue;
    }
    const auto head = readLimitedBytes(path, kLanguageHeadBytes);
    if (!head) continue;  // gone or locked since it was listed: as if it were not there
    const std::uint64_t size = (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    LanguageFileHead read = readLanguageFileHead(tag, toUtf8(path), *head, std::max<std::uint64_t>(size, head->size()));
    if (read.notice) notices.push_back(std::move(*read.notice));
    if (!read.name) continue;
    LanguageFileEntry entry{fileName, std::move(*read.name), folder};
    entry.fileName.shrink_to_fit();
    entry.name.shrink_to_fit();
    entries_.push_back(std::move(entry));
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::wstring LanguageFileList::pathOf(const LanguageFileEntry& entry) const {
  return languageFolders_[entry.folder] + toWide(entry.fileName);
}

std::size_t LanguageFileList::bytesHeld() const {
  std::size_t bytes = sizeof(*this) + languageFolders_.capacity() * sizeof(std::wstring) +
                      entries_.capacity() * sizeof(LanguageFileEntry);
  for (const std::wstring& folder : languageFolders_) bytes += heapBytes(folder);
  for (const LanguageFileEntry& entry : entries_) bytes += heapBytes(entry.fileName) + heapBytes(entry.name);
  return bytes;
}

std::vector<LanguageNotice> loadLanguageFiles(const std::vector<std::wstring>& folders) {
  std::vector<LanguageNotice> notices;
  LanguageFileList& kept = keptList();
  if (!kept.entries().empty()) return notices;
  kept = LanguageFileList::read(folders, notices);
  return notices;
}

const LanguageFileList& languageFiles() { return keptList(); }

std::vector<LanguageListEntry> listedFileLanguages() {
  std::vector<LanguageListEntry> languages;
  for (const LanguageFileEntry& entry : languageFiles().entries()) languages.push_back({std::string(entry.tag()), entry.name});
  return languages;
}

std::vector<LanguageNotice> speakLanguageSetting(std::string_view setting) {
  std::vector<LanguageNotice> notices;
  const UiLanguage windows = readUiLanguage();
  std::vector<const LanguageFileEntry*> usable;
  for (const LanguageFileEntry& entry : languageFiles().entries()) usable.push_back(&entry);
  while (true) {
    std::vector<std::string> tags;
    for (const LanguageFileEntry* entry : usable) tags.emplace_back(entry->tag());
    const std::string chosen = chooseLanguage(setting, windows.id, windows.tag, tags);
    const auto file = std::find_if(usable.begin(), usable.end(), [&](const LanguageFileEntry* entry) {
      return sameLanguageTag(entry->tag(), chosen);
    });
    if (file == usable.end()) {
      speak(languageOfTag(chosen, {}));
      return notices;
    }
    const std::wstring path = languageFiles().pathOf(**file);
    const auto bytes = readLimitedBytes(path, kLanguageFileLimit);
    LanguageFileResult read = bytes ? readLanguageFile(chosen, toUtf8(path), *bytes) : LanguageFileResult{};
    if (!bytes) read.notices.push_back({TextId::LanguageFileUnreadable, {{"file", toUtf8(path)}}});
    notices.insert(notices.end(), read.notices.begin(), read.notices.end());
    if (read.language) {
      speak(keptLanguage(std::move(*read.language)));
      return notices;
    }
    usable.erase(file);  // as if the file were not there
  }
}

}  // namespace kelvane
