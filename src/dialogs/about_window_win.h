#pragma once
// The about window's content, built on the main form's own window each time the window is shown
// and taken down when it is hidden, so that a tray tool running all day holds none of it (nor
// the common controls) while the window is not up: the program's picture and version, the
// download label with the version check, the support and donation links and OK. The form routes
// its messages here first, and keeps the label's state from one showing to the next.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/handles_win.h"
#include "common/png_picture_win.h"
#include "common/window_messages_win.h"
#include "dialogs/window_controls_win.h"
#include "dialogs/window_layouts.h"
#include "update/update_check.h"

namespace kelvane {

class TVInfoDownload;

// What the about window shows and checks against. forThisProgram() reads the program's own
// version resource and file name and takes the maker's version file; tests give their own.
struct AboutFacts {
  std::string productVersion;  // "a.b.c.d", "" without a version resource
  std::string programKey;
  std::string versionFileAddress;
  DWORD checkDeadlineMs = kVersionCheckDeadlineMs;
  static AboutFacts forThisProgram();
};

class TAboutWindow {
 public:
  // The check's result arrives as this message, posted to the form.
  static constexpr UINT kCheckDoneMessage = WM_VERSION_CHECK_DONE;

  // `hide` hides the form (HideOwnerForm); the form stays the owner of everything here.
  // `label` is the download label as the last showing left it.
  // Laid out for `dpi`, the system's unless a test asks for another.
  TAboutWindow(HWND form, AboutFacts facts, std::function<void()> hide, DownloadLabel label = {},
               int dpi = systemDpi());
  // A running check is abandoned; the controls go, and the common controls after them.
  ~TAboutWindow();
  TAboutWindow(const TAboutWindow&) = delete;
  TAboutWindow& operator=(const TAboutWindow&) = delete;

  // After the form was shown: next to the taskbar, painted, then the check while none has
  // answered yet.
  void FormShow();
  // Messages of the form that belong to this window; true when handled.
  bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  bool checkRunning() const { return static_cast<bool>(download_); }
  // The label the next showing starts from: a check still running is abandoned with this window.
  DownloadLabel keptLabel() const;

 private:
  enum ControlId { kTitleId = 1001, kVersionId, kDownloadLinkId, kDownloadTextId, kSupportId, kDonationId };

  void createControls();
  // The program speaks another language: the controls are made anew in it, the window keeps its
  // place and the download label its state.
  void LanguageChanged();
  void fitFrame();
  AboutTextWidths measuredTexts() const;
  void onPaint();
  void onClick(POINT at);
  void StartCheck();
  // The worker's message: the file arrived and was judged, or the check failed.
  void onCheckDone();
  void GetUpdateGetURL(const UpdateAnswer& answer);
  void GetUpdateDownloadFailed();
  // The window was hidden (OK, Escape, the close box): a running check ends with it.
  void FormHide();
  void showDownloadLabel();
  void Button1Click();
  void LabelDownloadLinkClick();
  void LinkLabel3LinkClick();
  void LinkLabel2LinkClick();

  HWND form_;
  // Held while the links exist: a link control outliving the library would crash.
  UniqueLibrary commonControls_;
  std::vector<UniqueWindow> controls_;
  AboutFacts facts_;
  std::function<void()> hide_;
  int dpi_;
  UniqueFont font_, titleFont_;
  AboutLayout layout_;
  Picture programPicture_, donationPicture_;
  HWND downloadLink_ = nullptr, downloadText_ = nullptr;
  DownloadLabel label_;
  std::unique_ptr<TVInfoDownload> download_;
};

}  // namespace kelvane
