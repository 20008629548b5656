#include "app/command_handover_win.h"

#include <shellapi.h>

#include "common/language.h"
#include "common/text_win.h"
#include "dialogs/help_window_win.h"
#include "dialogs/task_dialog_win.h"

namespace kelvane {

std::vector<std::string> commandLineArguments(const wchar_t* commandLine) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** split = CommandLineToArgvW(commandLine, &count);
  if (!split) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(toUtf8(split[i]));
  LocalFree(split);
  return arguments;
}

ProgramRequest withFullPath(ProgramRequest request) {
  if (request.kind != ProgramRequest::Kind::ExportHistory) return request;
  const std::wstring given = toWide(request.file);
  const DWORD length = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  if (length == 0) return request;  // the write then says what is wrong with the name
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(given.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return request;
  full.resize(written);
  request.file = toUtf8(full);
  return request;
}

std::optional<RequestAnswer> handOverRequest(HWND runningForm, const ProgramRequest& request, UINT timeoutMs) {
  const std::string message = requestMessage(request);
  COPYDATASTRUCT data{kProgramRequestData, static_cast<DWORD>(message.size()),
                      const_cast<char*>(message.data())};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(runningForm, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, timeoutMs, &answer))
    return std::nullopt;
  return unpackedAnswer(static_cast<std::uint64_t>(answer));
}

bool isProgramRequest(const COPYDATASTRUCT& data) { return data.dwData == kProgramRequestData; }

std::optional<ProgramRequest> receivedRequest(const COPYDATASTRUCT& data) {
  // A request too large for any path is not read at all.
  if (!isProgramRequest(data) || data.cbData > kMostRequestBytes || (data.cbData > 0 && !data.lpData))
    return std::nullopt;
  const ProgramRequest request =
      requestFromMessage(std::string(static_cast<const char*>(data.lpData), data.cbData));
  if (request.kind == ProgramRequest::Kind::BadCommandLine) return std::nullopt;
  return request;
}

namespace {

// Lines end as Windows files' do.
bool writeLines(HANDLE to, const std::string& text) {
  std::string bytes;
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  bytes += "\r\n";
  DWORD written = 0;
  return WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// The console of the process that started this one, when there is one: the words end with a
// line end, so the prompt that follows starts a line of its own.
bool tellParentConsole(const std::string& text) {
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  bool told = false;
  const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
  if (console != INVALID_HANDLE_VALUE) {
    const std::wstring wide = toWide(text) + L"\r\n";
    DWORD written = 0;
    told = WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != FALSE;
    CloseHandle(console);
  }
  FreeConsole();
  return told;
}

}  // namespace

bool tellCommandWords(const std::string& text, CommandWords kind, bool quiet, const std::string& consoleText) {
  const std::string& lines = consoleText.empty() ? text : consoleText;
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (error && error != INVALID_HANDLE_VALUE) {
    const DWORD type = GetFileType(error);
    if ((type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) && writeLines(error, lines)) return true;
  }
  if (tellParentConsole(lines)) return true;
  if (quiet) return false;
  if (kind == CommandWords::Failure) {
    SoundMessageDlg(text, MsgDlgKind::Error, mbOK, nullptr);
  } else {
    std::vector<std::string> names, descriptions;
    for (const UsageRow& row : usageRows()) names.push_back(row.name), descriptions.push_back(row.description);
    showHelpWindow(kind == CommandWords::BadCommandLine ? text : tr(TextId::CommandLineUsage), names, descriptions,
                   usageFooter());
  }
  return true;
}

void showUsage(const ProgramRequest& request) {
  const bool bad = request.kind == ProgramRequest::Kind::BadCommandLine;
  // The window takes the problem alone; a console reads it above the table.
  tellCommandWords(bad ? request.problem : usageText(), bad ? CommandWords::BadCommandLine : CommandWords::Usage,
                   request.quiet, (bad ? request.problem + "\n\n" : std::string()) + usageTable());
}

}  // namespace kelvane
