// Floating-point drawing surfaces for the artwork generator: a coverage mask
// that shapes are rasterised into (anti-aliased), and an RGB canvas that masks
// are composited onto. Everything is deterministic: no randomness, no fonts,
// no platform calls, so the same binary always draws the same bytes.
#pragma once

#include <functional>
#include <vector>

#include "image/Bitmap32.h"

namespace artgen {

struct Vec2 {
  float x = 0, y = 0;
};

// Colour channels in 0..1, sRGB-encoded (blending happens in that space, as a
// paint program would).
struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb Hex(unsigned rgb);  // 0xRRGGBB
Rgb Lerp(Rgb a, Rgb b, float t);
float Clamp01(float v);
float SmoothStep(float e0, float e1, float v);

// Per-pixel coverage 0..1. Shapes combine by union (maximum).
class Mask {
 public:
  Mask(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  float At(int x, int y) const { return v_[Index(x, y)]; }
  void Raise(int x, int y, float cover);

  // Round-capped stroke along a segment (pixel centres at +0.5).
  void StrokeSegment(Vec2 a, Vec2 b, float width);
  void StrokePolyline(const std::vector<Vec2>& pts, float width, bool closed = false);
  // Filled polygon, non-zero winding, 8 x 8 samples per pixel.
  void FillPolygon(const std::vector<Vec2>& pts);
  void FillEllipse(Vec2 centre, float rx, float ry);

  // Approximates a Gaussian with three box passes of the given radius.
  void Blur(int radius);
  void Scale(float f);
  // Multiplies every value by weight(x, y).
  void Modulate(const std::function<float(int, int)>& weight);

 private:
  int Index(int x, int y) const { return y * width_ + x; }
  void BoxPass(int radius, bool horizontal);
  int width_, height_;
  std::vector<float> v_;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb& At(int x, int y) { return px_[y * width_ + x]; }
  const Rgb& At(int x, int y) const { return px_[y * width_ + x]; }

  void Shade(const std::function<Rgb(int, int)>& colour);
  // Normal "over" compositing of paint(x, y) through the mask.
  void Paint(const Mask& m, const std::function<Rgb(int, int)>& paint, float opacity = 1);
  void Paint(const Mask& m, Rgb colour, float opacity = 1);
  // Screen blending: lightens like emitted light, never overshoots white.
  void Light(const Mask& m, Rgb colour, float strength);

  // Quantises to 8 bits with a fixed ordered dither so dark gradients do not band.
  Bitmap32 ToBitmap() const;

 private:
  int width_, height_;
  std::vector<Rgb> px_;
};

}  // namespace artgen
