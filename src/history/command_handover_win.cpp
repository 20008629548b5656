#include "history/command_handover_win.h"

#include <shellapi.h>

#include "common/text_win.h"

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

std::optional<int> handOverRequest(HWND runningForm, const ProgramRequest& request, UINT timeoutMs) {
  const std::string message = requestMessage(request);
  COPYDATASTRUCT data{kProgramRequestData, static_cast<DWORD>(message.size()),
                      const_cast<char*>(message.data())};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(runningForm, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, timeoutMs, &answer))
    return std::nullopt;
  return static_cast<int>(answer);
}

std::optional<ProgramRequest> receivedRequest(const COPYDATASTRUCT& data) {
  if (data.dwData != kProgramRequestData || (data.cbData > 0 && !data.lpData)) return std::nullopt;
  const ProgramRequest request =
      requestFromMessage(std::string(static_cast<const char*>(data.lpData), data.cbData));
  if (request.kind == ProgramRequest::Kind::BadCommandLine) return std::nullopt;
  return request;
}

void showUsage(const ProgramRequest& request) {
  const bool bad = request.kind == ProgramRequest::Kind::BadCommandLine;
  const std::string text = (bad ? request.problem + "\n\n" : std::string()) + usageText();
  MessageBoxW(nullptr, toWide(text).c_str(), L"Kelvane", MB_OK | (bad ? MB_ICONWARNING : MB_ICONINFORMATION));
}

}  // namespace kelvane
