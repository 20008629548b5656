#pragma once
// A main form stand-in for the Windows tests: records what the features ask of it.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/alert_step_win.h"
#include "options/options_host_win.h"

namespace kelvane::testing {

struct BalloonCall {
  std::string title, text;
  int kind, seconds;
};

class FakeFormServices : public AlertHost, public OptionsHost {
 public:
  TKelvaneOptions options = defaultOptions(10);
  HWND mainWindow = nullptr;
  HWND applicationWindow = nullptr;
  std::string dataFolder;
  std::string tip = "内存使用: 42%";

  int releases = 0;
  std::vector<CommandOrigin> releaseOrigins;
  int historyShown = 0;
  std::vector<std::uint32_t> alertsRecorded;
  int settingsOpened = 0;
  int aboutOpened = 0;
  int closeRequests = 0;
  std::vector<BalloonCall> balloons;
  std::vector<std::string> errors;
  std::function<void()> onRelease;
  std::vector<std::vector<OptionsEffect>> applied;
  int optionsClosed = 0;
  std::wstring settingsFileName, themeFolder;

  const TKelvaneOptions& Options() const override { return options; }
  HWND MainWindow() override { return mainWindow; }
  HWND ApplicationWindow() override { return applicationWindow; }
  HICON ApplicationIcon() override { return nullptr; }
  std::string DataFolder() override { return dataFolder; }
  NumberFormat SystemNumberFormat() override { return NumberFormat::fromSystem(".", ",", "3;0"); }
  void ShowBalloon(const std::string& title, const std::string& text, int kind, int seconds) override {
    balloons.push_back({title, text, kind, seconds});
  }
  std::string TipText() override { return tip; }
  void MemoryDefragmenter1Click(CommandOrigin origin) override {
    ++releases;
    releaseOrigins.push_back(origin);
    if (onRelease) onRelease();
  }
  void ShowHistory() override { ++historyShown; }
  void RecordAlert(const MemorySample& sample) override { alertsRecorded.push_back(sample.dwMemoryLoad); }
  void Settings1Click() override { ++settingsOpened; }
  void About1Click() override { ++aboutOpened; }
  void Close1Click() override { ++closeRequests; }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void ApplyOptions(const TKelvaneOptions& stored, const std::vector<OptionsEffect>& effects) override {
    options = stored;
    applied.push_back(effects);
  }
  void OptionsClosed() override { ++optionsClosed; }
  std::wstring SettingsFileName() override { return settingsFileName; }
  std::wstring ThemeFolder() override { return themeFolder; }
};


// Pumps this thread's messages for a while, as a modal loop would.
void pumpMessages(DWORD milliseconds);

}  // namespace kelvane::testing

namespace kelvane::testing {

struct PostedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Waits on a thread of its own for a dialog (class #32770) of the given thread to appear,
// records its title, then answers it by posting `answer` (for instance a task dialog's
// TDM_CLICK_VERIFICATION, then WM_COMMAND with a button id, or WM_CLOSE).
class DialogAnswerer {
 public:
  DialogAnswerer(DWORD dialogThread, std::vector<PostedMessage> answer, DWORD delayMs = 0);
  ~DialogAnswerer();  // waits for the thread
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  bool sawDialog() const { return seen_; }
  const std::wstring& title() const { return title_; }
  int mostDialogsAtOnce() const { return mostAtOnce_; }

 private:
  static DWORD WINAPI run(void* self);
  DWORD dialogThread_;
  std::vector<PostedMessage> answer_;
  DWORD delayMs_;
  HANDLE thread_ = nullptr;
  bool seen_ = false;
  int mostAtOnce_ = 0;
  std::wstring title_;
};

}  // namespace kelvane::testing
