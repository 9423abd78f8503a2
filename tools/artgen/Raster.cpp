#include "tools/artgen/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace artgen {

Rgb Hex(unsigned rgb) {
  return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
          static_cast<float>(rgb & 0xFF) / 255.0f};
}

Rgb Lerp(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float e0, float e1, float v) {
  float t = Clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), v_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0.0f) {}

void Mask::Raise(int x, int y, float cover) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  float& v = v_[Index(x, y)];
  v = std::max(v, cover);
}

namespace {

float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  float dx = b.x - a.x, dy = b.y - a.y;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = Clamp01(t);
  float ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

// Share of a one-pixel box covered by a band of the given width whose centre
// lies d away from the pixel centre. Keeps hairlines (width < 1) faint instead
// of inflating them to a full pixel.
float BandCoverage(float d, float width) {
  float lo = std::max(-0.5f, d - width / 2);
  float hi = std::min(0.5f, d + width / 2);
  return std::max(0.0f, hi - lo);
}

}  // namespace

void Mask::StrokeSegment(Vec2 a, Vec2 b, float width) {
  float pad = width / 2 + 1;
  int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - pad)));
  int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + pad)));
  int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - pad)));
  int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + pad)));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = SegmentDistance({x + 0.5f, y + 0.5f}, a, b);
      float c = BandCoverage(d, width);
      if (c > 0) Raise(x, y, c);
    }
}

void Mask::StrokePolyline(const std::vector<Vec2>& pts, float width, bool closed) {
  if (pts.size() == 1) StrokeSegment(pts[0], pts[0], width);
  for (std::size_t i = 1; i < pts.size(); ++i) StrokeSegment(pts[i - 1], pts[i], width);
  if (closed && pts.size() > 2) StrokeSegment(pts.back(), pts.front(), width);
}

void Mask::FillPolygon(const std::vector<Vec2>& pts) {
  if (pts.size() < 3) return;
  constexpr int kSub = 8;
  float minY = pts[0].y, maxY = pts[0].y;
  for (const Vec2& p : pts) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(maxY)));
  struct Crossing {
    float x;
    int dir;
  };
  std::vector<Crossing> xs;
  std::vector<int> hits(static_cast<std::size_t>(width_));
  for (int y = y0; y <= y1; ++y) {
    std::fill(hits.begin(), hits.end(), 0);
    for (int s = 0; s < kSub; ++s) {
      float sy = y + (s + 0.5f) / kSub;
      xs.clear();
      for (std::size_t i = 0; i < pts.size(); ++i) {
        Vec2 a = pts[i], b = pts[(i + 1) % pts.size()];
        if ((a.y <= sy) == (b.y <= sy)) continue;
        float t = (sy - a.y) / (b.y - a.y);
        xs.push_back({a.x + t * (b.x - a.x), b.y > a.y ? 1 : -1});
      }
      std::sort(xs.begin(), xs.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
      int winding = 0;
      for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        winding += xs[i].dir;
        if (winding == 0) continue;
        // Samples at x + (k + 0.5) / kSub that fall in [xs[i].x, xs[i+1].x).
        int first = static_cast<int>(std::ceil(xs[i].x * kSub - 0.5f));
        int last = static_cast<int>(std::ceil(xs[i + 1].x * kSub - 0.5f)) - 1;
        first = std::max(first, 0);
        last = std::min(last, width_ * kSub - 1);
        for (int k = first; k <= last; ++k) ++hits[static_cast<std::size_t>(k / kSub)];
      }
    }
    for (int x = 0; x < width_; ++x)
      if (hits[static_cast<std::size_t>(x)]) Raise(x, y, static_cast<float>(hits[static_cast<std::size_t>(x)]) / (kSub * kSub));
  }
}

void Mask::FillEllipse(Vec2 centre, float rx, float ry) {
  int x0 = std::max(0, static_cast<int>(std::floor(centre.x - rx - 1)));
  int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(centre.x + rx + 1)));
  int y0 = std::max(0, static_cast<int>(std::floor(centre.y - ry - 1)));
  int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(centre.y + ry + 1)));
  float rmin = std::min(rx, ry);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float nx = (x + 0.5f - centre.x) / rx, ny = (y + 0.5f - centre.y) / ry;
      float d = (std::sqrt(nx * nx + ny * ny) - 1) * rmin;
      Raise(x, y, Clamp01(0.5f - d));
    }
}

void Mask::BoxPass(int radius, bool horizontal) {
  int n = horizontal ? width_ : height_;
  int lines = horizontal ? height_ : width_;
  std::vector<float> line(static_cast<std::size_t>(n)), out(static_cast<std::size_t>(n));
  float norm = 1.0f / static_cast<float>(2 * radius + 1);
  for (int l = 0; l < lines; ++l) {
    for (int i = 0; i < n; ++i) line[static_cast<std::size_t>(i)] = horizontal ? v_[Index(i, l)] : v_[Index(l, i)];
    auto at = [&](int i) { return line[static_cast<std::size_t>(std::clamp(i, 0, n - 1))]; };
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += at(i);
    for (int i = 0; i < n; ++i) {
      out[static_cast<std::size_t>(i)] = sum * norm;
      sum += at(i + radius + 1) - at(i - radius);
    }
    for (int i = 0; i < n; ++i) (horizontal ? v_[Index(i, l)] : v_[Index(l, i)]) = out[static_cast<std::size_t>(i)];
  }
}

void Mask::Blur(int radius) {
  if (radius <= 0) return;
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(radius, true);
    BoxPass(radius, false);
  }
}

void Mask::Scale(float f) {
  for (float& v : v_) v *= f;
}

void Mask::Modulate(const std::function<float(int, int)>& weight) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) v_[Index(x, y)] *= weight(x, y);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void Canvas::Shade(const std::function<Rgb(int, int)>& colour) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) At(x, y) = colour(x, y);
}

void Canvas::Paint(const Mask& m, const std::function<Rgb(int, int)>& paint, float opacity) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float a = Clamp01(m.At(x, y) * opacity);
      if (a > 0) At(x, y) = Lerp(At(x, y), paint(x, y), a);
    }
}

void Canvas::Paint(const Mask& m, Rgb colour, float opacity) {
  Paint(m, [colour](int, int) { return colour; }, opacity);
}

void Canvas::Light(const Mask& m, Rgb colour, float strength) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float a = m.At(x, y) * strength;
      if (a <= 0) continue;
      Rgb& p = At(x, y);
      p.r = 1 - (1 - p.r) * (1 - Clamp01(colour.r * a));
      p.g = 1 - (1 - p.g) * (1 - Clamp01(colour.g * a));
      p.b = 1 - (1 - p.b) * (1 - Clamp01(colour.b * a));
    }
}

Bitmap32 Canvas::ToBitmap() const {
  static constexpr std::uint8_t kBayer[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
      {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
  Bitmap32 out(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float dither = (kBayer[y & 7][x & 7] + 0.5f) / 64.0f;
      auto q = [dither](float c) {
        return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::floor(Clamp01(c) * 255.0f + dither)), 0, 255));
      };
      const Rgb& c = At(x, y);
      out.At(x, y) = Pixel32{q(c.b), q(c.g), q(c.r), 255};
    }
  return out;
}

}  // namespace artgen
