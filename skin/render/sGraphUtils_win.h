// Captions in the skin's text colours: the font colour of the section a control sits on, its
// one-pixel contours, its soft glow and the mixed colour of disabled text; and the "..."
// shortening of a caption measured with a canvas font.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Graphics.h"
#include "skin/render/acTextGlow.h"

class TsCommonData;
class TsSkinManager;
class TsSkinModel;

// Draws one caption into rect of the canvas with DrawTextA `format` flags, in the colours of
// the binding's section (or of the section the control's transparent parents give their font
// from) for the normal or hot state. Disabled skinned text is 40 % font colour and 60 % the
// skin's global colour; unskinned text (or CustomFont) is plain, disabled embossed. A hot
// WEBBUTTON caption underlines the canvas font (and leaves it so). The DC is restored on
// every path.
//
// A section with a glow size lays the glow into the binding's cache bitmap first. The glow
// mask is the costly part, so a control passes `glowCache` and keeps it between paints: it
// is reused while the text rectangle keeps its size, and the caller must Clear() it when the
// text, the font, the glow size or the format changes at the same size. Without a cache the
// mask is made for this call only.
void WriteSkinText(TCanvas& canvas, const std::string& text, bool enabled, bool hot, TsCommonData& sd,
                   UINT format, RECT rect, TsGlowMask* glowCache = nullptr);

// The same from a section index of `manager` (nullptr: the default skin), without a binding:
// contours and font colour of the normal or hot set; disabled text mixes the normal font
// colour 40 % with the section's own colour. No glow, underline, hue or saturation. Without
// an active skin or with a bad index the text is drawn as unskinned text is.
void WriteSkinTextByIndex(TCanvas& canvas, const std::string& text, bool enabled, TsSkinManager* manager, bool hot,
                          int32_t sectionIndex, UINT format, RECT rect);
// The same against a skin model directly (nullptr: the default skin model).
void WriteSkinTextByModel(TCanvas& canvas, const std::string& text, bool enabled, const TsSkinModel* model,
                          bool hot, int32_t sectionIndex, UINT format, RECT rect);

// Lays a soft glow of `colour` and `size` pixels under the text that `format` would place in
// rect, into bmp (rect is in bmp's coordinates). The text shape is drawn with the canvas
// font, once in place and once moved by each bit of `offsets` (1 left, 2 up, 4 right, 8 down),
// into an 8-bit mask that reaches size + 4 pixels beyond rect, and blurred; `cache` keeps the
// blurred mask and is reused while its size holds (see WriteSkinText for when to clear it).
// A size below 1 or an empty text or rectangle paints nothing.
void PaintTextGlow(Bitmap32& bmp, TCanvas& canvas, const std::string& text, RECT rect, TsGlowMask& cache,
                   TColor colour, int size, int offsets, UINT format);

// Shortens text with "..." to fit `width` pixels in the canvas font ("" for a width of 0 or
// less, or when not even "..." fits behind one character).
std::string CutTextToWidth(TCanvas& canvas, const std::string& text, int width);
