#include "dialogs/about_window_win.h"

#include <algorithm>

#include "common/system_info_win.h"
#include "common/language.h"
#include "common/system_library_win.h"
#include "common/text_win.h"
#include "common/version_text.h"
#include "common/window_placement_win.h"
#include "dialogs/link_markup.h"
#include "dialogs/window_controls_win.h"
#include "update/version_download_win.h"
#include "update/web_pages.h"
#include "update/web_pages_win.h"

namespace kelvane {

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

std::wstring programPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, length < MAX_PATH ? length : 0);
}


}  // namespace

AboutFacts AboutFacts::forThisProgram() {
  return {readProductVersion(), kelvane::programKey(toUtf8(programPath())), kelvane::versionFileAddress()};
}

TAboutWindow::TAboutWindow(HWND form, AboutFacts facts, std::function<void()> hide, DownloadLabel label, int dpi)
    : form_(form),
      commonControls_(loadLinkControls()),
      facts_(std::move(facts)),
      hide_(std::move(hide)),
      dpi_(dpi),
      layout_(aboutLayout(dpi)),
      label_(label) {
  font_ = createWindowFont(formFontFace(), 8, 0, false, dpi_);
  titleFont_ = createWindowFont(formFontFace(), 0, layout_.titlePixels, true, dpi_);
  layout_ = fitAboutTexts(layout_, measuredTexts());
  SetWindowLongPtrW(form_, GWL_STYLE, static_cast<LONG_PTR>(kFormStyle));
  SetWindowLongPtrW(form_, GWL_EXSTYLE, static_cast<LONG_PTR>(kFormExStyle));
  fitFrame();
  createControls();
}

void TAboutWindow::fitFrame() {
  SetWindowTextW(form_, trWide(TextId::AboutTitle).c_str());
  const SIZE frame = windowSizeFor(kFormStyle, kFormExStyle, layout_.clientWidth, layout_.clientHeight);
  SetWindowPos(form_, nullptr, 0, 0, frame.cx, frame.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TAboutWindow::LanguageChanged() {
  controls_.clear();
  layout_ = fitAboutTexts(aboutLayout(dpi_), measuredTexts());
  fitFrame();
  createControls();
  // The focus went with the old controls; another window that has it keeps it.
  if (GetActiveWindow() == form_) SetFocus(GetDlgItem(form_, IDOK));
  InvalidateRect(form_, nullptr, TRUE);
}

TAboutWindow::~TAboutWindow() {
  download_.reset();
  controls_.clear();
  // Kept for the run: under Wine the links leave a tooltip window of the library's class
  // behind them, and once the library were gone the next message to that window (the tray
  // menu's activation sends one) would run code that is no longer there.
  (void)commonControls_.release();
}

DownloadLabel TAboutWindow::keptLabel() const {
  DownloadLabel kept = label_;
  if (download_) kept.checkAbandoned();
  return kept;
}

AboutTextWidths TAboutWindow::measuredTexts() const {
  // The download line takes each of its captions in turn; an offered version is measured as
  // long as this program's own.
  const std::string version = VersionText(facts_.productVersion);
  int column = textWidthIn(titleFont_.get(), L"Kelvane");
  for (const std::string& text :
       {tr(TextId::AboutVersion, {{"version", version}}), tr(TextId::UpdateCheckLink), tr(TextId::UpdateChecking),
        tr(TextId::UpdateAvailable, {{"version", version}}), tr(TextId::UpdateUpToDate), tr(TextId::UpdateFailed),
        tr(TextId::AboutSupport)})
    column = std::max(column, textWidthIn(font_.get(), toWide(linkDisplayText(text))));
  return {column, textWidthIn(font_.get(), toWide(linkDisplayText(tr(TextId::AboutDonate))))};
}

void TAboutWindow::createControls() {
  {
    const PngDecoder decoder;
    programPicture_ = programPicture(decoder, layout_.picture.width);
    donationPicture_ = donationPicture(decoder, layout_.donationPicture.width);
  }
  const auto kept = [this](HWND control) {
    controls_.emplace_back(control);
    return control;
  };
  kept(addControl(form_, L"STATIC", L"Kelvane", SS_LEFT | SS_NOPREFIX, layout_.title, kTitleId, titleFont_.get()));
  kept(addControl(form_, L"STATIC", trWide(TextId::AboutVersion, {{"version", VersionText(facts_.productVersion)}}), SS_LEFT | SS_NOPREFIX,
                  layout_.version, kVersionId, font_.get()));
  downloadLink_ = kept(addLink(form_, "", layout_.download, kDownloadLinkId, font_.get()));
  downloadText_ = kept(addControl(form_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, layout_.download, kDownloadTextId,
                                  font_.get()));
  showDownloadLabel();
  kept(addLink(form_, tr(TextId::AboutSupport), layout_.support, kSupportId, font_.get()));
  kept(addLink(form_, tr(TextId::AboutDonate), layout_.donation, kDonationId, font_.get()));
  kept(addControl(form_, L"BUTTON", trWide(TextId::ButtonOk), BS_DEFPUSHBUTTON | WS_TABSTOP, layout_.ok, IDOK, font_.get()));
}

void TAboutWindow::FormShow() {
  PlaceNearTray(form_);
  if (HWND ok = GetDlgItem(form_, IDOK)) SetFocus(ok);
  UpdateWindow(form_);
  if (label_.checksOnShow()) LabelDownloadLinkClick();
}

void TAboutWindow::LabelDownloadLinkClick() {
  switch (label_.LabelDownloadLinkClick()) {
    case DownloadLabel::Click::OpenDownloadPage:
      openWebPage(downloadPage());
      return;
    case DownloadLabel::Click::StartCheck:
      StartCheck();
      return;
    case DownloadLabel::Click::Nothing:
      return;
  }
}

void TAboutWindow::StartCheck() {
  label_.checkStarted();
  showDownloadLabel();
  UpdateWindow(form_);
  download_ = std::make_unique<TVInfoDownload>(
      VersionCheck{facts_.versionFileAddress, facts_.programKey, facts_.productVersion, facts_.checkDeadlineMs},
      form_, kCheckDoneMessage);
}

void TAboutWindow::onCheckDone() {
  const auto answer = download_ ? download_->answer() : std::nullopt;
  if (!answer) return;  // the message of a check abandoned earlier
  download_.reset();
  if (answer->state == DownloadLabelState::Failed) {
    GetUpdateDownloadFailed();
  } else {
    GetUpdateGetURL(*answer);
  }
}

void TAboutWindow::GetUpdateGetURL(const UpdateAnswer& answer) {
  label_.checkEnded(answer);
  showDownloadLabel();
}

void TAboutWindow::GetUpdateDownloadFailed() {
  label_.checkEnded(UpdateAnswer{});
  showDownloadLabel();
}

void TAboutWindow::FormHide() {
  if (!download_) return;
  download_.reset();
  label_.checkAbandoned();
  showDownloadLabel();
}

void TAboutWindow::showDownloadLabel() {
  // Link states use the link control; plain states a static text, which can be drawn grey.
  const bool link = label_.hasLink();
  if (link) {
    setLinkText(downloadLink_, label_.caption());
  } else {
    SetWindowTextW(downloadText_, toWide(label_.caption()).c_str());
  }
  if (!link && GetFocus() == downloadLink_) SetFocus(GetDlgItem(form_, IDOK));
  ShowWindow(downloadLink_, link ? SW_SHOW : SW_HIDE);
  ShowWindow(downloadText_, link ? SW_HIDE : SW_SHOW);
  InvalidateRect(downloadText_, nullptr, TRUE);
}

void TAboutWindow::Button1Click() {
  if (hide_) hide_();
}

void TAboutWindow::LinkLabel3LinkClick() { openWebPage(supportPage()); }

void TAboutWindow::LinkLabel2LinkClick() { openWebPage(std::string(kDonationPage)); }

void TAboutWindow::onPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(form_, &paint);
  drawPicture(dc, programPicture_, layout_.picture.left, layout_.picture.top);
  drawPicture(dc, donationPicture_, layout_.donationPicture.left, layout_.donationPicture.top);
  EndPaint(form_, &paint);
}

void TAboutWindow::onClick(POINT at) {
  if (boxContains(layout_.donationPicture, at)) LinkLabel2LinkClick();
}

bool TAboutWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (message == languageChangedMessage() && message != 0) {
    LanguageChanged();
    return true;
  }
  switch (message) {
    case kCheckDoneMessage:
      onCheckDone();
      return true;
    case WM_SHOWWINDOW:
      if (!wParam && lParam == 0) FormHide();  // hidden by ShowWindow, not by an owner
      return false;
    case WM_COMMAND:
      // Button1 is both the default and the cancel button: Enter and Escape hide the window.
      if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) {
        Button1Click();
        return true;
      }
      return false;
    case WM_NOTIFY:
      switch (clickedLink(lParam)) {
        case kDownloadLinkId: LabelDownloadLinkClick(); return true;
        case kSupportId: LinkLabel3LinkClick(); return true;
        case kDonationId: LinkLabel2LinkClick(); return true;
        default: return false;
      }
    case WM_ERASEBKGND:
      result = eraseWhite(form_, wParam);
      return true;
    case WM_PAINT:
      onPaint();
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, RGB(255, 255, 255));
      if (reinterpret_cast<HWND>(lParam) == downloadText_ && label_.greyed())
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      // A stock brush: the link control deletes the brush it is given.
      result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      return true;
    }
    case WM_LBUTTONUP:
      onClick({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return true;
    case WM_SETCURSOR:
      if (!showHandOver(form_, layout_.donationPicture, wParam, lParam)) return false;
      result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace kelvane
