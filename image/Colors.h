// The program's one colour vocabulary, shared by the neutral core and the window framework.
// A colour is 0x00BBGGRR, a system colour 0xFF0000nn (nn = COLOR_* index, resolved before
// use), or one of the markers below.
#pragma once

#include <cstdint>

using TColor = int32_t;

inline constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                        clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                        clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                        clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
// The key colour of skin images; in colour parameters it means "no colour given".
inline constexpr TColor clKey = clFuchsia;
// No colour at all (a canvas without a pixel, a property left unset).
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
// A skin option whose colour is absent (text contours): the options file writes -1.
inline constexpr TColor clAbsent = -1;
