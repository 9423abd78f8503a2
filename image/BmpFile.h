// Windows BMP files: a reader for the formats skins and tools meet, and writers
// for 24- and 32-bit files.
//
// Reader: BITMAPCOREHEADER, BITMAPINFOHEADER and its V2..V5 extensions; 1, 4 and
// 8 bits with a palette (uncompressed, RLE8, RLE4), 16 bits (555 or bit fields),
// 24 bits, 32 bits (BGRX or bit fields); bottom-up and top-down. Pixels come out
// as a top-down owning Bitmap32 in BGRA with A = 255, except:
//  - bit-field files with an alpha mask keep their alpha;
//  - plain 32-bit files keep their 4th byte as alpha when any pixel has a
//    non-zero 4th byte. Most writers leave that byte 0 (an all-zero 4th byte
//    means "no alpha" and reads as 255), but our own WriteBmp32 and the tools
//    that turn PNG pictures into BMP store straight alpha there, and a round trip
//    must not lose it.
// Pixels that an RLE stream skips (delta, end of line or of bitmap) take palette
// entry 0. Palette indexes past the palette read as black.
// The reader never reads outside [data, data + size) whatever the header claims,
// and refuses images of more than kMaxBmpPixels pixels. Its work and memory follow the
// data: an uncompressed file must hold every row the header names; an RLE stream must be
// whole (end-of-bitmap code or last row) before the picture is allocated, and may exceed
// 4096 pixels only by 128 pixels per byte of its data (a run codes at most 255 pixels in
// two bytes; skips may leave small pictures to palette entry 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/Bitmap32.h"

class EBmpError : public std::runtime_error {
 public:
  explicit EBmpError(const std::string& msg) : std::runtime_error(msg) {}
};

inline constexpr std::uint64_t kMaxBmpPixels = std::uint64_t{1} << 26;

// Decodes a complete BMP file image (starting with "BM"). Stores the file's
// bits per pixel in *bitsPerPixel when given. Throws EBmpError on bad data.
Bitmap32 ReadBmp(const std::uint8_t* data, std::size_t size, int* bitsPerPixel = nullptr);

// Complete "BM" file images with a BITMAPINFOHEADER, bottom-up, rows padded to
// 4 bytes. WriteBmp24 drops alpha; WriteBmp32 writes BI_RGB with the alpha in
// the 4th byte. Throws EBmpError for an empty bitmap.
std::vector<std::uint8_t> WriteBmp24(const Bitmap32& bmp);
std::vector<std::uint8_t> WriteBmp32(const Bitmap32& bmp);
