// Section painting on device contexts and the background query between a child and its
// parent: the Windows half of the section painters.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "framework/Controls.h"
#include "skin/render/sBackgroundSource.h"
#include "skin/render/sGeometry.h"

class TsSkinManager;

// Asks `parent` what lies behind a child (GetBackgroundInfo). With pleaseDraw, a parent that
// does not answer paints itself into query.DC (the query's rectangle, moved by its offset).
// True when the parent answered.
bool GetParentBg(ParentBgQuery& query, TControl* parent, bool pleaseDraw);
bool GetParentBg(ParentBgQuery& query, HWND parent, bool pleaseDraw);
// BgInfoFromQuery with the system's colours.
BackgroundSource BgInfoFromQueryWin(const ParentBgQuery& query);

// The colour a control shows: a skinned one is asked (GetBackgroundColor), any other gives
// its Color; clFuchsia for none. Always RGB.
TColor GetControlColor(TControl* control);
TColor GetControlColor(HWND wnd);

// Paints a section for `state` over `bg` into `rect` of dc (origin: the rectangle's position
// in the area bg describes). Nothing for a missing manager, a bad index, a negative corner
// or an empty rectangle.
void PaintSectionToDc(int32_t sectionIndex, std::string_view sectionName, const BackgroundSource& bg,
                      TsSkinManager* manager, HDC dc, TsPoint origin, const RECT& rect, int state);

// Fills r of dc with a plain colour (system colours resolved).
void FillDcRect(HDC dc, const RECT& r, TColor color);
// Frame strips of the given widths inside r.
void FillDcFrame(HDC dc, const RECT& r, int wl, int wt, int wr, int wb, TColor color);
// Copies the ring of width b around a w x h picture from src onto dc (the inside stays).
void CopyFrameRing(HDC dc, HDC src, int w, int h, int b);
// The dotted focus frame on a device context.
void DrawFocusDotsDc(HDC dc, const RECT& r);

// Copies a bitmap view (top-down or bottom-up) onto dc at (x, y).
void BlitBitmap32(HDC dc, int x, int y, const Bitmap32& bmp, const RECT& src);


// The disabled look of a face that keeps 40 % over 60 % of what lies behind it, also where the
// parent answered with a plain colour (or with none: then `parentColour`): that colour stands
// in as a picture behind every pixel.
void PaintDisabledOverBackground(Bitmap32& bmp, TsDisabledKind kind, TColor parentColour, TsPoint origin,
                                 const BackgroundSource& bg);

// Paints the binding's disabled look into the finished control image.
void PaintDisabledLookWin(Bitmap32& bmp, TsDisabledKind kind, TControl* parent, TsPoint origin,
                          const BackgroundSource& bg);
