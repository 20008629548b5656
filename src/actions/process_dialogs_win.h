#pragma once
// The process dialogs that are open. Each runs on a thread of its own, as a window of its own
// (with a taskbar button) in the corner next to the tray, so that no dialog waits inside
// another's loop and the tray menu works as usual while dialogs are up. The answers come back
// to the user-interface thread, which carries them out. Choosing an entry whose dialog is open
// brings that dialog to the front; a dialog whose process has ended closes by itself. A release
// says in a balloon, a second later when the trimmed pages have settled, how much of the working
// set it freed (unless ReleaseBalloon is off).

#include <windows.h>

#include <cstdint>
#include <list>
#include <memory>
#include <optional>

#include "actions/command_host_win.h"
#include "actions/process_actions_win.h"
#include "commands/process_item.h"
#include "common/window_win.h"

namespace kelvane {

class ProcessDialogs : public WindowBase<ProcessDialogs> {
 public:
  ProcessDialogs(CommandHost& form, ProcessPlatform& platform);
  // Closes every open dialog as if cancelled and waits for its thread.
  ~ProcessDialogs();
  ProcessDialogs(const ProcessDialogs&) = delete;
  ProcessDialogs& operator=(const ProcessDialogs&) = delete;

  // Opens the entry's dialog, or brings its open one to the front.
  void open(const ProcessItem& item);
  std::size_t openCount() const { return open_.size(); }

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct OpenDialog;
  // A release waiting for its second reading, by the timer that takes it.
  struct SettlingRelease {
    UINT_PTR timer = 0;
    ProcessItem item;
    std::optional<std::uint64_t> workingSetBefore;
  };
  void onAnswer(std::uint64_t id);
  void onProcessEnded(std::uint64_t id);
  void onReleaseSettled(UINT_PTR timer);
  std::list<std::unique_ptr<OpenDialog>>::iterator find(std::uint64_t id);

  CommandHost& form_;
  ProcessPlatform& platform_;
  std::list<std::unique_ptr<OpenDialog>> open_;
  std::uint64_t nextId_ = 1;
  std::list<SettlingRelease> settling_;
  UINT_PTR nextTimer_ = 1;
};

// The program's process dialogs, made with the first one.
void OpenProcessDialog(CommandHost& form, const ProcessItem& item);
// At exit: every open process dialog closes, and no answer is carried out any more.
void CloseProcessDialogs();

}  // namespace kelvane
