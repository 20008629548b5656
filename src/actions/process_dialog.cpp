#include "actions/process_dialog.h"

#include <array>
#include <string_view>

#include "dialogs/task_dialog.h"
#include "common/language.h"

namespace kelvane {

namespace {

constexpr std::array<std::string_view, 9> kSystemProcessNames = {
    "DWM.EXE",     "SVCHOST.EXE", "CSRSS.EXE",    "TASKHOSTEX.EXE", "ATBROKER.EXE",
    "EXPLORER.EXE", "LSASS.EXE",  "RUNDLL32.EXE", "DLLHOST.EXE"};

constexpr char kCrLf[] = "\r\n";
constexpr char kSearchAddress[] = "https://www.bing.com/search?q=";

constexpr int kInformationIcon = 4;
constexpr int kWarningIcon = 1;
constexpr int kDialogWidth = 270;
constexpr int kCancelled = 2;

bool isUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

// The detail lines; `mark` decides how the inserted texts are carried (verbatim marks for the
// dialog, plain for the clipboard).
template <typename Mark>
std::string detailLines(const ProcessItem& item, const ExecutableVersion& version, Mark mark) {
  std::string text;
  text.append(tr(TextId::ProcessName, {{"value", mark(version.fileDescription)}})).append(kCrLf);
  text.append(tr(TextId::ProcessCompany, {{"value", mark(version.companyName)}})).append(kCrLf);
  text.append(tr(TextId::ProcessVersion, {{"value", mark(version.fileVersion)}})).append(kCrLf);
  text.append(tr(TextId::ProcessPath, {{"value", mark(item.path)}})).append(kCrLf).append(kCrLf);
  return text;
}

}  // namespace

std::string UpperCaseAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool IsSystemProcessName(const std::string& upperCaseName) {
  for (std::string_view name : kSystemProcessNames)
    if (upperCaseName == name) return true;
  return false;
}

ProcessDialog MakeProcessDialog(const ProcessItem& item, const ExecutableVersion& version) {
  ProcessDialog d;
  d.title = "Kelvane";
  d.mainInstruction = tr(TextId::ProcessInstruction, {{"name", VerbatimText(item.name)}});
  // An empty path reads as no version information, whatever the reader was handed.
  const bool hasInformation = !item.path.empty() && !version.fileDescription.empty();
  if (hasInformation) {
    d.content = detailLines(item, version, VerbatimText);
    d.details = detailLines(item, version, [](const std::string& text) { return text; });
  } else {
    d.content.append(tr(TextId::ProcessNoInformation)).append(kCrLf).append(kCrLf);
  }
  d.content += tr(TextId::ProcessWarning);
  if (IsSystemProcessName(UpperCaseAscii(item.name))) {
    d.footer = tr(TextId::ProcessMaybeSystem, {{"name", VerbatimText(item.name)}});
    d.footerIcon = kWarningIcon;
  }
  d.buttonCaptions =
      tr(TextId::ProcessButtons, {{"first", tr(hasInformation ? TextId::ProcessCopyDetails : TextId::ProcessSearchOnline)}});
  d.mainIcon = kInformationIcon;
  d.width = kDialogWidth;
  return d;
}

std::string PercentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (isUnreserved(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string WebSearchUrl(const std::string& name) { return std::string(kSearchAddress).append(PercentEncode(name)); }

ProcessAction ProcessActionFor(int dialogResult, const ProcessDialog& dialog, const ProcessItem& item) {
  if (dialogResult == kProcessButtonCancel) dialogResult = kCancelled;
  const bool group = item.unified && !item.path.empty();
  switch (dialogResult) {
    case kProcessButtonFirst:
      return dialog.details.empty() ? ProcessAction::SearchWeb : ProcessAction::CopyDetails;
    case kProcessButtonRelease:
      return group ? ProcessAction::ReleaseAll : ProcessAction::ReleaseOne;
    case kProcessButtonEnd:
      return group ? ProcessAction::EndAll : ProcessAction::EndOne;
    default:
      return ProcessAction::None;
  }
}

bool IsSameProcess(const std::string& expectedPath, std::uint64_t expectedCreationTime, const std::string& path,
                   std::uint64_t creationTime) {
  if (expectedPath.empty() && expectedCreationTime == 0) return false;
  return path == expectedPath && creationTime == expectedCreationTime;
}

std::vector<TNxProcessRec> InstancesOf(const std::vector<TNxProcessRec>& records, const std::string& path) {
  std::vector<TNxProcessRec> instances;
  if (path.empty()) return instances;
  for (const TNxProcessRec& record : records)
    if (record.Path == path) instances.push_back(record);
  return instances;
}

}  // namespace kelvane
