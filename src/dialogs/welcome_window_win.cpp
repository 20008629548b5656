#include "dialogs/welcome_window_win.h"

#include <stdexcept>
#include <utility>

#include "common/system_library_win.h"
#include "common/language.h"
#include "common/text_win.h"
#include "common/window_messages_win.h"
#include "common/window_placement_win.h"
#include "dialogs/link_markup.h"
#include "dialogs/window_controls_win.h"
#include "update/web_pages.h"
#include "update/web_pages_win.h"

namespace kelvane {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr COLORREF kBandColor = RGB(0xFF, 0xF4, 0xD6);


}  // namespace

TFrmWelcome::TFrmWelcome(HWND owner, int dpi) : commonControls_(loadLinkControls()), dpi_(dpi) {
  const WelcomeLayout designed = welcomeLayout(dpi_);
  font_ = createWindowFont(L"Segoe UI", 8, 0, false, dpi_);
  headingFont_ = createWindowFont(L"Tahoma", 0, designed.headingPixels, false, dpi_);
  layout_ = fitWelcomeTexts(designed, measuredTexts(designed));
  registerWindowClass(kWelcomeClassName);
  const SIZE frame = windowSizeFor(kStyle, kExStyle, layout_.clientWidth, layout_.clientHeight);
  createWindow(kExStyle, kWelcomeClassName, trWide(TextId::WelcomeTitle).c_str(), kStyle, 0, 0, frame.cx, frame.cy, owner);
  if (!hwnd_) throw std::runtime_error(tr(TextId::ErrorNoWelcomeWindow));
  placeDialogWindow(hwnd_, DialogPlace::Centred);
  FormCreate();
}

TFrmWelcome::~TFrmWelcome() {
  destroyWindow();
  freeLibraryLater(std::move(commonControls_));
}

WelcomeTextSizes TFrmWelcome::measuredTexts(const WelcomeLayout& designed) const {
  return {textWidthIn(headingFont_.get(), trWide(TextId::WelcomeHeading)),
          wrappedHeightIn(font_.get(), trWide(TextId::WelcomeExplanation), designed.explanation.width),
          wrappedHeightIn(font_.get(), toWide(linkDisplayText(tr(TextId::WelcomeDonation))), designed.donation.width),
          checkMarkWidth(dpi_) + textWidthIn(font_.get(), trWide(TextId::WelcomeDontShowAgain))};
}

void TFrmWelcome::FormCreate() {
  {
    const PngDecoder decoder;
    programPicture_ = programPicture(decoder, layout_.picture.width);
    illustration_ = keepVisibleIllustration(decoder, layout_.illustration.width, layout_.illustration.height);
    donationPicture_ = donationPicture(decoder, layout_.donationPicture.width);
  }
  addControl(hwnd_, L"STATIC", trWide(TextId::WelcomeHeading), SS_LEFT | SS_NOPREFIX, layout_.heading, kHeadingId,
             headingFont_.get());
  addControl(hwnd_, L"STATIC",
             trWide(TextId::WelcomeExplanation),
             SS_LEFT | SS_NOPREFIX, layout_.explanation, kExplanationId, font_.get());
  addLink(hwnd_, tr(TextId::WelcomeDonation), layout_.donation, kDonationId, font_.get());
  addControl(hwnd_, L"BUTTON", trWide(TextId::WelcomeDontShowAgain), BS_AUTOCHECKBOX | WS_TABSTOP, layout_.dontShowAgain, kCheckBoxId,
             font_.get());
  addControl(hwnd_, L"BUTTON", trWide(TextId::ButtonOk), BS_DEFPUSHBUTTON | WS_TABSTOP, layout_.ok, IDOK, font_.get());
}

void TFrmWelcome::LanguageChanged() {
  const bool ticked = dontShowAgain();
  while (HWND child = GetWindow(hwnd_, GW_CHILD)) DestroyWindow(child);
  const WelcomeLayout designed = welcomeLayout(dpi_);
  layout_ = fitWelcomeTexts(designed, measuredTexts(designed));
  SetWindowTextW(hwnd_, trWide(TextId::WelcomeTitle).c_str());
  const SIZE frame = windowSizeFor(kStyle, kExStyle, layout_.clientWidth, layout_.clientHeight);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FormCreate();
  SendDlgItemMessageW(hwnd_, kCheckBoxId, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  // The focus went with the old controls; another window that has it keeps it.
  if (GetActiveWindow() == hwnd_) SetFocus(GetDlgItem(hwnd_, IDOK));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TFrmWelcome::ShowModal() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (HWND ok = GetDlgItem(hwnd_, IDOK)) SetFocus(ok);
  MessageWait wait;
  MSG message;
  while (!done_) {
    const MessageWait::Result got = wait.next(message);
    if (got == MessageWait::Result::Quit) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == MessageWait::Result::GaveUp) break;
    if (got == MessageWait::Result::Failed) continue;
    if (handleDialogKeys(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

bool TFrmWelcome::dontShowAgain() const {
  return hwnd_ && SendDlgItemMessageW(hwnd_, kCheckBoxId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFrmWelcome::Button1Click() {
  done_ = true;
  PostMessageW(hwnd_, WM_NULL, 0, 0);  // a click sent from another thread ends the wait too
}

void TFrmWelcome::Image2Click() { openWebPage(std::string(kDonationPage)); }

void TFrmWelcome::LinkLabel4LinkClick() { openWebPage(std::string(kDonationPage)); }

void TFrmWelcome::onPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  const RECT band{layout_.band.left, layout_.band.top, layout_.band.right(), layout_.band.bottom()};
  SetDCBrushColor(dc, kBandColor);
  FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  drawPicture(dc, programPicture_, layout_.picture.left, layout_.picture.top);
  drawPicture(dc, illustration_, layout_.illustration.left, layout_.illustration.top);
  drawPicture(dc, donationPicture_, layout_.donationPicture.left, layout_.donationPicture.top);
  EndPaint(hwnd_, &paint);
}

LRESULT TFrmWelcome::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == languageChangedMessage() && message != 0) {
    LanguageChanged();
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED) Button1Click();
      return 0;
    case WM_CLOSE:
      Button1Click();
      return 0;
    case WM_NOTIFY:
      if (clickedLink(lParam) == kDonationId) LinkLabel4LinkClick();
      return 0;
    case WM_ERASEBKGND:
      return eraseWhite(hwnd_, wParam);
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      const bool onBand = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kDonationId;
      SetBkColor(dc, onBand ? kBandColor : RGB(255, 255, 255));
      // Stock brushes only: the link control deletes the brush it is given.
      if (!onBand) return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      SetDCBrushColor(dc, kBandColor);
      return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    case WM_LBUTTONUP:
      if (boxContains(layout_.donationPicture, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}))
        Image2Click();
      return 0;
    case WM_SETCURSOR:
      if (showHandOver(hwnd_, layout_.donationPicture, wParam, lParam)) return TRUE;
      return defaultProc(message, wParam, lParam);
    default:
      return defaultProc(message, wParam, lParam);
  }
}

}  // namespace kelvane
