#include "image/acPNGColor.h"

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstring>

namespace {

int SamplesOf(TColorScheme s) {
  switch (s) {
    case TColorScheme::csG: return 1;
    case TColorScheme::csRGB: return 3;
    case TColorScheme::csIndexed: return 1;
    case TColorScheme::csGA: return 2;
    case TColorScheme::csRGBA: return 4;
    case TColorScheme::csUnknown: break;
  }
  return 0;
}

inline uint8_t Reduce16(const uint8_t* p) {
  // Big-endian sample scaled to 8 bits, rounded down.
  return static_cast<uint8_t>(((unsigned(p[0]) << 8) | p[1]) / 257u);
}

// Sub-byte sample i of a packed row, most significant bits first.
inline unsigned Packed(const uint8_t* row, uint32_t i, int bits) {
  const uint32_t bit = i * static_cast<uint32_t>(bits);
  return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

inline void Put1(uint8_t* row, uint32_t x, unsigned v) {
  const uint8_t mask = static_cast<uint8_t>(0x80u >> (x & 7));
  row[x >> 3] = static_cast<uint8_t>(v ? (row[x >> 3] | mask) : (row[x >> 3] & ~mask));
}

inline void Put4(uint8_t* row, uint32_t x, unsigned v) {
  uint8_t& b = row[x >> 1];
  b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (v & 0x0F)) : static_cast<uint8_t>((b & 0x0F) | (v << 4));
}

// RGBA to BGRA, the common skin-image case. Separate buffers and a plain loop
// let the compiler vectorise it.
void SwapRedBlue(const uint8_t* __restrict src, uint8_t* __restrict dst, uint32_t pixels) {
  uint32_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Two pixels per 64-bit word: bytes 0 and 2 of each pixel trade places.
    for (; i + 2 <= pixels; i += 2) {
      uint64_t v;
      std::memcpy(&v, src + 4 * i, 8);
      v = (v & 0xFF00FF00FF00FF00ull) | ((v >> 16) & 0x000000FF000000FFull) | ((v & 0x000000FF000000FFull) << 16);
      std::memcpy(dst + 4 * i, &v, 8);
    }
  }
  for (; i < pixels; ++i) {
    dst[4 * i] = src[4 * i + 2];
    dst[4 * i + 1] = src[4 * i + 1];
    dst[4 * i + 2] = src[4 * i];
    dst[4 * i + 3] = src[4 * i + 3];
  }
}

// RGBA to BGRA through the gamma table, to every stride-th byte of dst. The
// buffers and the table never overlap, which lets the compiler keep loads in flight.
void SwapRedBlueGamma(const uint8_t* __restrict src, uint8_t* __restrict dst, uint32_t pixels, std::size_t stride,
                      const uint8_t* __restrict g) {
  for (uint32_t i = 0; i < pixels; ++i, src += 4, dst += stride) {
    const uint8_t r = src[0], gr = src[1], b = src[2], a = src[3];
    dst[0] = g[b];
    dst[1] = g[gr];
    dst[2] = g[r];
    dst[3] = a;
  }
}

}  // namespace

void TColorManager::SetSourceAndTarget(const TSampleLayout& source, TPixelFormat target) {
  method_ = Method::None;
  const int bits = source.BitsPerSample;
  if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
    throw EColorConversionError("Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
  if (SamplesOf(source.Scheme) == 0 || SamplesOf(source.Scheme) != source.SamplesPerPixel)
    throw EColorConversionError("Sample count per pixel does not correspond to the given color scheme.");
  const bool targetIndexed = target == TPixelFormat::pf1bit || target == TPixelFormat::pf4bit || target == TPixelFormat::pf8bit;
  const bool sourceIndexed = source.Scheme == TColorScheme::csIndexed;
  const bool sourceColour = source.Scheme == TColorScheme::csRGB || source.Scheme == TColorScheme::csRGBA;
  if ((sourceIndexed && !targetIndexed) || (sourceColour && targetIndexed))
    throw EColorConversionError("Conversion between indexed and non-indexed pixel formats is not supported.");

  switch (source.Scheme) {
    case TColorScheme::csG:
    case TColorScheme::csIndexed:
      if (bits == 1 && target == TPixelFormat::pf1bit) method_ = Method::Copy1;
      else if (bits == 4 && target == TPixelFormat::pf4bit) method_ = Method::Copy4;
      else if (bits == 2 && target == TPixelFormat::pf4bit)
        method_ = sourceIndexed ? Method::Palette2To4 : Method::Grey2To4;
      else if (bits == 8 && target == TPixelFormat::pf8bit) method_ = Method::Copy8;
      else if (bits == 16 && target == TPixelFormat::pf8bit && !sourceIndexed) method_ = Method::Grey16;
      break;
    case TColorScheme::csGA:
      if (target == TPixelFormat::pf8bit && bits == 8) method_ = Method::GreyAlpha8;
      else if (target == TPixelFormat::pf8bit && bits == 16) method_ = Method::GreyAlpha16;
      break;
    case TColorScheme::csRGB:
      if (target == TPixelFormat::pf24bit && bits == 8) method_ = Method::RGB8;
      else if (target == TPixelFormat::pf24bit && bits == 16) method_ = Method::RGB16;
      break;
    case TColorScheme::csRGBA:
      if (target == TPixelFormat::pf32bit && bits == 8) method_ = Method::RGBA8;
      else if (target == TPixelFormat::pf32bit && bits == 16) method_ = Method::RGBA16;
      break;
    case TColorScheme::csUnknown:
      break;
  }
  if (method_ == Method::None) throw EColorConversionError("Color conversion failed. Could not find a proper method.");
}

void TColorManager::ResetGamma() {
  for (unsigned i = 0; i < 256; ++i) gamma_[i] = static_cast<uint8_t>(i);
  gammaOn_ = false;
  gammaIdentity_ = true;
}

void TColorManager::SetGamma(double fileGamma) {
  const double m = fileGamma > 0 ? fileGamma : 1.0;
  // A skin's images share one or two gamma values, and a table costs 256
  // calls of pow: keep the last one.
  thread_local double cachedGamma = 0;
  thread_local std::array<uint8_t, 256> cachedTable{};
  thread_local bool cachedIdentity = true;
  if (m != cachedGamma) {
    const double exponent = 1.0 / (m * 2.2);
    const int oldRounding = std::fegetround();
    std::fesetround(FE_TONEAREST);  // nearbyint: nearest, ties to even
    cachedIdentity = true;
    for (unsigned i = 0; i < 256; ++i) {
      const double v = std::nearbyint(std::pow(i / 255.0, exponent) * 255.0);
      cachedTable[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      cachedIdentity = cachedIdentity && cachedTable[i] == i;
    }
    std::fesetround(oldRounding);
    cachedGamma = m;
  }
  gamma_ = cachedTable;
  gammaIdentity_ = cachedIdentity;
  gammaOn_ = true;
}

std::vector<Pixel32> TColorManager::GreyRamp(int levels) const {
  std::vector<Pixel32> ramp;
  if (levels < 2) return ramp;
  ramp.reserve(static_cast<std::size_t>(levels));
  for (int i = 0; i < levels; ++i) {
    const uint8_t g = gamma_[static_cast<unsigned>(i * 255 / (levels - 1))];
    ramp.push_back({g, g, g, 255});
  }
  return ramp;
}

void TColorManager::ConvertRow(const uint8_t* src, uint8_t* dst, uint32_t pixels, uint32_t colStart,
                               uint32_t colStep) const {
  const bool dense = colStart == 0 && colStep == 1;
  const uint8_t* g = gamma_.data();
  switch (method_) {
    case Method::Copy1:
      if (dense) {
        std::memcpy(dst, src, (pixels + 7) / 8);
      } else {
        for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) Put1(dst, x, Packed(src, i, 1));
      }
      break;
    case Method::Copy4:
      if (dense) {
        std::memcpy(dst, src, (pixels + 1) / 2);
      } else {
        for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) Put4(dst, x, Packed(src, i, 4));
      }
      break;
    case Method::Grey2To4:
      // Two-bit greys land on every fifth level of the sixteen-level ramp.
      for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) Put4(dst, x, Packed(src, i, 2) * 5);
      break;
    case Method::Palette2To4:
      for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) Put4(dst, x, Packed(src, i, 2));
      break;
    case Method::Copy8:
      if (dense) {
        std::memcpy(dst, src, pixels);
      } else {
        for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) dst[x] = src[i];
      }
      break;
    case Method::Grey16:
      for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) dst[x] = Reduce16(src + 2 * i);
      break;
    case Method::GreyAlpha8:
      for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) dst[x] = src[2 * i];
      break;
    case Method::GreyAlpha16:
      for (uint32_t i = 0, x = colStart; i < pixels; ++i, x += colStep) dst[x] = Reduce16(src + 4 * i);
      break;
    case Method::RGB8: {
      uint8_t* d = dst + 3 * static_cast<std::size_t>(colStart);
      const std::size_t stride = 3 * static_cast<std::size_t>(colStep);
      if (gammaIdentity_) {
        for (uint32_t i = 0; i < pixels; ++i, src += 3, d += stride) {
          d[0] = src[2];
          d[1] = src[1];
          d[2] = src[0];
        }
      } else {
        for (uint32_t i = 0; i < pixels; ++i, src += 3, d += stride) {
          d[0] = g[src[2]];
          d[1] = g[src[1]];
          d[2] = g[src[0]];
        }
      }
      break;
    }
    case Method::RGB16: {
      uint8_t* d = dst + 3 * static_cast<std::size_t>(colStart);
      const std::size_t stride = 3 * static_cast<std::size_t>(colStep);
      for (uint32_t i = 0; i < pixels; ++i, src += 6, d += stride) {
        d[0] = g[Reduce16(src + 4)];
        d[1] = g[Reduce16(src + 2)];
        d[2] = g[Reduce16(src)];
      }
      break;
    }
    case Method::RGBA8: {
      uint8_t* d = dst + 4 * static_cast<std::size_t>(colStart);
      if (dense && gammaIdentity_) {
        SwapRedBlue(src, d, pixels);
      } else {
        SwapRedBlueGamma(src, d, pixels, 4 * static_cast<std::size_t>(colStep), g);
      }
      break;
    }
    case Method::RGBA16: {
      uint8_t* d = dst + 4 * static_cast<std::size_t>(colStart);
      const std::size_t stride = 4 * static_cast<std::size_t>(colStep);
      for (uint32_t i = 0; i < pixels; ++i, src += 8, d += stride) {
        d[0] = g[Reduce16(src + 4)];
        d[1] = g[Reduce16(src + 2)];
        d[2] = g[Reduce16(src)];
        d[3] = Reduce16(src + 6);
      }
      break;
    }
    case Method::None:
      break;
  }
}
