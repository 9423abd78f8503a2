// The installer's art as the build leaves it: the licence files byte for byte,
// and the background picture artgen draws.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "installer/InflateZlib.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << path;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string SourceArt(const char* name) { return std::string(KESTAMOR_SOURCE_DIR) + "/resources/art/" + name; }
std::string BuiltArt(const char* name) { return std::string(KESTAMOR_BINARY_DIR) + "/resources/" + name; }

// Splits at CR LF; a CR or LF anywhere else is reported as a failure.
std::vector<std::string> SplitCrLf(const Bytes& b) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n') {
      lines.emplace_back();
      ++i;
    } else {
      EXPECT_TRUE(b[i] != '\r' && b[i] != '\n') << "bare line break at byte " << i;
      lines.back() += static_cast<char>(b[i]);
    }
  }
  return lines;
}

// Code page 1252 text using the en dash, right single quote and both double
// quotes, and nothing else outside ASCII (so no UTF-8 sequences either).
void ExpectWindows1252(const Bytes& b) {
  for (std::uint8_t ch : {0x96, 0x92, 0x93, 0x94})
    EXPECT_NE(std::find(b.begin(), b.end(), ch), b.end()) << "missing byte " << int(ch);
  for (std::size_t i = 0; i < b.size(); ++i) {
    std::uint8_t ch = b[i];
    bool ok = (ch >= 0x20 && ch < 0x7F) || ch == '\r' || ch == '\n' || ch == 0x96 || ch == 0x92 || ch == 0x93 ||
              ch == 0x94;
    EXPECT_TRUE(ok) << "unexpected byte " << int(ch) << " at " << i;
  }
}

int CountEmpty(const std::vector<std::string>& lines) {
  int n = 0;
  for (const auto& l : lines) n += l.empty();
  return n;
}

TEST(Licence, AgreementIsThirtyCrLfLinesInCodePage1252) {
  Bytes b = ReadFile(SourceArt("licence.txt"));
  ExpectWindows1252(b);
  auto lines = SplitCrLf(b);
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(CountEmpty(lines), 10);
  EXPECT_EQ(lines.front(), "Kestamor End User License Agreement");
  EXPECT_FALSE(lines.back().empty()) << "the text ends with its last line, not a line break";
  for (const auto& l : lines) EXPECT_EQ(l.find("  "), std::string::npos) << l;
}

TEST(Licence, LineListIsTheSameAgreementWrappedIntoNinetySevenLines) {
  Bytes b = ReadFile(SourceArt("licence-lines.txt"));
  ExpectWindows1252(b);
  auto wrapped = SplitCrLf(b);
  ASSERT_EQ(wrapped.size(), 97u);
  auto lines = SplitCrLf(ReadFile(SourceArt("licence.txt")));

  // Each agreement line is one or more wrapped lines joined by single spaces.
  std::size_t w = 0;
  for (const std::string& line : lines) {
    ASSERT_LT(w, wrapped.size()) << "line list ends before: " << line;
    if (line.empty()) {
      EXPECT_TRUE(wrapped[w++].empty());
      continue;
    }
    std::string joined = wrapped[w++];
    while (joined.size() < line.size() && w < wrapped.size() && !wrapped[w].empty()) joined += " " + wrapped[w++];
    EXPECT_EQ(joined, line);
  }
  EXPECT_EQ(w, wrapped.size());
  for (const auto& l : wrapped) {
    EXPECT_LE(l.size(), 80u) << "not wrapped: " << l;
    EXPECT_TRUE(l.empty() || (l.front() != ' ' && l.back() != ' ')) << "'" << l << "'";
  }
}

TEST(Licence, BuildCopiesBothFilesUnchanged) {
  EXPECT_EQ(ReadFile(BuiltArt("licence.txt")), ReadFile(SourceArt("licence.txt")));
  EXPECT_EQ(ReadFile(BuiltArt("licence-lines.txt")), ReadFile(SourceArt("licence-lines.txt")));
}

std::uint32_t Le(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

int Luma(Pixel32 p) { return (p.R * 299 + p.G * 587 + p.B * 114) / 1000; }

TEST(Background, IsAComplete480By422Uncompressed24BitBmp) {
  Bytes b = ReadFile(BuiltArt("background.bmp"));
  ASSERT_GE(b.size(), 54u);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(Le(b, 2, 4), b.size());
  EXPECT_EQ(Le(b, 10, 4), 54u);
  EXPECT_EQ(Le(b, 14, 4), 40u);
  EXPECT_EQ(Le(b, 18, 4), 480u);
  EXPECT_EQ(Le(b, 22, 4), 422u);
  EXPECT_EQ(Le(b, 28, 2), 24u);
  EXPECT_EQ(Le(b, 30, 4), 0u);
  EXPECT_EQ(b.size(), 54u + 480u * 3u * 422u);
}

// What the window shows of the picture: the top band and left column carry the
// name and imagery; what the page panels cover stays free of detail.
TEST(Background, DetailLivesWhereThePanelsDoNotCoverIt) {
  Bytes b = ReadFile(BuiltArt("background.bmp"));
  int bpp = 0;
  Bitmap32 art = ReadBmp(b.data(), b.size(), &bpp);
  ASSERT_EQ(bpp, 24);
  ASSERT_EQ(art.Width(), 480);
  ASSERT_EQ(art.Height(), 422);

  // Light lettering on the dark ground in the visible top band.
  int bright = 0;
  for (int y = 10; y < 95; ++y)
    for (int x = 121; x < 475; ++x) bright += Luma(art.At(x, y)) > 200;
  EXPECT_GT(bright, 800);

  int darkest = 255, brightest = 0, roughest = 0;
  for (int y = 0; y < 422; ++y)
    for (int x = 0; x < 480; ++x) {
      int l = Luma(art.At(x, y));
      darkest = std::min(darkest, l);
      brightest = std::max(brightest, l);
      // Deep under the panels: neighbours differ by no more than gradient and dither.
      if (x > 131 && y > 110) {
        roughest = std::max(roughest, std::abs(l - Luma(art.At(x - 1, y))));
        roughest = std::max(roughest, std::abs(l - Luma(art.At(x, y - 1))));
      }
    }
  EXPECT_LT(darkest, 30) << "a dark theme";
  EXPECT_GT(brightest, 220);
  EXPECT_LE(roughest, 3);

  // Garnet: the left column leans to red.
  long red = 0, green = 0;
  for (int y = 100; y < 422; ++y)
    for (int x = 0; x < 121; ++x) {
      red += art.At(x, y).R;
      green += art.At(x, y).G;
    }
  EXPECT_GT(red, green * 3 / 2);
}

// The program carries the picture compressed: what it inflates must be the "BM" file image
// itself, and a damaged stream must give no picture rather than part of one.
TEST(Background, StoredCompressedInflatesToTheSameFileImage) {
  const Bytes bmp = ReadFile(BuiltArt("background.bmp"));
  const Bytes z = ReadFile(BuiltArt("background.bmp.z"));
  ASSERT_FALSE(z.empty());
  EXPECT_LT(z.size(), bmp.size() / 2);
  EXPECT_EQ(InflateZlib(z), bmp);

  EXPECT_TRUE(InflateZlib(std::span(z).first(z.size() - 1)).empty()) << "cut short";
  Bytes trailing = z;
  trailing.push_back(0);
  EXPECT_TRUE(InflateZlib(trailing).empty()) << "bytes after the stream";
  Bytes damaged = z;
  damaged[damaged.size() - 2] ^= 0x55;  // the checksum no longer matches
  EXPECT_TRUE(InflateZlib(damaged).empty()) << "damaged";
  EXPECT_TRUE(InflateZlib({}).empty());
}

Bitmap32 ReadPng(const std::string& path) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return {};
  img.format = PNG_FORMAT_BGRA;
  Bitmap32 out(static_cast<int>(img.width), static_cast<int>(img.height));
  if (!png_image_finish_read(&img, nullptr, &out.At(0, 0), static_cast<png_int_32>(img.width * 4), nullptr)) return {};
  return out;
}

TEST(Background, ArtgenDrawsTheSameBytesEveryTimeAndAMatchingPreview) {
  const std::string tool = std::string(KESTAMOR_BINARY_DIR) + "/tools/artgen/artgen";
  const std::string dir = ::testing::TempDir();
  const std::string again = dir + "artgen_again.bmp", preview = dir + "artgen_preview.png";
  ASSERT_EQ(std::system(("\"" + tool + "\" \"" + again + "\" --preview \"" + preview + "\"").c_str()), 0);
  Bytes built = ReadFile(BuiltArt("background.bmp"));
  EXPECT_EQ(ReadFile(again), built);

  Bitmap32 bmp = ReadBmp(built.data(), built.size());
  Bitmap32 png = ReadPng(preview);
  ASSERT_EQ(png.Width(), bmp.Width());
  ASSERT_EQ(png.Height(), bmp.Height());
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) ASSERT_EQ(png.At(x, y), bmp.At(x, y)) << x << "," << y;

  EXPECT_NE(std::system(("\"" + tool + "\" > /dev/null 2>&1").c_str()), 0) << "no output named";
  std::remove(again.c_str());
  std::remove(preview.c_str());
}

}  // namespace
