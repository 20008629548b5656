#include "settings/log_file_win.h"

#include <gtest/gtest.h>

#include "common/text_win.h"
#include "scratch_folder_win.h"

namespace kelvane {
namespace {

using testing::ScratchFolder;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A failure nobody is there to see goes into the log once per episode: its repeats are not
// written until the work has succeeded again, and nothing is written with WriteLog off.
TEST(LogFile, AnUnattendedFailureIsLoggedOncePerEpisode) {
  ScratchFolder folder;
  TKelvaneOptions options = defaultOptions(10);
  options.WriteLog = true;
  options.LogFile = "Kelvane.log";
  const std::string dataFolder = toUtf8(folder.path());
  UnattendedFailures failures;

  for (int tick = 0; tick < 3; ++tick) failures.failed(options, dataFolder, "Unable to write to A");
  failures.succeeded();
  failures.failed(options, dataFolder, "Unable to write to B");
  failures.failed(options, dataFolder, "Unable to write to B");
  options.WriteLog = false;
  failures.succeeded();
  failures.failed(options, dataFolder, "Unable to write to C");

  const std::string log = ScratchFolder::readBytes(LogFilePath(options, dataFolder));
  EXPECT_EQ(occurrences(log, ": Unable to write to A\r\n"), 1u) << log;
  EXPECT_EQ(occurrences(log, ": Unable to write to B\r\n"), 1u) << log;
  EXPECT_EQ(occurrences(log, "Unable to write to C"), 0u) << log;
  EXPECT_EQ(occurrences(log, "\r\n"), 2u) << log;
}

}  // namespace
}  // namespace kelvane
