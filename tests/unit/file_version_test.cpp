#include "process/file_version.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(FileVersion, TranslationLookupPathAndVersionText) {
  EXPECT_EQ(TranslationName(0x0804, 0x04B0), "080404b0");
  EXPECT_EQ(TranslationName(0x0409, 0x04E4), "040904e4");
  EXPECT_EQ(StringValuePath({"080404b0", "040904b0"}, "FileDescription"),
            "\\StringFileInfo\\080404b0\\FileDescription");
  EXPECT_EQ(StringValuePath({}, "CompanyName"), "\\StringFileInfo\\040904E4\\CompanyName");
  EXPECT_EQ(FileVersionText(0x000A0002, 0x4A610001), "10.2.19041.1");
  EXPECT_EQ(FileVersionText(0xFFFFFFFF, 0), "65535.65535.0.0");
}
