#pragma once
// What the options dialog needs from the program's main form. The form implements it; tests
// implement it with fakes. The record is lent for reading only: a change goes through
// ApplyOptions.

#include <windows.h>

#include <string>
#include <vector>

#include "options/options_dialog.h"

namespace kelvane {

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;

  virtual const TKelvaneOptions& Options() const = 0;
  // Owner of the dialog: the hidden application window, so the dialog has no taskbar button.
  virtual HWND ApplicationWindow() = 0;
  // OK and Apply hand over the record as the dialog stored it and the effects to carry out in
  // order; a "don't show again" box hands over the record with its flag and no effect.
  virtual void ApplyOptions(const TKelvaneOptions& options, const std::vector<OptionsEffect>& effects) = 0;
  // When the dialog has closed, however it closed, the record is saved and the timers take it.
  virtual void OptionsClosed() = 0;
  virtual std::wstring SettingsFileName() = 0;
  virtual std::wstring ThemeFolder() = 0;
};

}  // namespace kelvane
