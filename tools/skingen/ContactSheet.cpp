#include "tools/skingen/ContactSheet.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace skingen {
namespace {

struct Col {
  uint8_t r, g, b;
};

bool IsKey(const Pixel32& p) { return p.R == 255 && p.G == 0 && p.B == 255; }

void Put(Bitmap32& dst, int x, int y, Col c) {
  if (dst.Contains(x, y)) dst.At(x, y) = Pixel32{c.b, c.g, c.r, 255};
}

void FillRect(Bitmap32& dst, int x, int y, int w, int h, Col c) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) Put(dst, x + i, y + j, c);
}

// A 5 x 7 pixel font for labels: upper-case letters, digits and a few signs.
const char* GlyphRows(char ch) {
  switch (std::toupper(static_cast<unsigned char>(ch))) {
    case 'A': return "01110100011000111111100011000110001";
    case 'B': return "11110100011000111110100011000111110";
    case 'C': return "01110100011000010000100001000101110";
    case 'D': return "11110100011000110001100011000111110";
    case 'E': return "11111100001000011110100001000011111";
    case 'F': return "11111100001000011110100001000010000";
    case 'G': return "01110100011000010111100011000101111";
    case 'H': return "10001100011000111111100011000110001";
    case 'I': return "01110001000010000100001000010001110";
    case 'J': return "00111000100001000010000101001001100";
    case 'K': return "10001100101010011000101001001010001";
    case 'L': return "10000100001000010000100001000011111";
    case 'M': return "10001110111010110101100011000110001";
    case 'N': return "10001100011100110101100111000110001";
    case 'O': return "01110100011000110001100011000101110";
    case 'P': return "11110100011000111110100001000010000";
    case 'Q': return "01110100011000110001101011001001101";
    case 'R': return "11110100011000111110101001001010001";
    case 'S': return "01111100001000001110000010000111110";
    case 'T': return "11111001000010000100001000010000100";
    case 'U': return "10001100011000110001100011000101110";
    case 'V': return "10001100011000110001100010101000100";
    case 'W': return "10001100011000110101101011010101010";
    case 'X': return "10001100010101000100010101000110001";
    case 'Y': return "10001100010101000100001000010000100";
    case 'Z': return "11111000010001000100010001000011111";
    case '0': return "01110100011001110101110011000101110";
    case '1': return "00100011000010000100001000010001110";
    case '2': return "01110100010000100010001000100011111";
    case '3': return "11111000100010000010000011000101110";
    case '4': return "00010001100101010010111110001000010";
    case '5': return "11111100001111000001000011000101110";
    case '6': return "00110010001000011110100011000101110";
    case '7': return "11111000010001000100010000100001000";
    case '8': return "01110100011000101110100011000101110";
    case '9': return "01110100011000101111000010001001100";
    case '.': return "00000000000000000000000000110001100";
    case '-': return "00000000000000011111000000000000000";
    case '/': return "00001000010001000100010001000010000";
    case ':': return "00000011000110000000011000110000000";
    case '_': return "00000000000000000000000000000011111";
    case '(': return "00010001000100001000010000010000010";
    case ')': return "01000001000001000010000100010001000";
    default: return nullptr;
  }
}

int TextWidth(const std::string& s, int scale) { return static_cast<int>(s.size()) * 6 * scale; }

void Text(Bitmap32& dst, int x, int y, const std::string& s, Col c, int scale = 1) {
  for (char ch : s) {
    if (const char* rows = GlyphRows(ch))
      for (int r = 0; r < 7; ++r)
        for (int k = 0; k < 5; ++k)
          if (rows[r * 5 + k] == '1') FillRect(dst, x + k * scale, y + r * scale, scale, scale, c);
    x += 6 * scale;
  }
}

// Copies `src` enlarged by `zoom`; key pixels show a checkerboard, alpha pixels are
// blended over `under`.
void Blow(Bitmap32& dst, int x0, int y0, const Bitmap32& src, int zoom, bool alpha, Col under) {
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) {
      const Pixel32& p = src.At(x, y);
      Col c;
      if (alpha) {
        auto ch = [&](uint8_t v, uint8_t u) { return static_cast<uint8_t>((v * p.A + u * (255 - p.A) + 127) / 255); };
        c = {ch(p.R, under.r), ch(p.G, under.g), ch(p.B, under.b)};
      } else if (IsKey(p)) {
        c = ((x + y) & 1) ? Col{66, 66, 70} : Col{82, 82, 86};
      } else {
        c = {p.R, p.G, p.B};
      }
      FillRect(dst, x0 + x * zoom, y0 + y * zoom, zoom, zoom, c);
    }
}

// ---- A mock window painted the engine's way -------------------------------------------

// Nine-piece painting of one cell: corners at their size, edges and centre stretched
// (draw-mode bit 1) or tiled, the centre only with bit 4; key pixels leave what is
// beneath; masked images mix with the mask's value (0 = image, 255 = beneath).
void NinePiece(Bitmap32& dst, int X, int Y, int W, int H, const Bitmap32& master, const ImageDesc& d, int cell,
               int wl, int wt, int wr, int wb, int drawMode) {
  const Rect c = d.Cell(std::min(cell, d.count - 1));
  const int w = c.Width(), h = c.Height();
  const int mw = w - wl - wr, mh = h - wt - wb;
  if (mw < 0 || mh < 0) return;
  auto map = [](int v, int len, int lo, int hi, int mid, int span, bool stretch) {
    if (v < lo) return v;
    if (v >= len - hi) return span - (len - v);
    if (mid <= 0) return -1;
    int inner = len - lo - hi;
    return lo + (stretch ? (v - lo) * mid / std::max(1, inner) : (v - lo) % mid);
  };
  const bool stretch = (drawMode & 1) && d.maskType == 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool centre = x >= wl && x < W - wr && y >= wt && y < H - wb;
      if (centre && !(drawMode & 4)) continue;
      int sx = map(x, W, wl, wr, mw, w, stretch), sy = map(y, H, wt, wb, mh, h, stretch);
      if (sx < 0 || sy < 0) continue;
      const Pixel32& s = master.At(c.left + sx, c.top + sy);
      if (IsKey(s) || !dst.Contains(X + x, Y + y)) continue;
      Pixel32& t = dst.At(X + x, Y + y);
      if (d.maskType == 1) {
        const Pixel32& m = master.At(c.left + sx, c.top + sy + h);
        auto mix = [](int dv, int sv, int mv) { return static_cast<uint8_t>(std::clamp(((dv - sv) * mv + sv * 256) >> 8, 0, 255)); };
        t = Pixel32{mix(t.B, s.B, m.B), mix(t.G, s.G, m.G), mix(t.R, s.R, m.R), 255};
      } else {
        t = Pixel32{s.B, s.G, s.R, 255};
      }
    }
}

void Section(Bitmap32& dst, int x, int y, int w, int h, const Bitmap32& master, const SkinLayout& layout,
             const char* section, const char* key, int cell) {
  if (const ImageDesc* d = layout.Find(section, key))
    NinePiece(dst, x, y, w, h, master, *d, cell, d->wl, d->wt, d->wr, d->wb, d->shape == TsValueShape::Border ? d->drawMode : 0);
}

void StateImage(Bitmap32& dst, int x, int y, const Bitmap32& master, const SkinLayout& layout, const char* key, int cell) {
  const ImageDesc* d = layout.Find("GLOBALINFO", key);
  if (!d) return;
  const Rect c = d->Cell(std::min(cell, d->count - 1));
  for (int j = 0; j < c.Height(); ++j)
    for (int i = 0; i < c.Width(); ++i) {
      const Pixel32& s = master.At(c.left + i, c.top + j);
      if (!IsKey(s)) Put(dst, x + i, y + j, {s.R, s.G, s.B});
    }
}

void Gradient(Bitmap32& dst, int x, int y, int w, int h, Col a, Col b) {
  for (int j = 0; j < h; ++j) {
    double t = h > 1 ? double(j) / (h - 1) : 0;
    auto ch = [t](uint8_t u, uint8_t v) { return static_cast<uint8_t>(u + (v - u) * t + 0.5); };
    FillRect(dst, x, y + j, w, 1, {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)});
  }
}

Bitmap32 MockWindow(const SkinLayout& layout, const Bitmap32& master, Col behind) {
  const int W = 330, H = 200;
  Bitmap32 win(W, H);
  win.Fill(Pixel32{behind.b, behind.g, behind.r, 255});
  const Col face{45, 37, 37}, text{153, 137, 137}, pink{255, 192, 192}, lightPink{251, 204, 203};
  FillRect(win, 0, 0, W, H, face);
  Section(win, 0, 0, W, H, master, layout, "FORM", "BORDERSMASK", 1);
  const int titleH = 20;
  // FORMTITLE is transparent (100): the frame shows through before the title image.
  Section(win, 0, 0, W, titleH, master, layout, "FORMTITLE", "BORDERSMASK", 1);
  Text(win, 8, 7, "KESTAMOR INSTALLER", lightPink);
  if (const ImageDesc* d = layout.Find("GLOBALINFO", "SICONCLOSE"))
    StateImage(win, W - 1 - 3 - d->CellWidth(), (titleH - d->CellHeight()) / 2 + 1, master, layout, "SICONCLOSE", 0);
  // A page: PANEL with its 3-pixel border.
  Section(win, 10, 28, W - 20, 124, master, layout, "PANEL", "BORDERSMASK", 0);
  Text(win, 22, 38, "LICENCE AGREEMENT", text);
  StateImage(win, 22, 52, master, layout, "RADIOCHECKED", 0);
  Text(win, 42, 56, "YES. I AGREE.", pink);
  StateImage(win, 22, 70, master, layout, "RADIOUNCHECKED", 0);
  Text(win, 42, 74, "NO. I DON'T AGREE.", text);
  StateImage(win, 22, 88, master, layout, "BOXCHECKED", 1);
  Text(win, 42, 92, "CREATE A DESKTOP ICON", pink);
  StateImage(win, 22, 106, master, layout, "BOXUNCHECKED", 0);
  Text(win, 42, 110, "LAUNCH KESTAMOR", text);
  // An edit with its frame, normal and focused.
  FillRect(win, 180, 52, 130, 21, {0, 0, 0});
  Section(win, 180, 52, 130, 21, master, layout, "EDIT", "BORDERSMASK", 0);
  Text(win, 186, 59, "C:/PROGRAM FILES", text);
  FillRect(win, 180, 78, 130, 21, {0, 0, 0});
  Section(win, 180, 78, 130, 21, master, layout, "EDIT", "BORDERSMASK", 1);
  Text(win, 186, 85, "KESTAMOR", {135, 134, 134});
  // Progress: the GAUGE frame and blocks of PROGRESSH over its gradient and texture.
  FillRect(win, 22, 128, 286, 17, face);
  Section(win, 22, 128, 286, 17, master, layout, "GAUGE", "BORDERSMASK", 0);
  for (int k = 0; k < 16; ++k) {
    int x = 23 + k * 10;
    Gradient(win, x, 129, 8, 15, {226, 72, 98}, {110, 20, 36});
    Section(win, x, 129, 8, 15, master, layout, "PROGRESSH", "BORDERSMASK", 0);
  }
  // Buttons: normal, hot (pink caption), pressed.
  const char* captions[] = {"< BACK", "NEXT >", "CANCEL"};
  for (int i = 0; i < 3; ++i) {
    int x = 82 + i * 82, y = 164;
    Section(win, x, y, 75, 25, master, layout, "BUTTON", "BORDERSMASK", i);
    std::string s = captions[i];
    Text(win, x + (75 - TextWidth(s, 1)) / 2 + (i == 2), y + 9 + (i == 2), s, i ? pink : text);
  }
  return win;
}

}  // namespace

Bitmap32 BuildContactSheet(const SkinLayout& layout, const Bitmap32& master, const Bitmap32& huge,
                           const std::vector<NamedImage>& glows) {
  const int zoom = 3, pad = 16;
  const Col bg{112, 112, 116}, label{240, 240, 240};
  const int masterW = master.Width() * zoom, masterH = master.Height() * zoom;
  const int W = masterW + 2 * pad;
  int glowRowW = 0, glowH = 0;
  for (const NamedImage& g : glows) {
    glowRowW += g.bmp->Width() * zoom + pad;
    glowH = std::max(glowH, g.bmp->Height() * zoom);
  }
  Bitmap32 mock = MockWindow(layout, master, bg);
  const int row2 = pad + 12 + masterH + pad;
  const int row3 = row2 + 12 + std::max(huge.Height() * zoom, glowH) + pad;
  const int H = row3 + 12 + mock.Height() * 2 + pad;
  Bitmap32 sheet(W, H);
  sheet.Fill(Pixel32{bg.b, bg.g, bg.r, 255});

  Text(sheet, pad, pad, "MASTER.BMP 634 X 117 (X3)", label);
  Blow(sheet, pad, pad + 12, master, zoom, false, bg);

  Text(sheet, pad, row2, "HUGE.BMP 192 X 64", label);
  Blow(sheet, pad, row2 + 12, huge, zoom, false, bg);
  int x = pad + huge.Width() * zoom + 2 * pad;
  for (const NamedImage& g : glows) {
    Text(sheet, x, row2, g.name, label);
    // Glows show over the title bar: preview them on its dark colour.
    Blow(sheet, x, row2 + 12, *g.bmp, zoom, true, Col{36, 29, 31});
    x += g.bmp->Width() * zoom + pad;
  }

  Text(sheet, pad, row3, "MOCK WINDOW (X2)", label);
  Blow(sheet, pad, row3 + 12, mock, 2, false, bg);
  return sheet;
}

}  // namespace skingen
