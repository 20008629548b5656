// Every text of the options dialog fits its control in every built-in language, measured as the
// controls draw them (text_fit.h). ctest runs this at 96 DPI with the other Windows tests and
// once more at 144 DPI (win_tests_144_dpi), since Wine takes the DPI when a process starts.
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/handles_win.h"
#include "common/language.h"
#include "common/text_win.h"
#include "fake_form_services.h"
#include "options/options_dialog_layout.h"
#include "options/options_dialog_win.h"
#include "scratch_folder_win.h"
#include "text_fit.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

int screenDpi() {
  const ScreenDc screen;
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

// The colour lists draw a swatch before each name (color_picker_win.cpp): a frame 2 px in, one
// and a half item heights wide, then 4 px to the text.
int swatchIndent(HWND list, UINT itemHeightMessage) {
  const auto height = static_cast<int>(SendMessageW(list, itemHeightMessage, 0, 0));
  return 2 + height * 3 / 2 + 4;
}

}  // namespace

TEST(OptionsDialogTextFit, EveryTextFitsInEveryBuiltInLanguage) {
  if (const char* wanted = std::getenv("KELVANE_DPI")) {
    ASSERT_EQ(screenDpi(), std::atoi(wanted));
  }
  for (const Language* language : {&Language::simplifiedChinese(), &Language::english()}) {
    speak(*language);
    ScratchFolder folder;
    FakeFormServices form;
    form.applicationWindow = CreateWindowExW(0, L"STATIC", L"application", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                             GetModuleHandleW(nullptr), nullptr);
    form.settingsFileName = folder.path() + L"Kelvane.Settings";
    form.themeFolder = folder.path();
    ShowSettings(form);
    HWND dialog = OpenOptionsDialog();
    ASSERT_NE(dialog, nullptr);
    wchar_t caption[64] = L"";
    GetWindowTextW(dialog, caption, 64);
    EXPECT_EQ(caption, toWide(language->text(TextId::OptionsCaption)));
    // Chinese keeps the designed client area of 272 x 216 dialog units; a longer language may
    // only grow it.
    RECT design{0, 0, 272, 216}, client{};
    MapDialogRect(dialog, &design);
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.bottom, design.bottom) << language->tag();
    if (language == &Language::simplifiedChinese()) {
      EXPECT_EQ(client.right, design.right);
    }
    EXPECT_GE(client.right, design.right) << language->tag();

    TextFitOptions options;
    options.itemIndent[CmbColorProcesses] = swatchIndent(GetDlgItem(dialog, CmbColorProcesses), CB_GETITEMHEIGHT);
    options.itemIndent[CmbForeground] = swatchIndent(GetDlgItem(dialog, CmbForeground), CB_GETITEMHEIGHT);
    options.itemIndent[LbColors] = swatchIndent(GetDlgItem(dialog, LbColors), LB_GETITEMHEIGHT);
    std::string report;
    for (const std::string& problem : textFitProblems(dialog, options)) report += "\n  " + problem;
    EXPECT_TRUE(report.empty()) << language->tag() << " at " << screenDpi() << " DPI:" << report;

    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    DestroyWindow(form.applicationWindow);
  }
  speak(Language::simplifiedChinese());
}
