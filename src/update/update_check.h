#pragma once
// The version check's rules: reading the version file from the maker's site, comparing its
// version with the program's own, and what the about window's download label says at each step.
// The shell downloads the file and carries the label's text to the window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// major, minor, release, build.
using FourPartVersion = std::array<std::uint32_t, 4>;

// One to four dot-separated decimal numbers, each of at most five digits and at most 65535 (a
// version-resource part); parts left out count as 0, so "3.3" is 3.3.0.0. Anything else
// (empty, blanks, signs, letters, empty parts, a fifth part) is no version.
std::optional<FourPartVersion> parseVersion(std::string_view text);
std::string versionString(const FourPartVersion& version);

// Larger than this, a download is no version file (they are a few hundred bytes).
inline constexpr std::size_t kVersionFileLimit = 64 * 1024;
// A check that has no answer this long after it started has failed, whatever the server does.
inline constexpr unsigned kVersionCheckDeadlineMs = 30000;
// Redirects followed on the way to the file, each to an http or https address.
inline constexpr int kVersionFileRedirects = 5;

struct VersionFile {
  std::string currentVersion;  // "CurrentVersions", program key
  std::string downloadUrl;     // "DownloadURL", program key
  std::string releaseDate;     // "DateReleased", "Date"
  std::string betaVersion;     // "BetaVersions", program key
  // "CurrentHistory": line i (from 1) is the value of key i, empty where a number is missing.
  std::vector<std::string> changes;
};

// The version file as INI text (UTF-8); a missing key reads as "". Nothing when the text has no
// "CurrentVersions" section: what came back is then something else, such as a server's error
// page, and not a version file that lacks this program.
std::optional<VersionFile> readVersionFile(std::string_view text, std::string_view programKey);
// Only what the about window judges by: the "CurrentVersions" value for this program, "" when
// the key is missing; nothing when the text has no such section. Both read the text once.
std::optional<std::string> offeredVersion(std::string_view text, std::string_view programKey);

// The program key: the program file's name without folder and extension ("Kelvane").
std::string programKey(std::string_view programPath);

enum class DownloadLabelState { CheckLink, Checking, DownloadLink, UpToDate, Failed };

struct UpdateAnswer {
  DownloadLabelState state = DownloadLabelState::Failed;
  FourPartVersion available{};  // the version offered, with DownloadLink
};

// What a finished check shows. `downloaded` is the file's text, nothing when the download
// failed; `ownVersion` is the program's "a.b.c.d" ("" without a version resource). Anything
// that leaves a version unknown is a failed check: it is never taken for "up to date".
UpdateAnswer judgeVersionFile(const std::optional<std::string>& downloaded, std::string_view programKey,
                              std::string_view ownVersion);

// The about window's download label (LabelDownload): its text and whether showing the window
// starts a check. One check runs at a time; after an answer from the site no check starts by
// itself again, after a failure the next showing tries again.
class DownloadLabel {
 public:
  enum class Click { Nothing, StartCheck, OpenDownloadPage };

  // The text with the link part between "<link>" and "</link>".
  std::string caption() const;
  DownloadLabelState state() const { return state_; }
  bool hasLink() const;
  // Drawn in the button-shadow colour while a check runs.
  bool greyed() const { return state_ == DownloadLabelState::Checking; }

  bool checksOnShow() const;
  // The label's link was clicked (or the window was shown and checksOnShow() said so).
  Click LabelDownloadLinkClick() const;
  void checkStarted();
  void checkEnded(const UpdateAnswer& answer);
  // The window closed while the check ran: it never answered, so the next showing checks.
  void checkAbandoned();

 private:
  DownloadLabelState state_ = DownloadLabelState::CheckLink;
  DownloadLabelState beforeCheck_ = DownloadLabelState::CheckLink;
  FourPartVersion available_{};
  bool answered_ = false;  // the site answered once: showing the window does not check again
};

}  // namespace kelvane
