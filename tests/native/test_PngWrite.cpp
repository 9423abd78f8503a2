// Our screenshot writer, checked against libpng as the reader.
#include "image/PngWrite.h"

#include <gtest/gtest.h>
#include <png.h>

namespace {
std::vector<uint8_t> DecodeRgbaWithLibpng(const std::vector<uint8_t>& file, int& w, int& h) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, file.data(), file.size())) return {};
  img.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> px(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, px.data(), 0, nullptr)) return {};
  w = static_cast<int>(img.width);
  h = static_cast<int>(img.height);
  return px;
}
}  // namespace

TEST(PngWrite, LibpngReadsBackEveryPixelWithAndWithoutAlpha) {
  Bitmap32 bmp(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      bmp.At(x, y) = {uint8_t(x * 40), uint8_t(y * 90), uint8_t(200 - x), uint8_t(x * 60)};
  for (bool alpha : {true, false}) {
    int w = 0, h = 0;
    auto px = DecodeRgbaWithLibpng(EncodePng(bmp, alpha), w, h);
    ASSERT_EQ(w, 5);
    ASSERT_EQ(h, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const uint8_t* p = &px[(y * 5 + x) * 4];
        const Pixel32& s = bmp.At(x, y);
        EXPECT_EQ(p[0], s.R);
        EXPECT_EQ(p[1], s.G);
        EXPECT_EQ(p[2], s.B);
        EXPECT_EQ(p[3], alpha ? s.A : 255);
      }
  }
  EXPECT_THROW(EncodePng(Bitmap32()), std::invalid_argument);
}
