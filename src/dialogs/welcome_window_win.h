#pragma once
// TFrmWelcome: shown at start-up until the user ticks its "don't show again" box; it explains how to keep
// the tray icon visible. Owned by the hidden application window, so it gets no taskbar button.

#include <windows.h>

#include "common/handles_win.h"
#include "common/png_picture_win.h"
#include "common/window_win.h"
#include "dialogs/window_controls_win.h"
#include "dialogs/window_layouts.h"

namespace kelvane {

inline constexpr const wchar_t* kWelcomeClassName = L"TFrmWelcome";

class TFrmWelcome : public WindowBase<TFrmWelcome> {
 public:
  // Laid out for `dpi`, the system's unless a test asks for another.
  explicit TFrmWelcome(HWND owner, int dpi = systemDpi());
  ~TFrmWelcome();
  TFrmWelcome(const TFrmWelcome&) = delete;
  TFrmWelcome& operator=(const TFrmWelcome&) = delete;

  // Shows the window and returns when it is closed (OK, its close box, Escape) or when the
  // program ends meanwhile (the quit message is passed on to the outer loop).
  void ShowModal();
  // CheckBox1, as it is now.
  bool dontShowAgain() const;

  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum ControlId { kHeadingId = 1001, kExplanationId, kDonationId, kCheckBoxId };

  void FormCreate();
  // The program speaks another language: the controls are made anew in it, the window keeps its
  // place and the box its tick.
  void LanguageChanged();
  WelcomeTextSizes measuredTexts(const WelcomeLayout& designed) const;
  void onPaint();
  void Button1Click();
  void Image2Click();
  void LinkLabel4LinkClick();

  UniqueLibrary commonControls_;
  int dpi_;
  UniqueFont font_, headingFont_;
  WelcomeLayout layout_;
  Picture programPicture_, illustration_, donationPicture_;
  bool done_ = false;
};

}  // namespace kelvane
