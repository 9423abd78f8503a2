#include "image/PngWrite.h"

#include <zlib.h>

#include <cstdio>
#include <stdexcept>

namespace {

void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutBE32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  PutBE32(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::vector<uint8_t> EncodePng(const Bitmap32& bmp, bool keepAlpha, const PngChunks& chunks) {
  const int w = bmp.Width(), h = bmp.Height();
  if (bmp.Empty()) throw std::invalid_argument("cannot encode an empty bitmap");
  const int channels = keepAlpha ? 4 : 3;
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(h) * (1 + static_cast<size_t>(w) * channels));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // filter: none
    const Pixel32* row = bmp.Row(y);
    for (int x = 0; x < w; ++x) {
      raw.push_back(row[x].R);
      raw.push_back(row[x].G);
      raw.push_back(row[x].B);
      if (keepAlpha) raw.push_back(row[x].A);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) != Z_OK)
    throw std::runtime_error("PNG encoding failed");
  packed.resize(packedSize);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<uint8_t> ihdr;
  PutBE32(ihdr, static_cast<uint32_t>(w));
  PutBE32(ihdr, static_cast<uint32_t>(h));
  ihdr.push_back(8);                    // bit depth
  ihdr.push_back(keepAlpha ? 6 : 2);    // RGBA or RGB
  ihdr.push_back(0);                    // deflate
  ihdr.push_back(0);                    // adaptive filtering
  ihdr.push_back(0);                    // no interlace
  PutChunk(out, "IHDR", ihdr);
  if (chunks.Gamma) {
    std::vector<uint8_t> gama;
    PutBE32(gama, chunks.Gamma);
    PutChunk(out, "gAMA", gama);
  }
  if (chunks.SrgbChromaticities) {
    std::vector<uint8_t> chrm;
    for (uint32_t v : {31270u, 32900u, 64000u, 33000u, 30000u, 60000u, 15000u, 6000u}) PutBE32(chrm, v);
    PutChunk(out, "cHRM", chrm);
  }
  if (chunks.PixelsPerMetre) {
    std::vector<uint8_t> phys;
    PutBE32(phys, chunks.PixelsPerMetre);
    PutBE32(phys, chunks.PixelsPerMetre);
    phys.push_back(1);  // unit: metre
    PutChunk(out, "pHYs", phys);
  }
  for (const auto& [keyword, text] : chunks.Texts) {
    std::vector<uint8_t> t(keyword.begin(), keyword.end());
    t.push_back(0);
    t.insert(t.end(), text.begin(), text.end());
    PutChunk(out, "tEXt", t);
  }
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return out;
}

bool SavePng(const Bitmap32& bmp, const std::string& path, bool keepAlpha) {
  const std::vector<uint8_t> bytes = EncodePng(bmp, keepAlpha);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
