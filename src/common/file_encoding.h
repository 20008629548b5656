#pragma once
// How a text file shared with users is stored, told by its byte-order mark, and the Unicode
// forms converted to and from UTF-8 so that a file is written back the way it was read:
// - no mark: bytes in the system code page (converted by the shell, which knows the code page);
// - EF BB BF: UTF-8; FF FE: UTF-16 little endian; FE FF: UTF-16 big endian.
// The conversions lose nothing: a UTF-16 code unit that is no part of a pair travels as the
// three-byte form of its own value and comes back as itself, and any byte sequence that is not
// such a form or valid UTF-8 goes out as U+FFFD.

#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

enum class FileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct MarkedText {
  FileEncoding encoding = FileEncoding::Ansi;
  std::string_view body;  // the bytes after the mark
};
MarkedText splitByteOrderMark(std::string_view bytes);
std::string_view byteOrderMark(FileEncoding encoding);

// UTF-16 bytes in the given order (a last odd byte is dropped) <-> UTF-8.
std::string utf16ToUtf8(std::string_view bytes, FileEncoding order);
std::string utf8ToUtf16(std::string_view utf8, FileEncoding order);

// The UTF-8 text of a file that must hold Unicode text: UTF-8 (with or without its mark) or
// UTF-16 (with its mark, or without one when it holds the zero bytes that UTF-16 text always
// has and no other text does). Nothing when it is neither: bytes of another code page, a
// broken sequence, an unpaired surrogate, a zero character. `cutShort` says the bytes are the
// start of a longer file, so a character the cut splits at the end does not count against it.
std::optional<std::string> unicodeFileText(std::string_view bytes, bool cutShort);

}  // namespace kelvane
