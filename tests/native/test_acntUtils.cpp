// Folder paths made ready for a name to follow, as the folder dialog's Create builds them.
#include <gtest/gtest.h>

#include "skin/data/acntUtils.h"

TEST(PathDelimiter, EndsInOneBackslash) {
  EXPECT_EQ(WithTrailingPathDelimiter("C:\\Program Files"), "C:\\Program Files\\");
  EXPECT_EQ(WithTrailingPathDelimiter("C:\\"), "C:\\");          // a drive root keeps its own
  EXPECT_EQ(WithTrailingPathDelimiter("C:\\Temp/"), "C:\\Temp\\");  // a slash becomes the backslash
  EXPECT_EQ(WithTrailingPathDelimiter("D"), "D:\\");             // a drive letter alone
  EXPECT_EQ(WithTrailingPathDelimiter(""), "");                  // nothing selected: nothing to add to
}
