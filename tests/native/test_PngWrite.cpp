// Our screenshot writer, checked against libpng as the reader.
#include "image/PngWrite.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>

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

namespace {
struct ReadBack {
  png_fixed_point gamma = 0;
  png_uint_32 resX = 0;
  int unit = -1;
  std::string software;
  bool chrm = false;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t n) {
  auto* cursor = static_cast<const uint8_t**>(png_get_io_ptr(png));
  std::memcpy(out, *cursor, n);
  *cursor += n;
}

ReadBack ReadAncillary(const std::vector<uint8_t>& file) {
  ReadBack r;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return r;
  }
  const uint8_t* cursor = file.data();
  png_set_read_fn(png, &cursor, ReadBytes);
  png_read_info(png, info);
  png_get_gAMA_fixed(png, info, &r.gamma);
  png_uint_32 y = 0;
  png_get_pHYs(png, info, &r.resX, &y, &r.unit);
  png_textp text = nullptr;
  int count = 0;
  png_get_text(png, info, &text, &count);
  for (int i = 0; i < count; ++i)
    if (std::string(text[i].key) == "Software") r.software = text[i].text;
  r.chrm = png_get_valid(png, info, PNG_INFO_cHRM) != 0;
  png_destroy_read_struct(&png, &info, nullptr);
  return r;
}
}  // namespace

TEST(PngWrite, AncillaryChunksReachAReaderIntact) {
  Bitmap32 bmp(2, 2);
  PngChunks chunks;
  chunks.Gamma = 45454;
  chunks.SrgbChromaticities = true;
  chunks.PixelsPerMetre = 3780;
  chunks.Texts = {{"Software", "Kestamor skingen"}};
  const ReadBack r = ReadAncillary(EncodePng(bmp, true, chunks));
  EXPECT_EQ(r.gamma, 45454);
  EXPECT_EQ(r.resX, 3780u);
  EXPECT_EQ(r.unit, PNG_RESOLUTION_METER);
  EXPECT_EQ(r.software, "Kestamor skingen");
  EXPECT_TRUE(r.chrm);
}
