// The program's switches: what each start asks for, what is a bad command line, and the request
// as the running copy receives it.
#include "history/command_line.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kelvane;
using Kind = ProgramRequest::Kind;

namespace {

ProgramRequest parse(std::vector<std::string> arguments) { return parseCommandLine(arguments); }

}  // namespace

TEST(CommandLine, EachSwitchAndTheExportsOperands) {
  EXPECT_EQ(parse({}).kind, Kind::Start);
  EXPECT_EQ(parse({"/history"}).kind, Kind::ShowHistory);
  EXPECT_EQ(parse({"/SETTINGS"}).kind, Kind::ShowSettings);
  EXPECT_EQ(parse({"-release"}).kind, Kind::Release);
  EXPECT_EQ(parse({"/Exit"}).kind, Kind::Exit);
  EXPECT_EQ(parse({"/?"}).kind, Kind::Usage);
  EXPECT_EQ(exitCodeOf(Kind::Usage), kExitDone);

  const ProgramRequest byDefault = parse({"/export-history", "报告 1.csv"});
  EXPECT_EQ(byDefault.kind, Kind::ExportHistory);
  EXPECT_EQ(byDefault.file, "报告 1.csv");
  EXPECT_EQ(byDefault.days, 1);
  EXPECT_EQ(parse({"/export-history", "a.csv", "31"}).days, 31);
  EXPECT_EQ(parse({"/export-history", "a.csv", "07"}).days, 7);
}

TEST(CommandLine, AnythingElseIsABadCommandLineThatSaysWhat) {
  const std::vector<std::vector<std::string>> bad = {
      {"/histories"}, {"history"}, {"/"}, {"/release", "/exit"}, {"/export-history"},
      {"/export-history", ""}, {"/export-history", "a.csv", "0"}, {"/export-history", "a.csv", "32"},
      {"/export-history", "a.csv", "1x"}, {"/export-history", "a.csv", "-1"}, {"/export-history", "a.csv", "2", "3"},
  };
  for (const auto& arguments : bad) {
    const ProgramRequest request = parse(arguments);
    EXPECT_EQ(request.kind, Kind::BadCommandLine) << arguments[0];
    EXPECT_FALSE(request.problem.empty()) << arguments[0];
    EXPECT_EQ(exitCodeOf(request.kind), kExitBadCommandLine);
  }
  EXPECT_EQ(parse({"/histories"}).problem, "无法识别的开关 \"/histories\"");
  EXPECT_EQ(parse({"/export-history", "a.csv", "32"}).problem, "天数必须是 1 到 31 之间的整数: \"32\"");
  EXPECT_NE(usageText().find("/export-history 文件 [天数]"), std::string::npos);
}

TEST(CommandLine, ARequestTravelsToTheRunningCopyAndBack) {
  for (const ProgramRequest& request :
       {parse({"/history"}), parse({"/settings"}), parse({"/release"}), parse({"/exit"}),
        parse({"/export-history", "C:\\导出\\a\nb.csv", "12"})}) {
    EXPECT_EQ(requestFromMessage(requestMessage(request)), request) << requestMessage(request);
  }
  EXPECT_EQ(requestFromMessage("").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("history\n").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("export-history\n99\nC:\\a.csv").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("?").kind, Kind::BadCommandLine);  // the usage is the starter's own
}
