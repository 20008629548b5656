// kelvane-preview run as a developer runs it: a settings file and a process file in, the
// tray menu's `menu:` lines out, with the texts the menu itself shows.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string scratchPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("kelvane_preview_menu_" + name)).string();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// The `menu:` lines the preview prints for these settings and processes.
std::vector<std::string> menuLines(const std::string& settings, const std::string& processes) {
  const std::string settingsFile = scratchPath("settings.ini"), processFile = scratchPath("processes.txt");
  writeFile(settingsFile, settings);
  writeFile(processFile, processes);
  const std::string command = std::string("'") + KELVANE_PREVIEW + "' --settings '" + settingsFile +
                              "' --load 50 --total-phys 8589934592 --avail-phys 4294967296"
                              " --total-page 17179869184 --avail-page 8589934592 --processes '" +
                              processFile + "'";
  std::vector<std::string> lines;
  FILE* output = popen(command.c_str(), "r");
  if (!output) return lines;
  std::string line;
  for (int c = std::fgetc(output); c != EOF; c = std::fgetc(output)) {
    if (c != '\n') {
      line.push_back(static_cast<char>(c));
      continue;
    }
    if (line.rfind("menu: ", 0) == 0) lines.push_back(line);
    line.clear();
  }
  EXPECT_EQ(pclose(output), 0) << command;
  std::filesystem::remove(settingsFile);
  std::filesystem::remove(processFile);
  return lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& wanted) {
  for (const std::string& line : lines)
    if (line == wanted) return true;
  return false;
}

}  // namespace

TEST(PreviewMenu, LinesCarryTheReleaseShortcutAndTheProcessNamesAsTheyAre) {
  const std::string processes = "12\tB&E.exe\tC:\\Tools\\B&E.exe\t104857600\t\n";
  std::vector<std::string> lines = menuLines("[General]\r\nRefreshHotkey=57392\r\n", processes);
  EXPECT_TRUE(contains(lines, "menu: 0\t内存碎片整理(&D)\tShift+Ctrl+Alt+0\t-")) << ::testing::PrintToString(lines);
  EXPECT_TRUE(contains(lines, "menu: 99\tB&E.exe\t100 MB\t-")) << ::testing::PrintToString(lines);

  lines = menuLines("[General]\r\nRefreshHotkey=16457\r\n", processes);
  EXPECT_TRUE(contains(lines, "menu: 0\t内存碎片整理(&D)\tCtrl+I\t-")) << ::testing::PrintToString(lines);
  lines = menuLines("[General]\r\n", processes);
  EXPECT_TRUE(contains(lines, "menu: 0\t内存碎片整理(&D)\t\t-")) << ::testing::PrintToString(lines);
}
