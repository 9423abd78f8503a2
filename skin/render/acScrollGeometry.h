// Geometry of a skinned scroll bar, along its length: the track between the two arrows, the
// thumb's length and offset, which element lies under a point, and the position a dragged
// thumb stands for. Lengths are in pixels; the bar is L long with arrows A long.
#pragma once

#include <cstdint>

// a * b / c rounded to nearest (halves away from zero), in 64 bits; -1 when c is 0, as the
// system's MulDiv.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

// The platform's scroll information as the bar uses it.
struct TacScrollNumbers {
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Page = 0;
  int32_t Pos = 0;
};

// Scroll codes a bar sends for its elements; kNoElement is the bar's crosswise outside.
enum TacScrollElement : int32_t {
  seLineUp = 0,    // left or up arrow
  seLineDown = 1,  // right or down arrow
  sePageUp = 2,
  sePageDown = 3,
  seThumb = 5,
  seNone = -1,
};

inline constexpr int32_t kMinThumbLength = 10;

struct TacScrollLayout {
  int32_t Length = 0;   // L
  int32_t Arrow = 0;    // A
  int32_t Track = 0;    // T = L - 2A
  int32_t Thumb = 0;    // thumb length
  int32_t ThumbStart = 0;  // from the bar's start (first arrow included)
  bool HasThumb = false;   // the track holds a thumb shorter than itself
};

// The track and thumb of a bar. With a page the thumb is page / (range + 1) of the track, at
// least minThumb; without one it is an arrow long. A range beyond 0x7FFFFFFE gives the
// arrow-long thumb too. The offset maps the position onto the track's free length.
TacScrollLayout ScrollLayout(const TacScrollNumbers& n, int32_t length, int32_t arrow,
                             int32_t minThumb = kMinThumbLength);

// The element at `along` pixels from the bar's start.
TacScrollElement ScrollElementAt(const TacScrollLayout& layout, int32_t along);

// The position a thumb starting `thumbOffset` pixels into the track stands for: one past the
// platform's own maximum (range - page + 2) when it touches the track's end.
int32_t ScrollPosFromThumb(const TacScrollNumbers& n, const TacScrollLayout& layout, int32_t thumbOffset);
