// kelvane-preview run as a developer runs it: the `menu:` lines carry the texts the menu shows.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

// The preview's whole output; an exit code other than 0 fails the test.
std::string runPreview(const std::string& command) {
  std::string output;
  FILE* preview = popen(command.c_str(), "r");
  EXPECT_NE(preview, nullptr);
  if (!preview) return output;
  for (int c = std::fgetc(preview); c != EOF; c = std::fgetc(preview)) output.push_back(static_cast<char>(c));
  EXPECT_EQ(pclose(preview), 0);
  return output;
}

}  // namespace

TEST(PreviewMenu, LinesCarryTheReleaseShortcutAndTheProcessNamesAsTheyAre) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::string settings = (folder / "kelvane_preview_menu.ini").string();
  const std::string processes = (folder / "kelvane_preview_menu.txt").string();
  for (const std::string hotkey : {"57392", "16457"}) {  // Shift+Ctrl+Alt+0, Ctrl+I
    std::ofstream(settings, std::ios::binary) << "[General]\r\nRefreshHotkey=" << hotkey << "\r\n";
    std::ofstream(processes, std::ios::binary) << "12\tB&E.exe\tC:\\B&E.exe\t104857600\t\n";
    const std::string command = "'" + std::string(KELVANE_PREVIEW) + "' --settings '" + settings + "' --load 50" +
                                " --total-phys 8589934592 --avail-phys 4294967296 --total-page 17179869184" +
                                " --avail-page 8589934592 --processes '" + processes + "'";
    const std::string output = runPreview(command);
    const std::string shortcut = hotkey == "57392" ? "Shift+Ctrl+Alt+0" : "Ctrl+I";
    EXPECT_NE(output.find("\nmenu: 0\t内存碎片整理(&D)\t" + shortcut + "\t-\n"), std::string::npos) << output;
    // The history's item directly below it, always there.
    EXPECT_NE(output.find("\t-\nmenu: 0\t内存历史(&H)\t\t-\nmenu: 0\t-\t\t-\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\nmenu: 99\tB&E.exe\t100 MB\t-\n"), std::string::npos) << output;
  }
  std::filesystem::remove(settings);
  std::filesystem::remove(processes);
}

TEST(PreviewMenu, SpeaksChineseUnlessTheSettingsNameAnotherLanguage) {
  const std::string settings = (std::filesystem::temp_directory_path() / "kelvane_preview_language.ini").string();
  for (const auto& [line, expected] : {std::pair<std::string, std::string>{"", "\nhint: 内存使用: 50%\n"},
                                       {"Language=\r\n", "\nhint: 内存使用: 50%\n"},
                                       {"Language=en-US\r\n", "\nhint: Memory load: 50%\n"}}) {
    std::ofstream(settings, std::ios::binary) << "[General]\r\n" << line;
    const std::string command = "'" + std::string(KELVANE_PREVIEW) + "' --settings '" + settings + "' --load 50" +
                                " --total-phys 8589934592 --avail-phys 4294967296 --total-page 17179869184" +
                                " --avail-page 8589934592";
    const std::string output = runPreview(command);
    EXPECT_NE(output.find(expected), std::string::npos) << line << output;
  }
  std::filesystem::remove(settings);
}
