#pragma once
// What the show-log command says while there is no log file yet.

#include <cstdint>
#include <string>

namespace kelvane {

struct ShowLogNotice {
  std::string MainInstruction;
  std::string Content;
  std::string WindowTitle;
  std::string FooterText;
  int MainIcon = 4;    // information
  int FooterIcon = 4;  // information
  int Width = 200;
};

ShowLogNotice MakeShowLogNotice(std::int32_t redPercent, const std::string& logFile);

}  // namespace kelvane
