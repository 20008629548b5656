#include "actions/process_dialog.h"

#include <gtest/gtest.h>

#include "dialogs/task_dialog.h"

using namespace kelvane;

namespace {

const char* const kWarning =
    "请注意, 使用关联程序终止进程可能会导致不良的后果, 包括丢失未保存的数据, 系统不稳定甚至系统关闭等问题. "
    "只有无响应的进程才应该被终止.";

ProcessItem item(const std::string& name, const std::string& path, bool unified = false) {
  ProcessItem i;
  i.processId = 1234;
  i.name = name;
  i.path = path;
  i.creationTime = 460005;
  i.unified = unified;
  i.instanceCount = unified ? 3 : 0;
  return i;
}

// What the user reads: the task dialog's own text rule applied.
std::string shown(const std::string& text) { return ExpandLineBreaks(text); }

}  // namespace

TEST(ProcessDialog, DescribedExecutableShowsFourLinesTheWarningAndCopiesExactlyTheLines) {
  // A folder starting with "n" after a backslash: the path must not break there.
  const ProcessItem node = item("node.exe", "C:\\Program Files\\nodejs\\node.exe");
  const ProcessDialog d = MakeProcessDialog(node, {"Node.js JavaScript Runtime", "Node.js", "20.11.1.0"});
  const std::string lines =
      "名称: Node.js JavaScript Runtime\r\n公司: Node.js\r\n版本: 20.11.1.0\r\n"
      "文件路径: C:\\Program Files\\nodejs\\node.exe\r\n\r\n";
  EXPECT_EQ(d.details, lines);
  EXPECT_EQ(shown(d.content), lines + kWarning);
  EXPECT_EQ(shown(d.mainInstruction), "进程信息  'node.exe'");
  EXPECT_EQ(d.buttonCaptions, "复制详细信息\n释放内存\n终止进程\n取消");
  // The prepared dialog (what both dialog paths show) keeps the path whole.
  TTaskDialog request;
  request.Content = d.content;
  EXPECT_NE(PrepareTaskDialog(request, 0, 4, 0, "").content.find("C:\\Program Files\\nodejs\\node.exe\r\n"),
            std::string::npos);
}

TEST(ProcessDialog, NoDescriptionOrNoPathOffersTheWebSearchInstead) {
  const std::string noInformation = std::string("(没有进程信息)\r\n\r\n") + kWarning;
  for (const ProcessDialog& d : {MakeProcessDialog(item("tool.exe", "C:\\t\\tool.exe"), {"", "Maker", "1.0.0.0"}),
                                 MakeProcessDialog(item("tool.exe", ""), {"Described", "Maker", "1.0.0.0"})}) {
    EXPECT_EQ(shown(d.content), noInformation);
    EXPECT_EQ(d.details, "");
    EXPECT_EQ(d.buttonCaptions, "在线搜索\n释放内存\n终止进程\n取消");
    EXPECT_EQ(ProcessActionFor(100, d, item("tool.exe", "C:\\t\\tool.exe")), ProcessAction::SearchWeb);
  }
}

TEST(ProcessDialog, SystemNamesInAnyLetterCaseGetTheFooterWithTheNameAsCarried) {
  const ProcessDialog explorer = MakeProcessDialog(item("Explorer.EXE", "C:\\Windows\\explorer.exe"), {});
  EXPECT_EQ(shown(explorer.footer), "'Explorer.EXE' 可能是一个系统进程");
  EXPECT_EQ(explorer.footerIcon, 1);
  EXPECT_EQ(MakeProcessDialog(item("svcHost.exe", ""), {}).footerIcon, 1);
  for (const char* name : {"notepad.exe", "taskhost.exe", "explorer", "xexplorer.exe", "ｅxplorer.exe"}) {
    const ProcessDialog d = MakeProcessDialog(item(name, ""), {});
    EXPECT_EQ(d.footer, "") << name;
    EXPECT_EQ(d.footerIcon, 0) << name;
  }
  EXPECT_FALSE(IsSystemProcessName("explorer.exe"));  // the caller upper-cases
}

TEST(ProcessDialog, AnswersBecomeActionsAndOnlyAKnownPathActsOnAGroup) {
  const ProcessItem single = item("a.exe", "C:\\a.exe");
  const ProcessItem group = item("a.exe", "C:\\a.exe", true);
  const ProcessItem pathless = item("a.exe", "", true);
  const ProcessDialog d = MakeProcessDialog(single, {"A", "", ""});
  EXPECT_EQ(ProcessActionFor(100, d, single), ProcessAction::CopyDetails);
  EXPECT_EQ(ProcessActionFor(101, d, single), ProcessAction::ReleaseOne);
  EXPECT_EQ(ProcessActionFor(102, d, single), ProcessAction::EndOne);
  EXPECT_EQ(ProcessActionFor(101, d, group), ProcessAction::ReleaseAll);
  EXPECT_EQ(ProcessActionFor(102, d, group), ProcessAction::EndAll);
  EXPECT_EQ(ProcessActionFor(101, d, pathless), ProcessAction::ReleaseOne);
  EXPECT_EQ(ProcessActionFor(102, d, pathless), ProcessAction::EndOne);
  for (int cancelled : {103, 2, 0, 1, 104, -1}) EXPECT_EQ(ProcessActionFor(cancelled, d, group), ProcessAction::None);
}

TEST(ProcessDialog, WebSearchEncodesTheNameSoItCannotLeaveTheQuery) {
  EXPECT_EQ(WebSearchUrl("notepad.exe"), "https://www.bing.com/search?q=notepad.exe");
  EXPECT_EQ(WebSearchUrl("记事本 a&b=c#d?e/f%.exe"),
            "https://www.bing.com/search?q=%E8%AE%B0%E4%BA%8B%E6%9C%AC%20a%26b%3Dc%23d%3Fe%2Ff%25.exe");
  EXPECT_EQ(PercentEncode("AZaz09-._~+\"\\"), "AZaz09-._~%2B%22%5C");
}

TEST(ProcessIdentity, IdPathAndCreationTimeTogetherNameTheProcess) {
  EXPECT_TRUE(IsSameProcess("C:\\a.exe", 460005, "C:\\a.exe", 460005));
  EXPECT_FALSE(IsSameProcess("C:\\a.exe", 460005, "C:\\b.exe", 460005));  // id reused by another program
  EXPECT_FALSE(IsSameProcess("C:\\a.exe", 460005, "C:\\a.exe", 460006));  // reused by a new instance
  EXPECT_FALSE(IsSameProcess("C:\\a.exe", 460005, "c:\\a.exe", 460005));
  EXPECT_FALSE(IsSameProcess("C:\\a.exe", 460005, "", 0));                // gone, or unreadable now
  EXPECT_TRUE(IsSameProcess("", 460005, "", 460005));                    // the time alone still tells
  EXPECT_FALSE(IsSameProcess("", 0, "", 0));                               // nothing to tell it by

  std::vector<TNxProcessRec> records(6);
  const char* paths[] = {"C:\\a.exe", "", "D:\\a.exe", "C:\\A.EXE", "C:\\a.exe", ""};
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].Path = paths[i];
    records[i].ProcessId = static_cast<std::uint32_t>(100 + i);
  }
  const auto instances = InstancesOf(records, "C:\\a.exe");
  ASSERT_EQ(instances.size(), 2u);
  EXPECT_EQ(instances[0].ProcessId, 100u);
  EXPECT_EQ(instances[1].ProcessId, 104u);
  EXPECT_TRUE(InstancesOf(records, "").empty());
}
