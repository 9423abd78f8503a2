#include "skin/render/sGradient.h"

#include <algorithm>
#include <cmath>

namespace {

TsRect ClipToBitmap(const TsRect& r, int w, int h) {
  return TsRect{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, w), std::min(r.Bottom, h)};
}

uint8_t Channel(TColor c, int shift) { return static_cast<uint8_t>(static_cast<uint32_t>(c) >> shift); }

// One band from `start` to `end` (both included) of the line, coloured from c1 to c2.
// Running values are single precision and steps double, as the skins were tuned against.
void PaintBand(std::vector<Pixel32>& line, int base, int start, int end, TColor c1, TColor c2) {
  const int n = end - start;
  auto put = [&](int pos, uint8_t r, uint8_t g, uint8_t b) {
    const int i = pos - base;
    if (i >= 0 && i < static_cast<int>(line.size())) line[static_cast<std::size_t>(i)] = Pixel32{b, g, r, 255};
  };
  if (c1 == c2) {
    for (int pos = start; pos <= end; ++pos) put(pos, Channel(c1, 0), Channel(c1, 8), Channel(c1, 16));
    return;
  }
  float v[3];
  double step[3];
  for (int k = 0; k < 3; ++k) {
    v[k] = Channel(c1, 8 * k);
    step[k] = (double(Channel(c2, 8 * k)) - double(Channel(c1, 8 * k))) / n;
  }
  auto byte = [](float x) { return static_cast<uint8_t>(std::clamp(std::nearbyint(x), 0.0f, 255.0f)); };
  for (int pos = start; pos <= end; ++pos) {
    put(pos, byte(v[0]), byte(v[1]), byte(v[2]));
    for (int k = 0; k < 3; ++k) v[k] = static_cast<float>(v[k] + step[k]);
  }
}

}  // namespace

std::vector<Pixel32> GradientLine(const TsGradArray& pieces, const TsRect& rect, int bmpWidth, int bmpHeight,
                                  int offset) {
  std::vector<Pixel32> line;
  if (pieces.empty()) return line;
  const int mode = pieces.front().Mode;
  if (mode != 0 && mode != 1) return line;
  const TsRect c = ClipToBitmap(rect, bmpWidth, bmpHeight);
  if (IsRectEmpty(c)) return line;
  const std::size_t last = pieces.size() - 1;
  if (mode == 0) {
    const int h = c.Height();
    line.assign(static_cast<std::size_t>(h), Pixel32{});
    const int lastRow = c.Bottom - 1;
    int start = c.Top + offset;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      const GradientPiece& p = pieces[k];
      const int end = k == last ? lastRow
                                : static_cast<int>(std::min<int64_t>(
                                      start + (int64_t{h} + offset) * p.Percent / 100, lastRow));
      if (end - start > 0) PaintBand(line, c.Top, start, end, p.Color1, p.Color2);
      start = end;
    }
  } else {
    const int w = c.Width();
    line.assign(static_cast<std::size_t>(w), Pixel32{});
    const int lastCol = c.Right - 1;
    int start = c.Left;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      const GradientPiece& p = pieces[k];
      const int end = k == last ? lastCol
                                : static_cast<int>(std::min(
                                      std::nearbyint(p.Percent * (w / 100.0) + start), double(lastCol)));
      if (end - start > 0) PaintBand(line, c.Left, start, end, p.Color1, p.Color2);
      start = end;
    }
  }
  return line;
}

namespace {

void PaintTriangles(Bitmap32& bmp, const TsRect& c, const TsGradArray& pieces) {
  auto vertex = [](int x, int y, TColor col) {
    return TsTriVertex{x, y, static_cast<uint16_t>(Channel(col, 0) << 8), static_cast<uint16_t>(Channel(col, 8) << 8),
                       static_cast<uint16_t>(Channel(col, 16) << 8), 0xFF00};
  };
  // A missing piece repeats the colour of the vertex before it.
  TColor colours[5];
  for (std::size_t i = 0; i < 5; ++i) colours[i] = i < pieces.size() ? pieces[i].Color1 : colours[i - 1];
  const int w = c.Width(), h = c.Height();
  const TsTriVertex p0 = vertex(c.Left, c.Top, colours[0]);
  const TsTriVertex p1 = vertex(c.Left + w / 2, c.Top + h / 2, colours[1]);
  const TsTriVertex p2 = vertex(c.Right, c.Top, colours[2]);
  const TsTriVertex p3 = vertex(c.Right, c.Bottom, colours[3]);
  const TsTriVertex p4 = vertex(c.Left, c.Bottom, colours[4]);
  GradientFillTriangle(bmp, p0, p1, p2);
  GradientFillTriangle(bmp, p1, p2, p3);
  GradientFillTriangle(bmp, p0, p1, p4);
  GradientFillTriangle(bmp, p4, p1, p3);
}

}  // namespace

void PaintGradient(Bitmap32& bmp, const TsRect& rect, const TsGradArray& pieces, int offset) {
  if (bmp.Empty() || pieces.empty()) return;
  const TsRect c = ClipToBitmap(rect, bmp.Width(), bmp.Height());
  if (IsRectEmpty(c)) return;
  switch (pieces.front().Mode) {
    case 0: {
      const std::vector<Pixel32> line = GradientLine(pieces, rect, bmp.Width(), bmp.Height(), offset);
      for (int y = c.Top; y < c.Bottom; ++y) {
        const Pixel32 p = line[static_cast<std::size_t>(y - c.Top)];
        if (p.A) std::fill(bmp.Row(y) + c.Left, bmp.Row(y) + c.Right, p);
      }
      break;
    }
    case 1: {
      const std::vector<Pixel32> line = GradientLine(pieces, rect, bmp.Width(), bmp.Height(), offset);
      for (int y = c.Top; y < c.Bottom; ++y) {
        Pixel32* row = bmp.Row(y) + c.Left;
        for (std::size_t i = 0; i < line.size(); ++i)
          if (line[i].A) row[i] = line[i];
      }
      break;
    }
    case 2:
      PaintTriangles(bmp, c, pieces);
      break;
    default:
      break;
  }
}

void GradientFillTriangle(Bitmap32& bmp, const TsTriVertex& v0, const TsTriVertex& v1, const TsTriVertex& v2) {
  if (bmp.Empty()) return;
  // Twice the signed area; a degenerate triangle covers no pixel centre.
  const int64_t area = (int64_t{v1.X} - v0.X) * (int64_t{v2.Y} - v0.Y) - (int64_t{v2.X} - v0.X) * (int64_t{v1.Y} - v0.Y);
  if (area == 0) return;
  const TsTriVertex* v[3] = {&v0, &v1, &v2};
  if (area < 0) std::swap(v[1], v[2]);  // counter-clockwise in y-down terms from here on
  const int64_t a2 = area < 0 ? -area : area;

  const int minX = std::max(0, std::min({v0.X, v1.X, v2.X}));
  const int maxX = std::min(bmp.Width(), std::max({v0.X, v1.X, v2.X}));  // right and bottom are never covered
  const int minY = std::max(0, std::min({v0.Y, v1.Y, v2.Y}));
  const int maxY = std::min(bmp.Height(), std::max({v0.Y, v1.Y, v2.Y}));
  if (minX >= maxX || minY >= maxY) return;

  // Edge functions at integer pixel positions, positive inside.
  struct Edge {
    int64_t a, b, c;  // e(x, y) = a * x + b * y + c
    bool topLeft;
  };
  Edge e[3];
  for (int i = 0; i < 3; ++i) {
    const TsTriVertex& p = *v[(i + 1) % 3];
    const TsTriVertex& q = *v[(i + 2) % 3];
    e[i].a = int64_t{p.Y} - q.Y;
    e[i].b = int64_t{q.X} - p.X;
    e[i].c = int64_t{p.X} * q.Y - int64_t{p.Y} * q.X;
    // With y pointing down and this winding, a top edge runs rightwards and a left edge upwards.
    e[i].topLeft = (q.Y == p.Y && q.X > p.X) || (q.Y < p.Y);
  }
  // Barycentric weights sum to a2; channels are truncated to their high byte.
  auto channel = [&](const int64_t* w, uint16_t TsTriVertex::*m) {
    const int64_t s = w[0] * (v[0]->*m) + w[1] * (v[1]->*m) + w[2] * (v[2]->*m);
    return static_cast<uint8_t>((s / a2) >> 8);
  };
  for (int y = minY; y < maxY; ++y) {
    Pixel32* row = bmp.Row(y);
    for (int x = minX; x < maxX; ++x) {
      int64_t w[3];
      bool inside = true;
      for (int i = 0; i < 3 && inside; ++i) {
        w[i] = e[i].a * x + e[i].b * y + e[i].c;
        inside = w[i] > 0 || (w[i] == 0 && e[i].topLeft);
      }
      if (!inside) continue;
      row[x] = Pixel32{channel(w, &TsTriVertex::Blue), channel(w, &TsTriVertex::Green), channel(w, &TsTriVertex::Red),
                       channel(w, &TsTriVertex::Alpha)};
    }
  }
}
