#include "image/Bitmap32.h"

#include <gtest/gtest.h>

TEST(Bitmap32, BottomUpViewAddressesRowsThroughNegativeDelta) {
  // A bottom-up DIB keeps its last row first in memory.
  std::vector<Pixel32> mem(3 * 2);
  Bitmap32 view = Bitmap32::View(&mem[3], 3, 2, -3 * 4);
  view.At(1, 0) = {1, 2, 3, 4};
  view.At(2, 1) = {5, 6, 7, 8};
  EXPECT_EQ(mem[4], (Pixel32{1, 2, 3, 4}));
  EXPECT_EQ(mem[2], (Pixel32{5, 6, 7, 8}));
  EXPECT_FALSE(view.Owning());
}

TEST(Bitmap32, CopiesOwnTheirPixelsButViewsShare) {
  Bitmap32 a(2, 2);
  a.Fill({9, 9, 9, 255});
  Bitmap32 b = a;
  b.At(0, 0).R = 1;
  EXPECT_EQ(a.At(0, 0).R, 9);

  Bitmap32 moved = std::move(b);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(moved.At(0, 0).R, 1);

  Bitmap32 v = Bitmap32::View(&a.At(0, 0), 2, 2, a.RowDelta());
  Bitmap32 v2 = v;
  v2.At(1, 1).G = 42;
  EXPECT_EQ(a.At(1, 1).G, 42);
  EXPECT_TRUE(Bitmap32(0, 5).Empty());
}
