// Hue rotation and saturation change of colours and of 32-bit pixels. They live with the skin
// data because a skin's hue and saturation are applied to its model while it loads; the
// painters use the same transforms for a control's own tint (skin/render/sGraphUtils.h
// re-exports them).
#pragma once

#include <cstdint>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"

// True for the key colour 0xFF00FF; the alpha byte is not looked at.
inline bool IsKeyPixel(Pixel32 p) { return p.B == 0xFF && p.G == 0 && p.R == 0xFF; }
inline bool IsKeyColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFFFFFF) == 0xFF00FF; }

// Rotates the hue of every pixel by `degrees` (HSV, rounded to nearest, ties to even).
// Grey pixels, key-colour pixels and alpha bytes are kept; bitmaps narrower or lower than
// 2 pixels are left alone, as by every pixel routine.
void ShiftHue(Bitmap32& bmp, int degrees);
// The same for one colour; 0 degrees, grey and the key colour return it unchanged. The high
// byte is kept.
TColor ShiftHue(TColor c, int degrees);

// Moves every channel away from (amount > 0) or towards (amount < 0) the pixel's mean by
// amount percent of the distance, limited to 0..255. Grey, key pixels and alpha are kept;
// bitmaps below 2 x 2 pixels are left alone.
void ChangeSaturation(Bitmap32& bmp, int amount);
// The same for one colour; amount 0 returns it unchanged. The high byte is kept.
TColor ChangeSaturation(TColor c, int amount);
