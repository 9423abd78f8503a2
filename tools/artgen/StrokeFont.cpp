#include "tools/artgen/StrokeFont.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>

namespace artgen {

namespace {

// Path language: "M x y" starts a stroke, "L x y" draws to a point, "A cx cy rx ry a0 a1"
// follows an elliptic arc from angle a0 to a1 (degrees, counter-clockwise when a1 > a0),
// joined to the current stroke.
struct GlyphDef {
  char ch;
  const char* path;
};

constexpr GlyphDef kGlyphs[] = {
    // Lower case: bowls are circles of radius 3.5 on the x-height.
    {'a', "A 3.5 3.5 3.5 3.5 0 360 M 7 7 L 7 0"},
    {'b', "M 0 10 L 0 0 M 3.5 0 A 3.5 3.5 3.5 3.5 -90 270"},
    {'c', "A 3.6 3.5 3.5 3.5 42 318"},
    {'d', "A 3.5 3.5 3.5 3.5 0 360 M 7 10 L 7 0"},
    {'e', "M 0 3.5 L 7 3.5 A 3.5 3.5 3.5 3.5 0 318"},
    {'f', "M 1.5 0 L 1.5 8 A 3.6 8 2.1 2 180 50 M 0 7 L 4 7"},
    {'g', "A 3.5 3.5 3.5 3.5 0 360 M 7 7 L 7 -0.5 A 3.5 -0.5 3.5 2.5 0 -160"},
    {'h', "M 0 10 L 0 0 M 0 4 A 3 4 3 3 180 0 L 6 0"},
    {'i', "M 0 7 L 0 0 M 0 9.6 L 0 9.6"},
    {'j', "M 1.5 7 L 1.5 -1 A 0 -1 1.5 2 0 -150 M 1.5 9.6 L 1.5 9.6"},
    {'k', "M 0 10 L 0 0 M 5 7 L 0 2.3 M 1.6 3.8 L 5.4 0"},
    {'l', "M 0 10 L 0 0"},
    {'m', "M 0 7 L 0 0 M 0 4.5 A 2.5 4.5 2.5 2.5 180 0 L 5 0 M 5 4.5 A 7.5 4.5 2.5 2.5 180 0 L 10 0"},
    {'n', "M 0 7 L 0 0 M 0 4 A 3 4 3 3 180 0 L 6 0"},
    {'o', "A 3.5 3.5 3.5 3.5 0 360"},
    {'p', "M 0 7 L 0 -3 M 3.5 0 A 3.5 3.5 3.5 3.5 -90 270"},
    {'q', "A 3.5 3.5 3.5 3.5 0 360 M 7 7 L 7 -3"},
    {'r', "M 0 7 L 0 0 M 0 4 A 3 4 3 3 180 70"},
    {'s', "A 2.9 5.3 2.4 1.7 25 270 A 2.9 1.8 2.8 1.8 90 -200"},
    {'t', "M 1.5 9.5 L 1.5 1.5 A 3.5 1.5 2 1.5 180 270 M 0 7 L 3.8 7"},
    {'u', "M 0 7 L 0 3 A 3 3 3 3 180 360 M 6 7 L 6 0"},
    {'v', "M 0 7 L 3 0 L 6 7"},
    {'w', "M 0 7 L 2.3 0 L 4.5 6 L 6.7 0 L 9 7"},
    {'x', "M 0 7 L 5.5 0 M 5.5 7 L 0 0"},
    {'y', "M 0 7 L 3.1 0 M 6.2 7 L 1.8 -3"},
    {'z', "M 0 7 L 5.5 7 L 0 0 L 5.5 0"},
    // Capitals.
    {'A', "M 0 0 L 3.75 10 L 7.5 0 M 1.3 3.5 L 6.2 3.5"},
    {'B', "M 0 0 L 0 10 L 3.3 10 A 3.3 7.6 2.5 2.4 90 -90 L 0 5.2 M 3.3 5.2 L 3.7 5.2 A 3.7 2.6 2.8 2.6 90 -90 L 0 0"},
    {'C', "A 5 5 5 5 45 315"},
    {'D', "M 0 0 L 0 10 L 3 10 A 3 5 5 5 90 -90 L 0 0"},
    {'E', "M 6 10 L 0 10 L 0 0 L 6 0 M 0 5 L 5 5"},
    {'F', "M 6 10 L 0 10 L 0 0 M 0 5 L 5 5"},
    {'G', "A 5 5 5 5 45 360 L 5.5 5"},
    {'H', "M 0 0 L 0 10 M 7 0 L 7 10 M 0 5 L 7 5"},
    {'I', "M 0 0 L 0 10"},
    {'J', "M 4.5 10 L 4.5 2.5 A 2.25 2.5 2.25 2.5 0 -180"},
    {'K', "M 0 0 L 0 10 M 6.5 10 L 0 3.5 M 2.2 5.7 L 7 0"},
    {'L', "M 0 10 L 0 0 L 5.5 0"},
    {'M', "M 0 0 L 0 10 L 4.5 1.5 L 9 10 L 9 0"},
    {'N', "M 0 0 L 0 10 L 7 0 L 7 10"},
    {'O', "A 5 5 5 5 0 360"},
    {'P', "M 0 0 L 0 10 L 3.5 10 A 3.5 7.25 2.75 2.75 90 -90 L 0 4.5"},
    {'Q', "A 5 5 5 5 0 360 M 6.5 2.5 L 9.8 -0.5"},
    {'R', "M 0 0 L 0 10 L 3.5 10 A 3.5 7.25 2.75 2.75 90 -90 L 0 4.5 M 3.5 4.5 L 6.5 0"},
    {'S', "A 3.8 7.5 3.3 2.5 25 270 A 3.8 2.5 3.8 2.5 90 -205"},
    {'T', "M 0 10 L 7 10 M 3.5 10 L 3.5 0"},
    {'U', "M 0 10 L 0 3.5 A 3.5 3.5 3.5 3.5 180 360 L 7 10"},
    {'V', "M 0 10 L 3.75 0 L 7.5 10"},
    {'W', "M 0 10 L 2.8 0 L 5.5 9 L 8.2 0 L 11 10"},
    {'X', "M 0 10 L 7 0 M 7 10 L 0 0"},
    {'Y', "M 0 10 L 3.5 5 L 7 10 M 3.5 5 L 3.5 0"},
    {'Z', "M 0 10 L 7 10 L 0 0 L 7 0"},
    // Figures and punctuation.
    {'0', "A 3.5 5 3.5 5 0 360"},
    {'1', "M 0.5 8 L 3 10 L 3 0"},
    {'2', "A 3.5 6.8 3.2 3.2 160 -40 L 0 0 L 7 0"},
    {'3', "A 3.3 7.5 3 2.5 150 -90 M 2 5 L 3.3 5 A 3.3 2.6 3.5 2.6 90 -150"},
    {'4', "M 5.5 0 L 5.5 10 L 0 3 L 7.5 3"},
    {'5', "M 6.5 10 L 1.2 10 L 0.6 5.6 A 3.6 3.3 3.4 3.3 135 -145"},
    {'6', "A 3.5 3.3 3.3 3.3 0 360 M 0.2 3.5 A 6.5 3.5 6.3 6.5 180 100"},
    {'7', "M 0 10 L 7 10 L 2.5 0"},
    {'8', "A 3.5 7.6 2.8 2.4 0 360 M 6.8 2.6 A 3.5 2.6 3.3 2.6 0 360"},
    {'9', "A 3.5 6.7 3.3 3.3 0 360 M 6.8 6.5 A 0.5 6.5 6.3 6.5 0 -80"},
    {'.', "M 0 0.3 L 0 0.3"},
    {',', "M 0.4 0.3 L -0.4 -1.6"},
    {':', "M 0 0.3 L 0 0.3 M 0 6 L 0 6"},
    {'-', "M 0 3.5 L 3.5 3.5"},
    {'/', "M 0 -1 L 4 10.5"},
};

constexpr float kSpaceAdvance = 3.6f;  // font units
constexpr float kLetterGap = 2.0f;     // font units between stroke centres, plus the weight

struct Glyph {
  std::vector<std::vector<Vec2>> strokes;  // font units
  float left = 0, right = 0;
};

Glyph ParseGlyph(const char* path) {
  Glyph g;
  std::istringstream in(path);
  std::string cmd;
  std::vector<Vec2>* cur = nullptr;
  while (in >> cmd) {
    if (cmd == "M") {
      Vec2 p;
      in >> p.x >> p.y;
      g.strokes.push_back({p});
      cur = &g.strokes.back();
    } else if (cmd == "L") {
      Vec2 p;
      in >> p.x >> p.y;
      if (!cur) throw std::logic_error("glyph path draws before it moves");
      cur->push_back(p);
    } else if (cmd == "A") {
      float cx, cy, rx, ry, a0, a1;
      in >> cx >> cy >> rx >> ry >> a0 >> a1;
      if (!cur) {
        g.strokes.emplace_back();
        cur = &g.strokes.back();
      }
      int steps = std::max(4, static_cast<int>(std::ceil(std::fabs(a1 - a0) / 6)));
      for (int i = 0; i <= steps; ++i) {
        float a = (a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps)) * 3.14159265f / 180;
        cur->push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
      }
    } else {
      throw std::logic_error("bad glyph path command: " + cmd);
    }
    if (!in) throw std::logic_error(std::string("bad glyph path: ") + path);
  }
  bool first = true;
  for (const auto& s : g.strokes)
    for (const Vec2& p : s) {
      g.left = first ? p.x : std::min(g.left, p.x);
      g.right = first ? p.x : std::max(g.right, p.x);
      first = false;
    }
  return g;
}

const Glyph* FindGlyph(char ch) {
  static const std::vector<std::pair<char, Glyph>> table = [] {
    std::vector<std::pair<char, Glyph>> t;
    for (const GlyphDef& d : kGlyphs) t.emplace_back(d.ch, ParseGlyph(d.path));
    return t;
  }();
  for (const auto& [c, g] : table)
    if (c == ch) return &g;
  return nullptr;
}

// Walks the text, calling place(glyph, penX) with the pen in font units.
template <class F>
float Walk(std::string_view text, const TextStyle& style, F place) {
  float scale = style.capHeight / 10;
  float gap = kLetterGap + (style.weight + style.tracking) / scale;
  float pen = 0;
  bool started = false;
  for (char ch : text) {
    const Glyph* g = FindGlyph(ch);
    if (!g) {
      // Tracked text needs wider word spaces to keep words apart.
      pen += kSpaceAdvance + (started ? 2 * gap - kLetterGap : 0);
      started = false;
      continue;
    }
    if (started) pen += gap;
    pen -= g->left;
    place(*g, pen);
    pen += g->right;
    started = true;
  }
  return pen;
}

}  // namespace

std::vector<std::vector<Vec2>> LayoutText(std::string_view text, Vec2 origin, const TextStyle& style) {
  float scale = style.capHeight / 10;
  std::vector<std::vector<Vec2>> out;
  Walk(text, style, [&](const Glyph& g, float pen) {
    for (const auto& stroke : g.strokes) {
      std::vector<Vec2> s;
      for (const Vec2& p : stroke) s.push_back({origin.x + (pen + p.x) * scale, origin.y - p.y * scale});
      out.push_back(std::move(s));
    }
  });
  return out;
}

float MeasureText(std::string_view text, const TextStyle& style) {
  float scale = style.capHeight / 10;
  return Walk(text, style, [](const Glyph&, float) {}) * scale + style.weight;
}

void DrawText(Mask& mask, std::string_view text, Vec2 origin, const TextStyle& style) {
  // The origin is the left ink edge; stroke centres sit half a weight inside it.
  Vec2 o{origin.x + style.weight / 2, origin.y};
  for (const auto& s : LayoutText(text, o, style)) mask.StrokePolyline(s, style.weight);
}

}  // namespace artgen
