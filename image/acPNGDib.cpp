#include "image/acPNGDib.h"

#include <cstring>

void TDibImage::Clear() {
  format_ = TPixelFormat::pfNone;
  width_ = height_ = 0;
  rowBytes_ = 0;
  pixels_.clear();
  pixels_.shrink_to_fit();
  palette_.clear();
  transparentColor_.reset();
}

void TDibImage::SetSize(TPixelFormat format, int width, int height) {
  if (format == TPixelFormat::pfNone || width <= 0 || height <= 0) {
    format_ = TPixelFormat::pfNone;
    width_ = height_ = 0;
    rowBytes_ = 0;
    pixels_.clear();
    return;
  }
  rowBytes_ = RowBytesFor(format, width);
  pixels_.assign(rowBytes_ * static_cast<std::size_t>(height), 0);
  format_ = format;
  width_ = width;
  height_ = height;
}

void TDibImage::Adopt(TPixelFormat format, int width, int height, std::vector<uint8_t> bits) {
  SetSize(TPixelFormat::pfNone, 0, 0);
  if (format == TPixelFormat::pfNone || width <= 0 || height <= 0 ||
      bits.size() != RowBytesFor(format, width) * static_cast<std::size_t>(height))
    return;
  rowBytes_ = RowBytesFor(format, width);
  pixels_ = std::move(bits);
  format_ = format;
  width_ = width;
  height_ = height;
}

std::size_t TDibImage::RowBytesFor(TPixelFormat format, int width) {
  const std::size_t bits = static_cast<std::size_t>(width) * static_cast<std::size_t>(format);
  return ((bits + 31) / 32) * 4;
}

Pixel32 TDibImage::PixelAt(int x, int y) const {
  const uint8_t* row = ScanLine(y);
  auto fromPalette = [this](unsigned index) {
    return index < palette_.size() ? palette_[index] : Pixel32{0, 0, 0, 255};
  };
  switch (format_) {
    case TPixelFormat::pf1bit:
      return fromPalette((row[x >> 3] >> (7 - (x & 7))) & 1);
    case TPixelFormat::pf4bit:
      return fromPalette((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    case TPixelFormat::pf8bit:
      return fromPalette(row[x]);
    case TPixelFormat::pf24bit: {
      const uint8_t* p = row + 3 * static_cast<std::size_t>(x);
      return {p[0], p[1], p[2], 255};
    }
    case TPixelFormat::pf32bit: {
      const uint8_t* p = row + 4 * static_cast<std::size_t>(x);
      return {p[0], p[1], p[2], p[3]};
    }
    case TPixelFormat::pfNone:
      break;
  }
  return {};
}

Bitmap32 TDibImage::ToBitmap32() const {
  Bitmap32 out(width_, height_);
  if (Empty()) return out;
  // Full 256-entry lookup so that short palettes need no per-pixel check.
  Pixel32 lut[256];
  if (format_ == TPixelFormat::pf8bit)
    for (unsigned i = 0; i < 256; ++i) lut[i] = i < palette_.size() ? palette_[i] : Pixel32{0, 0, 0, 255};
  for (int y = 0; y < height_; ++y) {
    Pixel32* dst = out.Row(y);
    const uint8_t* src = ScanLine(y);
    switch (format_) {
      case TPixelFormat::pf32bit:
        std::memcpy(dst, src, 4 * static_cast<std::size_t>(width_));
        break;
      case TPixelFormat::pf24bit:
        for (int x = 0; x < width_; ++x, src += 3) dst[x] = {src[0], src[1], src[2], 255};
        break;
      case TPixelFormat::pf8bit:
        for (int x = 0; x < width_; ++x) dst[x] = lut[src[x]];
        break;
      default:
        for (int x = 0; x < width_; ++x) dst[x] = PixelAt(x, y);
        break;
    }
  }
  return out;
}
