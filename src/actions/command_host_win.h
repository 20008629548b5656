#pragma once
// What carrying out a user command needs from the program's main form. The form implements it;
// tests implement it with fakes. The record is lent for reading only.

#include <windows.h>

#include <string>

#include "commands/command.h"
#include "common/number_format.h"
#include "settings/options.h"

namespace kelvane {

class CommandHost {
 public:
  virtual ~CommandHost() = default;

  virtual const TKelvaneOptions& Options() const = 0;
  // The main form's window: owner of dialogs and of shell calls.
  virtual HWND MainWindow() = 0;
  // The top-level window the application is known by (brought to the front before a warning,
  // target of the monitor-off requests).
  virtual HWND ApplicationWindow() = 0;
  virtual HICON ApplicationIcon() = 0;
  virtual std::string DataFolder() = 0;
  // The user's separators for the numbers the program shows.
  virtual NumberFormat SystemNumberFormat() = 0;

  // Tray component: kind 0 none, 1 information, 2 warning, 3 error.
  virtual void ShowBalloon(const std::string& title, const std::string& text, int kind,
                           int seconds) = 0;
  virtual std::string TipText() = 0;

  // A memory release; `origin` tells the history what asked for it.
  virtual void MemoryDefragmenter1Click(CommandOrigin origin) = 0;
  // The memory history window, or the open one brought to the front.
  virtual void ShowHistory() = 0;
  // The options dialog, or the open one brought to the front.
  virtual void Settings1Click() = 0;
  // The about window.
  virtual void About1Click() = 0;
  // Ends the program once the current handler has returned.
  virtual void Close1Click() = 0;

  // The top-level error display: a message box with the error text; the program goes on.
  virtual void ShowError(const std::string& message) = 0;
};

}  // namespace kelvane
