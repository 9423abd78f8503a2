// A small, deterministic drawing layer over Bitmap32 for the skin generator: colours,
// rounded-rectangle rings, anti-aliased strokes and filled shapes. Pixels equal to the key
// colour 0xFF00FF are transparent in every skin image; shapes drawn over them are cut hard
// (a 24-bit skin image has no alpha to soften an edge with).
#pragma once

#include <vector>

#include "image/Bitmap32.h"
#include "tools/skingen/SkinLayout.h"

namespace skingen {

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kKey{255, 0, 255};

Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
// A vertical or horizontal blend over [0, n - 1].
Rgb Ramp(Rgb a, Rgb b, int i, int n);

struct Pt {
  double x = 0, y = 0;
};

class Canvas {
 public:
  explicit Canvas(Bitmap32& bmp) : bmp_(bmp) {}
  int Width() const { return bmp_.Width(); }
  int Height() const { return bmp_.Height(); }

  Rgb Get(int x, int y) const;
  void Set(int x, int y, Rgb c);
  bool IsKey(int x, int y) const { return Get(x, y) == kKey; }
  void Fill(const Rect& r, Rgb c);
  // Blends c over the pixel with weight a (0..1). Over a key pixel the colour is set when
  // a is at least one half and the key stays otherwise.
  void Blend(int x, int y, Rgb c, double a);

  // Anti-aliased stroke of a polyline (round caps), clipped to `clip`. Coordinates are in
  // pixels with pixel centres at +0.5.
  void Stroke(const std::vector<Pt>& pts, double width, Rgb c, const Rect& clip);
  // Filled polygon (even-odd rule, 4 x 4 samples per pixel), clipped to `clip`.
  void FillPolygon(const std::vector<Pt>& pts, Rgb c, const Rect& clip);
  // Filled disc.
  void FillDisc(Pt centre, double radius, Rgb c, const Rect& clip);

 private:
  Bitmap32& bmp_;
};

// Distance from the centre of pixel (x, y) of a w x h box to the box's outline, inwards,
// with the given corner radii (top-left, top-right, bottom-left, bottom-right). Negative
// outside. Used to paint rounded frames ring by ring.
double RoundedDepth(int x, int y, int w, int h, double rtl, double rtr, double rbl, double rbr);

}  // namespace skingen
