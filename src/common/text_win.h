#pragma once
// The one place where text changes encoding at the Win32 boundary: the core speaks UTF-8,
// windows speak UTF-16, and files shared with users speak the system ANSI code page.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "common/texts.h"

namespace kelvane {

std::wstring toWide(const std::string& utf8);
std::string toUtf8(const std::wstring& wide);

// A text of the speaking language (common/language.h) as a window shows it.
std::wstring trWide(TextId id);
std::wstring trWide(TextId id, std::initializer_list<TextArgument> arguments);

// Bytes in the system ANSI code page (GetACP) <-> UTF-8.
std::string ansiToUtf8(const std::string& ansi);
std::string utf8ToAnsi(const std::string& utf8);

// Files shared with users (settings, themes) are ANSI bytes that must come back unchanged
// however odd they are. Bytes that do not decode, or that would not encode back to themselves,
// travel as U+F700 + byte and are restored on the way back, so that a save rewrites only what
// it changed. A system code page of UTF-8 passes the bytes through.
std::string ansiFileToUtf8(const std::string& bytes);
std::string utf8ToAnsiFile(const std::string& utf8);
// The same, or nullopt when the code page has no form for a character of the text (Chinese on
// a Western system): written anyway, it would come back as a question mark.
std::optional<std::string> utf8ToAnsiFileExactly(const std::string& utf8);

// True when every character of the text has a form in the ANSI code page.
bool ansiHolds(const std::string& utf8);

// How many bytes the text takes in the ANSI code page.
std::size_t ansiByteLength(const std::wstring& wide);

// The longest prefix whose ANSI form fits in maxBytes, never splitting a character (nor a
// surrogate pair), for platform records whose limits are counted in ANSI bytes.
std::wstring cutToAnsiBytes(const std::wstring& wide, std::size_t maxBytes);

// Copies text into a fixed WCHAR field, cut to maxAnsiBytes and always zero-terminated.
template <std::size_t N>
void copyToField(WCHAR (&field)[N], const std::wstring& text, std::size_t maxAnsiBytes) {
  const std::wstring cut = cutToAnsiBytes(text, maxAnsiBytes);
  const std::size_t count = cut.size() < N - 1 ? cut.size() : N - 1;
  cut.copy(field, count);
  field[count] = L'\0';
}

}  // namespace kelvane
