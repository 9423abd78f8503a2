#include "image/BmpFile.h"

#include <array>
#include <bit>
#include <limits>

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}
std::int32_t GetI32(const std::uint8_t* p) { return static_cast<std::int32_t>(Get32(p)); }

void Put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint16_t x) {
  v[at] = static_cast<std::uint8_t>(x);
  v[at + 1] = static_cast<std::uint8_t>(x >> 8);
}
void Put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (m) {
      shift = std::countr_zero(m);
      max = m >> shift;
    }
  }
  std::uint8_t Get(std::uint32_t px, std::uint8_t absent) const {
    if (!mask) return absent;
    std::uint64_t v = (px & mask) >> shift;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

struct Header {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: top-down
  int bpp = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // R, G, B, A
  bool hasMasks = false;
  std::size_t paletteAt = 0;
  std::size_t paletteEntrySize = 4;
  std::size_t pixelsAt = 0;
};

Header ParseHeader(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || data[0] != 'B' || data[1] != 'M') throw EBmpError("Not a BMP file");
  if (size < kFileHeaderSize + 4) throw EBmpError("BMP header is truncated");
  Header h;
  const std::uint32_t offBits = Get32(data + 10);
  const std::uint32_t infoSize = Get32(data + kFileHeaderSize);
  const std::uint8_t* ih = data + kFileHeaderSize;
  if (infoSize != 12 && infoSize < kInfoHeaderSize)
    throw EBmpError("Unsupported BMP header size: " + std::to_string(infoSize));
  if (infoSize > size - kFileHeaderSize) throw EBmpError("BMP header is truncated");
  std::size_t headersEnd = kFileHeaderSize + infoSize;

  if (infoSize == 12) {  // BITMAPCOREHEADER: 16-bit sizes, 3-byte palette entries
    h.width = Get16(ih + 4);
    h.height = Get16(ih + 6);
    h.bpp = Get16(ih + 10);
    h.paletteEntrySize = 3;
  } else {
    h.width = GetI32(ih + 4);
    h.height = GetI32(ih + 8);
    h.bpp = Get16(ih + 14);
    h.compression = Get32(ih + 16);
    h.colorsUsed = Get32(ih + 32);
    if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
      h.hasMasks = true;
      const int inHeader = infoSize >= 56 ? 4 : infoSize >= 52 ? 3 : 0;
      if (inHeader) {
        for (int i = 0; i < inHeader; ++i) h.masks[i] = Get32(ih + 40 + 4 * i);
      } else {
        // A plain info header is followed by the masks themselves.
        const int n = h.compression == kBiAlphaBitfields ? 4 : 3;
        if (size - headersEnd < std::size_t(4) * n) throw EBmpError("BMP header is truncated");
        for (int i = 0; i < n; ++i) h.masks[i] = Get32(data + headersEnd + 4 * i);
        headersEnd += std::size_t(4) * n;
      }
      if (h.compression == kBiBitfields && infoSize < 56) h.masks[3] = 0;
    }
  }
  h.paletteAt = headersEnd;

  switch (h.bpp) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: throw EBmpError("Unsupported BMP bit depth: " + std::to_string(h.bpp));
  }
  switch (h.compression) {
    case kBiRgb: break;
    case kBiRle8:
      if (h.bpp != 8) throw EBmpError("BMP RLE8 compression needs 8 bits per pixel");
      break;
    case kBiRle4:
      if (h.bpp != 4) throw EBmpError("BMP RLE4 compression needs 4 bits per pixel");
      break;
    case kBiBitfields: case kBiAlphaBitfields:
      if (h.bpp != 16 && h.bpp != 32) throw EBmpError("BMP bit fields need 16 or 32 bits per pixel");
      break;
    default: throw EBmpError("Unsupported BMP compression: " + std::to_string(h.compression));
  }
  if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min())
    throw EBmpError("BMP image size is invalid");
  const std::uint64_t absHeight = static_cast<std::uint64_t>(h.height < 0 ? -std::int64_t{h.height} : h.height);
  if (std::uint64_t(h.width) * absHeight > kMaxBmpPixels) throw EBmpError("BMP image is too large");
  if (h.height < 0 && (h.compression == kBiRle8 || h.compression == kBiRle4))
    throw EBmpError("BMP image size is invalid");  // RLE images are always bottom-up

  if (offBits < headersEnd || offBits > size) throw EBmpError("BMP pixel data offset is invalid");
  h.pixelsAt = offBits;
  return h;
}

// Palette as BGRA with A = 255; always 256 entries, unused ones black.
std::array<Pixel32, 256> ReadPalette(const Header& h, const std::uint8_t* data) {
  std::array<Pixel32, 256> pal;
  pal.fill(Pixel32{0, 0, 0, 255});
  if (h.bpp > 8) return pal;
  std::size_t count = std::size_t{1} << h.bpp;
  if (h.colorsUsed && h.colorsUsed < count) count = h.colorsUsed;
  // The palette sits between the headers and the pixels.
  const std::size_t room = (h.pixelsAt - h.paletteAt) / h.paletteEntrySize;
  if (room < count) {
    if (h.colorsUsed) throw EBmpError("BMP palette is truncated");
    count = room;  // some writers store only the entries they use
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* e = data + h.paletteAt + i * h.paletteEntrySize;
    pal[i] = Pixel32{e[0], e[1], e[2], 255};
  }
  return pal;
}

// Output row for file row `fileRow` (files store bottom-up unless height < 0).
Pixel32* OutRow(Bitmap32& out, const Header& h, int fileRow) {
  return out.Row(h.height > 0 ? out.Height() - 1 - fileRow : fileRow);
}

std::uint64_t Stride(const Header& h) { return (std::uint64_t(h.width) * std::uint64_t(h.bpp) + 31) / 32 * 4; }

// Checked before the pixels are allocated, so a lying header costs nothing.
void CheckUncompressedSize(const Header& h, std::size_t size) {
  const std::uint64_t rowBytes = (std::uint64_t(h.width) * std::uint64_t(h.bpp) + 7) / 8;
  const std::uint64_t height = h.height < 0 ? -std::int64_t{h.height} : h.height;
  // The last row's padding may be missing; everything else must be there.
  if (Stride(h) * (height - 1) + rowBytes > size - h.pixelsAt) throw EBmpError("BMP pixel data is truncated");
}

// An RLE run codes at most 255 pixels in two bytes. Skips (end of line, delta, end of
// bitmap) may leave more to palette entry 0, so pictures up to kRleFreePixels pass whatever
// their data; a larger one needs the data that could describe it, so that a header cannot
// make the reader allocate and fill far more than the file holds.
constexpr std::uint64_t kRlePixelsPerByte = 128;
constexpr std::uint64_t kRleFreePixels = std::uint64_t{1} << 12;

void CheckRleSize(const Header& h, std::size_t size) {
  const std::uint64_t height = h.height < 0 ? -std::int64_t{h.height} : h.height;
  if (std::uint64_t(h.width) * height > kRleFreePixels + kRlePixelsPerByte * (size - h.pixelsAt))
    throw EBmpError("BMP pixel data is truncated");
}

void ReadUncompressed(const Header& h, const std::uint8_t* data, Bitmap32& out) {
  const std::uint64_t stride = Stride(h);
  const int height = out.Height();
  const auto pal = ReadPalette(h, data);
  Channel r, g, b, a;
  if (h.hasMasks) {
    r = Channel(h.masks[0]), g = Channel(h.masks[1]), b = Channel(h.masks[2]), a = Channel(h.masks[3]);
  } else if (h.bpp == 16) {
    r = Channel(0x7C00), g = Channel(0x03E0), b = Channel(0x001F);
  }
  bool anyAlpha = false;

  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = data + h.pixelsAt + stride * std::uint64_t(y);
    Pixel32* dst = OutRow(out, h, y);
    for (int x = 0; x < h.width; ++x) {
      switch (h.bpp) {
        case 1: dst[x] = pal[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
        case 4: dst[x] = pal[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
        case 8: dst[x] = pal[src[x]]; break;
        case 16: {
          const std::uint32_t px = Get16(src + 2 * x);
          dst[x] = Pixel32{b.Get(px, 0), g.Get(px, 0), r.Get(px, 0), a.Get(px, 255)};
          break;
        }
        case 24: dst[x] = Pixel32{src[3 * x], src[3 * x + 1], src[3 * x + 2], 255}; break;
        case 32:
          if (h.hasMasks) {
            const std::uint32_t px = Get32(src + 4 * x);
            dst[x] = Pixel32{b.Get(px, 0), g.Get(px, 0), r.Get(px, 0), a.Get(px, 255)};
          } else {
            dst[x] = Pixel32{src[4 * x], src[4 * x + 1], src[4 * x + 2], src[4 * x + 3]};
            anyAlpha |= src[4 * x + 3] != 0;
          }
          break;
      }
    }
  }
  if (h.bpp == 32 && !h.hasMasks && !anyAlpha) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < h.width; ++x) out.Row(y)[x].A = 255;
  }
}

// Walks an RLE8 or RLE4 stream, calling put(x, fileRow, index) for every pixel a run places
// inside the picture. Throws when the data ends before the end-of-bitmap code or the last row.
template <class Put>
void WalkRle(const Header& h, const std::uint8_t* p, const std::uint8_t* end, Put put) {
  const int width = h.width, height = h.height;  // RLE pictures are bottom-up: height > 0
  const bool four = h.compression == kBiRle4;
  int x = 0, y = 0;  // y counts file rows, bottom row first
  auto one = [&](std::uint8_t v) {
    if (x < width && y < height) put(x, y, v);
    ++x;
  };
  auto need = [&](std::size_t n) {
    if (std::size_t(end - p) < n) throw EBmpError("BMP pixel data is truncated");
  };
  for (;;) {
    if (y >= height) break;
    need(2);
    const std::uint8_t count = p[0], value = p[1];
    p += 2;
    if (count) {
      for (int i = 0; i < count && x < width; ++i)
        one(four ? ((i & 1) ? value & 15 : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      need(2);
      x += p[0];
      y += p[1];
      p += 2;
    } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
      const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : value;
      need(bytes + (bytes & 1));
      for (int i = 0; i < value; ++i) {
        const std::uint8_t b = p[four ? i / 2 : i];
        one(four ? ((i & 1) ? b & 15 : b >> 4) : b);
      }
      p += bytes + (bytes & 1);
    }
  }
}

Bitmap32 ReadRle(const Header& h, const std::uint8_t* data, std::size_t size) {
  const auto pal = ReadPalette(h, data);
  const std::uint8_t* begin = data + h.pixelsAt;
  const std::uint8_t* end = data + size;
  // A stream cut short fails here, before its picture is allocated.
  WalkRle(h, begin, end, [](int, int, std::uint8_t) {});
  Bitmap32 out(h.width, h.height);
  out.Fill(pal[0]);
  WalkRle(h, begin, end, [&](int x, int y, std::uint8_t v) { OutRow(out, h, y)[x] = pal[v]; });
  return out;
}

std::vector<std::uint8_t> WriteBmp(const Bitmap32& bmp, int bpp) {
  if (bmp.Empty()) throw EBmpError("Cannot write an empty bitmap as BMP");
  const int w = bmp.Width(), h = bmp.Height();
  const std::size_t bytesPerPixel = std::size_t(bpp) / 8;
  const std::size_t stride = (std::size_t(w) * bytesPerPixel + 3) & ~std::size_t(3);
  const std::size_t imageSize = stride * std::size_t(h);
  const std::size_t offBits = kFileHeaderSize + kInfoHeaderSize;
  const std::size_t total = offBits + imageSize;
  if (total > std::numeric_limits<std::uint32_t>::max()) throw EBmpError("Bitmap is too large for BMP");

  std::vector<std::uint8_t> f(total, 0);
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, static_cast<std::uint32_t>(total));
  Put32(f, 10, static_cast<std::uint32_t>(offBits));
  Put32(f, 14, kInfoHeaderSize);
  Put32(f, 18, static_cast<std::uint32_t>(w));
  Put32(f, 22, static_cast<std::uint32_t>(h));  // positive: bottom-up
  Put16(f, 26, 1);
  Put16(f, 28, static_cast<std::uint16_t>(bpp));
  Put32(f, 30, kBiRgb);
  Put32(f, 34, static_cast<std::uint32_t>(imageSize));
  Put32(f, 38, 2835);  // 72 dpi
  Put32(f, 42, 2835);

  for (int y = 0; y < h; ++y) {
    const Pixel32* src = bmp.Row(h - 1 - y);
    std::uint8_t* dst = &f[offBits + stride * std::size_t(y)];
    for (int x = 0; x < w; ++x) {
      *dst++ = src[x].B;
      *dst++ = src[x].G;
      *dst++ = src[x].R;
      if (bpp == 32) *dst++ = src[x].A;
    }
  }
  return f;
}

}  // namespace

Bitmap32 ReadBmp(const std::uint8_t* data, std::size_t size, int* bitsPerPixel) {
  if (!data) size = 0;
  const Header h = ParseHeader(data, size);
  const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
  Bitmap32 out;
  if (rle) {
    CheckRleSize(h, size);
    out = ReadRle(h, data, size);
  } else {
    CheckUncompressedSize(h, size);
    out = Bitmap32(h.width, h.height < 0 ? -h.height : h.height);
    ReadUncompressed(h, data, out);
  }
  if (bitsPerPixel) *bitsPerPixel = h.bpp;
  return out;
}

std::vector<std::uint8_t> WriteBmp24(const Bitmap32& bmp) { return WriteBmp(bmp, 24); }
std::vector<std::uint8_t> WriteBmp32(const Bitmap32& bmp) { return WriteBmp(bmp, 32); }
