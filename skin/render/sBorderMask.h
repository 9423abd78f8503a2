// The nine-piece border painter: a border image's cell is cut into four corners, four edges
// and a centre, and laid over a rectangle with the corners in their own sizes and the edges
// and centre stretched or tiled between them. Also the window-region runs of a border's
// key-coloured corners.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sBackgroundSource.h"

// Draw-mode bits of border images.
inline constexpr int16_t dmStretch = 1;      // stretch edges and centre (else tile)
inline constexpr int16_t dmNotNormal = 2;    // leave the image out in state 0
inline constexpr int16_t dmPaintCentre = 4;  // paint the centre (else the background shows)

struct TsBorderWidths {
  int32_t L = 0, T = 0, R = 0, B = 0;
  friend bool operator==(const TsBorderWidths&, const TsBorderWidths&) = default;
};

// The image's border widths fitted to a width x height rectangle: when the two side widths
// do not fit, each gives up half the excess and the right (bottom) one the odd pixel.
TsBorderWidths FitBorderWidths(const TsMaskData& image, int32_t width, int32_t height);

enum class TsPieceKind : uint8_t { Corner, HorzEdge, VertEdge, Centre };

// One of the nine pieces: where it lies in the source bitmap and where it goes.
struct TsBorderPiece {
  TsPieceKind Kind = TsPieceKind::Corner;
  TsRect Src;  // exclusive, in the source bitmap
  TsRect Dst;  // exclusive, in the target
};

// The nine pieces of `image`'s cell for `state` laid over `rect`, in painting order: top-left,
// left edge, top edge, bottom-left, bottom edge, bottom-right, top-right, right edge, centre.
// Returns false (pieces untouched) when the fitted widths leave the cell's middle negative
// or the image has no cells.
bool BorderPieces(const TsMaskData& image, int state, const TsRect& rect, std::array<TsBorderPiece, 9>& pieces);

// Lays the border image over `rect` of `target`. Key pixels of the corners show the
// background (updateCorners) or what was painted before; edges and centre are copied
// plainly, or through the mask for masked images. Paints nothing in state 0 for images with
// dmNotNormal, on rectangles narrower or lower than 2 pixels, for images without a skin model
// or cells, and where the widths leave the middle negative.
void PaintBorderMask(Bitmap32& target, const TsRect& rect, const TsMaskData& image, int state, bool updateCorners,
                     const BackgroundSource& bg);

// Appends to `list` one-pixel-high rectangles covering the key-coloured runs in the corners of
// the image's top band (WT rows) or, with `bottom`, its bottom band (WB rows), always of the
// first cell: runs in the left WL columns as they are, runs in the right WR columns moved to
// the right end of a frame `width` wide. Rows are numbered from yOffset.
void KeyColorRects(std::vector<TsRect>& list, int32_t width, const TsMaskData& image, bool bottom, int32_t yOffset);

// Appends to `list` one-pixel-high rectangles covering the key-coloured pixels of the four
// corner pieces that PaintBorderMask lays over `rect` for `state` (widths fitted to the
// rectangle, the state's cell), in target coordinates. A button cuts these out of its window
// region so that its rounded corners show what lies behind it.
void CornerKeyRects(std::vector<TsRect>& list, const TsMaskData& image, int state, const TsRect& rect);
