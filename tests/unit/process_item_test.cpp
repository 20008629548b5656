#include "menu/process_item.h"

#include <gtest/gtest.h>

using namespace kelvane;

TEST(ProcessItem, OneDialogServesTheSameProcessOrTheSameMergedPath) {
  const ProcessItem single{40, "a.exe", "C:\\A\\a.exe", 1000.5, 10, 0, false};
  ProcessItem later = single;
  later.memory = 99;  // a newer menu's figure
  EXPECT_TRUE(StandsForSame(single, later));
  ProcessItem reused = single;  // the id passed on to a newer process
  reused.creationTime = 1001.5;
  EXPECT_FALSE(StandsForSame(single, reused));
  ProcessItem otherId = single;
  otherId.processId = 44;
  EXPECT_FALSE(StandsForSame(single, otherId));

  const ProcessItem group{40, "a.exe", "C:\\A\\a.exe", 1000.5, 30, 3, true};
  ProcessItem groupLater{52, "a.exe", "C:\\A\\a.exe", 2000.5, 20, 2, true};
  EXPECT_TRUE(StandsForSame(group, groupLater));  // another first instance, the same path
  EXPECT_FALSE(StandsForSame(group, single));     // the group's actions reach every instance
  groupLater.path = "C:\\B\\a.exe";
  EXPECT_FALSE(StandsForSame(group, groupLater));
  // A merged entry whose path could not be read stands for its own process only.
  ProcessItem pathless = group;
  pathless.path.clear();
  ProcessItem pathlessAgain = pathless;
  pathlessAgain.instanceCount = 2;
  EXPECT_TRUE(StandsForSame(pathless, pathlessAgain));
  pathlessAgain.processId = 52;
  EXPECT_FALSE(StandsForSame(pathless, pathlessAgain));
}
