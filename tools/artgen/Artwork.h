// The installer's background picture: the Kestamor identity drawn for the
// wizard window. The page panels hide its lower right part, so all detail
// lives in the top band and the left column.
#pragma once

#include "image/Bitmap32.h"

namespace artgen {

inline constexpr int kArtWidth = 480;
inline constexpr int kArtHeight = 422;
// The window shows 475 columns of the picture; the panels start at this point.
inline constexpr int kVisibleWidth = 475;
inline constexpr int kCoveredLeft = 121;
inline constexpr int kCoveredTop = 100;

Bitmap32 RenderBackground();

}  // namespace artgen
