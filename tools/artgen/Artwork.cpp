#include "tools/artgen/Artwork.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/artgen/Raster.h"
#include "tools/artgen/StrokeFont.h"

namespace artgen {

namespace {

// The identity's palette.
const Rgb kInkDark = Hex(0x0E0C0D);
const Rgb kInk = Hex(0x1B1618);
const Rgb kGarnetDeep = Hex(0x4A0B17);
const Rgb kGarnetBright = Hex(0xC43A55);
const Rgb kBlush = Hex(0xE9D6D8);
const Rgb kCaption = Hex(0x998989);

// 1 where the picture is seen, falling to 0 a few pixels under the page panels,
// so decorations fade out instead of ending in hard edges beneath them.
float Exposed(float x, float y) {
  float inside = std::min(x - kCoveredLeft, y - kCoveredTop);
  return 1 - SmoothStep(-2, 10, inside);
}

float Gauss(float dx, float dy, float radius) { return std::exp(-(dx * dx + dy * dy) / (radius * radius)); }

Rgb Screen(Rgb a, Rgb b, float k) {
  auto s = [k](float x, float y) { return 1 - (1 - x) * (1 - Clamp01(y * k)); };
  return {s(a.r, b.r), s(a.g, b.g), s(a.b, b.b)};
}

Vec2 Bezier(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, float t) {
  float u = 1 - t;
  float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

Vec2 Mix(Vec2 a, Vec2 b, float t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

const Vec2 kGemCentre{60, 50};

void PaintBackdrop(Canvas& c) {
  c.Shade([](int x, int y) {
    float t = Clamp01(0.3f * x / kArtWidth + 0.7f * y / kArtHeight);
    Rgb base = Lerp(kInk, kInkDark, t);
    base = Screen(base, kGarnetDeep, 0.85f * Gauss(x - kGemCentre.x, y - kGemCentre.y, 150));
    base = Screen(base, kGarnetDeep, 0.55f * Gauss(x - 0.0f, y - 440.0f, 170));
    return base;
  });
}

// A bundle of hairlines interpolated between two guide curves over a soft
// glow: reads as a gently twisting ribbon of light.
void PaintRibbon(Canvas& c, const Vec2 a[4], const Vec2 b[4], int lines, Rgb colour, float strength) {
  auto fade = [](int x, int y) { return Exposed(static_cast<float>(x), static_cast<float>(y)); };
  Mask glow(c.Width(), c.Height());
  for (int i = 0; i < lines; ++i) {
    float s = static_cast<float>(i) / static_cast<float>(lines - 1);
    Vec2 p[4];
    for (int k = 0; k < 4; ++k) p[k] = Mix(a[k], b[k], s);
    std::vector<Vec2> pts;
    for (int j = 0; j <= 160; ++j) pts.push_back(Bezier(p[0], p[1], p[2], p[3], static_cast<float>(j) / 160));
    Mask m(c.Width(), c.Height());
    m.StrokePolyline(pts, 0.8f);
    glow.StrokePolyline(pts, 1.5f);
    // Brighter in the middle of the bundle.
    float across = std::sin(s * 3.14159265f);
    m.Modulate(fade);
    c.Light(m, colour, strength * (0.25f + 0.75f * across));
  }
  glow.Blur(5);
  glow.Modulate(fade);
  c.Light(glow, colour, strength * 0.6f);
}

void PaintRibbons(Canvas& c) {
  // Rising from the lower left corner and passing under the page panels.
  const Vec2 a[4] = {{-20, 410}, {70, 340}, {80, 240}, {150, 190}};
  const Vec2 b[4] = {{-30, 330}, {100, 300}, {10, 190}, {150, 130}};
  PaintRibbon(c, a, b, 26, kGarnetBright, 0.40f);
  // A fainter one across the top band, right of the name.
  const Vec2 d[4] = {{250, 110}, {360, 90}, {400, 30}, {490, 10}};
  const Vec2 e[4] = {{300, 120}, {380, 60}, {440, 70}, {490, 40}};
  PaintRibbon(c, d, e, 20, kGarnetBright, 0.28f);
}

// Deterministic scatter: a small integer hash instead of a random generator.
float Hash01(unsigned n) {
  n = (n ^ 61u) ^ (n >> 16);
  n *= 9u;
  n ^= n >> 4;
  n *= 0x27d4eb2du;
  n ^= n >> 15;
  return static_cast<float>(n & 0xFFFFFFu) / static_cast<float>(0x1000000);
}

// Motes of light drifting along the lower ribbon.
void PaintMotes(Canvas& c) {
  const Vec2 a[4] = {{-20, 390}, {80, 320}, {50, 220}, {150, 160}};
  Mask m(c.Width(), c.Height());
  Mask core(c.Width(), c.Height());
  for (unsigned i = 0; i < 14; ++i) {
    Vec2 p = Bezier(a[0], a[1], a[2], a[3], Hash01(i * 3 + 1));
    p.x += (Hash01(i * 3 + 2) - 0.5f) * 60;
    p.y += (Hash01(i * 3 + 3) - 0.5f) * 50;
    float r = 0.6f + 1.4f * Hash01(i * 7 + 5);
    m.FillEllipse(p, r * 2.5f, r * 2.5f);
    core.FillEllipse(p, r * 0.6f, r * 0.6f);
  }
  m.Blur(2);
  auto fade = [](int x, int y) { return Exposed(static_cast<float>(x), static_cast<float>(y)); };
  m.Modulate(fade);
  core.Modulate(fade);
  c.Light(m, kGarnetBright, 0.5f);
  c.Light(core, kBlush, 0.35f);
}

void PaintGem(Canvas& c) {
  const Vec2 o = kGemCentre;
  auto P = [o](float x, float y) { return Vec2{o.x + x, o.y + y}; };
  // Crown from the table down to the girdle, pavilion down to the culet.
  const Vec2 A = P(-18, -22), C = P(0, -22), B = P(18, -22);
  const Vec2 L = P(-34, -7), M1 = P(-12, -7), M2 = P(12, -7), R = P(34, -7);
  const Vec2 Q = P(0, 30);
  struct Facet {
    std::vector<Vec2> pts;
    unsigned colour;
  };
  const Facet facets[] = {
      {{L, A, M1}, 0xB22B45}, {{A, C, M1}, 0xD9506C}, {{C, M2, M1}, 0xA0213A}, {{C, B, M2}, 0xC03752},
      {{B, R, M2}, 0x7E1628}, {{L, M1, Q}, 0x8A1A2E}, {{M1, M2, Q}, 0x66101F}, {{M2, R, Q}, 0x420914},
  };
  Mask whole(c.Width(), c.Height());
  whole.FillPolygon({A, B, R, Q, L});
  Mask glow = whole;
  glow.Blur(9);
  c.Light(glow, kGarnetBright, 0.9f);
  for (const Facet& f : facets) {
    Mask m(c.Width(), c.Height());
    m.FillPolygon(f.pts);
    Rgb col = Hex(f.colour);
    c.Paint(m, [&](int, int y) { return Lerp(col, Lerp(col, kInkDark, 0.35f), Clamp01((y - (o.y - 22)) / 52)); });
  }
  Mask edges(c.Width(), c.Height());
  edges.StrokePolyline({A, B, R, Q, L}, 1.0f, true);
  edges.StrokePolyline({L, R}, 0.8f);
  edges.StrokePolyline({A, M1, C, M2, B}, 0.8f);
  edges.StrokePolyline({M1, Q, M2}, 0.8f);
  c.Paint(edges, Hex(0xF0C4CC), 0.45f);
  // A small four-point sparkle on the lit side of the table.
  Mask star(c.Width(), c.Height());
  Vec2 s = P(-9, -18);
  star.FillPolygon({{s.x, s.y - 7}, {s.x + 1.1f, s.y - 1.1f}, {s.x + 7, s.y}, {s.x + 1.1f, s.y + 1.1f},
                    {s.x, s.y + 7}, {s.x - 1.1f, s.y + 1.1f}, {s.x - 7, s.y}, {s.x - 1.1f, s.y - 1.1f}});
  Mask halo = star;
  halo.Blur(2);
  c.Light(halo, kBlush, 0.8f);
  c.Paint(star, Hex(0xFFF4F5), 0.95f);
}

void PaintTitle(Canvas& c) {
  const TextStyle title{38, 3.6f, 1.5f};
  const Vec2 at{128, 60};
  Mask m(c.Width(), c.Height());
  DrawText(m, "Kestamor", at, title);
  Mask glow = m;
  glow.Blur(6);
  c.Light(glow, kGarnetBright, 0.55f);
  c.Paint(m, [&](int, int y) { return Lerp(Hex(0xF6ECEC), Hex(0xC9B2B5), Clamp01((y - (at.y - 38)) / 48)); });

  const TextStyle tag{8, 1.1f, 3.2f};
  Mask t(c.Width(), c.Height());
  DrawText(t, "DESKTOP SUITE SETUP", {130, 84}, tag);
  c.Paint(t, kCaption);
}

void PaintFooter(Canvas& c) {
  const TextStyle small{7, 1.0f, 1.6f};
  Mask t(c.Width(), c.Height());
  DrawText(t, "VERSION 1.1", {14, 406}, small);
  c.Paint(t, kCaption, 0.85f);
}

}  // namespace

Bitmap32 RenderBackground() {
  Canvas c(kArtWidth, kArtHeight);
  PaintBackdrop(c);
  PaintRibbons(c);
  PaintMotes(c);
  PaintGem(c);
  PaintTitle(c);
  PaintFooter(c);
  return c.ToBitmap();
}

}  // namespace artgen
