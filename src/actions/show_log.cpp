#include "actions/show_log.h"

#include "common/language.h"
#include "dialogs/task_dialog.h"

namespace kelvane {

ShowLogNotice MakeShowLogNotice(std::int32_t redPercent, const std::string& logFile) {
  ShowLogNotice notice;
  notice.MainInstruction = tr(TextId::ShowLogNothingYet);
  notice.Content = tr(TextId::ShowLogOnlyAbove, {{"percent", std::to_string(static_cast<std::int64_t>(redPercent) - 1)}});
  notice.WindowTitle = tr(TextId::ShowLogTitle);
  notice.FooterText = tr(TextId::ShowLogSavedIn, {{"path", VerbatimText(logFile)}});
  return notice;
}

}  // namespace kelvane
