// Points and rectangle arithmetic for the painters. Rectangles are TsRect (skin/data/sMaskData.h):
// right and bottom exclusive unless a routine says otherwise.
#pragma once

#include <algorithm>
#include <cstdint>

#include "skin/data/sMaskData.h"

struct TsPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TsPoint&, const TsPoint&) = default;
};

inline constexpr TsRect MakeRect(int32_t l, int32_t t, int32_t r, int32_t b) { return TsRect{l, t, r, b}; }

// The remainder a texture routine hands back when it painted everything.
inline constexpr TsRect kNoRemainder{-1, -1, -1, -1};

inline bool IsRectEmpty(const TsRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

inline TsRect IntersectRect(const TsRect& a, const TsRect& b) {
  TsRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
           std::min(a.Bottom, b.Bottom)};
  if (IsRectEmpty(r)) r = TsRect{};
  return r;
}

inline TsRect OffsetRect(const TsRect& r, int32_t dx, int32_t dy) {
  return TsRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}
