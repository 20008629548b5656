// The folders of src/ stand on floors (docs/ARCHITECTURE.md, "Floors"): a file includes only its
// own folder and folders on lower floors. An include that goes up or sideways ties a lower
// subsystem to a higher one, and nobody notices until the next move hurts; it is caught here,
// however it is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using FloorTable = std::map<std::string, int>;

// The rows of the "## Floors" table: "| 3 | `commands/`, `dialogs/` | ... |".
FloorTable readFloorTable(const fs::path& architecture) {
  static const std::regex row(R"(^\|\s*(\d+)\s*\|([^|]*)\|)");
  static const std::regex folder(R"(`([a-z0-9_]+)/`)");
  FloorTable floors;
  std::ifstream in(architecture);
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (line.rfind("## ", 0) == 0) inSection = line == "## Floors";
    std::smatch cells;
    if (!inSection || !std::regex_search(line, cells, row)) continue;
    const int floor = std::stoi(cells[1].str());
    const std::string names = cells[2].str();
    for (std::sregex_iterator it(names.begin(), names.end(), folder), end; it != end; ++it)
      floors[(*it)[1].str()] = floor;
  }
  return floors;
}

// The src/ folder an include names, or "" for a system or generated header. Quoted and angled
// includes are read alike; "../x/y.h" and "./y.h" are resolved against the including file.
std::string includedFolder(const fs::path& src, const fs::path& includer, const std::string& target) {
  fs::path resolved = target.rfind("./", 0) == 0 || target.rfind("../", 0) == 0
                          ? (includer.parent_path() / target).lexically_normal().lexically_relative(src)
                          : fs::path(target).lexically_normal();
  if (resolved.begin() == resolved.end()) return "";
  const fs::path first = *resolved.begin();
  if (first == resolved || !fs::is_directory(src / first)) return "";
  return first.string();
}

// "folder/file: include" for every include that does not go down, and "folder/: no floor" for a
// folder of src/ that the table does not place.
std::vector<std::string> floorOffences(const fs::path& root, const FloorTable& floors) {
  static const std::regex include(R"(^\s*#\s*include\s*[<"]([^>"]+)[>"])");
  const fs::path src = root / "src";
  std::vector<std::string> offences;
  for (const auto& folder : fs::directory_iterator(src)) {
    if (!folder.is_directory()) continue;
    const std::string name = folder.path().filename().string();
    const auto own = floors.find(name);
    if (own == floors.end()) {
      offences.push_back(name + "/: no floor");
      continue;
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        const std::string target = includedFolder(src, entry.path(), match[1].str());
        if (target.empty() || target == name) continue;
        const auto other = floors.find(target);
        if (other == floors.end() || other->second >= own->second)
          offences.push_back(fs::relative(entry.path(), src).generic_string() + ": " + match[1].str());
      }
    }
  }
  return offences;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

}  // namespace

TEST(Floors, EveryIncludeGoesDown) {
  const fs::path root = KELVANE_SOURCE_DIR;
  const FloorTable floors = readFloorTable(root / "docs" / "ARCHITECTURE.md");
  // The table as the architecture fixes it; a folder moved between floors is a decision taken
  // here as well as there.
  const FloorTable expected = {{"common", 0},  {"settings", 1}, {"memory", 2},  {"process", 2},
                               {"release", 2}, {"update", 2},   {"commands", 3}, {"dialogs", 3},
                               {"tray", 4},    {"menu", 4},     {"history", 4}, {"actions", 5},
                               {"options", 5}, {"app", 6}};
  EXPECT_EQ(floors, expected);
  const auto offences = floorOffences(root, floors);
  EXPECT_TRUE(offences.empty()) << "includes that do not go down:\n" << joined(offences);
}

TEST(Floors, TheCheckCatchesEveryWayOfWritingAnInclude) {
  const fs::path scratch = fs::temp_directory_path() / "kelvane_floors_probe";
  fs::remove_all(scratch);
  const auto write = [&](const std::string& path, const std::string& text) {
    fs::create_directories((scratch / path).parent_path());
    std::ofstream(scratch / path) << text;
  };
  write("docs/ARCHITECTURE.md",
        "## Floors\n\n| floor | folders |\n|---|---|\n| 0 | `low/` |\n| 1 | `mid/`, `side/` |\n"
        "| 2 | `top/` |\n\n## Other\n\n| 9 | `ignored/` |\n");
  write("src/low/a.h", "#include <vector>\n#include <windows.h>\n#include \"resource_ids.h\"\n");
  write("src/mid/fine.cpp",
        "#include \"mid/b.h\"\n#include \"low/a.h\"\n#include \"../low/a.h\"\n#include \"./b.h\"\n");
  write("src/mid/up_quoted.cpp", "#include \"top/c.h\"\n");
  write("src/mid/up_angled.h", "  #  include <top/c.h>\n");
  write("src/mid/sub/up_relative.cpp", "#include \"../../top/c.h\"\n");
  write("src/mid/sideways.cpp", "#include \"side/d.h\"\n");
  write("src/top/c.h", "#include \"mid/b.h\"\n#include <low/a.h>\n");
  write("src/side/d.h", "");
  write("src/ignored/e.h", "");

  const FloorTable floors = readFloorTable(scratch / "docs" / "ARCHITECTURE.md");
  EXPECT_EQ(floors, (FloorTable{{"low", 0}, {"mid", 1}, {"side", 1}, {"top", 2}}));
  auto found = floorOffences(scratch, floors);
  fs::remove_all(scratch);
  std::sort(found.begin(), found.end());
  const std::vector<std::string> expected = {
      "ignored/: no floor",
      "mid/sideways.cpp: side/d.h",
      "mid/sub/up_relative.cpp: ../../top/c.h",
      "mid/up_angled.h: top/c.h",
      "mid/up_quoted.cpp: top/c.h",
  };
  EXPECT_EQ(found, expected);
}
