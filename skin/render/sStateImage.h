// State images (check marks, radio dots, arrows, corner images) drawn from one cell of a
// skin image strip; the corner repair of a reused control cache; the disabled look.
#pragma once

#include <cstdint>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sBackgroundSource.h"
#include "skin/render/sGeometry.h"

// Draws cell min(state, ImageCount - 1) of `image` with its top-left corner at `pt`; what would
// land left of or above the target is cut off. Mode 1 draws the image as it is; any other
// mode draws it dimmed (key-colour images half mixed with the target, masked images paler).
// Key pixels of key-colour master-bitmap images in mode 1 show `bg` (see CopyKeyedRect).
void PaintStateImage(Bitmap32& target, TsPoint pt, int state, const BackgroundSource& bg, const TsMaskData& image,
                     int mode);

// Re-takes the pixels under the key-coloured pixels of the four corners of the border image
// `image` (cell for `state`) in the control cache: from bg.Bmp at (bg.X + x, bg.Y + y) when bg
// is ready (positions outside it are left alone), else bg.FillColor. Written pixels get alpha
// 0. The caller builds bg from its parent's answer, with the control's position in the
// parent already added. An image without cells but with a picture of its own counts as a
// masked image of three states covering the picture.
void RestoreCornerPixels(Bitmap32& cache, const TsMaskData& image, int state, const BackgroundSource& bg);

// Greys (dkGrayed) and/or blends (dkBlended) a finished control image with what lies behind
// it: with a ready bg each colour channel becomes 60 % of the parent pixel at
// (bg.X + origin.X + x, bg.Y + origin.Y + y) and 40 % of the control (key-coloured parent
// pixels and positions outside the parent are skipped); otherwise the whole image is mixed
// half and half with bg.FillColor, or with parentColor when that is none. With no colour at
// all the blend is left out.
void PaintDisabledLook(Bitmap32& bmp, TsDisabledKind kind, TsPoint origin, const BackgroundSource& bg,
                       TColor parentColor);
