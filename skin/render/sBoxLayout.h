// Where a check box or radio button puts its glyph and caption, and the size it takes when it
// sizes itself. Text is measured by the caller (the Windows side); this is the arithmetic.
#pragma once

#include <cstdint>

#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

struct TsBoxSize {
  int32_t Width = 0, Height = 0;
  friend bool operator==(const TsBoxSize&, const TsBoxSize&) = default;
};

// What decides the layout of one box control.
struct TsBoxLayout {
  int32_t Width = 0, Height = 0;  // the control
  TsBoxSize Glyph;
  int32_t Margin = 2;
  int32_t TextIndent = 0;
  bool GlyphLeft = true;     // alignment taRightJustify after right-to-left mirroring
  bool RightToLeft = false;  // right-to-left reading
  bool WordWrap = false;
};

// The size of one cell of a skin image: the strip's cells, or thirds and halves of a
// picture of its own that has no cells.
TsBoxSize SkinGlyphSize(const TsMaskData& image);
// A custom glyph picture: square cells when its width is a multiple of its height.
TsBoxSize BitmapGlyphSize(int32_t width, int32_t height);
// When no glyph is found.
inline constexpr TsBoxSize kNoGlyphSize{16, 16};

TsRect BoxGlyphRect(const TsBoxLayout& l);
// The width the caption may take.
int32_t BoxCaptionSpace(const TsBoxLayout& l);
// The rectangle the caption is written in, for a measured text size; isRightAligned tells
// the caller to add DT_RIGHT (right-to-left reading without wrapping).
TsRect BoxCaptionRect(const TsBoxLayout& l, TsBoxSize text, bool* isRightAligned = nullptr);
// The dotted focus frame around the caption rectangle.
TsRect BoxFocusRect(const TsBoxLayout& l, TsRect caption);
// AutoSize while skinned; a caption size of 0 x 0 means no caption.
TsBoxSize BoxAutoSize(TsBoxSize glyph, int32_t margin, int32_t textIndent, TsBoxSize caption, bool hasCaption);
// AutoSize without a skin.
TsBoxSize BoxPlainAutoSize(TsBoxSize caption);
