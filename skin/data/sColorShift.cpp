#include "skin/data/sColorShift.h"

#include <algorithm>
#include <cmath>

namespace {

inline uint8_t ClampByte(double v) {
  return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

// Hue rotation of one colour given as channels; returns false for grey (nothing to do).
bool RotateHue(uint8_t& r, uint8_t& g, uint8_t& b, int degrees) {
  const int v = std::max({r, g, b});
  const int m = std::min({r, g, b});
  if (v == m) return false;  // grey, black included
  const double sat = double(v - m) / v;
  const double span = v - m;
  double h;
  if (r == v)
    h = 60.0 * (g - b) / span;
  else if (g == v)
    h = 120.0 + 60.0 * (b - r) / span;
  else
    h = 240.0 + 60.0 * (r - g) / span;
  if (h < 0) h += 360.0;
  int hue = static_cast<int>(std::nearbyint(h + degrees)) % 360;
  if (hue < 0) hue += 360;
  const int sector = hue / 60;
  const double f = hue / 60.0 - sector;
  const uint8_t vv = static_cast<uint8_t>(v);
  const uint8_t p = ClampByte(v * (1.0 - sat));
  const uint8_t q = ClampByte(v * (1.0 - f * sat));
  const uint8_t t = ClampByte(v * (1.0 - (1.0 - f) * sat));
  switch (sector) {
    case 0: r = vv, g = t, b = p; break;
    case 1: r = q, g = vv, b = p; break;
    case 2: r = p, g = vv, b = t; break;
    case 3: r = p, g = q, b = vv; break;
    case 4: r = t, g = p, b = vv; break;
    default: r = vv, g = p, b = q; break;
  }
  return true;
}

bool Saturate(uint8_t& r, uint8_t& g, uint8_t& b, int amount) {
  if (r == g && g == b) return false;
  const double mean = (r + g + b) / 3.0;
  auto one = [&](uint8_t c) { return ClampByte(c + (c - mean) * amount / 100.0); };
  r = one(r), g = one(g), b = one(b);
  return true;
}

// Pixels of one colour often repeat in runs; remembering the last result keeps the real
// arithmetic off most pixels of skin art.
template <class Fn>
void MapColours(Bitmap32& bmp, Fn change) {
  if (bmp.Empty() || bmp.Width() < 2 || bmp.Height() < 2) return;
  bool have = false;
  Pixel32 lastIn{}, lastOut{};
  for (int y = 0; y < bmp.Height(); ++y) {
    Pixel32* row = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      Pixel32& p = row[x];
      if (IsKeyPixel(p)) continue;
      const uint8_t a = p.A;
      p.A = 0;
      if (!have || !(p == lastIn)) {
        lastIn = p;
        change(p.R, p.G, p.B);
        lastOut = p;
        have = true;
      } else {
        p = lastOut;
      }
      p.A = a;
    }
  }
}

template <class Fn>
TColor ChangeColour(TColor c, Fn change) {
  if (IsKeyColor(c)) return c;
  const auto u = static_cast<uint32_t>(c);
  uint8_t r = static_cast<uint8_t>(u), g = static_cast<uint8_t>(u >> 8), b = static_cast<uint8_t>(u >> 16);
  if (!change(r, g, b)) return c;
  return static_cast<TColor>((u & 0xFF000000u) | r | (uint32_t{g} << 8) | (uint32_t{b} << 16));
}

}  // namespace

void ShiftHue(Bitmap32& bmp, int degrees) {
  MapColours(bmp, [degrees](uint8_t& r, uint8_t& g, uint8_t& b) { RotateHue(r, g, b, degrees); });
}

void ChangeSaturation(Bitmap32& bmp, int amount) {
  MapColours(bmp, [amount](uint8_t& r, uint8_t& g, uint8_t& b) { Saturate(r, g, b, amount); });
}

TColor ShiftHue(TColor c, int degrees) {
  if (degrees == 0) return c;
  return ChangeColour(c, [degrees](uint8_t& r, uint8_t& g, uint8_t& b) { return RotateHue(r, g, b, degrees); });
}

TColor ChangeSaturation(TColor c, int amount) {
  if (amount == 0) return c;
  return ChangeColour(c, [amount](uint8_t& r, uint8_t& g, uint8_t& b) { return Saturate(r, g, b, amount); });
}
