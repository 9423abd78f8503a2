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
  EXPECT_EQ(FallbackProgramFilesDir("C:\\Programs"), "C:\\Programs");
  EXPECT_EQ(FallbackProgramFilesDir(""), "C:\\Program Files\\");
  EXPECT_EQ(ProposedInstallFolder(FallbackProgramFilesDir("")), "C:\\Program Files\\Kestamor");
}

// Only a folder that means the same from any current directory is proposed.
TEST(InstallPaths, OnlyRootedPathsAreAbsolute) {
  for (const char* absolute : {"C:\\Program Files", "d:\\", "C:/Apps", "\\\\server\\share", "\\\\srv\\s\\dir"})
    EXPECT_TRUE(IsAbsolutePath(absolute)) << absolute;
  for (const char* relative : {"", "Program Files", "C:", "C:Program Files", "\\Program Files", "%ProgramFiles%",
                               "\\\\", "\\\\server", "\\\\server\\", "\\\\\\share", "1:\\x"})
    EXPECT_FALSE(IsAbsolutePath(relative)) << relative;
}
