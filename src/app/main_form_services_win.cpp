// What the main form lends to the alerts and the user commands.
#include "app/main_form_win.h"
#include "app/start_language_win.h"
#include "common/error_display_win.h"
#include "common/text_win.h"
#include "options/options_dialog_win.h"
#include "settings/language_files_win.h"
#include "settings/settings_file_win.h"
#include "resource_ids.h"

namespace kelvane {

const TKelvaneOptions& TFrmKelvaneMain::Options() const { return options_; }

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

std::string TFrmKelvaneMain::TipText() { return currentHint(); }

void TFrmKelvaneMain::Settings1Click() { ShowSettings(*this); }

void TFrmKelvaneMain::ApplyOptions(const TKelvaneOptions& options, const std::vector<OptionsEffect>& effects) {
  options_ = options;
  tipWordingChanged_ = true;
  for (OptionsEffect effect : effects) {
    switch (effect) {
      case OptionsEffect::SetRefreshInterval:
        SetTimer(hwnd_, kTimer1, static_cast<UINT>(options_.RefreshRate), nullptr);
        break;
      case OptionsEffect::SaveOptions: SaveOptions(); break;
      case OptionsEffect::RefreshTick: onTimer1Timer(); break;
      case OptionsEffect::SpeakLanguage:
        logLanguageNotices(options_, DataFolder(), speakLanguageSetting(options_.Language));
        announceLanguageChanged();
        break;
      case OptionsEffect::ApplyRefreshHotkey: ApplyRefreshHotkey(); break;
    }
  }
}

void TFrmKelvaneMain::OptionsClosed() {
  if (closing_) return;
  SaveOptions();
  InitSettings();
}

std::wstring TFrmKelvaneMain::SettingsFileName() { return settingsFileName_; }

std::wstring TFrmKelvaneMain::ThemeFolder() { return GetDataFolder(settingsFolders_, portableMode_, true); }

void TFrmKelvaneMain::ShowError(const std::string& message) { showUnexpectedError(message); }

}  // namespace kelvane
