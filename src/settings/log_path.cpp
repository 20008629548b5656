#include "settings/log_path.h"

namespace kelvane {

namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool IsRelativeWindowsPath(const std::string& path) {
  if (path.empty() || isSeparator(path[0])) return false;
  // "C:\x" and also "C:x", which Windows resolves on that drive by itself.
  return !(path.size() >= 2 && path[1] == ':');
}

std::string ResolveLogPath(const std::string& logFile, const std::string& dataFolder) {
  // An empty setting would name no file at all: the log then takes its default name.
  const std::string name = logFile.empty() ? std::string("Kelvane.log") : logFile;
  if (!IsRelativeWindowsPath(name) || dataFolder.empty()) return name;
  std::string path = dataFolder;
  if (!isSeparator(path.back())) path += '\\';
  return path + name;
}

}  // namespace kelvane
