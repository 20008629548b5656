// The program's switches: what each start asks for, what is a bad command line, and the request
// as the running copy receives it.
#include "commands/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/language.h"
#include "dialogs/help_layout.h"

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

TEST(CommandLine, QuietStandsOnlyBeforeTheUnattendedSwitches) {
  const ProgramRequest exportQuietly = parse({"/quiet", "/export-history", "C:\\a.csv", "3"});
  EXPECT_EQ(exportQuietly.kind, Kind::ExportHistory);
  EXPECT_TRUE(exportQuietly.quiet);
  EXPECT_TRUE(parse({"-QUIET", "/exit"}).quiet);
  EXPECT_EQ(parse({"/quiet", "/release"}).kind, Kind::Release);
  // A typo in a scheduled task stays a bad command line, but one that shows no window.
  const ProgramRequest typo = parse({"/quiet", "/export-history", "a.csv", "0"});
  EXPECT_EQ(typo.kind, Kind::BadCommandLine);
  EXPECT_TRUE(typo.quiet);
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"/quiet"}, {"/quiet", "/history"}, {"/quiet", "/settings"}, {"/quiet", "/?"}, {"/exit", "/quiet"}})
    EXPECT_EQ(parse(arguments).kind, Kind::BadCommandLine) << arguments[1 % arguments.size()];
  EXPECT_EQ(parse({"/quiet", "/history"}).problem, "/quiet 只能放在 /release、/exit 或 /export-history 之前");
  // The running copy never hears of it.
  EXPECT_EQ(requestMessage(exportQuietly), requestMessage(parse({"/export-history", "C:\\a.csv", "3"})));
  EXPECT_NE(usageText().find("/quiet"), std::string::npos);
}

TEST(CommandLine, TheRunningCopyReadsOnlyFullPathsInUtf8AndSaysWhyInItsAnswer) {
  EXPECT_EQ(requestFromMessage("export-history\n1\nC:\\导出\\a.csv").kind, Kind::ExportHistory);
  EXPECT_EQ(requestFromMessage("export-history\n1\n\\\\server\\share\\a.csv").kind, Kind::ExportHistory);
  EXPECT_EQ(requestFromMessage("export-history\n1\na.csv").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("export-history\n1\n..\\a.csv").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("export-history\n1\nC:a.csv").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("export-history\n1\nC:\\\xC3\x28.csv").kind, Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("export-history\n1\nC:\\" + std::string(kMostRequestBytes, 'a')).kind,
            Kind::BadCommandLine);
  EXPECT_EQ(requestFromMessage("release-more").kind, Kind::BadCommandLine);

  const RequestAnswer refused{kExitFailed, ExportProblem::ReadOnly, 0};
  const RequestAnswer failed{kExitFailed, ExportProblem::WriteFailed, 0xC0000022u};
  EXPECT_EQ(unpackedAnswer(packedAnswer(refused)), refused);
  EXPECT_EQ(unpackedAnswer(packedAnswer(failed)), failed);
  // An older copy's bare codes.
  EXPECT_EQ(unpackedAnswer(0), RequestAnswer{});
  EXPECT_EQ(unpackedAnswer(1), (RequestAnswer{kExitFailed, ExportProblem::None, 0}));
  // Not understood: a command line the start cannot carry out, never a success.
  const RequestAnswer notUnderstood = unpackedAnswer(kAnswerNotUnderstood);
  EXPECT_EQ(notUnderstood.problem, ExportProblem::NotUnderstood);
  EXPECT_EQ(exitCodeOfAnswer(notUnderstood), kExitBadCommandLine);
  EXPECT_EQ(exitCodeOfAnswer(failed), kExitFailed);
}

TEST(CommandLine, TheExportsWordingKeepsItsPlaceholdersForTranslators) {
  const std::string line = "commandLine.export=Export the memory history of the last DAYS days (default {default}, "
                           "at most {most}) to a CSV file\n";
  EXPECT_NE(languageTemplate().find(line), std::string::npos);
  EXPECT_NE(languageTemplate().find("commandLine.exportOperands=FILE [DAYS]\n"), std::string::npos);
  const std::vector<std::string> both = {"default", "most"};
  EXPECT_EQ(placeholdersOf(Language::english().text(TextId::CommandLineExport)), both);
  EXPECT_EQ(placeholdersOf(tr(TextId::CommandLineExport)), both);
}

TEST(CommandLine, TheConsolesUsageIsATableThatWrapsInsideItsColumns) {
  for (const bool english : {false, true}) {
    speak(english ? Language::english() : Language::simplifiedChinese());
    const std::string table = usageTable();
    std::size_t start = 0;
    bool inRows = false;
    int rows = 0;
    while (start <= table.size()) {
      const std::size_t end = std::min(table.find('\n', start), table.size());
      const std::string line = table.substr(start, end - start);
      start = end + 1;
      EXPECT_LE(consoleColumns(line), kConsoleWidth) << line;
      if (line.starts_with("/history")) inRows = true;
      if (line.empty() && rows > 0) inRows = false;
      if (!inRows || line.empty()) continue;
      ++rows;
      // A switch at the left, or a description line that starts at the column, never left of it.
      if (line[0] != '/') {
        EXPECT_EQ(line.find_first_not_of(' '), kSwitchColumn) << line;
      } else if (line.find("  ") != std::string::npos) {
        EXPECT_EQ(line.find_first_not_of(' ', line.find("  ")), kSwitchColumn) << line;
      } else {
        EXPECT_GE(consoleColumns(line), kSwitchColumn) << line;  // too long: alone on its line
      }
    }
    EXPECT_GE(rows, 8) << english;
    EXPECT_NE(table.find("\n/release              "), std::string::npos) << table;
    EXPECT_NE(table.find("\n/quiet                "), std::string::npos) << table;
    EXPECT_TRUE(table.ends_with(english ? "bad command line" : "命令行有误")) << table;
  }
  speak(Language::simplifiedChinese());
  EXPECT_EQ(consoleColumns("a内"), 3u);
}

TEST(CommandLine, TheHelpWindowKeepsEachDescriptionInItsColumn) {
  for (const bool english : {false, true}) {
    speak(english ? Language::english() : Language::simplifiedChinese());
    std::vector<std::string> names, descriptions;
    for (const UsageRow& row : usageRows()) names.push_back(row.name), descriptions.push_back(row.description);
    for (const int dpi : {96, 144}) {
      // A character is 7 pixels at 96 DPI (a Chinese one 14); a line 15.
      const auto widthOf = [dpi](const std::string& text) { return static_cast<int>(consoleColumns(text)) * 7 * dpi / 96; };
      const auto heightOf = [&](const std::string& text, int width) {
        return (widthOf(text) + width - 1) / std::max(width, 1) * 15 * dpi / 96;
      };
      const HelpLayout layout = helpLayout(dpi, "无法识别的开关 \"/x\"", names, descriptions, usageFooter(), heightOf, widthOf);
      ASSERT_EQ(layout.descriptions.size(), names.size());
      int lowest = layout.problem.bottom();
      for (std::size_t i = 0; i < names.size(); ++i) {
        const Box& name = layout.names[i];
        const Box& description = layout.descriptions[i];
        EXPECT_GT(description.left, name.right()) << names[i] << " at " << dpi;
        EXPECT_EQ(description.left, layout.descriptions[0].left) << names[i];
        EXPECT_LE(description.right(), layout.clientWidth) << names[i];
        EXPECT_GE(description.height, heightOf(descriptions[i], description.width)) << names[i];
        EXPECT_GE(name.height, heightOf(names[i], name.width)) << names[i];
        EXPECT_GE(name.top, lowest) << names[i];
        lowest = std::max(name.bottom(), description.bottom());
      }
      EXPECT_GE(layout.footer.top, lowest);
      EXPECT_GE(layout.ok.top, layout.footer.bottom());
      EXPECT_LE(layout.ok.right(), layout.clientWidth);
    }
  }
  speak(Language::simplifiedChinese());
}
