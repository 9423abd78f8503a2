#include "tools/skingen/GarnetArt.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>

#include "tools/skingen/Canvas.h"

namespace skingen {
namespace {

// ---- Palette --------------------------------------------------------------------------

constexpr Rgb kOutline{12, 10, 11};
constexpr Rgb kFace{45, 37, 37};       // FORM / PANEL colour 2434349
constexpr Rgb kLine{74, 56, 60};       // group-box and track lines
constexpr Rgb kDeep{17, 15, 15};
constexpr Rgb kText{153, 137, 137};    // FONTCOLOR 9013657
constexpr Rgb kPink{255, 192, 192};    // HOTFONTCOLOR 12632319
constexpr Rgb kGarnet{140, 28, 48};
constexpr Rgb kGarnetBright{206, 52, 78};
constexpr Rgb kGarnetGlow{246, 104, 128};

enum State { kNormal = 0, kHot = 1, kPressed = 2 };

using Painter = std::function<void(Canvas&, const ImageDesc&)>;

// Paints a cell ring by ring: pixels outside the rounded box keep the key colour, the
// first rings take `rings` from the outside in, the rest `inside(x, y)` (cell coordinates).
// `boxHeight` (when above 0) lets the box run on below the cell, open at the bottom.
void RingCell(Canvas& c, const Rect& cell, double rtl, double rtr, double rbl, double rbr,
              const std::vector<Rgb>& rings, const std::function<Rgb(int, int)>& inside,
              int boxHeight = 0) {
  const int w = cell.Width(), h = cell.Height();
  const int bh = boxHeight > 0 ? boxHeight : h;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      double d = RoundedDepth(x, y, w, bh, rtl, rtr, rbl, rbr);
      Rgb col;
      if (d <= 0) {
        col = kKey;
      } else {
        size_t ring = static_cast<size_t>(d);
        col = ring < rings.size() ? rings[ring] : inside(x, y);
      }
      if (col == kKey)
        c.Fill({cell.left + x, cell.top + y, cell.left + x + 1, cell.top + y + 1}, kKey);
      else
        c.Set(cell.left + x, cell.top + y, col);
    }
}

void RingCell(Canvas& c, const Rect& cell, double r, const std::vector<Rgb>& rings, Rgb inside) {
  RingCell(c, cell, r, r, r, r, rings, [inside](int, int) { return inside; });
}

Rect Local(const Rect& cell, double l, double t, double r, double b) {
  return {cell.left + static_cast<int>(l), cell.top + static_cast<int>(t),
          cell.left + static_cast<int>(std::ceil(r)), cell.top + static_cast<int>(std::ceil(b))};
}

std::vector<Pt> Shift(std::vector<Pt> pts, const Rect& cell, double dx = 0, double dy = 0) {
  for (Pt& p : pts) {
    p.x += cell.left + dx;
    p.y += cell.top + dy;
  }
  return pts;
}

// ---- Window frame and title bar -------------------------------------------------------

// The frame rings from the outside in; cell 0 is the inactive look, cell 1 the active one.
std::vector<Rgb> FrameRings(int cell) {
  return {kOutline, cell ? Rgb{128, 30, 48} : Rgb{68, 60, 62}, cell ? Rgb{72, 38, 46} : Rgb{52, 46, 48}};
}

void PaintForm(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i) {
    std::vector<Rgb> rings = FrameRings(i);
    rings.push_back(kFace);
    RingCell(c, d.Cell(i), 0, 0, 3, 3, rings, [](int, int) { return kFace; });
  }
}

// The title bar's bottom four rows double as the top rows of the FORM frame below it:
// they keep the frame's side rings, so the picture reads right either way.
void PaintFormTitle(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    const int h = cell.Height();
    const Rgb top = i ? Rgb{84, 28, 42} : Rgb{52, 48, 49};
    const Rgb bottom = i ? Rgb{36, 29, 31} : Rgb{32, 30, 30};
    const Rgb shine = i ? Rgb{132, 58, 74} : Rgb{76, 70, 71};
    const Rgb accent = i ? Rgb{168, 38, 60} : Rgb{62, 56, 57};
    RingCell(c, cell, 6, 6, 0, 0, FrameRings(i),
             [&](int, int y) -> Rgb {
               if (y == 3) return shine;
               if (y == h - 2) return accent;
               if (y == h - 1) return Rgb{20, 17, 18};
               return Ramp(top, bottom, std::clamp(y - 4, 0, h - 8), h - 7);
             },
             h + 40);
  }
}

// ---- Buttons --------------------------------------------------------------------------

struct ButtonLook {
  Rgb outline, ring, top, bottom;
};

ButtonLook ButtonState(int state) {
  switch (state) {
    case kHot: return {{44, 6, 14}, {236, 98, 120}, {186, 48, 72}, {112, 22, 40}};
    case kPressed: return {{30, 5, 10}, {112, 26, 42}, {84, 16, 30}, {128, 30, 48}};
    default: return {kOutline, {92, 76, 80}, {76, 63, 66}, {42, 35, 37}};
  }
}

// A push button cell; the hot cell's second row from the bottom is a glow line that is
// brightest in the middle (skins reuse that row as a stretched texture).
void PaintButtonCell(Canvas& c, const Rect& cell, int state, double radius, int flatFrom, int flatTo) {
  const ButtonLook look = ButtonState(state);
  const int w = cell.Width(), h = cell.Height();
  RingCell(c, cell, radius, radius, radius, radius, {look.outline, look.ring}, [&](int, int y) -> Rgb {
    // Vertical shading with an optional flat band (tiled middles must not stripe).
    int yy = y;
    if (flatFrom >= 0 && y >= flatFrom && y <= flatTo) yy = flatFrom;
    if (flatFrom >= 0 && y > flatTo) yy = y - (flatTo - flatFrom);
    int span = flatFrom >= 0 ? h - (flatTo - flatFrom) : h;
    Rgb base = Ramp(look.top, look.bottom, yy, span);
    // A soft sheen across the upper half.
    if (yy < span / 2) base = Mix(base, Rgb{255, 255, 255}, 0.06 * (1.0 - double(yy) / (span / 2)));
    return base;
  });
  if (state == kHot) {  // the glow line also covers the bottom ring row
    for (int x = 2; x < w - 2; ++x) {
      double t = std::abs((x + 0.5) - w / 2.0) / (w / 2.0);
      c.Set(cell.left + x, cell.top + h - 2, Mix(Rgb{255, 150, 168}, Rgb{150, 34, 52}, std::pow(t, 1.6)));
    }
  }
}

void PaintButton(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i) PaintButtonCell(c, d.Cell(i), std::min(i, 2), 4, -1, -1);
}

void PaintSmallButton(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i) PaintButtonCell(c, d.Cell(i), std::min(i, 2), 3, -1, -1);
}

// The HOTPATTERN texture is a row of BUTTON's hot cell: it must be drawn and hold no key
// pixel, since textures are stretched without transparency.
void CheckInsideButton(Canvas& c, const ImageDesc& d) {
  for (int y = d.rect.top; y < d.rect.bottom; ++y)
    for (int x = d.rect.left; x < d.rect.right; ++x)
      if (c.IsKey(x, y)) throw std::runtime_error(d.Name() + ": texture pixel is the key colour");
}

// ---- Edits, panels, bars --------------------------------------------------------------

void PaintEdit(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i) {
    std::vector<Rgb> rings = i ? std::vector<Rgb>{{178, 42, 64}, {84, 22, 36}}
                               : std::vector<Rgb>{{82, 66, 70}, {26, 22, 23}};
    RingCell(c, d.Cell(i), 2, rings, Rgb{0, 0, 0});
  }
}

void PaintPanel(Canvas& c, const ImageDesc& d) {
  RingCell(c, d.Cell(0), 3, {{16, 13, 14}, {86, 62, 67}, {57, 47, 49}}, kFace);
}

void PaintPanelLow(Canvas& c, const ImageDesc& d) {
  RingCell(c, d.Cell(0), 2, {{10, 9, 9}, {26, 22, 23}}, Rgb{33, 28, 29});
}

void PaintGroupBox(Canvas& c, const ImageDesc& d) {
  RingCell(c, d.Cell(0), 2, {kLine}, kKey);
}

// DIVIDER and the vertical scroll tracks start on GROUPBOX's right column: their first
// pixel is that same line colour, so each picture reads right on its own.
void PaintDivider(Canvas& c, const ImageDesc& d) { c.Fill(d.rect, kLine); }

void PaintTrackV(Canvas& c, const ImageDesc& d) {
  c.Fill({d.rect.left + 1, d.rect.top, d.rect.right - 1, d.rect.bottom}, Rgb{0, 0, 0});
  c.Fill({d.rect.left, d.rect.top, d.rect.left + 1, d.rect.bottom}, kLine);
  c.Fill({d.rect.right - 1, d.rect.top, d.rect.right, d.rect.bottom}, kLine);
}

void PaintTrackH(Canvas& c, const ImageDesc& d) {
  c.Fill({d.rect.left, d.rect.top + 1, d.rect.right, d.rect.bottom - 1}, Rgb{0, 0, 0});
  c.Fill({d.rect.left, d.rect.top, d.rect.right, d.rect.top + 1}, kLine);
  c.Fill({d.rect.left, d.rect.bottom - 1, d.rect.right, d.rect.bottom}, kLine);
}

void PaintDividerV(Canvas& c, const ImageDesc& d) { c.Fill(d.rect, kLine); }

void PaintBarTitle(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i)
    RingCell(c, d.Cell(i), 2,
             i ? std::vector<Rgb>{{60, 10, 22}, {206, 62, 84}} : std::vector<Rgb>{{40, 8, 16}, {152, 40, 60}},
             i ? Rgb{150, 34, 52} : Rgb{110, 24, 40});
}

void PaintToolBar(Canvas& c, const ImageDesc& d) {
  const Rect r = d.Cell(0);
  c.Fill(r, Rgb{38, 32, 33});
  c.Fill({r.left, r.top, r.right, r.top + 1}, Rgb{66, 56, 58});
  c.Fill({r.left, r.top, r.left + 1, r.bottom}, Rgb{66, 56, 58});
  c.Fill({r.left, r.bottom - 1, r.right, r.bottom}, Rgb{16, 14, 14});
  c.Fill({r.right - 1, r.top + 1, r.right, r.bottom}, Rgb{16, 14, 14});
}

void PaintStatusBar(Canvas& c, const ImageDesc& d) {
  const Rect r = d.Cell(0);
  c.Fill(r, Rgb{29, 29, 29});
  c.Fill({r.left, r.top, r.right, r.top + 1}, Rgb{14, 12, 12});
  c.Fill({r.left, r.top + 1, r.right, r.top + 2}, Rgb{112, 28, 44});
}

void PaintPageControl(Canvas& c, const ImageDesc& d) {
  RingCell(c, d.Cell(0), 2, {{14, 12, 12}, {72, 56, 60}}, kFace);
}

// Tabs: drawn for the top edge and turned for the other three. Cells: normal, hot,
// selected (the selected tab is open towards its page).
void PaintTabs(Canvas& c, const ImageDesc& d, int side /*0 top, 1 bottom, 2 left, 3 right*/) {
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    const int w = cell.Width(), h = cell.Height();
    const Rgb ring1 = i == 0 ? Rgb{62, 50, 53} : i == 1 ? Rgb{152, 38, 58} : Rgb{204, 58, 80};
    const Rgb fill = i == 0 ? Rgb{38, 32, 33} : i == 1 ? Rgb{58, 40, 44} : kFace;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        // (u, v): u along the tab's base, v from its rounded end (0) to its open base.
        int u = x, v = y, len = w, dep = h;
        if (side == 1) v = h - 1 - y;
        if (side == 2) { u = y; v = x; len = h; dep = w; }
        if (side == 3) { u = y; v = w - 1 - x; len = h; dep = w; }
        double depth = RoundedDepth(u, v, len, dep + 4, 3, 3, 0, 0);
        Rgb col;
        if (depth <= 0) col = kKey;
        else if (v == dep - 1) col = i == 2 ? fill : Rgb{72, 56, 60};
        else if (depth < 1) col = Rgb{14, 12, 12};
        else if (depth < 2) col = ring1;
        else col = fill;
        if (col == kKey) c.Fill({cell.left + x, cell.top + y, cell.left + x + 1, cell.top + y + 1}, kKey);
        else c.Set(cell.left + x, cell.top + y, col);
      }
  }
}

void PaintColHeader(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i) {
    const Rect r = d.Cell(i);
    const Rgb top = i == 0 ? Rgb{56, 47, 49} : i == 1 ? Rgb{120, 34, 50} : Rgb{70, 20, 32};
    const Rgb bottom = i == 0 ? Rgb{36, 30, 31} : i == 1 ? Rgb{76, 22, 34} : Rgb{100, 26, 42};
    for (int y = r.top; y < r.bottom; ++y) c.Fill({r.left, y, r.right, y + 1}, Ramp(top, bottom, y - r.top, r.Height()));
    c.Fill({r.left, r.top, r.right, r.top + 1}, Mix(top, Rgb{255, 255, 255}, 0.18));
    c.Fill({r.left, r.bottom - 1, r.right, r.bottom}, Rgb{14, 12, 12});
    c.Fill({r.right - 1, r.top + 1, r.right, r.bottom - 1}, Rgb{92, 72, 76});
  }
}

void PaintMenuItem(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i)
    RingCell(c, d.Cell(i), 2,
             i ? std::vector<Rgb>{{206, 58, 80}, {120, 28, 44}} : std::vector<Rgb>{{52, 46, 48}, {36, 32, 33}},
             kKey);
}

void PaintUpDown(Canvas& c, const ImageDesc& d) { PaintSmallButton(c, d); }

void PaintSliderChannel(Canvas& c, const ImageDesc& d) {
  RingCell(c, d.Cell(0), 2, {{10, 9, 9}, {30, 26, 27}}, Rgb{18, 16, 16});
}

// ---- Progress -------------------------------------------------------------------------

void PaintGauge(Canvas& c, const ImageDesc& d) {
  const Rect cell = d.Cell(0);
  const int h = cell.Height();
  RingCell(c, cell, 4, 4, 4, 4, {kOutline}, [&](int x, int y) -> Rgb {
    double d = RoundedDepth(x, y, cell.Width(), h, 4, 4, 4, 4);
    if (d < 2) return y > h / 2 ? Rgb{60, 48, 51} : Rgb{26, 22, 23};  // lit lower lip
    return kDeep;
  });
}

// A progress block: the upper cell holds the colours of its frame, the lower one the
// mask (0 shows the frame colour, 255 keeps what lies beneath: the block's gradient and
// texture fill).
void PaintProgress(Canvas& c, const ImageDesc& d) {
  const Rect img = d.Cell(0);
  const Rect mask{img.left, img.bottom, img.right, img.bottom + img.Height()};
  RingCell(c, img, 3, {{96, 14, 32}, {255, 172, 184}}, Rgb{200, 50, 70});
  RingCell(c, mask, 3, {{40, 40, 40}, {160, 160, 160}}, Rgb{255, 255, 255});
}

void PaintProgressPattern(Canvas& c, const ImageDesc& d) {
  const int h = d.rect.Height();
  const Rgb stops[] = {{255, 214, 220}, {244, 128, 148}, {176, 42, 62}, {128, 24, 42}, {120, 22, 40}};
  for (int y = 0; y < h; ++y) {
    double t = double(y) / std::max(1, h - 1) * 4;
    int k = std::min(3, static_cast<int>(t));
    c.Fill({d.rect.left, d.rect.top + y, d.rect.right, d.rect.top + y + 1}, Mix(stops[k], stops[k + 1], t - k));
  }
}

// ---- Scroll bars ----------------------------------------------------------------------

Rgb GlyphColour(int state) { return state == kHot ? kPink : state == kPressed ? kGarnetGlow : kText; }

// A solid arrow triangle pointing up (0), down (1), left (2) or right (3).
void PaintArrows(Canvas& c, const ImageDesc& d, int dir) {
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    c.Fill(cell, kKey);
    const int w = cell.Width(), h = cell.Height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int along = dir < 2 ? y : x, across = dir < 2 ? x : y;
        int len = dir < 2 ? h : w, mid = (dir < 2 ? w : h) / 2;
        int step = (dir == 0 || dir == 2) ? along : len - 1 - along;
        if (std::abs(across - mid) <= step) c.Set(cell.left + x, cell.top + y, GlyphColour(i));
      }
  }
}

void PaintSlider(Canvas& c, const ImageDesc& d) {
  for (int i = 0; i < d.count; ++i)
    RingCell(c, d.Cell(i), 2,
             i ? std::vector<Rgb>{{40, 6, 14}, {232, 92, 114}} : std::vector<Rgb>{kOutline, {104, 88, 92}},
             i ? Rgb{150, 36, 56} : Rgb{70, 60, 63});
}

// Track-bar thumbs: a pointer towards the track (down for SLIDERMASK, right for
// SLIDERVMASK).
void PaintThumb(Canvas& c, const ImageDesc& d, bool vertical) {
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    c.Fill(cell, kKey);
    const double w = cell.Width(), h = cell.Height();
    std::vector<Pt> outer, inner;
    if (!vertical) {
      outer = {{0, 0}, {w, 0}, {w, h - w / 2}, {w / 2, h}, {0, h - w / 2}};
      inner = {{1.2, 1.2}, {w - 1.2, 1.2}, {w - 1.2, h - w / 2 - 0.4}, {w / 2, h - 1.7}, {1.2, h - w / 2 - 0.4}};
    } else {
      outer = {{0, 0}, {w - h / 2, 0}, {w, h / 2}, {w - h / 2, h}, {0, h}};
      inner = {{1.2, 1.2}, {w - h / 2 - 0.4, 1.2}, {w - 1.7, h / 2}, {w - h / 2 - 0.4, h - 1.2}, {1.2, h - 1.2}};
    }
    const Rgb fill = i == kHot ? Rgb{206, 58, 82} : i == kPressed ? Rgb{140, 30, 50} : Rgb{116, 98, 103};
    c.FillPolygon(Shift(outer, cell), kOutline, cell);
    c.FillPolygon(Shift(inner, cell), fill, cell);
  }
}

// ---- Check boxes and radio buttons ----------------------------------------------------

Rgb BoxRing(int state) { return state == kHot ? Rgb{216, 74, 98} : state == kPressed ? Rgb{170, 40, 62} : Rgb{116, 92, 98}; }
Rgb BoxFill(int state) { return state == kHot ? Rgb{36, 20, 24} : state == kPressed ? Rgb{72, 18, 32} : Rgb{20, 18, 18}; }
Rgb MarkColour(int state) { return state == kHot ? Rgb{255, 232, 234} : state == kPressed ? Rgb{255, 168, 180} : Rgb{255, 196, 202}; }

void PaintBoxes(Canvas& c, const ImageDesc& d, int kind /*0 unchecked, 1 checked, 2 grayed*/) {
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    const int state = d.count == 1 ? kNormal : std::min(i, 2);
    const double s = cell.Width() / 15.0;
    RingCell(c, cell, 3 * s, {BoxRing(state), Mix(BoxRing(state), kOutline, 0.75)}, BoxFill(state));
    if (kind == 1)
      c.Stroke(Shift({{3.6 * s, 7.6 * s}, {6.3 * s, 10.4 * s}, {11.4 * s, 4.4 * s}}, cell), 2.1 * s,
               MarkColour(state), cell);
    if (kind == 2) {
      const Rgb grey = state == kHot ? Rgb{176, 56, 78} : state == kPressed ? Rgb{112, 30, 46} : Rgb{132, 44, 62};
      c.Fill(Local(cell, 4 * s, 4 * s, cell.Width() - 4 * s, cell.Height() - 4 * s), grey);
    }
  }
}

void PaintRadios(Canvas& c, const ImageDesc& d, int kind) {
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    const int state = d.count == 1 ? kNormal : std::min(i, 2);
    const double r = cell.Width() / 2.0;
    const Rgb ring = kind == 2 ? Rgb{92, 78, 82} : BoxRing(state);
    for (int y = 0; y < cell.Height(); ++y)
      for (int x = 0; x < cell.Width(); ++x) {
        double depth = r - 0.1 - std::hypot(x + 0.5 - r, y + 0.5 - r);
        Rgb col = depth <= 0 ? kKey : depth < 1.2 ? ring : depth < 2.1 ? Mix(ring, kOutline, 0.75) : BoxFill(state);
        if (col == kKey) c.Fill({cell.left + x, cell.top + y, cell.left + x + 1, cell.top + y + 1}, kKey);
        else c.Set(cell.left + x, cell.top + y, col);
      }
    if (kind == 1) {
      c.FillDisc({cell.left + r, cell.top + r}, 3.4, Rgb{226, 74, 98}, cell);
      c.FillDisc({cell.left + r - 0.8, cell.top + r - 0.8}, 1.3, Rgb{255, 200, 208}, cell);
    }
    if (kind == 2) c.FillDisc({cell.left + r, cell.top + r}, 2.9, Rgb{112, 92, 97}, cell);
  }
}

void PaintCheckMark(Canvas& c, const ImageDesc& d) {
  const Rect cell = d.Cell(0);
  c.Fill(cell, kKey);
  const double s = cell.Width() / 9.0;
  c.Stroke(Shift({{1.6 * s, 4.6 * s}, {3.6 * s, 6.8 * s}, {7.4 * s, 2.2 * s}}, cell), 1.8 * s, kPink, cell);
}

void PaintGrip(Canvas& c, const ImageDesc& d) {
  const Rect cell = d.Cell(0);
  c.Fill(cell, kKey);
  const int n = cell.Width();
  for (int gy = 0; gy < 3; ++gy)
    for (int gx = 0; gx < 3; ++gx) {
      if (gx + gy < 2) continue;  // a triangle of dots towards the corner
      int x = cell.left + n - 3 - (2 - gx) * 4, y = cell.top + n - 3 - (2 - gy) * 4;
      c.Fill({x + 1, y + 1, x + 3, y + 3}, kOutline);
      c.Fill({x, y, x + 2, y + 2}, Rgb{148, 112, 118});
    }
}

// ---- Title buttons --------------------------------------------------------------------

enum Glyph { kClose, kMax, kMin, kRestore, kHelp, kNone };

void DrawGlyph(Canvas& c, const Rect& cell, Glyph g, double cx, double cy, Rgb col) {
  switch (g) {
    case kClose:
      c.Stroke({{cx - 3.6, cy - 3.6}, {cx + 3.6, cy + 3.6}}, 2.0, col, cell);
      c.Stroke({{cx - 3.6, cy + 3.6}, {cx + 3.6, cy - 3.6}}, 2.0, col, cell);
      break;
    case kMax:
      c.Stroke({{cx - 4, cy - 3.2}, {cx + 4, cy - 3.2}}, 2.0, col, cell);
      c.Stroke({{cx - 4, cy - 3.5}, {cx - 4, cy + 3.8}, {cx + 4, cy + 3.8}, {cx + 4, cy - 3.5}}, 1.1, col, cell);
      break;
    case kMin:
      c.Stroke({{cx - 4, cy + 3.2}, {cx + 4, cy + 3.2}}, 2.0, col, cell);
      break;
    case kRestore:
      c.Stroke({{cx - 1.5, cy - 2.6}, {cx - 1.5, cy - 4.2}, {cx + 4.5, cy - 4.2}, {cx + 4.5, cy + 1.2}, {cx + 2.6, cy + 1.2}}, 1.1, col, cell);
      c.Stroke({{cx - 4.5, cy - 1.2}, {cx + 2, cy - 1.2}}, 2.0, col, cell);
      c.Stroke({{cx - 4.5, cy - 1.5}, {cx - 4.5, cy + 4.4}, {cx + 2, cy + 4.4}, {cx + 2, cy - 1.5}}, 1.1, col, cell);
      break;
    case kHelp:
      c.Stroke({{cx - 2.6, cy - 2.2}, {cx - 2.2, cy - 3.8}, {cx - 0.6, cy - 4.6}, {cx + 1.2, cy - 4.4},
                {cx + 2.6, cy - 3.0}, {cx + 2.4, cy - 1.2}, {cx + 0.2, cy + 0.4}, {cx + 0.2, cy + 1.6}},
               1.7, col, cell);
      c.FillDisc({cx + 0.2, cy + 4.0}, 1.1, col, cell);
      break;
    case kNone: break;
  }
}

// Big-set title buttons hang from the top edge of the title bar (square top, rounded
// bottom): normal, hot, pressed. The close button is garnet.
void PaintBigTitleButtons(Canvas& c, const ImageDesc& d, Glyph g) {
  const bool close = g == kClose;
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    const int state = std::min(i, 2);
    Rgb ring, top, bottom, glyph;
    if (close) {
      ring = state == kHot ? Rgb{255, 124, 144} : state == kPressed ? Rgb{150, 34, 52} : Rgb{164, 44, 64};
      top = state == kHot ? Rgb{214, 56, 80} : state == kPressed ? Rgb{104, 18, 32} : Rgb{128, 26, 44};
      bottom = state == kHot ? Rgb{150, 30, 50} : state == kPressed ? Rgb{126, 24, 42} : Rgb{86, 16, 30};
      glyph = state == kHot ? Rgb{255, 244, 244} : Rgb{255, 208, 212};
    } else {
      ring = state == kHot ? Rgb{168, 116, 124} : state == kPressed ? Rgb{70, 56, 60} : Rgb{88, 74, 78};
      top = state == kHot ? Rgb{104, 72, 80} : state == kPressed ? Rgb{34, 28, 30} : Rgb{64, 54, 57};
      bottom = state == kHot ? Rgb{70, 44, 50} : state == kPressed ? Rgb{48, 38, 41} : Rgb{42, 35, 37};
      glyph = state == kHot ? kPink : state == kPressed ? Rgb{236, 150, 162} : Rgb{196, 180, 182};
    }
    const int h = cell.Height();
    RingCell(c, cell, 0, 0, 4, 4, {kOutline, ring},
             [&](int, int y) { return Ramp(top, bottom, y, h); });
    const double dy = state == kPressed ? 1 : 0;
    DrawGlyph(c, cell, g, cell.left + cell.Width() / 2.0, cell.top + 8.0 + dy, glyph);
  }
}

// Small-set buttons sit inside the caption band: the normal state is the bare glyph on
// the title bar, hot and pressed add a rounded plate.
void PaintSmallTitleButtons(Canvas& c, const ImageDesc& d, Glyph g) {
  const bool close = g == kClose;
  for (int i = 0; i < d.count; ++i) {
    const Rect cell = d.Cell(i);
    const int state = std::min(i, 2);
    c.Fill(cell, kKey);
    const Rect plate{cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
    if (state != kNormal || g == kNone) {
      Rgb ring, fill;
      if (g == kNone && state == kNormal) {
        ring = {88, 74, 78};
        fill = {52, 44, 46};
      } else if (close) {
        ring = state == kHot ? Rgb{250, 112, 132} : Rgb{150, 34, 52};
        fill = state == kHot ? Rgb{192, 46, 70} : Rgb{108, 20, 34};
      } else {
        ring = state == kHot ? Rgb{150, 104, 112} : Rgb{70, 56, 60};
        fill = state == kHot ? Rgb{96, 66, 72} : Rgb{40, 32, 34};
      }
      RingCell(c, plate, 3, {kOutline, ring}, fill);
    }
    const Rgb glyph = state == kNormal ? (close ? Rgb{214, 172, 178} : Rgb{184, 168, 170})
                                       : state == kHot ? Rgb{255, 240, 240} : kPink;
    const double dy = state == kPressed ? 1 : 0;
    DrawGlyph(c, cell, g, cell.left + cell.Width() / 2.0, cell.top + cell.Height() / 2.0 + dy, glyph);
  }
}

// ---- The painter table ----------------------------------------------------------------

struct Entry {
  const char* section;
  const char* key;
  Painter paint;
};

const std::vector<Entry>& Painters() {
  auto big = [](Glyph g) { return [g](Canvas& c, const ImageDesc& d) { PaintBigTitleButtons(c, d, g); }; };
  auto small = [](Glyph g) { return [g](Canvas& c, const ImageDesc& d) { PaintSmallTitleButtons(c, d, g); }; };
  auto boxes = [](int k) { return [k](Canvas& c, const ImageDesc& d) { PaintBoxes(c, d, k); }; };
  auto radios = [](int k) { return [k](Canvas& c, const ImageDesc& d) { PaintRadios(c, d, k); }; };
  auto arrows = [](int dir) { return [dir](Canvas& c, const ImageDesc& d) { PaintArrows(c, d, dir); }; };
  auto tabs = [](int side) { return [side](Canvas& c, const ImageDesc& d) { PaintTabs(c, d, side); }; };
  // Order matters where pictures share pixels: FORMTITLE's bottom rows are painted over
  // FORM's top rows, the tracks and the divider after GROUPBOX, HOTPATTERN is checked
  // after BUTTON.
  static const std::vector<Entry> table = {
      {"FORM", "BORDERSMASK", PaintForm},
      {"FORMTITLE", "BORDERSMASK", PaintFormTitle},
      {"EDIT", "BORDERSMASK", PaintEdit},
      {"PANEL", "BORDERSMASK", PaintPanel},
      {"GROUPBOX", "BORDERSMASK", PaintGroupBox},
      {"DIVIDER", "BORDERSMASK", PaintDivider},
      {"SCROLLBAR2V", "BORDERSMASK", PaintTrackV},
      {"SCROLLBAR1V", "BORDERSMASK", PaintTrackV},
      {"SCROLLBAR2H", "BORDERSMASK", PaintTrackH},
      {"SCROLLBAR1H", "BORDERSMASK", PaintTrackH},
      {"DIVIDERV", "BORDERSMASK", PaintDividerV},
      {"BUTTON", "BORDERSMASK", PaintButton},
      {"MENUITEM", "HOTPATTERN", CheckInsideButton},
      {"UPDOWNBTN", "BORDERSMASK", PaintUpDown},
      {"PANEL_LOW", "BORDERSMASK", PaintPanelLow},
      {"BARTITLE", "BORDERSMASK", PaintBarTitle},
      {"TOOLBAR", "BORDERSMASK", PaintToolBar},
      {"STATUSBAR", "BORDERSMASK", PaintStatusBar},
      {"PAGECONTROL", "BORDERSMASK", PaintPageControl},
      {"TABTOP", "BORDERSMASK", tabs(0)},
      {"TABBOTTOM", "BORDERSMASK", tabs(1)},
      {"TABLEFT", "BORDERSMASK", tabs(2)},
      {"TABRIGHT", "BORDERSMASK", tabs(3)},
      {"COLHEADER", "BORDERSMASK", PaintColHeader},
      {"MENUITEM", "BORDERSMASK", PaintMenuItem},
      {"GAUGE", "BORDERSMASK", PaintGauge},
      {"PROGRESSH", "BORDERSMASK", PaintProgress},
      {"PROGRESSH", "PATTERN", PaintProgressPattern},
      {"SCROLLBTNTOP", "GLYPHMASK", arrows(0)},
      {"SCROLLBTNBOTTOM", "GLYPHMASK", arrows(1)},
      {"SCROLLBTNLEFT", "GLYPHMASK", arrows(2)},
      {"SCROLLBTNRIGHT", "GLYPHMASK", arrows(3)},
      {"SCROLLSLIDERV", "BORDERSMASK", PaintSlider},
      {"TRACKBAR", "SLIDERCHANNEL", PaintSliderChannel},
      {"TRACKBAR", "SLIDERMASK", [](Canvas& c, const ImageDesc& d) { PaintThumb(c, d, false); }},
      {"TRACKBAR", "SLIDERVMASK", [](Canvas& c, const ImageDesc& d) { PaintThumb(c, d, true); }},
      {"GLOBALINFO", "BOXUNCHECKED", boxes(0)},
      {"GLOBALINFO", "BOXCHECKED", boxes(1)},
      {"GLOBALINFO", "BOXGRAYED", boxes(2)},
      {"GLOBALINFO", "RADIOUNCHECKED", radios(0)},
      {"GLOBALINFO", "RADIOCHECKED", radios(1)},
      {"GLOBALINFO", "RADIOGRAYED", radios(2)},
      {"GLOBALINFO", "SMALLUNCHECKED", boxes(0)},
      {"GLOBALINFO", "SMALLCHECKED", boxes(1)},
      {"GLOBALINFO", "SMALLGRAYED", boxes(2)},
      {"GLOBALINFO", "CHECK", PaintCheckMark},
      {"GLOBALINFO", "GRIPIMAGE", PaintGrip},
      {"GLOBALINFO", "TITLEBUTTON", small(kNone)},
      {"GLOBALINFO", "BICONCLOSE", big(kClose)},
      {"GLOBALINFO", "BICONMAX", big(kMax)},
      {"GLOBALINFO", "BICONMIN", big(kMin)},
      {"GLOBALINFO", "BICONNORM", big(kRestore)},
      {"GLOBALINFO", "BICONHELP", big(kHelp)},
      {"GLOBALINFO", "BICLOSEALONE", big(kClose)},
      {"GLOBALINFO", "SICONCLOSE", small(kClose)},
      {"GLOBALINFO", "SICONMAX", small(kMax)},
      {"GLOBALINFO", "SICONMIN", small(kMin)},
      {"GLOBALINFO", "SICONNORM", small(kRestore)},
      {"GLOBALINFO", "SICONHELP", small(kHelp)},
  };
  return table;
}

// Pictures that share pixels on purpose (by section): FORMTITLE's bottom rows are FORM's
// top rows, DIVIDER and the vertical tracks start on GROUPBOX's right column, the two
// tracks of each direction share their lines, and HOTPATTERN is a row of BUTTON.
bool OverlapAllowed(const ImageDesc& a, const ImageDesc& b) {
  static const std::set<std::pair<std::string, std::string>> allowed = {
      {"FORM/BORDERSMASK", "FORMTITLE/BORDERSMASK"},
      {"GROUPBOX/BORDERSMASK", "DIVIDER/BORDERSMASK"},
      {"GROUPBOX/BORDERSMASK", "SCROLLBAR1V/BORDERSMASK"},
      {"GROUPBOX/BORDERSMASK", "SCROLLBAR2V/BORDERSMASK"},
      {"SCROLLBAR2V/BORDERSMASK", "SCROLLBAR1V/BORDERSMASK"},
      {"SCROLLBAR2H/BORDERSMASK", "SCROLLBAR1H/BORDERSMASK"},
      {"BUTTON/BORDERSMASK", "MENUITEM/HOTPATTERN"},
  };
  return allowed.count({a.Name(), b.Name()}) || allowed.count({b.Name(), a.Name()});
}

}  // namespace

Bitmap32 DrawMaster(const SkinLayout& layout) {
  Bitmap32 bmp(kMasterWidth, kMasterHeight);
  bmp.Fill(Pixel32{255, 0, 255, 255});
  Canvas canvas(bmp);

  std::vector<const ImageDesc*> painted;
  std::string problems;
  for (const Entry& e : Painters()) {
    const ImageDesc* d = layout.Find(e.section, e.key);
    if (!d) {
      problems += std::string("no image ") + e.section + "/" + e.key + " in the options\n";
      continue;
    }
    if (d->IsFile()) {
      problems += d->Name() + " is a file image, not part of the master bitmap\n";
      continue;
    }
    for (const ImageDesc* p : painted)
      if (p->rect.Intersects(d->rect) && !OverlapAllowed(*p, *d))
        problems += d->Name() + " overlaps " + p->Name() + "\n";
    e.paint(canvas, *d);
    painted.push_back(d);
  }
  for (const ImageDesc& d : layout.images) {
    if (d.IsFile()) continue;
    const Rect& r = d.rect;
    if (r.left < 0 || r.top < 0 || r.right > kMasterWidth || r.bottom > kMasterHeight || r.Width() <= 0 ||
        r.Height() <= 0)
      problems += d.Name() + " lies outside the master bitmap\n";
    if (d.count < 1 || r.Width() % d.count != 0) problems += d.Name() + " does not split into whole cells\n";
    bool drawn = std::any_of(painted.begin(), painted.end(), [&](const ImageDesc* p) { return p->rect == r; });
    if (!drawn) problems += d.Name() + " has no art (no painter and no painted picture at its rectangle)\n";
  }
  if (!problems.empty()) throw std::runtime_error("master bitmap layout:\n" + problems);
  return bmp;
}

Bitmap32 DrawHugeButton(const ImageDesc& desc) {
  const int cells = std::max(1, desc.count);
  Bitmap32 bmp(64 * cells, 64);
  bmp.Fill(Pixel32{255, 0, 255, 255});
  Canvas canvas(bmp);
  // The middle rows and columns (the border widths leave two) are tiled: keep them flat.
  const int flatFrom = std::max(0, desc.wt - 1), flatTo = std::min(63, 64 - desc.wb);
  for (int i = 0; i < cells; ++i)
    PaintButtonCell(canvas, {i * 64, 0, i * 64 + 64, 64}, std::min(i, 2), 9, flatFrom, flatTo);
  return bmp;
}

Bitmap32 DrawGlow(const Bitmap32& master, const ImageDesc& button, int margin, bool close) {
  const Rect hot = button.Cell(std::min(1, button.count - 1));
  const int bw = hot.Width(), bh = hot.Height();
  const int w = bw + 2 * margin, h = bh + 2 * margin;
  Bitmap32 out(w, h);
  const Rgb inner = close ? Rgb{255, 96, 120} : Rgb{236, 120, 140};
  const Rgb outer = close ? Rgb{196, 24, 52} : Rgb{150, 40, 62};
  const double peak = close ? 0.85 : 0.6;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      // Distance from the button's rounded outline.
      double dx = std::max({margin - (x + 0.5), (x + 0.5) - (margin + bw), 0.0});
      double dy = std::max({margin - (y + 0.5), (y + 0.5) - (margin + bh), 0.0});
      double d = std::hypot(dx, dy);
      double a = peak * std::exp(-(d * d) / (2 * 3.6 * 3.6));
      if (x < 1 || y < 1 || x >= w - 1 || y >= h - 1) a = 0;  // nothing at the very edge
      Rgb col = Mix(inner, outer, std::min(1.0, d / margin));
      int alpha = static_cast<int>(std::lround(a * 255));
      out.At(x, y) = alpha ? Pixel32{static_cast<uint8_t>(col.b), static_cast<uint8_t>(col.g),
                                     static_cast<uint8_t>(col.r), static_cast<uint8_t>(alpha)}
                           : Pixel32{};
    }
  // The glow stands in for the hot button picture, so it carries that picture too.
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) {
      const Pixel32& p = master.At(hot.left + x, hot.top + y);
      if (p.R == 255 && p.G == 0 && p.B == 255) continue;
      out.At(margin + x, margin + y) = Pixel32{p.B, p.G, p.R, 255};
    }
  return out;
}

}  // namespace skingen
