// Skin pictures whose headers claim far more than their data holds: the readers' work and
// memory must follow the data, so each of these costs about what its real data costs to
// decode (microseconds to a few milliseconds), never the claimed picture (over a second and
// 256 MB each when the picture was allocated from the header).
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <zlib.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "image/BmpFile.h"
#include "image/acPNG.h"
#include "skin/data/sSkinModelJpeg.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32LE(Bytes& v, std::size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}
void Append32BE(Bytes& v, uint32_t x) {
  for (int i = 3; i >= 0; --i) v.push_back(uint8_t(x >> (8 * i)));
}

// 8192 x 8192 RLE8 with 1 KB of runs.
Bytes ForgedRleBmp() {
  Bytes f(54 + 1024, 0);
  f[0] = 'B', f[1] = 'M';
  Put32LE(f, 10, 54 + 1024);
  Put32LE(f, 14, 40);
  Put32LE(f, 18, 8192);
  Put32LE(f, 22, 8192);
  f[26] = 1, f[28] = 8, f[30] = 1;  // planes, 8 bits, RLE8
  for (int i = 0; i < 512; ++i) f.insert(f.end(), {255, 7});
  return f;
}

void AppendChunk(Bytes& png, const char* type, const Bytes& data) {
  Append32BE(png, uint32_t(data.size()));
  const std::size_t at = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  Append32BE(png, uint32_t(crc32(0, &png[at], uInt(data.size() + 4))));
}

// 8192 x 8192 RGBA whose image data ends after its first row.
Bytes ForgedPng() {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes ihdr;
  Append32BE(ihdr, 8192);
  Append32BE(ihdr, 8192);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  AppendChunk(png, "IHDR", ihdr);
  const Bytes row(8192 * 4 + 1, 0);
  uLongf size = compressBound(uLong(row.size()));
  Bytes idat(size);
  compress2(idat.data(), &size, row.data(), uLong(row.size()), 9);
  idat.resize(size);
  AppendChunk(png, "IDAT", idat);
  AppendChunk(png, "IEND", {});
  return png;
}

// A busy 512 x 512 JPEG.
Bytes Jpeg() {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = c.image_height = 512;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(512 * 3);
  while (c.next_scanline < c.image_height) {
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<unsigned char>(i * 37 + c.next_scanline * 91);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  Bytes bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

// The JPEG's frame header patched to claim 8000 x 8000 pixels.
Bytes ForgedJpeg() {
  Bytes j = Jpeg();
  for (std::size_t i = 0; i + 8 < j.size(); ++i)
    if (j[i] == 0xFF && j[i + 1] == 0xC0) {
      j[i + 5] = 8000 >> 8, j[i + 6] = 8000 & 0xFF, j[i + 7] = 8000 >> 8, j[i + 8] = 8000 & 0xFF;
      break;
    }
  return j;
}

// The JPEG cut after a tenth of its data.
Bytes CutJpeg() {
  Bytes j = Jpeg();
  j.resize(j.size() / 10);
  return j;
}

template <Bytes (*Make)(), class Decode>
void Run(benchmark::State& state, Decode decode) {
  static const Bytes input = Make();
  for (auto _ : state) {
    try {
      benchmark::DoNotOptimize(decode(input));
    } catch (const std::exception&) {
    }
  }
}

void BM_RleBmp(benchmark::State& s) { Run<ForgedRleBmp>(s, [](const Bytes& b) { return ReadBmp(b.data(), b.size()); }); }
void BM_Png(benchmark::State& s) {
  Run<ForgedPng>(s, [](const Bytes& b) {
    TPNGGraphic g;
    g.LoadFromMemory(b.data(), b.size());
    return g.Width();
  });
}
void BM_JpegHeader(benchmark::State& s) { Run<ForgedJpeg>(s, [](const Bytes& b) { return DecodeJpeg(b); }); }
void BM_JpegCut(benchmark::State& s) { Run<CutJpeg>(s, [](const Bytes& b) { return DecodeJpeg(b); }); }

BENCHMARK(BM_RleBmp)->Name("Forged/Bmp8192x8192Rle")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Png)->Name("Forged/Png8192x8192OneRow")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JpegHeader)->Name("Forged/Jpeg8000x8000")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JpegCut)->Name("Forged/Jpeg512x512CutShort")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
