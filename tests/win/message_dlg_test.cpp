// The message box with sounds, both kinds, answered Yes or No by a click.

#include <gtest/gtest.h>

#include "common/text_win.h"
#include "dialog_driver_win.h"
#include "dialogs/task_dialog_win.h"

using namespace kelvane;
using namespace kelvane::test;

TEST(SoundMessageDlgWin, YesAndNoAnswerSixAndSevenOnBothKinds) {
  for (MessageDlgPath path : {MessageDlgPath::Automatic, MessageDlgPath::Classic}) {
    for (int button : {IDYES, IDNO}) {
      DriveReport report;
      const int result = driveDialog(
          toWide(MsgDlgCaption(MsgDlgKind::Warning)), [&](HWND dlg) { clickButton(dlg, button); },
          [&] {
            return SoundMessageDlg("一个具有相同名称的主题已存在. 你要替换它?", MsgDlgKind::Warning, mbYes | mbNo,
                                   nullptr, path);
          },
          report);
      const bool classic = path == MessageDlgPath::Classic;
      EXPECT_TRUE(report.found) << classic;
      EXPECT_FALSE(report.forcedClose) << classic;
      EXPECT_EQ(result, button == IDYES ? mrYes : mrNo) << classic;
    }
  }
}

TEST(SoundMessageDlgWin, AMessageThatCannotOpenIsNotReadAsOk) {
  const HWND gone = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0));
  ASSERT_FALSE(IsWindow(gone));
  for (MessageDlgPath path : {MessageDlgPath::Automatic, MessageDlgPath::Classic}) {
    DriveReport report;
    const int result = driveDialog(
        toWide(MsgDlgCaption(MsgDlgKind::Error)), [](HWND dlg) { PostMessageW(dlg, WM_CLOSE, 0, 0); },
        [&] { return SoundMessageDlg("x", MsgDlgKind::Error, mbYes | mbNo, gone, path); }, report);
    EXPECT_FALSE(report.found);
    EXPECT_EQ(result, mrNone) << (path == MessageDlgPath::Classic);
  }
}

TEST(ManifestWin, TheProgramCarriesTheCommonControlsSixManifest) {
  // Under Wine the task dialog works without the manifest, so the resource itself is checked.
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program(self, length);
  program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"kelvane.exe";
  HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(image, nullptr) << "cannot open " << toUtf8(program);
  HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST, id 1
  ASSERT_NE(found, nullptr);
  const DWORD size = SizeofResource(image, found);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
  ASSERT_NE(bytes, nullptr);
  const std::string manifest(bytes, size);
  FreeLibrary(image);
  const auto controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
  ASSERT_NE(controls, std::string::npos) << manifest;
  // The version belongs to the same assemblyIdentity element.
  const auto elementStart = manifest.rfind('<', controls);
  const auto elementEnd = manifest.find('>', controls);
  const std::string identity = manifest.substr(elementStart, elementEnd - elementStart);
  EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos) << identity;
}
