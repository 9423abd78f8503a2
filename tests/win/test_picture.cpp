// PNG pictures on Windows: ".png" files load as TPNGGraphic, and drawing lays the image's
// alpha over what the canvas already shows, at its own size or stretched.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/Picture.h"
#include "image/PngWrite.h"
#include "framework/acPNG_win.h"

namespace {

constexpr Pixel32 kBehind{40, 80, 120, 255};  // what the canvas shows before the picture

std::filesystem::path TempFile(const char* name) { return std::filesystem::temp_directory_path() / name; }

std::unique_ptr<TBitmap> Background(int w, int h) {
  auto b = std::make_unique<TBitmap>(w, h);
  b->View().Fill(kBehind);
  return b;
}

// A decoded PNG, the way pictures load it.
TPNGGraphic Decoded(const Bitmap32& pixels) {
  const std::vector<uint8_t> bytes = EncodePng(pixels);
  TPNGGraphic png;
  png.LoadFromMemory(bytes.data(), bytes.size());
  return png;
}

// Colour channels only: ordinary bitmap drawing says nothing about alpha.
int Rgb(Pixel32 p) { return p.B << 16 | p.G << 8 | p.R; }

uint8_t Blend(uint8_t d, uint8_t s, unsigned a) { return static_cast<uint8_t>((d * (255 - a) + s * a + 127) >> 8); }

TEST(PNGDraw, LaysItsAlphaOverTheCanvas) {
  Bitmap32 pixels(3, 1);
  pixels.At(0, 0) = Pixel32{200, 150, 250, 255};  // opaque: exactly its colour
  pixels.At(1, 0) = Pixel32{200, 150, 250, 128};  // half: mixed
  pixels.At(2, 0) = Pixel32{200, 150, 250, 0};    // transparent: what was there
  const TPNGGraphic png = Decoded(pixels);
  ASSERT_EQ(png.PixelFormat(), TPixelFormat::pf32bit);

  auto canvas = Background(5, 3);
  DrawDibImage(canvas->Canvas(), RECT{1, 1, 4, 2}, png);
  const Bitmap32 out = canvas->View();
  EXPECT_EQ(out.At(1, 1), (Pixel32{200, 150, 250, 255}));
  EXPECT_EQ(out.At(2, 1), (Pixel32{Blend(40, 200, 128), Blend(80, 150, 128), Blend(120, 250, 128), 255}));
  EXPECT_EQ(out.At(3, 1), kBehind);
  EXPECT_EQ(out.At(0, 1), kBehind);  // nothing outside the destination
  EXPECT_EQ(out.At(2, 0), kBehind);
}

TEST(PNGDraw, StretchesColourAndAlphaToTheDestination) {
  // Left half opaque red, right half transparent green; then a half-alpha blue picture.
  Bitmap32 halves(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) halves.At(x, y) = x < 2 ? Pixel32{0, 0, 255, 255} : Pixel32{0, 255, 0, 0};
  auto canvas = Background(8, 8);
  DrawDibImage(canvas->Canvas(), RECT{0, 0, 8, 8}, Decoded(halves));
  Bitmap32 out = canvas->View();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(out.At(x, y), (Pixel32{0, 0, 255, 255})) << x << "," << y;
    for (int x = 5; x < 8; ++x) EXPECT_EQ(out.At(x, y), kBehind) << x << "," << y;
  }

  Bitmap32 half(2, 2);
  half.Fill(Pixel32{255, 0, 0, 128});
  auto wide = Background(6, 4);
  DrawDibImage(wide->Canvas(), RECT{0, 0, 6, 4}, Decoded(half));
  out = wide->View();
  const Pixel32 mixed{Blend(40, 255, 128), Blend(80, 0, 128), Blend(120, 0, 128), 255};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(out.At(x, y), mixed) << x << "," << y;
}

TEST(PNGDraw, ImagesWithoutAlphaDrawAsOrdinaryBitmaps) {
  TDibImage rgb;
  rgb.SetSize(TPixelFormat::pf24bit, 2, 1);
  uint8_t* row = rgb.ScanLine(0);
  const uint8_t bytes[6] = {10, 20, 30, 0, 0, 0};
  std::copy(bytes, bytes + 6, row);
  auto canvas = Background(4, 2);
  DrawDibImage(canvas->Canvas(), RECT{0, 0, 4, 2}, rgb);
  EXPECT_EQ(Rgb(canvas->View().At(0, 0)), Rgb(Pixel32{10, 20, 30, 0}));
  EXPECT_EQ(Rgb(canvas->View().At(3, 1)), 0);

  // A transparent colour (tRNS) is left out.
  rgb.SetTransparentColor(Pixel32{0, 0, 0, 255});
  auto keyed = Background(4, 2);
  DrawDibImage(keyed->Canvas(), RECT{0, 0, 4, 2}, rgb);
  EXPECT_EQ(Rgb(keyed->View().At(0, 0)), Rgb(Pixel32{10, 20, 30, 0}));
  EXPECT_EQ(Rgb(keyed->View().At(3, 1)), Rgb(kBehind));
}

TEST(Picture, PngFilesLoadAsTPNGGraphicAndBadFilesLoseNothing) {
  const TFileFormat* format = FindFileFormat("a.PNG");
  ASSERT_NE(format, nullptr);
  EXPECT_STREQ(format->Description, "Portable network graphics (Varnethic)");
  EXPECT_EQ(FindFileFormat("a.bmp"), nullptr);

  Bitmap32 pixels(3, 2);
  pixels.Fill(Pixel32{1, 2, 3, 255});
  const auto good = TempFile("kestamor-picture.png");
  ASSERT_TRUE(SavePng(pixels, good.string()));
  TPicture picture;
  picture.LoadFromFile(good.string());
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Graphic()->ClassName(), "TPNGGraphic");
  auto* png = dynamic_cast<TPNGGraphic*>(picture.Graphic());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->PixelAt(2, 1), (Pixel32{1, 2, 3, 255}));
  auto target = Background(3, 2);
  picture.Draw(target->Canvas(), RECT{0, 0, 3, 2});
  EXPECT_EQ(target->View().At(0, 0), (Pixel32{1, 2, 3, 255}));

  // A damaged PNG and an unknown extension fail clearly and keep the picture.
  const auto damaged = TempFile("kestamor-damaged.png");
  std::ofstream(damaged, std::ios::binary) << "\x89PNG\r\n\x1a\n not really";
  EXPECT_THROW(picture.LoadFromFile(damaged.string()), EPNGError);
  try {
    picture.LoadFromFile(TempFile("kestamor-picture.xyz").string());
    ADD_FAILURE() << "an unknown extension loaded";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Unknown picture file extension (.xyz)");
  }
  EXPECT_EQ(dynamic_cast<TPNGGraphic*>(picture.Graphic()), png);
  EXPECT_EQ(picture.Width(), 3);
  std::filesystem::remove(good);
  std::filesystem::remove(damaged);
}

}  // namespace
