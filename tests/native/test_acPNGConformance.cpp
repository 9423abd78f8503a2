// Decodes reference images with our decoder and with libpng and compares every
// pixel. libpng supplies raw samples; the expected colour is derived from them
// the way our output is defined: 16-bit samples reduced as s * 255 / 65535
// rounded down, sub-byte greys spread over the ramp, colours (not alpha) through
// the gamma table of the file's gAMA chunk with display gamma 2.2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "image/acPNG.h"
#include "tests/native/test_acPNGSupport.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

uint32_t BE32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// The value of the first gAMA chunk before the image data, if any.
std::optional<uint32_t> FileGamma(const std::vector<uint8_t>& png) {
  for (size_t pos = 8; pos + 12 <= png.size();) {
    const uint32_t len = BE32(&png[pos]);
    const std::string type(reinterpret_cast<const char*>(&png[pos + 4]), 4);
    if (type == "IDAT" || type == "IEND") break;
    if (type == "gAMA" && len == 4 && pos + 12 <= png.size()) return BE32(&png[pos + 8]);
    pos += size_t(len) + 12;
  }
  return std::nullopt;
}

std::array<uint8_t, 256> GammaTable(std::optional<uint32_t> g) {
  std::array<uint8_t, 256> t;
  for (int i = 0; i < 256; ++i) t[i] = uint8_t(i);
  if (!g) return t;
  const double m = *g > 0 ? *g / 100000.0 : 1.0;
  for (int i = 0; i < 256; ++i) t[i] = uint8_t(std::nearbyint(std::pow(i / 255.0, 1.0 / (m * 2.2)) * 255.0));
  return t;
}

uint8_t To8(uint16_t s, int depth) {
  switch (depth) {
    case 16: return uint8_t(s / 257);
    case 4: return uint8_t(s * 17);
    case 2: return uint8_t(s * 85);
    case 1: return uint8_t(s * 255);
    default: return uint8_t(s);
  }
}

Pixel32 Expected(const pngref::Image& r, const std::array<uint8_t, 256>& t, uint32_t x, uint32_t y) {
  switch (r.colorType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
      const uint8_t g = t[To8(r.At(x, y, 0), r.depth)];
      return {g, g, g, 255};  // grey with alpha keeps only the grey
    }
    case PNG_COLOR_TYPE_PALETTE: {
      const uint16_t i = r.At(x, y, 0);
      if (i >= r.palette.size()) return {0, 0, 0, 255};
      const png_color c = r.palette[i];
      return {t[c.blue], t[c.green], t[c.red], 255};  // palette transparency is not applied
    }
    case PNG_COLOR_TYPE_RGB:
      return {t[To8(r.At(x, y, 2), r.depth)], t[To8(r.At(x, y, 1), r.depth)], t[To8(r.At(x, y, 0), r.depth)], 255};
    default:
      return {t[To8(r.At(x, y, 2), r.depth)], t[To8(r.At(x, y, 1), r.depth)], t[To8(r.At(x, y, 0), r.depth)],
              To8(r.At(x, y, 3), r.depth)};
  }
}

TPixelFormat ExpectedFormat(int colorType, int depth) {
  switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return TPixelFormat::pf24bit;
    case PNG_COLOR_TYPE_RGB_ALPHA: return TPixelFormat::pf32bit;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return TPixelFormat::pf8bit;
    default: return depth == 1 ? TPixelFormat::pf1bit : depth <= 4 ? TPixelFormat::pf4bit : TPixelFormat::pf8bit;
  }
}

// Decodes with both and compares format, every pixel and the transparent colour.
void ExpectSameAsLibpng(const std::vector<uint8_t>& png, const std::string& what) {
  SCOPED_TRACE(what);
  const pngref::Image ref = pngref::Read(png.data(), png.size());
  TPNGGraphic ours;
  ASSERT_NO_THROW(ours.LoadFromMemory(png.data(), png.size()));
  ASSERT_EQ(ours.Width(), int(ref.width));
  ASSERT_EQ(ours.Height(), int(ref.height));
  EXPECT_EQ(ours.PixelFormat(), ExpectedFormat(ref.colorType, ref.depth));
  EXPECT_EQ(ours.ImageProperties().Interlaced, ref.interlaced);

  const auto table = GammaTable(FileGamma(png));
  const Bitmap32 bmp = ours.ToBitmap32();
  int mismatches = 0;
  for (uint32_t y = 0; y < ref.height; ++y)
    for (uint32_t x = 0; x < ref.width; ++x) {
      const Pixel32 want = Expected(ref, table, x, y), got = bmp.At(int(x), int(y));
      if (want != got && ++mismatches <= 3)
        ADD_FAILURE() << "pixel " << x << "," << y << ": want BGRA " << int(want.B) << " " << int(want.G) << " "
                      << int(want.R) << " " << int(want.A) << ", got " << int(got.B) << " " << int(got.G) << " "
                      << int(got.R) << " " << int(got.A);
    }
  EXPECT_EQ(mismatches, 0);

  // A transparent colour must be exactly the colour the matching samples decode to.
  const bool greyOrRGB = ref.colorType == PNG_COLOR_TYPE_GRAY || ref.colorType == PNG_COLOR_TYPE_RGB;
  EXPECT_EQ(ours.Transparent(), greyOrRGB && ref.hasTransparentSample);
  if (ours.Transparent()) {
    const png_color_16 t = ref.transparentSample;
    for (uint32_t y = 0; y < ref.height; ++y)
      for (uint32_t x = 0; x < ref.width; ++x) {
        const bool match = ref.colorType == PNG_COLOR_TYPE_GRAY
                               ? ref.At(x, y, 0) == t.gray
                               : ref.At(x, y, 0) == t.red && ref.At(x, y, 1) == t.green && ref.At(x, y, 2) == t.blue;
        if (match) {
          ASSERT_EQ(bmp.At(int(x), int(y)), *ours.TransparentColor()) << x << "," << y;
        }
      }
  }
}

fs::path ReferenceFolder() { return fs::path(KESTAMOR_SOURCE_DIR) / "build" / "deps" / "pngsuite"; }

std::vector<fs::path> PngsIn(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".png") out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

void RequireReferenceImages() {
  if (!fs::exists(ReferenceFolder() / ".complete"))
    FAIL() << "The PNG reference images are missing from " << ReferenceFolder()
           << ": run scripts/setup (it fetches Debian's libpng1.6 source package).";
}

}  // namespace

TEST(PNGConformance, PngSuiteAndLibpngTestImagesDecodeLikeLibpng) {
  RequireReferenceImages();
  int count = 0;
  for (const char* sub : {"", "interlaced", "testpngs"})
    for (const fs::path& p : PngsIn(ReferenceFolder() / sub)) {
      ExpectSameAsLibpng(ReadFile(p), p.filename().string());
      ++count;
    }
  EXPECT_GE(count, 160);
}

TEST(PNGConformance, DamagedReferenceFilesFailWithTheirMessages) {
  RequireReferenceImages();
  const fs::path dir = ReferenceFolder() / "crashers";
  // Chunks longer than the file run into its end; only the file whose damage
  // lies in empty ancillary chunks loads.
  const std::map<std::string, std::string> expected = {
      {"bad_iCCP.png", "Cannot load image. Invalid or unexpected PNG image format."},  // IHDR CRC
      {"badadler.png", "Cannot load image. Compression error found in PNG file."},
      {"badcrc.png", "Cannot load image. CRC error found in PNG file."},
  };
  auto messageFor = [&](const std::string& name) -> std::optional<std::string> {
    if (name.rfind("huge_", 0) == 0) return "Stream read error";
    if (auto it = expected.find(name); it != expected.end()) return it->second;
    return std::nullopt;
  };
  int failures = 0;
  for (const fs::path& p : PngsIn(dir)) {
    SCOPED_TRACE(p.filename().string());
    const auto bytes = ReadFile(p);
    TPNGGraphic g;
    const auto want = messageFor(p.filename().string());
    try {
      g.LoadFromMemory(bytes.data(), bytes.size());
      EXPECT_FALSE(want) << "loaded";
    } catch (const EPNGError& e) {
      ++failures;
      ASSERT_TRUE(want) << e.what();
      EXPECT_EQ(e.what(), *want);
    }
  }
  EXPECT_GE(failures, 20);
}

// libpng writes every colour type and depth, interlaced or not, with each
// filter type alone and with the adaptive choice, in sizes that leave Adam7
// passes empty and rows ending inside a byte.
TEST(PNGConformance, LibpngWrittenImagesOfEveryFormatDecodeLikeLibpng) {
  struct Format {
    int colorType, depth;
  };
  const Format formats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                            {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
  const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH,
                         PNG_ALL_FILTERS};
  const std::pair<uint32_t, uint32_t> sizes[] = {{1, 1}, {3, 9}, {17, 13}, {45, 37}};
  std::mt19937 rng(7);
  for (const Format& f : formats)
    for (bool interlaced : {false, true})
      for (int filter : filters)
        for (auto [w, h] : sizes) {
          pngref::Image img;
          img.width = w, img.height = h, img.colorType = f.colorType, img.depth = f.depth;
          img.interlaced = interlaced;
          const uint32_t maxSample = (1u << f.depth) - 1;
          if (f.colorType == 3) {
            // A palette shorter than the index range: indexes past its end read as black.
            const int entries = std::max(1, int(maxSample + 1) - 1);
            for (int i = 0; i < entries; ++i)
              img.palette.push_back({uint8_t(rng()), uint8_t(rng()), uint8_t(rng())});
            img.paletteAlpha = {0, 128};
            img.paletteAlpha.resize(std::min<size_t>(2, img.palette.size()));
          }
          // Gradients with noise, so that every filter has something to predict.
          for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
              for (int c = 0; c < img.Channels(); ++c) {
                const uint32_t v = (x * 37 + y * 11 + uint32_t(c) * 50) * (maxSample / 255 + 1) + rng() % 7;
                img.samples.push_back(uint16_t(v % (maxSample + 1)));
              }
          if (f.colorType == 0 || f.colorType == 2) {
            img.hasTransparentSample = true;
            img.transparentSample.gray = img.samples[0];
            img.transparentSample.red = img.samples[0];
            img.transparentSample.green = f.colorType == 2 ? img.samples[1] : 0;
            img.transparentSample.blue = f.colorType == 2 ? img.samples[2] : 0;
          }
          const int gamma = (w + filter) % 2 ? 45000 : 0;
          const auto png = pngref::Write(img, filter, gamma);
          ExpectSameAsLibpng(png, "type " + std::to_string(f.colorType) + " depth " + std::to_string(f.depth) +
                                      (interlaced ? " interlaced" : "") + " filter " + std::to_string(filter) +
                                      " size " + std::to_string(w) + "x" + std::to_string(h) +
                                      " gamma " + std::to_string(gamma));
        }
}
