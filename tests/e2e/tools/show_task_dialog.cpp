// show_task_dialog: puts the high-memory question up on the desktop exactly as the alert does,
// through either dialog path, for scenarios and screenshots that look at it from outside.
//
//   show_task_dialog platform|emulation     prints "window LEFT TOP RIGHT BOTTOM" once the
//                                           dialog is on screen, then "result=N verification=M"
//                                           when it has been answered
//
// The program's manifest (taken from kelvane.exe beside this tool) is made active first, so the
// dialog uses the same common controls as in the program.
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "common/text_win.h"
#include "dialogs/task_dialog_win.h"

using namespace kelvane;

namespace {

std::wstring programBeside() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"kelvane.exe";
}

void activateProgramManifest() {
  const std::wstring program = programBeside();
  ACTCTXW context{};
  context.cbSize = sizeof(context);
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = program.c_str();
  context.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE handle = CreateActCtxW(&context);
  ULONG_PTR cookie = 0;
  if (handle != INVALID_HANDLE_VALUE) ActivateActCtx(handle, &cookie);  // for the whole run
}

void reportWindowWhenShown(const std::wstring& title) {
  for (int i = 0; i < 400; ++i) {
    HWND w = FindWindowW(nullptr, title.c_str());
    RECT r;
    if (w && IsWindowVisible(w) && GetWindowRect(w, &r)) {
      std::printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
      std::fflush(stdout);
      return;
    }
    Sleep(25);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring which = argc > 1 ? argv[1] : L"platform";
  if (which != L"platform" && which != L"emulation") {
    std::fprintf(stderr, "usage: show_task_dialog platform|emulation\n");
    return 2;
  }
  activateProgramManifest();

  TTaskDialog request;
  request.WindowTitle = "Kelvane";
  request.MainInstruction = "您的计算机内存不足.";
  request.Content = "要恢复足够的内存使程序正常运行, 请保存文件后关闭或重新启动所有打开的程序";
  request.ButtonCaptions = "整理内存\n任务管理器\n关闭";
  request.VerificationText = "不再显示此警告";
  request.VerificationChecked = 0;

  std::thread watcher(reportWindowWhenShown, toWide(request.WindowTitle));
  const TaskDialogPath path = which == L"emulation" ? TaskDialogPath::Emulation : TaskDialogPath::Automatic;
  const int result = RunTaskDialog(request, 0, 1, 0, 270, nullptr, path);
  watcher.join();
  std::printf("result=%d verification=%d\n", result, static_cast<int>(request.VerificationChecked));
  return 0;
}
