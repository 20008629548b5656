#pragma once
// Where an export may write: never over one of the program's own files, a device or a read-only
// file. The facts about the target come from the system; the decision is made here.

#include <string>
#include <string_view>

#include "commands/command_line.h"

namespace kelvane {

// The program's own files as full paths with their folders' long names.
struct ProgramFiles {
  std::string settingsFile;
  std::string historyFile;
  std::string logFile;
  std::string programFolder;  // ends with no separator
};

// What the system says about the target.
struct ExportTarget {
  std::string path;  // full, with its folder's long name (and its own, when it exists)
  bool exists = false;
  bool diskFile = true;       // an ordinary file on a disk (when it exists)
  bool readOnly = false;      // by its attribute
  bool sameAsProgramFile = false;  // the same file as one of them (volume and file index)
};

// Whether a path names a file the program makes or reads: the settings, history and log files,
// what is made beside them (the history's ".N.old" and ".new", a save's temporaries), a theme in
// a Themes folder, a language file in a Languages folder, a program in the program's folder.
// Letters compare without regard to case.
bool isProgramFileName(std::string_view path, const ProgramFiles& files);

// Why the export must not write the target, or None.
ExportProblem exportTargetProblem(const ExportTarget& target, const ProgramFiles& files);

}  // namespace kelvane
