#include "history/export_target.h"

#include "common/ascii_text.h"

namespace kelvane {

namespace {

constexpr std::string_view kSeparators = "\\/";

std::string folded(std::string_view path) {
  std::string text = lowerAsciiText(path);
  for (char& c : text)
    if (c == '/') c = '\\';
  while (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}

std::string_view folderOf(std::string_view path) {
  const std::size_t end = path.find_last_of(kSeparators);
  return end == std::string_view::npos ? std::string_view() : path.substr(0, end);
}

std::string_view nameOf(std::string_view path) {
  const std::size_t end = path.find_last_of(kSeparators);
  return end == std::string_view::npos ? path : path.substr(end + 1);
}

bool allDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// "<name>.N.old", "<name>.new", or a save's "<name>.<process>-<serial>.kelvane-save" beside `file`.
bool madeBeside(std::string_view path, std::string_view file) {
  if (file.empty() || folderOf(path) != folderOf(file)) return false;
  const std::string_view own = nameOf(file);
  std::string_view name = nameOf(path);
  if (!name.starts_with(own) || name.size() <= own.size() || name[own.size()] != '.') return false;
  name.remove_prefix(own.size() + 1);
  if (name == "new") return true;
  if (name.ends_with(".old")) return allDigits(name.substr(0, name.size() - 4));
  if (name.ends_with(".kelvane-save")) {
    name.remove_suffix(std::string_view(".kelvane-save").size());
    const std::size_t dash = name.find('-');
    return dash != std::string_view::npos && allDigits(name.substr(0, dash)) && allDigits(name.substr(dash + 1));
  }
  return false;
}

}  // namespace

bool isProgramFileName(std::string_view given, const ProgramFiles& files) {
  const std::string path = folded(given);
  const std::string settings = folded(files.settingsFile);
  const std::string history = folded(files.historyFile);
  const std::string log = folded(files.logFile);
  if (path == settings || path == history || (!log.empty() && path == log)) return true;
  if (madeBeside(path, settings) || madeBeside(path, history)) return true;
  const std::string_view folder = nameOf(folderOf(path));
  if (folder == "themes" && path.ends_with(".kelvane theme")) return true;
  if (folder == "languages" && path.ends_with(".lng")) return true;
  return !files.programFolder.empty() && folderOf(path) == folded(files.programFolder) && path.ends_with(".exe");
}

ExportProblem exportTargetProblem(const ExportTarget& target, const ProgramFiles& files) {
  // A device reached by its own name ("\\.\COM1") never exists as a file.
  if (target.path.starts_with("\\\\.\\") || target.path.starts_with("//./")) return ExportProblem::NotDiskFile;
  if (target.sameAsProgramFile || isProgramFileName(target.path, files)) return ExportProblem::ProgramFile;
  if (!target.exists) return ExportProblem::None;
  if (!target.diskFile) return ExportProblem::NotDiskFile;
  if (target.readOnly) return ExportProblem::ReadOnly;
  return ExportProblem::None;
}

}  // namespace kelvane
