#include "update/update_check.h"

#include <span>
#include <string>
#include <utility>

#include "common/language.h"
#include "common/version_text.h"
#include "settings/ini_codec.h"

namespace kelvane {

std::optional<FourPartVersion> parseVersion(std::string_view text) {
  FourPartVersion version{};
  std::size_t part = 0, digits = 0;
  std::uint32_t value = 0;
  for (const char c : text) {
    if (c == '.') {
      if (digits == 0 || part == 3) return std::nullopt;
      version[part++] = value;
      value = 0;
      digits = 0;
    } else if (c >= '0' && c <= '9') {
      if (++digits > 5) return std::nullopt;
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
      if (value > 65535) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  version[part] = value;
  return version;
}

std::string versionString(const FourPartVersion& version) {
  return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) + "." +
         std::to_string(version[3]);
}

namespace {

using HistoryEntries = std::vector<std::pair<std::string_view, std::string_view>>;

// "CurrentHistory" in line order: line i (from 1) holds the value of key i, and there are as
// many lines as entries. A key that is not a number in that range is on no line; of repeated
// keys the first counts, as for any key.
std::vector<std::string> historyLines(const HistoryEntries& entries) {
  std::vector<std::string> lines(entries.size());
  std::vector<bool> taken(entries.size());
  for (const auto& [key, value] : entries) {
    if (key.empty() || key.size() > 9 || key.front() == '0') continue;
    std::size_t number = 0;
    for (const char c : key) number = c >= '0' && c <= '9' ? number * 10 + static_cast<std::size_t>(c - '0') : 0;
    if (number == 0 || number > lines.size() || taken[number - 1]) continue;
    lines[number - 1] = value;
    taken[number - 1] = true;
  }
  return lines;
}

struct WantedKey {
  std::string_view section, key;
  std::string& value;
  bool found = false;
};

// The first value of each wanted key (whose sections differ), and the "CurrentHistory" entries
// when `history` is given, in one pass over the text: the file is a server's to make, and
// however many lines it has, each is looked at once. False when the text has no
// "CurrentVersions" section.
bool readKeys(std::string_view text, std::span<WantedKey> wanted, HistoryEntries* history) {
  bool versionFile = false, inHistory = false;
  WantedKey* inSection = nullptr;  // the wanted key of the section being read
  IniDocument::scan(text, [&](const IniDocument::ScannedLine& line) {
    if (line.header) {
      versionFile = versionFile || sameIniName(line.section, "CurrentVersions");
      inHistory = history && sameIniName(line.section, "CurrentHistory");
      inSection = nullptr;
      for (WantedKey& key : wanted)
        if (sameIniName(line.section, key.section)) inSection = &key;
    } else if (inHistory) {
      history->emplace_back(line.key, line.value);
    } else if (inSection && !inSection->found && sameIniName(line.key, inSection->key)) {
      inSection->value = line.value;
      inSection->found = true;
    }
  });
  return versionFile;
}

}  // namespace

std::optional<VersionFile> readVersionFile(std::string_view text, std::string_view programKey) {
  VersionFile file;
  WantedKey wanted[] = {{"CurrentVersions", programKey, file.currentVersion},
                        {"DownloadURL", programKey, file.downloadUrl},
                        {"DateReleased", "Date", file.releaseDate},
                        {"BetaVersions", programKey, file.betaVersion}};
  HistoryEntries history;
  if (!readKeys(text, wanted, &history)) return std::nullopt;
  file.changes = historyLines(history);
  return file;
}

std::optional<std::string> offeredVersion(std::string_view text, std::string_view programKey) {
  std::string version;
  WantedKey wanted[] = {{"CurrentVersions", programKey, version}};
  if (!readKeys(text, wanted, nullptr)) return std::nullopt;
  return version;
}

std::string programKey(std::string_view programPath) {
  const auto slash = programPath.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot != std::string_view::npos) name = name.substr(0, dot);
  return std::string(name);
}

UpdateAnswer judgeVersionFile(const std::optional<std::string>& downloaded, std::string_view programKey,
                              std::string_view ownVersion) {
  if (!downloaded || downloaded->size() > kVersionFileLimit) return {};
  const auto offered = offeredVersion(*downloaded, programKey);
  if (!offered) return {};
  const auto available = parseVersion(*offered);
  const auto own = parseVersion(ownVersion);
  if (!available || !own) return {};
  if (*own < *available) return {DownloadLabelState::DownloadLink, *available};
  return {DownloadLabelState::UpToDate, {}};
}

std::string DownloadLabel::caption() const {
  switch (state_) {
    case DownloadLabelState::CheckLink: return tr(TextId::UpdateCheckLink);
    case DownloadLabelState::Checking: return tr(TextId::UpdateChecking);
    case DownloadLabelState::DownloadLink:
      return tr(TextId::UpdateAvailable, {{"version", VersionText(versionString(available_))}});
    case DownloadLabelState::UpToDate: return tr(TextId::UpdateUpToDate);
    case DownloadLabelState::Failed: break;
  }
  return tr(TextId::UpdateFailed);
}

bool DownloadLabel::hasLink() const {
  return state_ == DownloadLabelState::CheckLink || state_ == DownloadLabelState::DownloadLink;
}

bool DownloadLabel::checksOnShow() const { return !answered_ && state_ != DownloadLabelState::Checking; }

DownloadLabel::Click DownloadLabel::LabelDownloadLinkClick() const {
  switch (state_) {
    case DownloadLabelState::DownloadLink: return Click::OpenDownloadPage;
    case DownloadLabelState::Checking: return Click::Nothing;
    default: return answered_ ? Click::Nothing : Click::StartCheck;
  }
}

void DownloadLabel::checkStarted() {
  if (state_ != DownloadLabelState::Checking) beforeCheck_ = state_;
  state_ = DownloadLabelState::Checking;
}

void DownloadLabel::checkAbandoned() {
  if (state_ == DownloadLabelState::Checking) state_ = beforeCheck_;
}

void DownloadLabel::checkEnded(const UpdateAnswer& answer) {
  state_ = answer.state;
  available_ = answer.available;
  answered_ = answer.state != DownloadLabelState::Failed;
}

}  // namespace kelvane
