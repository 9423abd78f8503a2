// The decoder's own choices: failure messages, which chunks are checked, gamma,
// chunk-type case, palette transparency, progress and stream positioning.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <sstream>

#include "image/acPNG.h"
#include "image/acPNGColor.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

Bytes Chunk(const char* type, const Bytes& data, bool badCrc = false) {
  Bytes c;
  Put32(c, uint32_t(data.size()));
  c.insert(c.end(), type, type + 4);
  c.insert(c.end(), data.begin(), data.end());
  uint32_t crc = uint32_t(crc32(crc32(0, reinterpret_cast<const Bytef*>(type), 4), data.data(), uInt(data.size())));
  Put32(c, badCrc ? crc ^ 1 : crc);
  return c;
}

Bytes IHDR(uint32_t w, uint32_t h, uint8_t depth, uint8_t colorType, uint8_t interlace = 0, uint8_t compression = 0) {
  Bytes d;
  Put32(d, w);
  Put32(d, h);
  d.insert(d.end(), {depth, colorType, compression, 0, interlace});
  return d;
}

Bytes Zlib(const Bytes& raw) {
  uLongf n = compressBound(uLong(raw.size()));
  Bytes out(n);
  compress2(out.data(), &n, raw.data(), uLong(raw.size()), 9);
  out.resize(n);
  return out;
}

Bytes Png(std::initializer_list<Bytes> chunks) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const Bytes& c : chunks) png.insert(png.end(), c.begin(), c.end());
  return png;
}

Bytes Gamma(uint32_t g) {
  Bytes d;
  Put32(d, g);
  return d;
}

// A 2 x 2 RGBA image, unfiltered rows: red half-transparent, green, blue, (128,128,128,7).
const Bytes kRGBARows = {0, 255, 0, 0, 128, 0, 255, 0, 255, 0, 0, 0, 255, 255, 128, 128, 128, 7};
Bytes RGBA(std::initializer_list<Bytes> beforeIDAT = {}, const char* idat = "IDAT") {
  Bytes png = Png({Chunk("IHDR", IHDR(2, 2, 8, 6))});
  for (const Bytes& c : beforeIDAT) png.insert(png.end(), c.begin(), c.end());
  for (const Bytes& c : {Chunk(idat, Zlib(kRGBARows)), Chunk("IEND", {})}) png.insert(png.end(), c.begin(), c.end());
  return png;
}

std::string LoadError(const Bytes& png) {
  TPNGGraphic g;
  try {
    g.LoadFromMemory(png.data(), png.size());
  } catch (const EPNGError& e) {
    return e.what();
  }
  return "loaded";
}

const char kInvalid[] = "Cannot load image. Invalid or unexpected PNG image format.";
const char kCRC[] = "Cannot load image. CRC error found in PNG file.";
const char kCompression[] = "Cannot load image. Compression error found in PNG file.";
const char kExtra[] = "Cannot load image. Extra compressed data found in PNG file.";
const char kColorFormat[] = "Invalid color format in PNG file.";
const char kCritical[] = "Cannot load PNG image. Unexpected but critical chunk detected.";

}  // namespace

TEST(PNGDecoder, MalformedFilesFailWithTheExactMessage) {
  const Bytes grey1 = {0, 0x55};  // one row of a 8 x 1 one-bit grey image
  const Bytes plte = Chunk("PLTE", {0, 0, 0, 255, 255, 255});
  Bytes badSig = RGBA();
  badSig[1] = 'p';
  const Bytes good = RGBA();
  const Bytes twoRows = Zlib({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});  // one row short
  Bytes trailing = Zlib(kRGBARows);
  trailing.insert(trailing.end(), {1, 2, 3, 4});
  Bytes garbage = Zlib(kRGBARows);
  garbage[1] ^= 1;  // zlib header check fails

  const struct {
    const char* what;
    Bytes png;
    std::string message;
  } cases[] = {
      {"wrong signature", badSig, kInvalid},
      {"shorter than a signature", Bytes(good.begin(), good.begin() + 5), kInvalid},
      {"first chunk not IHDR", Png({Chunk("gAMA", Gamma(45454)), Chunk("IHDR", IHDR(2, 2, 8, 6))}), kInvalid},
      {"zero width", Png({Chunk("IHDR", IHDR(0, 2, 8, 6)), Chunk("IEND", {})}), kInvalid},
      {"zero height", Png({Chunk("IHDR", IHDR(2, 0, 8, 6)), Chunk("IEND", {})}), kInvalid},
      {"IHDR CRC", Png({Chunk("IHDR", IHDR(2, 2, 8, 6), true), Chunk("IEND", {})}), kInvalid},
      {"wider than the limit", Png({Chunk("IHDR", IHDR(40000, 1, 8, 6)), Chunk("IEND", {})}), kInvalid},
      {"more pixels than the limit", Png({Chunk("IHDR", IHDR(30000, 30000, 1, 0)), Chunk("IEND", {})}), kInvalid},
      {"no image data", Png({Chunk("IHDR", IHDR(2, 2, 8, 6)), Chunk("IEND", {})}), kInvalid},
      {"compression method 1", Png({Chunk("IHDR", IHDR(2, 2, 8, 6, 0, 1)), Chunk("IEND", {})}),
       "Cannot load image. The compression scheme is not supported for PNG files."},
      {"palette of 10 bytes", Png({Chunk("IHDR", IHDR(8, 1, 1, 3)), Chunk("PLTE", Bytes(10)), Chunk("IEND", {})}),
       "Cannot load image. Palette in PNG file is invalid."},
      {"palette image without a palette", Png({Chunk("IHDR", IHDR(8, 1, 1, 3)), Chunk("IDAT", Zlib(grey1)), Chunk("IEND", {})}),
       "Cannot load image. Palette in PNG file is invalid."},
      {"PLTE CRC", Png({Chunk("IHDR", IHDR(8, 1, 1, 3)), Chunk("PLTE", Bytes(6), true), Chunk("IEND", {})}), kCRC},
      {"gAMA CRC", RGBA({Chunk("gAMA", Gamma(45454), true)}), kCRC},
      {"bKGD CRC", RGBA({Chunk("bKGD", Bytes(6), true)}), kCRC},
      {"tRNS CRC", RGBA({Chunk("tRNS", Bytes(6), true)}), kCRC},
      {"IDAT CRC", Png({Chunk("IHDR", IHDR(8, 1, 1, 0)), Chunk("IDAT", Zlib(grey1), true), Chunk("IEND", {})}), kCRC},
      {"broken zlib stream", Png({Chunk("IHDR", IHDR(2, 2, 8, 6)), Chunk("IDAT", garbage), Chunk("IEND", {})}),
       kCompression},
      {"image data cut short", Png({Chunk("IHDR", IHDR(2, 2, 8, 6)), Chunk("IDAT", Bytes(twoRows.begin(), twoRows.end() - 9)),
                                    Chunk("IEND", {})}),
       kCompression},
      {"zlib stream ends inside a row", Png({Chunk("IHDR", IHDR(2, 2, 8, 6)), Chunk("IDAT", twoRows), Chunk("IEND", {})}),
       kExtra},
      {"bytes after the zlib stream", Png({Chunk("IHDR", IHDR(2, 2, 8, 6)), Chunk("IDAT", trailing), Chunk("IEND", {})}),
       kExtra},
      {"second run of image data", Png({Chunk("IHDR", IHDR(8, 1, 1, 0)), Chunk("IDAT", Zlib(grey1)), Chunk("tEXt", {}),
                                        Chunk("IDAT", Zlib(grey1)), Chunk("IEND", {})}),
       kExtra},
      {"unknown critical chunk", RGBA({Chunk("ABCD", {})}), kCritical},
      {"palette after the image data", Png({Chunk("IHDR", IHDR(8, 1, 1, 0)), Chunk("IDAT", Zlib(grey1)), plte,
                                            Chunk("IEND", {})}),
       kCritical},
      {"RGB of depth 4", Png({Chunk("IHDR", IHDR(1, 1, 4, 2)), Chunk("IDAT", Zlib({0, 0})), Chunk("IEND", {})}),
       kColorFormat},
      {"colour type 1", Png({Chunk("IHDR", IHDR(1, 1, 8, 1)), Chunk("IDAT", Zlib({0, 0})), Chunk("IEND", {})}),
       kColorFormat},
      {"palette of depth 16", Png({Chunk("IHDR", IHDR(1, 1, 16, 3)), plte, Chunk("IEND", {})}), kColorFormat},
      {"file ends inside the image data", Bytes(good.begin(), good.end() - 20), "Stream read error"},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadError(c.png), c.message) << c.what;
  EXPECT_EQ(LoadError(good), "loaded");
}

TEST(PNGDecoder, OnlyTheChunksItReadsAreCRCChecked) {
  // Ancillary chunks the decoder skips may carry any CRC.
  const Bytes png = RGBA({Chunk("pHYs", Bytes(9), true), Chunk("iCCP", Bytes(20), true),
                          Chunk("cHRM", Bytes(32), true), Chunk("tEXt", {'a', 0, 'b'}, true)});
  EXPECT_EQ(LoadError(png), "loaded");
}

TEST(PNGDecoder, RGBAComesOutStraightAndReorderedThroughGamma) {
  TPNGGraphic g;
  const Bytes identity = RGBA({Chunk("gAMA", Gamma(45454))});
  g.LoadFromMemory(identity.data(), identity.size());
  ASSERT_EQ(g.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_TRUE(g.ImageProperties().GammaCorrection);
  EXPECT_NEAR(g.ImageProperties().FileGamma, 0.45454, 1e-9);
  Bitmap32 b = g.ToBitmap32();
  EXPECT_EQ(b.At(0, 0), (Pixel32{0, 0, 255, 128}));  // not premultiplied
  EXPECT_EQ(b.At(1, 0), (Pixel32{0, 255, 0, 255}));
  EXPECT_EQ(b.At(0, 1), (Pixel32{255, 0, 0, 255}));
  EXPECT_EQ(b.At(1, 1), (Pixel32{128, 128, 128, 7}));

  // 0.45 darkens mid-tones by one step; alpha never goes through the table.
  const Bytes darker = RGBA({Chunk("gAMA", Gamma(45000))});
  g.LoadFromMemory(darker.data(), darker.size());
  b = g.ToBitmap32();
  EXPECT_EQ(b.At(1, 1), (Pixel32{127, 127, 127, 7}));
  EXPECT_EQ(b.At(0, 0), (Pixel32{0, 0, 255, 128}));

  // Without gAMA there is no correction at all.
  const Bytes plain = RGBA();
  g.LoadFromMemory(plain.data(), plain.size());
  EXPECT_FALSE(g.ImageProperties().GammaCorrection);
  EXPECT_EQ(g.ToBitmap32().At(1, 1), (Pixel32{128, 128, 128, 7}));
}

TEST(PNGDecoder, GammaTableFollowsTheDisplayGammaFormula) {
  TColorManager c;
  c.SetGamma(0.45454);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(c.Gamma(uint8_t(i)), i);
  c.SetGamma(0.45);
  EXPECT_EQ(c.Gamma(128), 127);
  EXPECT_EQ(c.Gamma(0), 0);
  EXPECT_EQ(c.Gamma(255), 255);
  c.SetGamma(0);  // not positive: treated as 1.0, a strong brightening
  EXPECT_EQ(c.Gamma(128), 186);
}

TEST(PNGDecoder, ChunkTypesIgnoreLetterCase) {
  TPNGGraphic g;
  const Bytes lower = RGBA({Chunk("GAMA", Gamma(45000))}, "idat");
  ASSERT_EQ(LoadError(lower), "loaded");
  g.LoadFromMemory(lower.data(), lower.size());
  EXPECT_EQ(g.ToBitmap32().At(1, 1), (Pixel32{127, 127, 127, 7}));
  // The case bit of the first letter still decides whether a chunk is critical.
  EXPECT_EQ(LoadError(RGBA({Chunk("aBCD", {})})), "loaded");
}

TEST(PNGDecoder, PaletteTransparencyIsReadButPixelsStayOpaque) {
  // 4 x 1, two-bit indexes 0, 1, 2, 3 against a three-entry palette.
  const Bytes png = Png({Chunk("IHDR", IHDR(4, 1, 2, 3)), Chunk("PLTE", {10, 20, 30, 40, 50, 60, 70, 80, 90}),
                         Chunk("tRNS", {0, 0, 0}), Chunk("IDAT", Zlib({0, 0x1B})), Chunk("IEND", {})});
  TPNGGraphic g;
  g.LoadFromMemory(png.data(), png.size());
  EXPECT_EQ(g.PixelFormat(), TPixelFormat::pf4bit);
  EXPECT_FALSE(g.Transparent());
  const Bitmap32 b = g.ToBitmap32();
  EXPECT_EQ(b.At(0, 0), (Pixel32{30, 20, 10, 255}));
  EXPECT_EQ(b.At(2, 0), (Pixel32{90, 80, 70, 255}));
  EXPECT_EQ(b.At(3, 0), (Pixel32{0, 0, 0, 255}));  // past the palette: black, never outside it
}

TEST(PNGDecoder, ClearTransparentWhiteTouchesOnlyFullyTransparentWhite) {
  Bitmap32 b(3, 1);
  b.At(0, 0) = {255, 255, 255, 0};
  b.At(1, 0) = {255, 255, 255, 1};
  b.At(2, 0) = {255, 254, 255, 0};
  ClearTransparentWhite(b);
  EXPECT_EQ(b.At(0, 0), (Pixel32{0, 0, 0, 0}));
  EXPECT_EQ(b.At(1, 0), (Pixel32{255, 255, 255, 1}));
  EXPECT_EQ(b.At(2, 0), (Pixel32{255, 254, 255, 0}));

  TDibImage dib;
  dib.SetSize(TPixelFormat::pf24bit, 1, 1);
  std::memset(dib.ScanLine(0), 255, 3);
  ClearTransparentWhite(dib);  // 24-bit images have no alpha to test
  EXPECT_EQ(dib.ScanLine(0)[0], 255);
  dib.SetSize(TPixelFormat::pf32bit, 1, 1);
  std::memset(dib.ScanLine(0), 255, 3);
  ClearTransparentWhite(dib);
  EXPECT_EQ(dib.PixelAt(0, 0), (Pixel32{0, 0, 0, 0}));
}

TEST(PNGDecoder, ProgressRunsFromPreparingThroughEveryRowToTheEnd) {
  std::vector<std::string> log;
  TPNGGraphic g;
  g.OnProgress = [&](TProgressStage s, int percent, const std::string& msg) {
    log.push_back(std::to_string(int(s)) + ":" + std::to_string(percent) + ":" + msg);
  };
  const Bytes png = RGBA();
  g.LoadFromMemory(png.data(), png.size());
  EXPECT_EQ(log, (std::vector<std::string>{"0:0:Preparing...", "1:0:Transfering...", "1:50:", "1:100:", "2:100:"}));

  // A failed load still reports the end.
  log.clear();
  const Bytes broken = RGBA({Chunk("ABCD", {})});
  EXPECT_THROW(g.LoadFromMemory(broken.data(), broken.size()), EInvalidGraphic);
  EXPECT_EQ(log.back(), "2:100:");
}

TEST(PNGDecoder, LoadsFromTheMiddleOfAStreamAndStopsAfterIEND) {
  const Bytes png = RGBA();
  std::string data = "prefix" + std::string(png.begin(), png.end()) + "suffix";
  std::istringstream s(data);
  s.seekg(6);
  TPNGGraphic g;
  g.LoadFromStream(s);
  EXPECT_EQ(g.Width(), 2);
  std::string rest;
  s >> rest;
  EXPECT_EQ(rest, "suffix");
  EXPECT_THROW(g.LoadFromFile("/nonexistent/x.png"), EFOpenError);
}

TEST(PNGDecoder, ColorConverterRefusesLayoutsItCannotConvert) {
  TColorManager c;
  auto message = [&](TSampleLayout l, TPixelFormat f) -> std::string {
    try {
      c.SetSourceAndTarget(l, f);
    } catch (const EColorConversionError& e) {
      return e.what();
    }
    return "accepted";
  };
  EXPECT_EQ(message({TColorScheme::csG, 3, 1}, TPixelFormat::pf8bit),
            "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
  EXPECT_EQ(message({TColorScheme::csRGB, 8, 4}, TPixelFormat::pf24bit),
            "Sample count per pixel does not correspond to the given color scheme.");
  EXPECT_EQ(message({TColorScheme::csIndexed, 8, 1}, TPixelFormat::pf24bit),
            "Conversion between indexed and non-indexed pixel formats is not supported.");
  EXPECT_EQ(message({TColorScheme::csRGBA, 8, 4}, TPixelFormat::pf8bit),
            "Conversion between indexed and non-indexed pixel formats is not supported.");
  EXPECT_EQ(message({TColorScheme::csG, 8, 1}, TPixelFormat::pf24bit),
            "Color conversion failed. Could not find a proper method.");
  EXPECT_EQ(message({TColorScheme::csRGBA, 16, 4}, TPixelFormat::pf32bit), "accepted");
}
