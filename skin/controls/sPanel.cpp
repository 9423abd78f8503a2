#include "skin/controls/sPanel.h"

#include <algorithm>

#include "framework/Forms.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sBorderMask.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStyleSimply_win.h"

TsPanel::TsPanel(TComponent* AOwner) : TPanel(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccPanel)) {
  skinData_->SetDefaultSection();
}

TsPanel::~TsPanel() = default;

void TsPanel::Loaded() {
  TPanel::Loaded();
  notedBevel_ = BevelOuter();
  skinData_->InitSkin();
}

bool TsPanel::CanSkinPaint() {
  return skinData_->IsSkinned() && HandleAllocated() && Parent() && !HasState(csLoading | csReading | csDestroying);
}

void TsPanel::PaintWindow(HDC dc) {
  if (!CanSkinPaint()) {
    TPanel::PaintWindow(dc);
    if (OnPaint) OnPaint(this, Canvas());
    return;
  }
  SkinPaint(dc);
}

void TsPanel::SkinPaint(HDC dc) {
  TsCommonData& sd = *skinData_;
  sd.PaintingSuspended = sd.IsPaintingSuspended();
  if (sd.PaintingSuspended) return;
  if (!((sd.MustRepaint() && !sd.CustomColor()) || acEngine().EffectRunning)) {
    PaintPlain(dc);
    return;
  }
  const bool noted = sd.PartlyVisible || sd.CacheStale;
  if (sd.NeedsParentBackground() && Parent()) {
    const RECT client = Parent()->ClientRect();
    const RECT b = BoundsRect();
    sd.PartlyVisible = b.left < client.left || b.top < client.top || b.right > client.right || b.bottom > client.bottom;
  } else {
    sd.PartlyVisible = false;
  }
  if (noted && !sd.UrgentPaint) PrepareCache();
  const RECT r = ClientRect();
  CopyCacheToDc(this, sd, r, 0, 0, false, dc, r);
}

void TsPanel::PrepareCache() {
  TsCommonData& sd = *skinData_;
  sd.InitCache();
  ParentBgQuery q;
  if (Parent()) GetParentBg(q, Parent(), false);
  Bitmap32 view = sd.CacheView();
  PaintSectionOnParent(sd.Binding(), BgInfoFromQueryWin(q), true, view, TsPoint{Left(), Top()},
                       TsRect{0, 0, Width(), Height()}, 0);
  TCanvasPaintScope scope(Canvas(), sd.Cache()->Canvas().Handle(), Font(), Color());
  PaintCaption(Canvas());
  if (OnPaint) OnPaint(this, Canvas());
  sd.CacheStale = false;
}

void TsPanel::PaintCaption(TCanvas& canvas) {
  const std::string text = Caption();
  if (text.empty()) return;
  // Each present bevel and the border width narrow the caption's area.
  const int bevels = (BevelOuter() != TBevelCut::bvNone) + (BevelInner() != TBevelCut::bvNone);
  RECT r = ClientRect();
  InflateRect(&r, -BevelWidth() * bevels, -BevelWidth() * bevels);
  UINT align = Alignment() == TAlignment::taCenter ? DT_CENTER : Alignment() == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
  RECT measure = r;
  canvas.DrawText(text, measure, DT_CALCRECT | DT_WORDBREAK | align);
  const int textHeight = measure.bottom - measure.top;
  r.top = (Height() - textHeight) / 2;
  r.bottom = r.top + textHeight;
  WriteSkinText(canvas, text, Enabled(), false, *skinData_, align | DT_WORDBREAK, r);
}

void TsPanel::PaintPlain(HDC dc) {
  TsCommonData& sd = *skinData_;
  const TsGeneralData* g = sd.Section();
  const int b = sd.BorderWidth();
  ParentBgQuery q;
  TColor behind = ColorToRGB(Color());
  if (!sd.CustomColor() && Parent()) {
    GetParentBg(q, Parent(), false);
    behind = q.AnswerKind == akBitmap ? ColorToRGB(Color()) : ColorToRGB(BgInfoFromQueryWin(q).FillColor);
  }
  const TColor sectionColor = sd.CustomColor() ? ColorToRGB(Color()) : g->Color;
  // Without a border the cache is not needed; with one the border painter keeps it at size
  // (making a new bitmap on every paint would cost more than the memory it gives back).
  if (sd.Cache() && b == 0) sd.Cache()->SetSize(1, 1);
  const int w = Width(), h = Height();
  const int t = g->Transparency;
  if (t == 100 && q.AnswerKind == akBitmap && q.Bmp) {
    const int x = q.Offset.X + Left(), y = q.Offset.Y + Top();
    if (b > 0) {
      PaintBorderStrips(dc, b, behind);
      BlitBitmap32(dc, b, b, *q.Bmp, RECT{x + b, y + b, x + w - b, y + h - b});
    } else {
      BlitBitmap32(dc, 0, 0, *q.Bmp, RECT{x, y, x + w, y + h});
    }
  } else {
    const TColor fill = t == 0 ? sectionColor : t >= 100 ? behind : MixColors(behind, sectionColor, t / 100.0);
    if (b > 0) {
      PaintBorderStrips(dc, b, behind);
      FillDcRect(dc, RECT{b, b, std::max(b, w - b), std::max(b, h - b)}, fill);
    } else {
      FillDcRect(dc, RECT{0, 0, w, h}, fill);
    }
  }
  {
    TCanvasPaintScope scope(Canvas(), dc, Font(), Color());
    PaintCaption(Canvas());
    if (OnPaint) OnPaint(this, Canvas());
  }
  sd.CacheStale = false;
}

void TsPanel::PaintBorderStrips(HDC dc, int b, TColor /*behind*/) {
  TsCommonData& sd = *skinData_;
  const TsSkinModel* model = sd.Model();
  const TsMaskData& image = model->Images[static_cast<size_t>(sd.BorderMaskIndex)];
  const TColor c = ColorToRGB(sd.GetBgColor(0));
  ParentBgQuery q;
  if (Parent()) GetParentBg(q, Parent(), false);
  sd.InitCache();
  const int w = Width(), h = Height();
  Bitmap32 cache = sd.CacheView();
  if (image.MaskType == 1) {
    if (q.AnswerKind == akBitmap && q.Bmp)
      CopyRect32(cache, 0, 0, *q.Bmp, TsRect{q.Offset.X + Left(), q.Offset.Y + Top(), q.Offset.X + Left() + w,
                                             q.Offset.Y + Top() + h});
    else
      FillFrame32(cache, TsRect{0, 0, w, h}, image.WL, image.WT, image.WR, image.WB, c);
  }
  BackgroundSource bg = BgInfoFromQueryWin(q);
  bg.X += Left();
  bg.Y += Top();
  PaintBorderMask(cache, TsRect{0, 0, w, h}, image, 0, true, bg);
  // Where the border's sides are narrower than b, the gap takes the colour behind.
  FillRect32(cache, TsRect{image.WL, image.WT, image.WL + std::max(std::min(b, w - image.WR) - image.WL, 0), h - image.WB}, c);
  FillRect32(cache, TsRect{image.WL, image.WT, w - image.WR, image.WT + std::max(std::min(b, h - image.WB) - image.WT, 0)}, c);
  FillRect32(cache, TsRect{w - image.WR - std::max(std::min(b, w - image.WL) - image.WR, 0), image.WT, w - image.WR, h - image.WB}, c);
  FillRect32(cache, TsRect{image.WL, h - image.WB - std::max(std::min(b, h - image.WT) - image.WB, 0), w - image.WR, h - image.WB}, c);
  CopyFrameRing(dc, sd.Cache()->Canvas().Handle(), w, h, b);
}

void TsPanel::FollowBevel() {
  if (BevelOuter() == notedBevel_) return;
  auto sectionOf = [](TBevelCut cut) {
    return cut == TBevelCut::bvNone ? "CHECKBOX" : cut == TBevelCut::bvLowered ? "PANEL_LOW" : "PANEL";
  };
  if (skinData_->SkinSection() == sectionOf(notedBevel_)) skinData_->SetSkinSection(sectionOf(BevelOuter()));
  notedBevel_ = BevelOuter();
}

void TsPanel::Invalidate() {
  if (!HasState(csLoading | csReading)) FollowBevel();
  TPanel::Invalidate();
}

void TsPanel::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
    case SkinCommand::RemoveSkin:
    case SkinCommand::RefreshSkin: {
      const uint16_t command = m.WParamHi();
      if (command != SkinCommand::RefreshSkin) SetControlStyle(ControlStyle() & ~csOpaque);
      const bool own = manager && manager == sd.Manager();
      if (own) CommonSkinHandler(m, sd);
      SendToChildren(this, m.Msg, m.WParam, m.LParam);
      if (own && command == SkinCommand::RemoveSkin) TPanel::Invalidate();
      if (own && command != SkinCommand::RemoveSkin && HandleAllocated() && Visible() && !HasState(csLoading))
        RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      return;
    }
    case SkinCommand::GetBackgroundInfo: {
      auto* q = reinterpret_cast<ParentBgQuery*>(m.LParam);
      if (!q) return;
      sd.FillBgQuery(*q, 0, nullptr);
      if (ClientWidth() < Width() && q->AnswerKind == akBitmap && !q->DrawRequested) {
        const int bevels = (BevelOuter() != TBevelCut::bvNone) + (BevelInner() != TBevelCut::bvNone);
        q->Offset.X += BevelWidth() * bevels;
        q->Offset.Y += BevelWidth() * bevels;
      }
      return;
    }
    case SkinCommand::GetNeedsRepaint:
      // A panel painted plainly (solid, without a border) has no cache at all: what counts is
      // whether it has painted since it went stale.
      m.Result = sd.CacheStale || sd.IsPaintingSuspended();
      return;
    case SkinCommand::ResumePainting:
      ResumeOwnPainting(sd);
      ResumeChildrenPainting(this);
      return;
    default:
      CommonSkinHandler(m, sd);
  }
}

void TsPanel::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  if (!CanSkinPaint()) {
    if (m.Msg != WM_PAINT && m.Msg != WM_ERASEBKGND && CommonSkinHandler(m, *skinData_)) return;
    TPanel::WndProc(m);
    return;
  }
  TsCommonData& sd = *skinData_;
  switch (m.Msg) {
    case WM_PAINT:
      TPanel::WndProc(m);
      ResumeChildrenPainting(this);
      return;
    case WM_ERASEBKGND:
      if (m.WParam && m.WParam == static_cast<WPARAM>(m.LParam)) {
        if (sd.CacheStale) PrepareCache();
        if (sd.Cache() && !sd.Cache()->Empty()) {
          HDC dc = reinterpret_cast<HDC>(m.WParam);
          if (sd.MustRepaint())
            BitBlt(dc, 0, 0, Width(), Height(), sd.Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
          else
            FillDcRect(dc, RECT{0, 0, Width(), Height()}, sd.BackgroundColorAnswer());
        }
      }
      m.Result = 1;
      return;
    case WM_PRINT:
      sd.PaintingSuspended = false;
      PrepareCache();
      if (m.WParam) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        BitBlt(dc, 0, 0, Width(), Height(), sd.Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
        PaintControls(dc, nullptr);
      }
      m.Result = 0;
      return;
    case WM_SIZE:
    case CM_VISIBLECHANGED:
      sd.CacheStale = true;
      if (m.Msg == CM_VISIBLECHANGED) sd.PaintingSuspended = false;
      break;
    case WM_WINDOWPOSCHANGING:
      if (sd.Section()->Transparency != 0) sd.CacheStale = true;
      break;
    case CM_COLORCHANGED:
      if (sd.CustomColor()) sd.CacheStale = true;
      break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
      CommonSkinHandler(m, sd);
      TPanel::WndProc(m);
      sd.RepaintOwner();
      return;
    case WM_SETFONT:
      TPanel::WndProc(m);
      if (!Caption().empty()) sd.RepaintOwner();
      return;
    default:
      break;
  }
  if (CommonSkinHandler(m, sd)) return;
  TPanel::WndProc(m);
}
