#include "process/file_version_reader_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <regex>

#include "common/text_win.h"

using namespace kelvane;

TEST(FileVersionReader, ReadsASystemFileAndGivesEmptyTextsWithoutAResource) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const FileVersionReader kernel(toUtf8(std::wstring(system) + L"\\kernel32.dll"));
  ASSERT_TRUE(kernel.HasVersionInfo());
  EXPECT_FALSE(kernel.FileDescription().empty());
  EXPECT_FALSE(kernel.CompanyName().empty());
  EXPECT_TRUE(std::regex_match(kernel.FileVersion(), std::regex(R"(\d+\.\d+\.\d+\.\d+)")))
      << kernel.FileVersion();
  EXPECT_TRUE(kernel.StringValue("NoSuchKey").empty());

  for (const std::string& name : {std::string(), std::string("C:\\no\\such\\file.exe")}) {
    const FileVersionReader none(name);
    EXPECT_FALSE(none.HasVersionInfo());
    EXPECT_EQ(none.FileDescription(), "");
    EXPECT_EQ(none.CompanyName(), "");
    EXPECT_EQ(none.FileVersion(), "");
  }
}
