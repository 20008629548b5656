#include "common/text_win.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(TextWin, Utf8AndWideRoundTrip) {
  const std::string utf8 = "内存使用: 91% \xF0\x9F\x98\x80";  // with a character outside the BMP
  const std::wstring wide = toWide(utf8);
  EXPECT_EQ(wide.substr(0, 4), L"\u5185\u5B58\u4F7F\u7528");
  EXPECT_EQ(toUtf8(wide), utf8);
  EXPECT_EQ(toWide(""), L"");
}

TEST(TextWin, AnsiIsTheSystemCodePage) {
  // The tests run with the Simplified Chinese code page, as Kelvane's users mostly do.
  ASSERT_EQ(GetACP(), 936u);
  const std::string gbk = utf8ToAnsi("内存");
  EXPECT_EQ(gbk, "\xC4\xDA\xB4\xE6");
  EXPECT_EQ(ansiToUtf8(gbk), "内存");
  EXPECT_EQ(ansiByteLength(L"a\u5185b"), 4u);
}

TEST(TextWin, CutsAtCharacterBoundariesByAnsiBytes) {
  std::wstring chinese;
  for (int i = 0; i < 70; ++i) chinese += L'\u5185';  // 2 bytes each in code page 936
  EXPECT_EQ(cutToAnsiBytes(chinese, 127).size(), 63u);  // 126 bytes: the 64th would split
  EXPECT_EQ(cutToAnsiBytes(chinese, 128).size(), 64u);
  const std::wstring mixed = L"a" + chinese;
  EXPECT_EQ(cutToAnsiBytes(mixed, 127).size(), 64u);  // 1 + 63 * 2 = 127 bytes exactly
  EXPECT_EQ(cutToAnsiBytes(std::wstring(200, L'x'), 127).size(), 127u);
  EXPECT_EQ(cutToAnsiBytes(L"short", 127), L"short");
  EXPECT_EQ(cutToAnsiBytes(chinese, 1), L"");

  WCHAR field[8];
  copyToField(field, std::wstring(20, L'y'), 127);  // the field is smaller than the byte limit
  EXPECT_EQ(std::wstring(field), std::wstring(7, L'y'));
}
