#include "skin/render/acScrollGeometry.h"

#include <algorithm>

int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  const bool negative = (p < 0) != (c < 0);
  const int64_t ap = p < 0 ? -p : p;
  const int64_t ac = c < 0 ? -static_cast<int64_t>(c) : c;
  const int64_t q = (ap + ac / 2) / ac;
  return static_cast<int32_t>(negative ? -q : q);
}

TacScrollLayout ScrollLayout(const TacScrollNumbers& n, int32_t length, int32_t arrow, int32_t minThumb) {
  TacScrollLayout l;
  l.Length = length;
  l.Arrow = arrow;
  l.Track = length - 2 * arrow;
  const int64_t range = static_cast<int64_t>(n.Max) - n.Min;
  if (n.Page != 0 && range >= 0 && range <= 0x7FFFFFFE)
    l.Thumb = std::max(MulDivRound(n.Page, l.Track, static_cast<int32_t>(range + 1)), minThumb);
  else
    l.Thumb = arrow;
  const int32_t free = l.Track - l.Thumb;
  int32_t offset = 0;
  if (range >= 0 && range <= 0x7FFFFFFE) {
    const int64_t divisor = range - std::max(1, n.Page) + 1;
    if (divisor > 0 && divisor <= 0x7FFFFFFF)
      offset = MulDivRound(n.Pos - n.Min, free, static_cast<int32_t>(divisor));
  }
  l.ThumbStart = arrow + std::clamp(offset, 0, std::max(free, 0));
  l.HasThumb = 2 * arrow < length && l.Thumb < l.Track;
  return l;
}

TacScrollElement ScrollElementAt(const TacScrollLayout& l, int32_t along) {
  if (along < 0 || along >= l.Length) return seNone;
  const int32_t e = 2 * l.Arrow < l.Length ? l.Arrow : l.Length / 2;
  if (along < e) return seLineUp;
  if (along >= l.Length - e) return seLineDown;
  if (!l.HasThumb) return seNone;
  if (along < l.ThumbStart) return sePageUp;
  if (along < l.ThumbStart + l.Thumb) return seThumb;
  return sePageDown;
}

int32_t ScrollPosFromThumb(const TacScrollNumbers& n, const TacScrollLayout& l, int32_t thumbOffset) {
  const int32_t free = l.Track - l.Thumb;
  const int32_t range = n.Max - n.Min;
  const int32_t span = range - n.Page + 2;
  if (thumbOffset >= free) return span;
  if (range < 1) return thumbOffset;
  return MulDivRound(thumbOffset, span, free);
}
