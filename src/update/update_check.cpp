#include "update/update_check.h"

#include <string>

#include "app/version_text.h"
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

std::optional<VersionFile> readVersionFile(std::string_view text, std::string_view programKey) {
  const IniDocument ini = IniDocument::parse(text);
  if (!ini.hasSection("CurrentVersions")) return std::nullopt;

  VersionFile file;
  file.currentVersion = ini.get("CurrentVersions", programKey, "");
  file.downloadUrl = ini.get("DownloadURL", programKey, "");
  file.releaseDate = ini.get("DateReleased", "Date", "");
  file.betaVersion = ini.get("BetaVersions", programKey, "");
  // As many lines as the section has entries, put in the order of their numbers.
  const std::size_t lines = ini.keyNames("CurrentHistory").size();
  for (std::size_t key = 1; key <= lines; ++key)
    file.changes.push_back(ini.get("CurrentHistory", std::to_string(key), ""));
  return file;
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
  const auto file = readVersionFile(*downloaded, programKey);
  if (!file) return {};
  const auto available = parseVersion(file->currentVersion);
  const auto own = parseVersion(ownVersion);
  if (!available || !own) return {};
  if (*own < *available) return {DownloadLabelState::DownloadLink, *available};
  return {DownloadLabelState::UpToDate, {}};
}

std::string DownloadLabel::caption() const {
  switch (state_) {
    case DownloadLabelState::CheckLink: return "<link>检查更新</link>";
    case DownloadLabelState::Checking: return "正在检查更新...";
    case DownloadLabelState::DownloadLink:
      return "<link>Kelvane " + VersionText(versionString(available_)) + " 可供下载</link>";
    case DownloadLabelState::UpToDate: return "Kelvane 是最新的";
    case DownloadLabelState::Failed: break;
  }
  return "检查新版本时出错";
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
