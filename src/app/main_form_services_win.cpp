// What the main form lends to the alerts and the user commands.
#include "app/main_form_win.h"
#include "common/error_display_win.h"
#include "common/text_win.h"
#include "settings/settings_file_win.h"
#include "resource_ids.h"

namespace kelvane {

TKelvaneOptions& TFrmKelvaneMain::Options() { return options_; }

HWND TFrmKelvaneMain::MainWindow() { return hwnd_; }

HWND TFrmKelvaneMain::ApplicationWindow() { return applicationWindow_; }

HICON TFrmKelvaneMain::ApplicationIcon() {
  return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KELVANE));
}

std::string TFrmKelvaneMain::DataFolder() {
  return toUtf8(GetDataFolder(settingsFolders_, portableMode_, false));
}

NumberFormat TFrmKelvaneMain::SystemNumberFormat() { return numberFormat_; }

void TFrmKelvaneMain::ShowBalloon(const std::string& title, const std::string& text, int kind,
                                  int seconds) {
  Tray->ShowBalloon(toWide(title), toWide(text), static_cast<BalloonKind>(kind), seconds);
}

std::string TFrmKelvaneMain::TipText() { return toUtf8(Tray->hint()); }

void TFrmKelvaneMain::Settings1Click() {
  // TODO(options dialog): open the options dialog, or bring it to the front when it is open.
}


void TFrmKelvaneMain::ShowError(const std::string& message) { showUnexpectedError(message); }

}  // namespace kelvane
