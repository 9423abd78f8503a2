#include "skin/render/acTextGlow.h"

#include <algorithm>
#include <cmath>

void TsGlowMask::Allocate(int w, int h, uint8_t fill) {
  if (w <= 0 || h <= 0) {
    *this = TsGlowMask{};
    return;
  }
  Width = w;
  Height = h;
  Pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill);
}

std::vector<double> GlowKernel(int size) {
  if (size < 1) return {1.0};
  constexpr int kCentre = 100;
  double w[2 * kCentre + 1];
  double sum = 0;
  for (int i = 0; i <= 2 * kCentre; ++i) {
    const double d = double(i - kCentre) / size;
    w[i] = std::exp(-d * d / 2);
    sum += w[i];
  }
  for (double& x : w) x /= sum;
  // The narrowest kernel whose cut-off tails together weigh less than half a grey level.
  int j = 1;
  for (; j < kCentre; ++j) {
    double outside = 0;
    for (int i = 0; i < kCentre - j; ++i) outside += w[i] + w[2 * kCentre - i];
    if (outside < 1.0 / 510) break;
  }
  std::vector<double> k(w + kCentre - j, w + kCentre + j + 1);
  double kept = 0;
  for (double x : k) kept += x;
  for (double& x : k) x /= kept;
  return k;
}

namespace {

// Convolves `count` samples spaced `stride` apart, starting at `data`, with the kernel;
// positions past either end repeat the end sample.
void Convolve(uint8_t* data, int count, std::ptrdiff_t stride, const std::vector<double>& k, std::vector<uint8_t>& tmp) {
  const int j = static_cast<int>(k.size() / 2);
  tmp.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) tmp[static_cast<std::size_t>(i)] = data[i * stride];
  for (int i = 0; i < count; ++i) {
    double acc = 0;
    for (int t = -j; t <= j; ++t) {
      const int at = std::clamp(i + t, 0, count - 1);
      acc += k[static_cast<std::size_t>(t + j)] * tmp[static_cast<std::size_t>(at)];
    }
    data[i * stride] = static_cast<uint8_t>(std::clamp(std::nearbyint(acc), 0.0, 255.0));
  }
}

}  // namespace

void BlurGlowMask(TsGlowMask& mask, int size) {
  if (mask.Empty() || size < 1) return;
  const std::vector<double> k = GlowKernel(size);
  std::vector<uint8_t> tmp;
  for (int y = 0; y < mask.Height; ++y) Convolve(&mask.At(0, y), mask.Width, 1, k, tmp);
  for (int x = 0; x < mask.Width; ++x) Convolve(&mask.At(x, 0), mask.Height, mask.Width, k, tmp);
}

void ApplyGlowMask(Bitmap32& bmp, const TsGlowMask& mask, const TsRect& textRect, TColor glow, int size) {
  if (bmp.Empty() || mask.Empty()) return;
  const int ox = textRect.Left - GlowMargin(size), oy = textRect.Top - GlowMargin(size);
  const int g[3] = {static_cast<int>((static_cast<uint32_t>(glow) >> 16) & 0xFF),  // blue
                    static_cast<int>((static_cast<uint32_t>(glow) >> 8) & 0xFF),   // green
                    static_cast<int>(static_cast<uint32_t>(glow) & 0xFF)};         // red
  const int y0 = std::max(0, -oy), y1 = std::min(mask.Height, bmp.Height() - oy);
  const int x0 = std::max(0, -ox), x1 = std::min(mask.Width, bmp.Width() - ox);
  for (int y = y0; y < y1; ++y) {
    Pixel32* row = bmp.Row(oy + y);
    for (int x = x0; x < x1; ++x) {
      const int v = mask.At(x, y);
      if (v == 255) continue;
      Pixel32& p = row[ox + x];
      p.B = static_cast<uint8_t>(g[0] + v * (p.B - g[0]) / 255);
      p.G = static_cast<uint8_t>(g[1] + v * (p.G - g[1]) / 255);
      p.R = static_cast<uint8_t>(g[2] + v * (p.R - g[2]) / 255);
      p.A = static_cast<uint8_t>(p.A + (255 - v) * (255 - p.A) / 255);
    }
  }
}

std::string CutTextToWidth(std::string_view text, int width, const std::function<int(std::string_view)>& textWidth) {
  if (width <= 0) return {};
  if (textWidth(text) <= width) return std::string(text);
  std::string s(text);
  while (!s.empty()) {
    s.pop_back();
    if (!s.empty() && textWidth(s + "...") <= width) return s + "...";
  }
  return {};
}
