// Where an export may write: never over the program's own files, a device or a read-only file.
#include "history/export_target.h"

#include <gtest/gtest.h>

using namespace kelvane;

namespace {

const ProgramFiles kFiles{"C:\\Users\\李\\AppData\\Roaming\\Kelvane\\Kelvane.Settings",
                          "C:\\Users\\李\\AppData\\Roaming\\Kelvane\\Kelvane.History",
                          "D:\\Logs\\kelvane.log", "C:\\Program Files\\Kelvane\\"};

ExportProblem problemOf(std::string path, bool exists = false) {
  ExportTarget target;
  target.path = std::move(path);
  target.exists = exists;
  return exportTargetProblem(target, kFiles);
}

}  // namespace

TEST(ExportTarget, TheProgramsOwnFilesAreRefusedByName) {
  const std::string data = "c:\\users\\李\\appdata\\roaming\\kelvane\\";
  for (const std::string& own :
       {data + "kelvane.settings", data + "KELVANE.HISTORY", data + "Kelvane.History.1.old",
        data + "Kelvane.History.12.old", data + "Kelvane.History.new", data + "Kelvane.Settings.4120-0.kelvane-save",
        std::string("d:/logs/KELVANE.LOG"), data + "Themes\\Dark.Kelvane Theme",
        std::string("E:\\copy\\Languages\\de.lng"), std::string("C:\\Program Files\\Kelvane\\kelvane.exe"),
        std::string("C:\\Program Files\\Kelvane\\unins000.EXE")})
    EXPECT_EQ(problemOf(own), ExportProblem::ProgramFile) << own;

  for (const std::string& other :
       {data + "history.csv", data + "Kelvane.History.old", data + "Kelvane.History.x.old",
        data + "Kelvane.Historyx", std::string("C:\\Program Files\\Kelvane\\history.csv"),
        std::string("C:\\Program Files\\Kelvane\\tools\\x.exe"), std::string("E:\\Themes\\a.csv"),
        std::string("E:\\lng\\a.lng")})
    EXPECT_EQ(problemOf(other), ExportProblem::None) << other;
}

TEST(ExportTarget, WhatTheSystemSaysDecidesForAnExistingTarget) {
  ExportTarget target;
  target.path = "E:\\report.csv";
  target.exists = true;
  EXPECT_EQ(exportTargetProblem(target, kFiles), ExportProblem::None);
  target.readOnly = true;
  EXPECT_EQ(exportTargetProblem(target, kFiles), ExportProblem::ReadOnly);
  target.diskFile = false;
  EXPECT_EQ(exportTargetProblem(target, kFiles), ExportProblem::NotDiskFile);
  // A hard link or a short name of the settings file: the same file by its identity.
  target = {"E:\\report.csv", true, true, false, true};
  EXPECT_EQ(exportTargetProblem(target, kFiles), ExportProblem::ProgramFile);
  EXPECT_EQ(problemOf("\\\\.\\NUL"), ExportProblem::NotDiskFile);
  EXPECT_EQ(problemOf("\\\\.\\COM1"), ExportProblem::NotDiskFile);
}
