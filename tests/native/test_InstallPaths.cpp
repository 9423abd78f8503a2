#include "installer/InstallPaths.h"

#include <gtest/gtest.h>

TEST(InstallPaths, ProposalNeverDoublesOrDropsTheSeparator) {
  EXPECT_EQ(ProposedInstallFolder("C:\\Program Files"), "C:\\Program Files\\Kestamor");
  EXPECT_EQ(ProposedInstallFolder("D:\\"), "D:\\Kestamor");
  EXPECT_EQ(WithTrailingBackslash(ProposedInstallFolder("D:\\")), "D:\\Kestamor\\");
  EXPECT_EQ(WithTrailingBackslash("E:\\Apps\\"), "E:\\Apps\\");
}

TEST(InstallPaths, EmptyTextsAreNeverIndexed) {
  EXPECT_EQ(WithTrailingBackslash(""), "");
  EXPECT_EQ(ChooseProgramFilesDir("", "C:\\Programs"), "C:\\Programs");
  EXPECT_EQ(ChooseProgramFilesDir("", ""), "C:\\Program Files\\");
  EXPECT_EQ(ChooseProgramFilesDir("X:\\PF", "C:\\Programs"), "X:\\PF");
  EXPECT_EQ(ProposedInstallFolder(ChooseProgramFilesDir("", "")), "C:\\Program Files\\Kestamor");
}
