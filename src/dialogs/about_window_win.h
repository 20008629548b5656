#pragma once
// The about window's content, built on the main form's own window the first time the window is
// shown: the program's picture and version, the download label with the version check, the
// support and donation links and OK. The form routes its messages here first.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "common/handles_win.h"
#include "common/png_picture_win.h"
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
  static constexpr UINT kCheckDoneMessage = WM_APP + 20;

  // `hide` hides the form (HideOwnerForm); the form stays the owner of everything here.
  TAboutWindow(HWND form, AboutFacts facts, std::function<void()> hide);
  ~TAboutWindow();  // a running check is abandoned
  TAboutWindow(const TAboutWindow&) = delete;
  TAboutWindow& operator=(const TAboutWindow&) = delete;

  // After the form was shown: next to the taskbar, painted, then the check while none has
  // answered yet.
  void FormShow();
  // Messages of the form that belong to this window; true when handled.
  bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  const DownloadLabel& downloadLabel() const { return label_; }
  bool checkRunning() const { return static_cast<bool>(download_); }

 private:
  enum ControlId { kTitleId = 1001, kVersionId, kDownloadLinkId, kDownloadTextId, kSupportId, kDonationId };

  void createControls();
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
  AboutFacts facts_;
  std::function<void()> hide_;
  AboutLayout layout_;
  UniqueFont font_, titleFont_;
  Picture programPicture_, donationPicture_;
  HWND downloadLink_ = nullptr, downloadText_ = nullptr;
  DownloadLabel label_;
  std::unique_ptr<TVInfoDownload> download_;
};

}  // namespace kelvane
