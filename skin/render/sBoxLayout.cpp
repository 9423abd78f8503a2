#include "skin/render/sBoxLayout.h"

#include <algorithm>

TsBoxSize SkinGlyphSize(const TsMaskData& image) {
  if (image.ImageCount <= 0 && !image.Bmp.Empty()) return TsBoxSize{image.Bmp.Width() / 3, image.Bmp.Height() / 2};
  return TsBoxSize{image.CellWidth(), image.CellHeight()};
}

TsBoxSize BitmapGlyphSize(int32_t width, int32_t height) {
  if (height > 0 && width % height == 0 && width / height > 0) return TsBoxSize{height, height};
  return TsBoxSize{width, height};
}

TsRect BoxGlyphRect(const TsBoxLayout& l) {
  const int32_t x = l.GlyphLeft ? l.Margin : l.Width - l.Glyph.Width - l.Margin;
  const int32_t y = (l.Height - l.Glyph.Height) / 2;
  return TsRect{x, y, x + l.Glyph.Width, y + l.Glyph.Height};
}

int32_t BoxCaptionSpace(const TsBoxLayout& l) {
  return l.Width - l.Glyph.Width - l.TextIndent - 2 * l.Margin - 2;
}

TsRect BoxCaptionRect(const TsBoxLayout& l, TsBoxSize text, bool* isRightAligned) {
  const int32_t a = BoxCaptionSpace(l);
  const int32_t top = std::max((l.Height - text.Height) / 2, l.Margin);
  const int32_t bottom = top + text.Height;
  TsRect r;
  bool right = false;
  if (l.GlyphLeft) {
    if (l.RightToLeft) {
      r.Right = l.Width - l.Margin - l.Glyph.Width - l.TextIndent - 4;
      r.Left = r.Right - text.Width;
      right = !l.WordWrap;
    } else {
      r.Left = l.Width - a - l.Margin + 2;
      r.Right = r.Left + text.Width;
    }
    r.Top = top;
    r.Bottom = bottom;
  } else {
    r = TsRect{l.Margin, top, a + l.Margin, bottom};
  }
  if (isRightAligned) *isRightAligned = right;
  return l.WordWrap ? OffsetRect(r, -1, -1) : OffsetRect(r, 0, -1);
}

TsRect BoxFocusRect(const TsBoxLayout& l, TsRect caption) {
  caption.Top += 1;
  if (!l.WordWrap) caption.Bottom -= 1;
  return TsRect{caption.Left - 1, caption.Top - 1, caption.Right + 1, caption.Bottom + 1};
}

TsBoxSize BoxAutoSize(TsBoxSize glyph, int32_t margin, int32_t textIndent, TsBoxSize caption, bool hasCaption) {
  TsBoxSize s;
  s.Width = glyph.Width + 2 * margin + (hasCaption ? caption.Width + textIndent + 8 : 0);
  s.Height = std::max(glyph.Height, hasCaption ? caption.Height + 2 * margin : 0) + 2;
  return s;
}

TsBoxSize BoxPlainAutoSize(TsBoxSize caption) {
  return TsBoxSize{caption.Width + 20, std::max(caption.Height + 4, 20)};
}
