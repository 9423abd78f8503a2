#include "tools/glyphgen/Glyphs.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

#include "tools/artgen/Raster.h"

namespace glyphgen {

namespace {

using artgen::Hex;
using artgen::Mask;
using artgen::Rgb;
using artgen::Vec2;

// The three looks of a glyph: its outline ("ink") and its faces ("fill", "face").
struct Look {
  Rgb ink, fill, face;
  float opacity;
};
// Normal: the skin's pinkish text grey over garnet; disabled: flat grey, half seen; pressed:
// the hot text's pink over a brighter garnet.
const Look kLooks[kCells] = {
    {Hex(0xC9B9BB), Hex(0x6E1526), Hex(0x9A2A40), 1.0f},
    {Hex(0x8A8486), Hex(0x3C3A3B), Hex(0x555254), 0.55f},
    {Hex(0xFFE4EA), Hex(0x8E1C33), Hex(0xC43A55), 1.0f},
};

struct Layer {
  Mask mask;
  Rgb Look::*colour;
};

class Glyph {
 public:
  Mask& Add(Rgb Look::*colour) {
    layers_.push_back(Layer{Mask(kCell, kCell), colour});
    return layers_.back().mask;
  }
  // Composites the layers, first at the bottom, over transparency into one cell.
  void Render(Bitmap32& strip, int cell) const {
    const Look& look = kLooks[cell];
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x) {
        float r = 0, g = 0, b = 0, a = 0;  // premultiplied
        for (const Layer& l : layers_) {
          const float c = l.mask.At(x, y) * look.opacity;
          const Rgb& col = look.*(l.colour);
          r = col.r * c + r * (1 - c);
          g = col.g * c + g * (1 - c);
          b = col.b * c + b * (1 - c);
          a = c + a * (1 - c);
        }
        Pixel32& p = strip.At(cell * kCell + x, y);
        auto channel = [a](float v) { return static_cast<uint8_t>(std::lround(a > 0 ? std::min(1.0f, v / a) * 255 : 0)); };
        p = Pixel32{channel(b), channel(g), channel(r), static_cast<uint8_t>(std::lround(a * 255))};
      }
  }

 private:
  std::vector<Layer> layers_;
};

void Folder(Glyph& g) {
  const std::vector<Vec2> back{{1.5f, 3.5f}, {6.0f, 3.5f}, {7.5f, 5.0f}, {14.5f, 5.0f}, {14.5f, 13.5f}, {1.5f, 13.5f}};
  const std::vector<Vec2> front{{1.5f, 13.5f}, {3.5f, 7.5f}, {15.0f, 7.5f}, {13.0f, 13.5f}};
  g.Add(&Look::fill).FillPolygon(back);
  g.Add(&Look::ink).StrokePolyline(back, 1.0f, true);
  g.Add(&Look::face).FillPolygon(front);
  g.Add(&Look::ink).StrokePolyline(front, 1.0f, true);
}

void File(Glyph& g) {
  const std::vector<Vec2> page{{3.5f, 1.5f}, {10.0f, 1.5f}, {13.5f, 5.0f}, {13.5f, 14.5f}, {3.5f, 14.5f}};
  g.Add(&Look::fill).FillPolygon(page);
  Mask& ink = g.Add(&Look::ink);
  ink.StrokePolyline(page, 1.0f, true);
  ink.StrokePolyline({{10.0f, 1.5f}, {10.0f, 5.0f}, {13.5f, 5.0f}}, 1.0f);
  for (float y : {7.5f, 9.5f, 11.5f}) ink.StrokeSegment({5.5f, y}, {11.5f, y}, 0.9f);
}

void Date(Glyph& g) {
  const std::vector<Vec2> body{{1.5f, 2.5f}, {14.5f, 2.5f}, {14.5f, 14.5f}, {1.5f, 14.5f}};
  g.Add(&Look::fill).FillPolygon(body);
  g.Add(&Look::face).FillPolygon({{1.5f, 2.5f}, {14.5f, 2.5f}, {14.5f, 5.5f}, {1.5f, 5.5f}});
  Mask& ink = g.Add(&Look::ink);
  ink.StrokePolyline(body, 1.0f, true);
  for (float y : {8.5f, 11.5f})
    for (float x : {4.5f, 8.0f, 11.5f}) ink.FillEllipse({x, y}, 1.0f, 1.0f);
}

void Ellipsis(Glyph& g) {
  Mask& ink = g.Add(&Look::ink);
  for (float x : {4.0f, 8.0f, 12.0f}) ink.FillEllipse({x, 11.0f}, 1.4f, 1.4f);
}

void Calculator(Glyph& g) {
  const std::vector<Vec2> body{{3.0f, 1.5f}, {13.0f, 1.5f}, {13.0f, 14.5f}, {3.0f, 14.5f}};
  g.Add(&Look::fill).FillPolygon(body);
  g.Add(&Look::face).FillPolygon({{4.5f, 3.0f}, {11.5f, 3.0f}, {11.5f, 6.0f}, {4.5f, 6.0f}});
  Mask& ink = g.Add(&Look::ink);
  ink.StrokePolyline(body, 1.0f, true);
  for (float y : {8.5f, 11.5f})
    for (float x : {5.5f, 8.0f, 10.5f}) ink.FillEllipse({x, y}, 0.9f, 0.9f);
}

}  // namespace

Bitmap32 RenderGlyphStrip(const std::string& name) {
  Glyph g;
  if (name == "SF")
    File(g);
  else if (name == "SR")
    Folder(g);
  else if (name == "SD")
    Date(g);
  else if (name == "SE")
    Ellipsis(g);
  else if (name == "SC")
    Calculator(g);
  else
    throw std::invalid_argument("no glyph named " + name);
  Bitmap32 strip(kCell * kCells, kCell);
  for (int cell = 0; cell < kCells; ++cell) g.Render(strip, cell);
  return strip;
}

}  // namespace glyphgen
