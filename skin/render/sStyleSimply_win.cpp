#include "skin/render/sStyleSimply_win.h"

#include <algorithm>

#include "framework/Handles.h"
#include "skin/data/sColorShift.h"
#include "skin/data/sConst.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"

namespace {

uint32_t WinSysColor(int index) { return GetSysColor(index); }

// The parent paints itself into the query's DC: a parent that cannot answer draws instead.
void DrawParentInto(ParentBgQuery& q, HWND parent) {
  HDC dc = static_cast<HDC>(q.DC);
  if (!dc || !parent) return;
  SavedDC state(dc);
  POINT old;
  OffsetViewportOrgEx(dc, -q.Offset.X, -q.Offset.Y, &old);
  IntersectClipRect(dc, q.R.Left + q.Offset.X, q.R.Top + q.Offset.Y, q.R.Right + q.Offset.X,
                    q.R.Bottom + q.Offset.Y);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void FillQueryRect(const ParentBgQuery& q) {
  if (!q.DC) return;
  FillDcRect(static_cast<HDC>(q.DC), RECT{q.R.Left, q.R.Top, q.R.Right, q.R.Bottom}, q.Color);
}

}  // namespace

bool GetParentBg(ParentBgQuery& q, TControl* parent, bool pleaseDraw) {
  const bool drawOnEntry = q.DrawRequested;
  q.AnswerKind = akNone;
  q.DrawRequested = pleaseDraw;
  if (!parent) return false;
  SendSkinCommand(parent, SkinCommand::GetBackgroundInfo, 0, reinterpret_cast<LPARAM>(&q));
  if (q.AnswerKind != akNone) return true;
  auto* w = dynamic_cast<TWinControl*>(parent);
  if (drawOnEntry && w && w->HandleAllocated()) {
    DrawParentInto(q, w->Handle());
    return false;
  }
  q.AnswerKind = akColor;
  const auto answer = static_cast<TColor>(SendSkinCommand(parent, SkinCommand::GetBackgroundColor));
  q.Color = answer != 0 ? answer : ColorToRGB(parent->Color());
  if (pleaseDraw && q.Bmp) FillQueryRect(q);
  return false;
}

bool GetParentBg(ParentBgQuery& q, HWND parent, bool pleaseDraw) {
  const bool drawOnEntry = q.DrawRequested;
  q.AnswerKind = akNone;
  q.DrawRequested = pleaseDraw;
  if (!parent) return false;
  SendMessageA(parent, SM_ALPHACMD, MakeSkinCommand(SkinCommand::GetBackgroundInfo), reinterpret_cast<LPARAM>(&q));
  if (q.AnswerKind != akNone) return true;
  if (drawOnEntry) {
    DrawParentInto(q, parent);
    return false;
  }
  q.AnswerKind = akColor;
  TsSkinManager* m = DefaultManager();
  q.Color = m ? ColorToRGB(m->GetGlobalColor()) : static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
  return false;
}

BackgroundSource BgInfoFromQueryWin(const ParentBgQuery& q) { return BgInfoFromQuery(q, &WinSysColor); }

TColor GetControlColor(TControl* control) {
  if (!control) return clFuchsia;
  if (HandlesSkinCommandsControl(control)) {
    const auto c = static_cast<TColor>(SendSkinCommand(control, SkinCommand::GetBackgroundColor, 0, 0));
    return ColorToRGB(c);
  }
  return ColorToRGB(control->Color());
}

TColor GetControlColor(HWND wnd) {
  if (!wnd) return clFuchsia;
  if (TWinControl* c = TWinControl::FindControl(wnd)) return GetControlColor(c);
  if (HandlesSkinCommands(wnd)) return ColorToRGB(static_cast<TColor>(SendSkinCommand(wnd, SkinCommand::GetBackgroundColor)));
  return static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
}

void PaintSectionToDc(int32_t sectionIndex, std::string_view sectionName, const BackgroundSource& bg,
                      TsSkinManager* manager, HDC dc, TsPoint origin, const RECT& rect, int state) {
  TsSkinManager* m = manager ? manager : DefaultManager();
  if (!m || !dc) return;
  const TsSkinModel& model = m->Model();
  if (sectionIndex < 0 || sectionIndex >= static_cast<int32_t>(model.Sections.size())) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (rect.left < 0 || rect.top < 0 || w < 1 || h < 1) return;
  SavedDC state_(dc);
  TBitmap bmp(w, h, true);
  Bitmap32 view = bmp.View();
  PaintSectionByIndex(sectionIndex, sectionName, bg, -1, -1, &model, view, origin, TsRect{0, 0, w, h}, state);
  BitBlt(dc, rect.left, rect.top, w, h, bmp.Canvas().Handle(), 0, 0, SRCCOPY);
}

void FillDcRect(HDC dc, const RECT& r, TColor color) {
  if (!dc || r.right <= r.left || r.bottom <= r.top) return;
  UniqueBrush brush(CreateSolidBrush(ToColorRef(color)));
  FillRect(dc, &r, brush.get());
}

void CopyFrameRing(HDC dc, HDC src, int w, int h, int b) {
  if (b <= 0) return;
  BitBlt(dc, 0, 0, w, b, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - b, w, b, src, 0, h - b, SRCCOPY);
  BitBlt(dc, 0, b, b, h - 2 * b, src, 0, b, SRCCOPY);
  BitBlt(dc, w - b, b, b, h - 2 * b, src, w - b, b, SRCCOPY);
}

void FillDcFrame(HDC dc, const RECT& r, int wl, int wt, int wr, int wb, TColor color) {
  FillDcRect(dc, RECT{r.left, r.top, r.left + wl, r.bottom}, color);
  FillDcRect(dc, RECT{r.left, r.top, r.right, r.top + wt}, color);
  FillDcRect(dc, RECT{r.right - wr, r.top, r.right, r.bottom}, color);
  FillDcRect(dc, RECT{r.left, r.bottom - wb, r.right, r.bottom}, color);
}

void DrawFocusDotsDc(HDC dc, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!dc || w <= 0 || h <= 0) return;
  // The dots are the neutral painter's, laid over what the DC shows there.
  TBitmap bmp(w, h, true);
  BitBlt(bmp.Canvas().Handle(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
  Bitmap32 view = bmp.View();
  DrawFocusDots(view, TsRect{0, 0, w, h}, &WinSysColor);
  BitBlt(dc, r.left, r.top, w, h, bmp.Canvas().Handle(), 0, 0, SRCCOPY);
}

void BlitBitmap32(HDC dc, int x, int y, const Bitmap32& bmp, const RECT& src) {
  const int w = src.right - src.left, h = src.bottom - src.top;
  if (!dc || bmp.Empty() || w <= 0 || h <= 0) return;
  // Through a DIB section of our own: the view may run bottom-up or top-down.
  TBitmap tmp(w, h, true);
  Bitmap32 view = tmp.View();
  CopyRect32(view, 0, 0, bmp, TsRect{src.left, src.top, src.right, src.bottom});
  BitBlt(dc, x, y, w, h, tmp.Canvas().Handle(), 0, 0, SRCCOPY);
}

void PaintDisabledLookWin(Bitmap32& bmp, TsDisabledKind kind, TControl* parent, TsPoint origin,
                          const BackgroundSource& bg) {
  PaintDisabledLook(bmp, kind, origin, bg, GetControlColor(parent));
}

void PaintDisabledOverBackground(Bitmap32& bmp, TsDisabledKind kind, TColor parentColour, TsPoint origin,
                                 const BackgroundSource& bg) {
  Bitmap32 plain;
  BackgroundSource behind = bg;
  const TColor colour = IsKeyColor(bg.FillColor) ? parentColour : ColorToRGB(bg.FillColor);
  if (!bg.Ready && !IsKeyColor(colour)) {
    plain = Bitmap32(bmp.Width(), bmp.Height());
    FillRect32(plain, TsRect{0, 0, bmp.Width(), bmp.Height()}, colour);
    behind = MakeBgInfo(&plain, -origin.X, -origin.Y);
  }
  PaintDisabledLook(bmp, kind, origin, behind, parentColour);
}
