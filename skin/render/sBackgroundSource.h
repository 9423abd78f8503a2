// What lies behind an area being painted (BackgroundSource), the record a child hands to its
// parent to learn it (ParentBgQuery), the conversions between them, and the disabled-look
// set of the controls. The Win32 side fills queries by window messages; everything that
// paints only ever sees a BackgroundSource.
#pragma once

#include <cstdint>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sGeometry.h"
#include "skin/render/sGraphUtils.h"

// The parent's painted pixels (Ready) or a plain colour behind the area. Bmp is not owned:
// it points at the parent's cache, which outlives the painting call. A value-initialised
// record (not ready, black) is the "no background" of routines that want none.
struct BackgroundSource {
  const Bitmap32* Bmp = nullptr;
  int32_t X = 0, Y = 0;       // position in Bmp of the painted area's origin
  TColor FillColor = 0;       // used when not Ready; clFuchsia = none
  bool Ready = false;
};

BackgroundSource MakeBgInfo(const Bitmap32* bmp, int32_t x, int32_t y);

// The same background seen from an area that lies `origin` further into it.
inline BackgroundSource ShiftedBg(BackgroundSource bg, TsPoint origin) {
  bg.X += origin.X;
  bg.Y += origin.Y;
  return bg;
}

// The answer a parent gives a child. DC is the target device context of a draw request
// (an HDC on Windows); the neutral layer only carries it.
struct ParentBgQuery {
  const Bitmap32* Bmp = nullptr;
  TColor Color = 0;
  TsPoint Offset;
  TsRect R;
  uint8_t AnswerKind = 0;  // see below
  bool DrawRequested = false;
  void* DC = nullptr;
};
inline constexpr uint8_t akNone = 0, akColor = 1, akBitmap = 2;

// A bitmap answer becomes a ready source at the offset; any other answer a not-ready one
// whose fill colour is the parent's colour in RGB (system colours resolved by sysColor, or
// the classic table when it is null).
BackgroundSource BgInfoFromQuery(const ParentBgQuery& query, TsSysColorFn sysColor = nullptr);

// The controls' DisabledKind set.
using TsDisabledKind = uint8_t;
inline constexpr TsDisabledKind dkBlended = 1;
inline constexpr TsDisabledKind dkGrayed = 2;
inline constexpr TsDisabledKind kDefaultDisabledKind = dkBlended;

// ---- small pixel helpers shared by the section painters ----

// Key test against any key colour, on the colour bytes only: the alpha of key pixels
// differs between the skin's sources.
inline bool MatchesKey(Pixel32 p, Pixel32 key) { return p.B == key.B && p.G == key.G && p.R == key.R; }
// True when both views address the same pixels, however the view objects were made.
inline bool SameBitmapMemory(const Bitmap32& a, const Bitmap32& b) {
  return !a.Empty() && !b.Empty() && a.Row(0) == b.Row(0) && a.Width() == b.Width() &&
         a.Height() == b.Height() && a.RowDelta() == b.RowDelta();
}
