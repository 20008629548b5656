#pragma once
// The dialog a process entry of the tray menu opens, and what each of its answers means. The
// shell reads the executable's version resource, shows these texts with TaskChoice and carries
// out the action; the rules here also say which running process an action may touch.

#include <cstdint>
#include <string>
#include <vector>

#include "commands/process_item.h"
#include "process/process_list.h"

namespace kelvane {

// What the executable's version resource says; empty texts where it says nothing.
struct ExecutableVersion {
  std::string fileDescription;
  std::string companyName;
  std::string fileVersion;  // "1.2.3.4"
};

// Upper-case names (ASCII letters only), compared exactly.
bool IsSystemProcessName(const std::string& upperCaseName);
std::string UpperCaseAscii(std::string text);

inline constexpr int kProcessButtonFirst = 100;  // copy details, or search the web
inline constexpr int kProcessButtonRelease = 101;
inline constexpr int kProcessButtonEnd = 102;
inline constexpr int kProcessButtonCancel = 103;

struct ProcessDialog {
  std::string title;
  std::string mainInstruction;  // the names and paths in the texts are marked verbatim
  std::string content;
  // The four detail lines as the clipboard gets them (plain text, CR LF line ends); empty when
  // the executable has no description, and then the first button searches the web.
  std::string details;
  std::string buttonCaptions;
  std::string footer;
  int mainIcon = 0;
  int footerIcon = 0;
  int width = 0;
};

ProcessDialog MakeProcessDialog(const ProcessItem& item, const ExecutableVersion& version);

// A web search for the name: the name percent-encoded as UTF-8 after "/search?q=", always an
// https address.
std::string WebSearchUrl(const std::string& name);
// Every byte except the unreserved characters (letters, digits, "-._~") as %XX.
std::string PercentEncode(const std::string& text);

enum class ProcessAction { None, CopyDetails, SearchWeb, ReleaseOne, EndOne, ReleaseAll, EndAll };

// The dialog's answer carried to an action. 103 counts as cancel, and so do the close box,
// Escape and a failed dialog. A merged entry acts on every instance of its path; one whose path
// could not be read acts on its own process alone, since nothing shows which others are its
// instances.
ProcessAction ProcessActionFor(int dialogResult, const ProcessDialog& dialog, const ProcessItem& item);

// Whether the process now found under an id is the one a record was made from. Ids are reused,
// so the id alone proves nothing: the path and the creation time must be the same, and a record
// that knows neither identifies no process at all.
bool IsSameProcess(const std::string& expectedPath, std::uint64_t expectedCreationTime, const std::string& path,
                   std::uint64_t creationTime);

// The records of a fresh snapshot that are instances of `path` (exact comparison, letter case
// significant), in walk order. An empty path matches nothing: records whose path could not be
// read are not known to be instances of anything.
std::vector<TNxProcessRec> InstancesOf(const std::vector<TNxProcessRec>& records, const std::string& path);

}  // namespace kelvane
