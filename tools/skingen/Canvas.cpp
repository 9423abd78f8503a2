#include "tools/skingen/Canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

Rgb Mix(Rgb a, Rgb b, double t) {
  auto ch = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

Rgb Ramp(Rgb a, Rgb b, int i, int n) { return n <= 1 ? a : Mix(a, b, double(i) / (n - 1)); }

Rgb Canvas::Get(int x, int y) const {
  if (!bmp_.Contains(x, y)) return kKey;
  const Pixel32& p = bmp_.At(x, y);
  return {p.R, p.G, p.B};
}

void Canvas::Set(int x, int y, Rgb c) {
  if (!bmp_.Contains(x, y)) return;
  // A colour that merely comes close to the key is moved off it: only exact key pixels
  // are transparent, and art must never turn transparent by accident.
  if (c == kKey) c.r = 254;
  bmp_.At(x, y) = Pixel32{static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g),
                          static_cast<uint8_t>(c.r), 255};
}

void Canvas::Fill(const Rect& r, Rgb c) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      if (c == kKey) {
        if (bmp_.Contains(x, y)) bmp_.At(x, y) = Pixel32{255, 0, 255, 255};
      } else {
        Set(x, y, c);
      }
    }
}

void Canvas::Blend(int x, int y, Rgb c, double a) {
  if (a <= 0 || !bmp_.Contains(x, y)) return;
  if (IsKey(x, y)) {
    if (a >= 0.5) Set(x, y, c);
    return;
  }
  Set(x, y, Mix(Get(x, y), c, std::min(a, 1.0)));
}

namespace {

double SegmentDistance(Pt p, Pt a, Pt b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

bool Inside(const Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

void Canvas::Stroke(const std::vector<Pt>& pts, double width, Rgb c, const Rect& clip) {
  const double half = width / 2;
  for (int y = clip.top; y < clip.bottom; ++y)
    for (int x = clip.left; x < clip.right; ++x) {
      Pt p{x + 0.5, y + 0.5};
      double d = 1e9;
      for (size_t i = 0; i + 1 < pts.size(); ++i) d = std::min(d, SegmentDistance(p, pts[i], pts[i + 1]));
      Blend(x, y, c, std::clamp(half + 0.5 - d, 0.0, 1.0));
    }
}

void Canvas::FillPolygon(const std::vector<Pt>& pts, Rgb c, const Rect& clip) {
  auto inside = [&](double px, double py) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      if ((pts[i].y > py) != (pts[j].y > py) &&
          px < (pts[j].x - pts[i].x) * (py - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
        in = !in;
    }
    return in;
  };
  for (int y = clip.top; y < clip.bottom; ++y)
    for (int x = clip.left; x < clip.right; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
          if (inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)) ++hits;
      if (hits && Inside(clip, x, y)) Blend(x, y, c, hits / 16.0);
    }
}

void Canvas::FillDisc(Pt centre, double radius, Rgb c, const Rect& clip) {
  for (int y = clip.top; y < clip.bottom; ++y)
    for (int x = clip.left; x < clip.right; ++x) {
      double d = std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y);
      Blend(x, y, c, std::clamp(radius + 0.5 - d, 0.0, 1.0));
    }
}

double RoundedDepth(int x, int y, int w, int h, double rtl, double rtr, double rbl, double rbr) {
  const double px = x + 0.5, py = y + 0.5;
  auto corner = [&](double cx, double cy, double r, bool inX, bool inY) -> double {
    if (r <= 0 || !inX || !inY) return 1e9;
    return r - std::hypot(px - cx, py - cy);
  };
  double d = std::min({px, py, w - px, h - py});
  d = std::min(d, corner(rtl, rtl, rtl, px < rtl, py < rtl));
  d = std::min(d, corner(w - rtr, rtr, rtr, px > w - rtr, py < rtr));
  d = std::min(d, corner(rbl, h - rbl, rbl, px < rbl, py > h - rbl));
  d = std::min(d, corner(w - rbr, h - rbr, rbr, px > w - rbr, py > h - rbr));
  return d;
}

}  // namespace skingen
