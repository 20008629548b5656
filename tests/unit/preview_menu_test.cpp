// kelvane-preview run as a developer runs it: the `menu:` lines carry the texts the menu shows.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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
    std::string output;
    FILE* preview = popen(command.c_str(), "r");
    ASSERT_NE(preview, nullptr);
    for (int c = std::fgetc(preview); c != EOF; c = std::fgetc(preview)) output.push_back(static_cast<char>(c));
    EXPECT_EQ(pclose(preview), 0);
    const std::string shortcut = hotkey == "57392" ? "Shift+Ctrl+Alt+0" : "Ctrl+I";
    EXPECT_NE(output.find("\nmenu: 0\t内存碎片整理(&D)\t" + shortcut + "\t-\n"), std::string::npos) << output;
    // The history's item directly below it, always there.
    EXPECT_NE(output.find("\t-\nmenu: 0\t内存历史(&H)\t\t-\nmenu: 0\t-\t\t-\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\nmenu: 99\tB&E.exe\t100 MB\t-\n"), std::string::npos) << output;
  }
  std::filesystem::remove(settings);
  std::filesystem::remove(processes);
}
