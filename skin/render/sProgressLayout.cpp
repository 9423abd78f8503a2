#include "skin/render/sProgressLayout.h"

#include <cmath>

namespace {

// Reals rounded to nearest, ties to even.
int32_t Round(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

struct Geometry {
  TsRect fill;
  int32_t w = 0, h = 0;  // block size
  int32_t length = 0;    // the inner length along the bar
  int32_t n = 0, gap = 0, k = 0;
};

Geometry Measure(const ProgressBarState& bar) {
  Geometry g;
  const int32_t bw = bar.BorderWidth;
  const int32_t innerW = bar.Width - 2, innerH = bar.Height - 2;
  const int32_t l = 1 + bw;
  TsRect& f = g.fill;
  f = TsRect{l, 1 + bw, bar.Width - 1 - bw, bar.Height - 1 - bw};
  const int32_t range = bar.Max - bar.Min;
  if (bar.Marquee) {
    if (bar.Vertical) {
      f.Bottom = bar.Height - bar.MarqueeOffset;
      f.Top = f.Bottom - kMarqueeExtent;
    } else {
      f.Left = l + bar.MarqueeOffset;
      f.Right = f.Left + kMarqueeExtent;
    }
  } else if (range != 0) {
    const int32_t done = bar.Position - bar.Min;
    if (bar.Vertical)
      f.Top = bar.Position == bar.Max ? l : f.Bottom - Round(static_cast<double>(bar.Height - 2 * l) / range * done);
    else
      f.Right = bar.Position == bar.Max ? bar.Width - l : l + Round(static_cast<double>(bar.Width - 2 * l) / range * done);
  }
  if (bar.Vertical) {
    g.w = innerW - 2 * bw;
    g.h = bar.Marquee ? kMarqueeBlockLength : bar.Smooth ? f.Bottom : Round(g.w * 0.66) - 2;
    g.length = innerH;
  } else {
    g.h = innerH - 2 * bw;
    g.w = bar.Marquee ? kMarqueeBlockLength : bar.Smooth ? f.Right : Round(g.h * 0.66) - 2;
    g.length = innerW;
  }
  const int32_t block = bar.Vertical ? g.h : g.w;
  // A block too small to have a size of its own fits nowhere (and must not divide by zero).
  g.n = block + 2 > 0 ? (g.length - 2) / (block + 2) : 0;
  g.gap = g.n > 1 ? (g.length - 2 - block * g.n) / (g.n - 1) : 0;
  if (g.n > 1 && bar.Max != 0 && bar.Position != 0 && range > 0)
    g.k = Round((bar.Position - bar.Min) * (static_cast<double>(g.n) / range));
  return g;
}

}  // namespace

int32_t FilledProgressBlocks(const ProgressBarState& bar) { return Measure(bar).k; }

ProgressLayout LayoutProgressBar(const ProgressBarState& bar) {
  const Geometry g = Measure(bar);
  ProgressLayout out;
  out.Fill = g.fill;
  out.BlockWidth = g.w;
  out.BlockHeight = g.h;
  out.Count = g.n;
  out.Gap = g.gap;
  out.Filled = g.k;
  const TsRect& f = g.fill;
  if (bar.Min >= bar.Max || f.Left >= f.Right || f.Top >= f.Bottom || g.w <= 1 || g.h <= 1) return out;
  auto add = [&](int32_t x, int32_t y, int32_t w, int32_t h) { out.Blocks.push_back(TsRect{x, y, x + w, y + h}); };
  if (bar.Marquee) {
    for (int32_t i = 0; i < kMarqueeBlocks; ++i) {
      if (bar.Vertical) {
        int32_t y = f.Bottom - i * (g.h + 1) - g.h;
        if (y < 0) y += bar.Height;
        add(f.Left, y, g.w, g.h);
      } else {
        int32_t x = i * (g.w + 1) + f.Left;
        if (x > bar.Width) x -= bar.Width;
        add(x, f.Top, g.w, g.h);
      }
    }
    return out;
  }
  if (bar.Smooth) {
    if (bar.Vertical)
      add(f.Left, f.Top, g.w, f.Height());
    else
      add(f.Left, f.Top, f.Width(), g.h);
    return out;
  }
  if (bar.Max == 0 || bar.Position == 0 || g.n <= 1) return out;
  for (int32_t i = 0; i < g.k; ++i) {
    if (bar.Vertical)
      add(f.Left, f.Bottom - i * (g.h + g.gap) - g.h, g.w, g.h);
    else
      add(i * (g.w + g.gap) + f.Left, f.Top, g.w, g.h);
  }
  if (g.k > 0 && bar.Position == bar.Max) {
    // What is left after the last block gets one narrower block.
    const int32_t block = bar.Vertical ? g.h : g.w;
    const int32_t s = (g.length - 2) - (g.k - 1) * (block + g.gap) - block;
    if (s > 3) {
      if (bar.Vertical)
        add(f.Left, f.Top, g.w, bar.Height - 2 - g.k * (g.h + g.gap));
      else
        add(g.k * (g.w + g.gap) + f.Left, f.Top, s, g.h);
    }
  }
  return out;
}
