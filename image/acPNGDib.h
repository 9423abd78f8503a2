// TDibImage: a platform-neutral device-independent bitmap as the PNG decoder
// produces it. Rows are top-down and padded to 4 bytes, exactly the layout of a
// top-down Windows DIB of the same format, so a Win32 wrapper can copy the rows
// (and the palette, which has the RGBQUAD byte order) straight into a DIB section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "image/Bitmap32.h"

enum class TPixelFormat { pfNone = 0, pf1bit = 1, pf4bit = 4, pf8bit = 8, pf24bit = 24, pf32bit = 32 };

class TDibImage {
 public:
  // Empties the image: no pixels, no palette, no transparent colour.
  void Clear();
  // Allocates width x height pixels of the format, all bytes zero. Width and
  // height must be positive and the caller must have bounded their product.
  void SetSize(TPixelFormat format, int width, int height);
  // Takes rows made elsewhere (a decoder grows them as its data arrives): `bits`
  // holds `height` rows of RowBytesFor(format, width) bytes, top row first. The
  // palette and the transparent colour stay as they are.
  void Adopt(TPixelFormat format, int width, int height, std::vector<uint8_t> bits);
  // Bytes of one row of `width` pixels of the format, padded to a multiple of 4.
  static std::size_t RowBytesFor(TPixelFormat format, int width);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return format_ == TPixelFormat::pfNone; }
  TPixelFormat PixelFormat() const { return format_; }
  int BitsPerPixel() const { return static_cast<int>(format_); }
  bool Indexed() const { return BitsPerPixel() > 0 && BitsPerPixel() <= 8; }
  // Bytes of one row, padded to a multiple of 4.
  std::size_t RowBytes() const { return rowBytes_; }
  uint8_t* ScanLine(int y) { return pixels_.data() + rowBytes_ * static_cast<std::size_t>(y); }
  const uint8_t* ScanLine(int y) const { return pixels_.data() + rowBytes_ * static_cast<std::size_t>(y); }
  const std::vector<uint8_t>& Bits() const { return pixels_; }

  // Indexed formats: the colours of the indexes, A = 255. Indexes past the end
  // of the palette read as opaque black.
  const std::vector<Pixel32>& Palette() const { return palette_; }
  void SetPalette(std::vector<Pixel32> palette) { palette_ = std::move(palette); }

  // Grey and RGB images with a tRNS chunk: the colour that ordinary (non-alpha)
  // drawing leaves out. Never applied to the pixels themselves.
  bool Transparent() const { return transparentColor_.has_value(); }
  std::optional<Pixel32> TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(std::optional<Pixel32> c) { transparentColor_ = c; }

  // The colour of pixel (x, y); A = 255 unless the image is 32-bit.
  Pixel32 PixelAt(int x, int y) const;
  // A top-down BGRA copy with straight alpha; A = 255 for formats without alpha.
  Bitmap32 ToBitmap32() const;

 private:
  TPixelFormat format_ = TPixelFormat::pfNone;
  int width_ = 0;
  int height_ = 0;
  std::size_t rowBytes_ = 0;
  std::vector<uint8_t> pixels_;
  std::vector<Pixel32> palette_;
  std::optional<Pixel32> transparentColor_;
};
