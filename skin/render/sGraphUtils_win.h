// Captions in the skin's font colours: the section's colour for the state, its contour
// colours behind the text, the mixed colour of disabled text.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Graphics.h"

class TsCommonData;
class TsSkinManager;

// Draws one caption with DrawTextA flags `format` into rect of the canvas.
void WriteSkinText(TCanvas& canvas, const std::string& text, bool enabled, bool hot, TsCommonData& sd, UINT format,
                   RECT rect);
// The same from a section index (manager null: the default one), without a binding.
void WriteSkinTextByIndex(TCanvas& canvas, const std::string& text, bool enabled, TsSkinManager* manager, bool hot,
                          int32_t sectionIndex, UINT format, RECT rect);
