// The geometry and pictures of glows: a semi-transparent skin image, larger than the button or
// control it surrounds, shown in a layered window of its own. Layered windows take colours
// premultiplied by their alpha, so every picture made here is premultiplied; skin images keep
// straight alpha.
#pragma once

#include <cstdint>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"

// The border widths a glow image is laid out with around a target. A side takes the image's
// own width, else its BorderMode. An image that gives no width at all is shown whole at its
// own size, centred on the target: then Whole is set and the sides are what centring needs.
struct TsGlowSides {
  int32_t L = 0, T = 0, R = 0, B = 0;
  bool Whole = false;
  friend bool operator==(const TsGlowSides&, const TsGlowSides&) = default;
};
TsGlowSides GlowSides(const TsMaskData& image, int32_t targetWidth, int32_t targetHeight, int32_t margin);

// Where a glow window goes and which part of the whole glow picture it shows.
struct TsGlowPlacement {
  int32_t FullWidth = 0, FullHeight = 0;  // the whole picture around the target
  TsRect Kept;    // the part of the whole picture the window shows, in its coordinates
  TsRect Window;  // the window, in the target's coordinate system
  bool Empty() const { return IsRectEmpty(Kept); }
};

// `target` is the button or control (screen coordinates), `clip` its visible part in the
// target's own coordinates. The whole picture reaches margin-less sides beyond the target; on
// each side where the target itself is cut the picture is cut with it, elsewhere its glow
// beyond the target stays.
TsGlowPlacement PlaceGlow(const TsRect& target, const TsRect& clip, int32_t margin, const TsGlowSides& sides);

// The picture of a glow window: the image laid around the target (whole, or in nine pieces
// with the sides' widths) at the whole size, cut to the kept part, premultiplied.
Bitmap32 GlowWindowPicture(const TsMaskData& image, const TsGlowSides& sides, const TsGlowPlacement& place);

// The first cell of a glow image, premultiplied: the hot picture of a title button's hover
// animation.
Bitmap32 GlowImagePicture(const TsMaskData& image);

// Where the hover animation shows a glow picture, relative to the button's top-left: moved
// left and up by the margin, or centred on the button when the margin is 0.
TsPoint GlowPictureOffset(int32_t margin, int32_t pictureWidth, int32_t pictureHeight, int32_t buttonWidth,
                          int32_t buttonHeight);

// Colours multiplied by alpha, as layered windows take them.
void Premultiply(Bitmap32& bmp);

// The visible part of a windowless control, in its own coordinates: `control` is its place in
// the parent's client area, `parentClip` the clip box of the parent's device context.
TsRect WindowlessGlowClip(const TsRect& parentClip, const TsRect& control);
