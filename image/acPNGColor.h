// TColorManager: turns one decoded (unfiltered) PNG row into one TDibImage row,
// applying the gamma table to colour samples and reducing 16-bit samples to 8.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/Bitmap32.h"
#include "image/acPNG.h"

struct TSampleLayout {
  TColorScheme Scheme = TColorScheme::csUnknown;
  int BitsPerSample = 8;
  int SamplesPerPixel = 1;
};

class TColorManager {
 public:
  TColorManager() { ResetGamma(); }

  // Chooses the row conversion from the source layout to the target format.
  // Throws EColorConversionError for layouts it cannot convert.
  void SetSourceAndTarget(const TSampleLayout& source, TPixelFormat target);

  // Gamma: off (identity) until SetGamma. The table maps 8-bit colour values:
  // T[i] = round((i / 255) ^ (1 / (m * 2.2)) * 255), ties to even, with the
  // file gamma m (1 when it is not positive).
  void ResetGamma();
  void SetGamma(double fileGamma);
  bool GammaOn() const { return gammaOn_; }
  const std::array<uint8_t, 256>& GammaTable() const { return gamma_; }
  uint8_t Gamma(uint8_t v) const { return gamma_[v]; }

  // A palette of `levels` greys evenly spaced from black to white, through the gamma table.
  std::vector<Pixel32> GreyRamp(int levels) const;

  // Converts `pixels` source pixels of one row (or one Adam7 pass row) and
  // writes them to target columns colStart, colStart + colStep, ...
  void ConvertRow(const uint8_t* src, uint8_t* dst, uint32_t pixels, uint32_t colStart, uint32_t colStep) const;

 private:
  enum class Method { None, Copy1, Copy4, Grey2To4, Palette2To4, Copy8, Grey16, GreyAlpha8, GreyAlpha16, RGB8, RGB16, RGBA8, RGBA16 };
  Method method_ = Method::None;
  bool gammaOn_ = false;
  bool gammaIdentity_ = true;
  std::array<uint8_t, 256> gamma_{};
};
