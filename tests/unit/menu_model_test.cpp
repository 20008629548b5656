#include "menu/menu_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kelvane;

namespace {

constexpr std::uint64_t MiB = 1024 * 1024;
constexpr std::uint64_t GiB = 1024 * MiB;

TNxProcessRec rec(std::uint32_t id, std::string name, std::string path, std::uint64_t memory,
                  double created = 0) {
  TNxProcessRec r;
  r.ProcessId = id;
  r.Name = std::move(name);
  r.Path = std::move(path);
  r.Memory = memory;
  r.CreationTime = created;
  return r;
}

TrayMenuInputs inputs() {
  TrayMenuInputs in;
  in.options = defaultOptions(10);
  in.options.ShowPage = false;
  in.lastSample.ullTotalPhys = 4 * GiB;
  in.lastSample.ullTotalPageFile = 8 * GiB;
  in.hintText = "内存使用: 42%\r\n物理内存: 1 GB/4 GB\r\n";
  return in;
}

std::vector<std::string> captions(const std::vector<MenuEntry>& menu) {
  std::vector<std::string> out;
  for (const auto& e : menu) out.push_back(e.caption);
  return out;
}

}  // namespace

TEST(MenuMerge, GroupsByExactPathKeepingTheFirstInstanceWithMemory) {
  const std::vector<TNxProcessRec> walk = {
      rec(4, "a.exe", "C:\\A\\a.exe", 0, 1.0),        // no memory, before its group's head
      rec(8, "a.exe", "C:\\A\\a.exe", 100 * MiB, 2.0),  // head
      rec(9, "b.exe", "C:\\B\\a.exe", 50 * MiB),        // same name, other folder
      rec(12, "a.exe", "C:\\A\\a.exe", 200 * MiB),
      rec(13, "A.EXE", "C:\\A\\A.EXE", 70 * MiB),       // other letter case
      rec(16, "a.exe", "C:\\A\\a.exe", 0),              // no memory, after the head
      rec(20, "x.exe", "", 30 * MiB),
      rec(24, "y.exe", "", 30 * MiB),                   // empty paths stay apart
      rec(28, "big.exe", "C:\\big.exe", 3 * GiB),
      rec(32, "big.exe", "C:\\big.exe", 3 * GiB),       // the sum passes 32 bits
  };
  const auto merged = MergeInstances(walk);
  ASSERT_EQ(merged.size(), 7u);
  EXPECT_EQ(merged[0].ProcessId, 4u);
  EXPECT_EQ(merged[0].InstanceCount, 0);
  EXPECT_EQ(merged[1].ProcessId, 8u);
  EXPECT_EQ(merged[1].CreationTime, 2.0);
  EXPECT_EQ(merged[1].Memory, 300 * MiB);
  EXPECT_EQ(merged[1].InstanceCount, 3);
  EXPECT_EQ(merged[2].ProcessId, 9u);
  EXPECT_EQ(merged[2].InstanceCount, 0);
  EXPECT_EQ(merged[3].ProcessId, 13u);
  EXPECT_EQ(merged[4].ProcessId, 20u);
  EXPECT_EQ(merged[5].ProcessId, 24u);
  EXPECT_EQ(merged[5].InstanceCount, 0);
  EXPECT_EQ(merged[6].Memory, 6 * GiB);
  EXPECT_EQ(merged[6].InstanceCount, 2);

  // Equal memory keeps walk order; larger first otherwise.
  std::vector<TNxProcessRec> sorted = {rec(1, "p", "", 5), rec(2, "q", "", 9), rec(3, "r", "", 5),
                                       rec(4, "s", "", 0), rec(5, "t", "", 5)};
  SortByMemory(sorted);
  std::vector<std::uint32_t> ids;
  for (const auto& r : sorted) ids.push_back(r.ProcessId);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{2, 1, 3, 5, 4}));
  EXPECT_EQ(CompareByMemory(sorted[0], sorted[1]), -1);
  EXPECT_EQ(CompareByMemory(sorted[1], sorted[0]), 1);
  EXPECT_EQ(CompareByMemory(sorted[1], sorted[2]), 0);
}

TEST(MenuProcessEntry, ValueTextsPrefixAndHighlight) {
  const NumberFormat dot;
  // Quarter of 4 GiB: type 1 size and percentage, type 2 percentage only.
  EXPECT_EQ(ProcessValueText(GiB, 0, 4 * GiB, dot), "1024 MB");
  EXPECT_EQ(ProcessValueText(GiB, 1, 4 * GiB, dot), "1024 MB (25%)");
  EXPECT_EQ(ProcessValueText(GiB, 2, 4 * GiB, dot), "25%");
  EXPECT_EQ(ProcessValueText(GiB, 3, 4 * GiB, dot), "");
  // Halves go to the even neighbour: 2.5 % -> 2 %, 3.5 % -> 4 %.
  EXPECT_EQ(ProcessValueText(25, 2, 1000, dot), "2%");
  EXPECT_EQ(ProcessValueText(35, 2, 1000, dot), "4%");
  for (int type : {0, 1, 2, 7}) EXPECT_EQ(ProcessValueText(0, type, 4 * GiB, dot), "n/a") << type;
  // From 4,000,000,000 bytes on, a "+" in front, but never for the plain size.
  EXPECT_EQ(ProcessValueText(4'000'000'000ULL, 2, 8'000'000'000ULL, dot), "+50%");
  EXPECT_EQ(ProcessValueText(3'999'999'999ULL, 2, 8'000'000'000ULL, dot), "50%");
  EXPECT_EQ(ProcessValueText(4'000'000'000ULL, 0, 8'000'000'000ULL, dot), "3.73 GB");
  // An unknown total (the memory sample failed) gives no percentage rather than a division by 0.
  EXPECT_EQ(ProcessValueText(GiB, 1, 0, dot), "1024 MB");
  EXPECT_EQ(ProcessValueText(GiB, 2, 0, dot), "n/a");

  EXPECT_TRUE(IsHighlightedProcess(1000 * MiB, 1000));
  EXPECT_FALSE(IsHighlightedProcess(1000 * MiB - 1, 1000));  // 999.99 MiB
  EXPECT_FALSE(IsHighlightedProcess(64 * GiB, 0));
  EXPECT_FALSE(IsHighlightedProcess(0, 1));

  TrayMenuInputs in = inputs();
  in.options.ProcessValueType = 1;
  TNxProcessRec group = rec(8, "a.exe", "C:\\A\\a.exe", GiB, 3.5);
  group.InstanceCount = 3;
  group.CreationTimeUtc = 133'500'000'000'000'000ULL;
  MenuEntry entry = ProcessEntry(group, "Alpha Editor", in);
  EXPECT_EQ(entry.caption, "a.exe [3]");  // the description only when the user asks for it
  EXPECT_EQ(entry.valueText, "1024 MB (25%)");
  EXPECT_TRUE(entry.unified);
  ASSERT_NE(entry.process(), nullptr);
  EXPECT_EQ(entry.process()->processId, 8u);
  EXPECT_EQ(entry.process()->path, "C:\\A\\a.exe");
  EXPECT_EQ(entry.process()->creationTime, 133'500'000'000'000'000ULL);  // the system's count, not local time
  EXPECT_TRUE(entry.process()->unified);
  in.options.ShowNameInsteadOfModule = true;
  in.options.ShowPage = true;  // percentages of the page file's total
  EXPECT_EQ(ProcessEntry(group, "Alpha Editor", in).caption, "Alpha Editor [3]");
  EXPECT_EQ(ProcessEntry(group, "Alpha Editor", in).valueText, "1024 MB (12%)");  // 12.5
  EXPECT_EQ(ProcessEntry(rec(9, "b.exe", "", 0), "", in).caption, "b.exe");
}

TEST(MenuMemoryLines, SplitAtTheFirstColonOnAnyLineBreak) {
  const auto lines = MemoryLineEntries("a: b: c\rno colon\nx:\r\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].caption, "a");
  EXPECT_EQ(lines[0].valueText, " b: c");
  EXPECT_EQ(lines[1].caption, "no colon");
  EXPECT_EQ(lines[1].valueText, "");
  EXPECT_EQ(lines[2].caption, "x");
  for (const auto& line : lines) {
    EXPECT_FALSE(line.enabled);
    EXPECT_EQ(line.tag, 98);
    EXPECT_FALSE(line.command);
  }
  EXPECT_TRUE(MemoryLineEntries("").empty());
}

TEST(TrayMenu, SectionsInTheirPlacesAndOneDefaultItem) {
  TrayMenuInputs in = inputs();
  in.options.TopProcessCount = 2;
  in.options.DoubleClickAction = 0;
  in.options.WriteLog = false;
  const std::vector<TNxProcessRec> walk = {rec(4, "s.exe", "C:\\s.exe", 10 * MiB),
                                           rec(8, "b.exe", "C:\\b.exe", 1000 * MiB),
                                           rec(12, "m.exe", "C:\\m.exe", 20 * MiB)};
  int described = 0;
  const DescriptionSource describe = [&](const std::string&) { ++described; return std::string(); };

  auto menu = BuildTrayMenu(in, walk, describe);
  EXPECT_EQ(captions(menu), (std::vector<std::string>{"启动任务管理器(&T)", "-", "内存使用", "物理内存", "-",
                                                       "b.exe", "m.exe", "-", "内存碎片整理(&D)", "内存历史(&H)", "-",
                                                       "设置(&S)", "关于(&A)", "-", "退出(&E)"}));
  EXPECT_EQ(menu[1].tag, 99);
  EXPECT_EQ(menu[4].tag, 98);
  EXPECT_EQ(menu[7].tag, 0);
  EXPECT_TRUE(menu[5].highlighted);
  EXPECT_EQ(menu[0].icon, MenuIcon::TaskManager);
  EXPECT_TRUE(menu[0].isDefault);
  EXPECT_EQ(described, 0);  // descriptions are read only when they are shown

  // Process section off (or no room for processes): the memory lines follow N1.
  for (int variant = 0; variant < 2; ++variant) {
    TrayMenuInputs off = in;
    if (variant == 0) off.options.ShowTopProcess = false;
    else off.options.TopProcessCount = 0;
    EXPECT_EQ(captions(BuildTrayMenu(off, walk, describe)),
              (std::vector<std::string>{"启动任务管理器(&T)", "-", "内存使用", "物理内存", "-", "内存碎片整理(&D)",
                                        "内存历史(&H)", "-", "设置(&S)", "关于(&A)", "-", "退出(&E)"}));
  }
  // Memory section off, log on, more room than processes, descriptions asked for the shown ones.
  in.options.ShowMemMenu = false;
  in.options.WriteLog = true;
  in.options.TopProcessCount = 10;
  in.options.ShowNameInsteadOfModule = true;
  in.options.DoubleClickAction = 2;
  menu = BuildTrayMenu(in, walk, describe);
  EXPECT_EQ(captions(menu), (std::vector<std::string>{"启动任务管理器(&T)", "-", "b.exe", "m.exe", "s.exe", "-",
                                                       "内存碎片整理(&D)", "内存历史(&H)", "显示日志(&S)", "-", "设置(&S)",
                                                       "关于(&A)", "-", "退出(&E)"}));
  EXPECT_EQ(described, 3);
  for (const auto& entry : menu) EXPECT_FALSE(entry.isDefault) << entry.caption;  // action 2
  in.options.DoubleClickAction = 1;
  in.releaseShortcutText = "Alt+A";
  menu = BuildTrayMenu(in, walk, describe);
  EXPECT_TRUE(menu[6].isDefault);
  EXPECT_EQ(menu[6].shortcutText, "Alt+A");
}
