#include "actions/process_dialog.h"

#include <array>
#include <string_view>

#include "dialogs/task_dialog.h"

namespace kelvane {

namespace {

constexpr std::array<std::string_view, 9> kSystemProcessNames = {
    "DWM.EXE",     "SVCHOST.EXE", "CSRSS.EXE",    "TASKHOSTEX.EXE", "ATBROKER.EXE",
    "EXPLORER.EXE", "LSASS.EXE",  "RUNDLL32.EXE", "DLLHOST.EXE"};

constexpr char kCrLf[] = "\r\n";
constexpr char kWarning[] =
    "请注意, 使用关联程序终止进程可能会导致不良的后果, 包括丢失未保存的数据, 系统不稳定甚至系统关闭等问题. "
    "只有无响应的进程才应该被终止.";
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
  text.append("名称: ").append(mark(version.fileDescription)).append(kCrLf);
  text.append("公司: ").append(mark(version.companyName)).append(kCrLf);
  text.append("版本: ").append(mark(version.fileVersion)).append(kCrLf);
  text.append("文件路径: ").append(mark(item.path)).append(kCrLf).append(kCrLf);
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
  // Built by appending: GCC 12 warns wrongly about overlapping copies in chained operator+.
  d.mainInstruction.append("进程信息  '").append(VerbatimText(item.name)).append("'");
  // An empty path reads as no version information, whatever the reader was handed.
  const bool hasInformation = !item.path.empty() && !version.fileDescription.empty();
  if (hasInformation) {
    d.content = detailLines(item, version, VerbatimText);
    d.details = detailLines(item, version, [](const std::string& text) { return text; });
  } else {
    d.content.append("(没有进程信息)").append(kCrLf).append(kCrLf);
  }
  d.content += kWarning;
  if (IsSystemProcessName(UpperCaseAscii(item.name))) {
    d.footer.append("'").append(VerbatimText(item.name)).append("' 可能是一个系统进程");
    d.footerIcon = kWarningIcon;
  }
  d.buttonCaptions.append(hasInformation ? "复制详细信息" : "在线搜索").append("\n释放内存\n终止进程\n取消");
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
