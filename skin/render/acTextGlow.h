// The neutral steps of caption glow: blurring an 8-bit text mask and laying the blurred mask
// over a 32-bit bitmap in the glow colour; and the "..." shortening of captions against an
// injected text-width function.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

// An 8-bit grey mask, top-down rows packed. 255 is "no text", 0 is full text.
struct TsGlowMask {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Pixels;

  void Allocate(int w, int h, uint8_t fill);
  bool Empty() const { return Pixels.empty(); }
  uint8_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)]; }
  uint8_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)]; }
};

// How far the glow mask reaches beyond the text rectangle on every side.
inline int GlowMargin(int size) { return size + 4; }

// The normalised, cut Gaussian kernel for a glow of `size` pixels (2j + 1 weights summing
// to 1). size below 1 gives the single weight 1.
std::vector<double> GlowKernel(int size);

// Blurs the mask in place: rows, then columns, convolved with GlowKernel(size); positions
// beyond the edges repeat the edge pixel; results rounded and clamped to 0..255.
void BlurGlowMask(TsGlowMask& mask, int size);

// Lays the mask over bmp: the mask's (0, 0) lies at (textRect.Left - GlowMargin(size),
// textRect.Top - GlowMargin(size)). Every mask value v below 255 whose target lies inside
// bmp changes the pixel: colour channel c becomes g + v * (c - g) div 255 (g: the glow
// colour's channel), alpha a becomes a + (255 - v) * (255 - a) div 255.
void ApplyGlowMask(Bitmap32& bmp, const TsGlowMask& mask, const TsRect& textRect, TColor glow, int size);

// Shortens text with "..." to fit width pixels as measured by textWidth. A width of 0 or less
// gives ""; a text that fits comes back unchanged; otherwise characters are dropped from the
// end until the rest followed by "..." fits; when no character is left the result is "".
std::string CutTextToWidth(std::string_view text, int width, const std::function<int(std::string_view)>& textWidth);
