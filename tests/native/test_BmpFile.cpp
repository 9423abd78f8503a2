#include "image/BmpFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& v, size_t at, uint32_t x) {
  v[at] = uint8_t(x);
  v[at + 1] = uint8_t(x >> 8);
}
void Put32(Bytes& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// Builds a BMP file by hand: headers, optional masks after a 40-byte header,
// palette (BGRX entries), then the pixel bytes exactly as given.
struct BmpLayout {
  int32_t width = 1, height = 1;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  uint32_t infoSize = 40;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;  // written into the header (V4/V5) or after a 40-byte one
  std::vector<Pixel32> palette;
  Bytes pixels;
};

Bytes Build(const BmpLayout& s) {
  const size_t extraMasks = s.infoSize == 40 ? s.masks.size() * 4 : 0;
  const size_t offBits = 14 + s.infoSize + extraMasks + s.palette.size() * 4;
  Bytes f(offBits + s.pixels.size(), 0);
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, uint32_t(f.size()));
  Put32(f, 10, uint32_t(offBits));
  Put32(f, 14, s.infoSize);
  Put32(f, 18, uint32_t(s.width));
  Put32(f, 22, uint32_t(s.height));
  Put16(f, 26, 1);
  Put16(f, 28, s.bpp);
  Put32(f, 30, s.compression);
  Put32(f, 46, s.colorsUsed);
  const size_t masksAt = s.infoSize == 40 ? 54 : 14 + 40;
  for (size_t i = 0; i < s.masks.size(); ++i) Put32(f, masksAt + 4 * i, s.masks[i]);
  size_t at = 14 + s.infoSize + extraMasks;
  for (const Pixel32& p : s.palette) {
    f[at] = p.B, f[at + 1] = p.G, f[at + 2] = p.R, f[at + 3] = 0;
    at += 4;
  }
  std::copy(s.pixels.begin(), s.pixels.end(), f.begin() + long(at));
  return f;
}

Bitmap32 Read(const Bytes& f, int* bpp = nullptr) { return ReadBmp(f.data(), f.size(), bpp); }

constexpr Pixel32 kRed{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlue{255, 0, 0, 255};
constexpr Pixel32 kBlack{0, 0, 0, 255}, kWhite{255, 255, 255, 255};

Bitmap32 Pattern(int w, int h) {
  Bitmap32 b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.At(x, y) = Pixel32{uint8_t(x * 37 + y), uint8_t(y * 91 + 3), uint8_t(x ^ (y * 7)), uint8_t(x * y * 13)};
  return b;
}

TEST(BmpWriter, Writes24And32BitFilesThatReadBack) {
  // Width 3 needs row padding at 24 bits; a view with a negative row delta
  // checks that rows are taken by Row(), not by memory order.
  const Bitmap32 src = Pattern(3, 4);
  Bitmap32 flipped(3, 4);
  Bitmap32 view = Bitmap32::View(&flipped.At(0, 3), 3, 4, -flipped.RowDelta());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) view.At(x, y) = src.At(x, y);

  const Bytes f24 = WriteBmp24(view);
  ASSERT_EQ(f24.size(), 54u + 12u * 4u);
  EXPECT_EQ(f24[0], 'B');
  EXPECT_EQ(f24[28], 24);
  // Bottom-up: the first stored row is the bottom row.
  EXPECT_EQ(f24[54], src.At(0, 3).B);
  EXPECT_EQ(f24[54 + 9], 0);  // padding

  int bpp = 0;
  Bitmap32 back = Read(f24, &bpp);
  EXPECT_EQ(bpp, 24);
  ASSERT_EQ(back.Width(), 3);
  ASSERT_EQ(back.Height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) {
      Pixel32 want = src.At(x, y);
      want.A = 255;
      EXPECT_EQ(back.At(x, y), want) << x << "," << y;
    }

  const Bytes f32 = WriteBmp32(src);
  ASSERT_EQ(f32.size(), 54u + 12u * 4u);
  back = Read(f32, &bpp);
  EXPECT_EQ(bpp, 32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back.At(x, y), src.At(x, y));

  EXPECT_THROW(WriteBmp24(Bitmap32()), EBmpError);
}

TEST(BmpReader, Plain32BitFileWithoutAlphaReadsOpaque) {
  Bitmap32 src(2, 1);
  src.At(0, 0) = {10, 20, 30, 0};
  src.At(1, 0) = {40, 50, 60, 0};
  Bitmap32 back = Read(WriteBmp32(src));
  EXPECT_EQ(back.At(0, 0), (Pixel32{10, 20, 30, 255}));
  EXPECT_EQ(back.At(1, 0), (Pixel32{40, 50, 60, 255}));
}

TEST(BmpReader, PaletteDepths) {
  // 1 bit, 10 wide (two bytes per row), bottom-up.
  BmpLayout s1;
  s1.width = 10, s1.height = 2, s1.bpp = 1;
  s1.palette = {kRed, kBlue};
  s1.pixels = {0b10000000, 0b01000000, 0, 0,   // bottom row: x=0 and x=9 set
               0b01000000, 0, 0, 0};           // top row: x=1
  int bpp = 0;
  Bitmap32 b = Read(Build(s1), &bpp);
  EXPECT_EQ(bpp, 1);
  EXPECT_EQ(b.At(0, 1), kBlue);
  EXPECT_EQ(b.At(9, 1), kBlue);
  EXPECT_EQ(b.At(8, 1), kRed);
  EXPECT_EQ(b.At(1, 0), kBlue);
  EXPECT_EQ(b.At(0, 0), kRed);

  // 4 bits, odd width, top-down.
  BmpLayout s4;
  s4.width = 3, s4.height = -2, s4.bpp = 4;
  s4.palette = {kBlack, kRed, kGreen, kBlue};
  s4.pixels = {0x12, 0x30, 0, 0,  0x32, 0x10, 0, 0};
  b = Read(Build(s4));
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.At(0, 0), kRed);
  EXPECT_EQ(b.At(1, 0), kGreen);
  EXPECT_EQ(b.At(2, 0), kBlue);
  EXPECT_EQ(b.At(0, 1), kBlue);
  EXPECT_EQ(b.At(2, 1), kRed);

  // 8 bits with a short palette (colorsUsed); an index past it reads black.
  BmpLayout s8;
  s8.width = 3, s8.height = 1, s8.bpp = 8, s8.colorsUsed = 2;
  s8.palette = {kWhite, kGreen};
  s8.pixels = {1, 0, 200, 0};
  b = Read(Build(s8));
  EXPECT_EQ(b.At(0, 0), kGreen);
  EXPECT_EQ(b.At(1, 0), kWhite);
  EXPECT_EQ(b.At(2, 0), kBlack);
}

TEST(BmpReader, SixteenBitsAndBitFields) {
  // 555 without masks: full red, full green, full blue, mid grey.
  BmpLayout s;
  s.width = 4, s.bpp = 16;
  s.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42};
  Bitmap32 b = Read(Build(s));
  EXPECT_EQ(b.At(0, 0), kRed);
  EXPECT_EQ(b.At(1, 0), kGreen);
  EXPECT_EQ(b.At(2, 0), kBlue);
  EXPECT_EQ(b.At(3, 0), (Pixel32{132, 132, 132, 255}));  // 16/31 of 255

  // 565 as bit fields after a plain info header.
  BmpLayout s565;
  s565.width = 2, s565.bpp = 16, s565.compression = 3;
  s565.masks = {0xF800, 0x07E0, 0x001F};
  s565.pixels = {0xE0, 0x07, 0x00, 0xF8};
  b = Read(Build(s565));
  EXPECT_EQ(b.At(0, 0), kGreen);
  EXPECT_EQ(b.At(1, 0), kRed);

  // V5 header, 32-bit bit fields with an alpha mask (RGBA byte order).
  BmpLayout v5;
  v5.width = 1, v5.bpp = 32, v5.compression = 3, v5.infoSize = 124;
  v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  v5.pixels = {10, 20, 30, 40};
  b = Read(Build(v5));
  EXPECT_EQ(b.At(0, 0), (Pixel32{30, 20, 10, 40}));
}

TEST(BmpReader, RunLengthEncoded) {
  BmpLayout s;
  s.width = 4, s.height = 2, s.bpp = 8, s.compression = 1;
  s.palette = {kBlack, kRed, kGreen};
  // Bottom row: run of 3 x index 1, end of line; top row: absolute 1,2,1 (padded), end of bitmap.
  s.pixels = {3, 1, 0, 0, 0, 3, 1, 2, 1, 0, 0, 1};
  Bitmap32 b = Read(Build(s));
  EXPECT_EQ(b.At(0, 1), kRed);
  EXPECT_EQ(b.At(2, 1), kRed);
  EXPECT_EQ(b.At(3, 1), kBlack);  // skipped by end of line: palette entry 0
  EXPECT_EQ(b.At(0, 0), kRed);
  EXPECT_EQ(b.At(1, 0), kGreen);

  BmpLayout s4;
  s4.width = 4, s4.height = 1, s4.bpp = 4, s4.compression = 2;
  s4.palette = {kBlack, kRed, kGreen};
  s4.pixels = {3, 0x12, 0, 1};  // 1,2,1 then end of bitmap
  b = Read(Build(s4));
  EXPECT_EQ(b.At(0, 0), kRed);
  EXPECT_EQ(b.At(1, 0), kGreen);
  EXPECT_EQ(b.At(2, 0), kRed);
  EXPECT_EQ(b.At(3, 0), kBlack);

  s.pixels = {3, 1, 0, 3, 1};  // absolute run cut short
  EXPECT_THROW(Read(Build(s)), EBmpError);

  // Skips may cover a small picture, but a large one needs the data to describe it.
  s.width = 64, s.height = 64, s.pixels = {0, 1};
  EXPECT_EQ(Read(Build(s)).At(63, 0), kBlack);
  s.width = 8192, s.height = 8192;
  EXPECT_THROW(Read(Build(s)), EBmpError);
}

TEST(BmpReader, RejectsBadHeadersWithoutReadingOutside) {
  BmpLayout ok;
  ok.width = 2, ok.height = 2, ok.bpp = 24;
  ok.pixels.assign(16, 7);
  ASSERT_NO_THROW(Read(Build(ok)));

  auto fails = [](const Bytes& f, const char* text) {
    try {
      Read(f);
      ADD_FAILURE() << "no error, expected: " << text;
    } catch (const EBmpError& e) {
      EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
    }
  };
  Bytes f = Build(ok);
  f[1] = 'X';
  fails(f, "Not a BMP file");
  fails(Bytes{'B', 'M', 0}, "truncated");

  BmpLayout bad = ok;
  bad.bpp = 7;
  fails(Build(bad), "bit depth");
  bad = ok, bad.compression = 4;
  fails(Build(bad), "compression");
  bad = ok, bad.width = 0;
  fails(Build(bad), "size");
  bad = ok, bad.height = INT_MIN;
  fails(Build(bad), "size");
  bad = ok, bad.width = 100000, bad.height = 100000;  // must not allocate 40 GB
  fails(Build(bad), "too large");
  bad = ok, bad.width = 1000, bad.height = 1000;  // header claims more than the file holds
  fails(Build(bad), "truncated");
  bad = ok, bad.infoSize = 20;
  fails(Build(bad), "header size");
  bad = ok, bad.bpp = 8, bad.colorsUsed = 200, bad.palette = {kRed};
  fails(Build(bad), "palette");

  f = Build(ok);
  Put32(f, 10, uint32_t(f.size() + 1));
  fails(f, "offset");
  Put32(f, 14, 0xFFFFFFF0u);
  fails(f, "header");

  // Every proper prefix of a valid file is an error, never a read past its end.
  const Bytes whole = Build(ok);
  for (size_t n = 0; n + 2 < whole.size(); ++n) {
    Bytes prefix(whole.begin(), whole.begin() + long(n));
    EXPECT_THROW(Read(prefix), EBmpError) << n;
  }
  EXPECT_THROW(ReadBmp(nullptr, 100), EBmpError);
}

}  // namespace
