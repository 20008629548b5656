#include "actions/show_log.h"

#include "dialogs/task_dialog.h"

namespace kelvane {

ShowLogNotice MakeShowLogNotice(std::int32_t redPercent, const std::string& logFile) {
  ShowLogNotice notice;
  notice.MainInstruction = "尚未记录到高内存值";
  notice.Content = "仅当内存超过 " + std::to_string(static_cast<std::int64_t>(redPercent) - 1) +
                   "% 的内存负载";
  notice.WindowTitle = "日志文件";
  notice.FooterText = "日志文件将保存在 \"" + VerbatimText(logFile) + "\"";
  return notice;
}

}  // namespace kelvane
