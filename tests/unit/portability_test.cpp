// The core builds natively on Linux; a Windows header in a portable file breaks that promise
// long before anyone notices, so it is caught here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool isPlatformFile(const fs::path& p) {
  const std::string stem = p.stem().string();
  return stem.size() >= 4 && stem.compare(stem.size() - 4, 4, "_win") == 0;
}

std::vector<std::string> portableFilesIncludingWindowsHeaders(const fs::path& root) {
  static const std::regex windowsInclude(
      R"(#\s*include\s*[<"](windows|winuser|winbase|windef|wingdi|shellapi|commctrl|psapi|tlhelp32|uxtheme|dwmapi|wtsapi32|shlobj|urlmon|wininet|objbase|ole2)\.h[>"])",
      std::regex::icase);
  std::vector<std::string> offenders;
  for (const char* folder : {"src", "tools"}) {
    if (!fs::exists(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const auto ext = entry.path().extension();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      if (isPlatformFile(entry.path())) continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        if (std::regex_search(line, windowsInclude)) {
          offenders.push_back(fs::relative(entry.path(), root).string());
          break;
        }
      }
    }
  }
  return offenders;
}

}  // namespace

TEST(Portability, NoPortableFileIncludesAWindowsHeader) {
  const fs::path root = KELVANE_SOURCE_DIR;
  ASSERT_TRUE(fs::exists(root / "src")) << root;
  const auto offenders = portableFilesIncludingWindowsHeaders(root);
  std::string list;
  for (const auto& f : offenders) list += f + "\n";
  EXPECT_TRUE(offenders.empty()) << "portable files with Windows headers:\n" << list;

  // The check itself must notice an offender.
  const fs::path scratch = fs::temp_directory_path() / "kelvane_portability_probe";
  fs::remove_all(scratch);
  fs::create_directories(scratch / "src" / "x");
  std::ofstream(scratch / "src" / "x" / "bad.cpp") << "#include <Windows.h>\n";
  std::ofstream(scratch / "src" / "x" / "fine_win.cpp") << "#include <windows.h>\n";
  const auto found = portableFilesIncludingWindowsHeaders(scratch);
  fs::remove_all(scratch);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_NE(found[0].find("bad.cpp"), std::string::npos);
}
