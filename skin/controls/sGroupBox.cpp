#include "skin/controls/sGroupBox.h"

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

TsGroupBox::TsGroupBox(TComponent* AOwner)
    : TGroupBox(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccGroupBox)) {
  skinData_->SetDefaultSection();
}

TsGroupBox::~TsGroupBox() = default;

void TsGroupBox::Loaded() {
  TGroupBox::Loaded();
  skinData_->InitSkin();
}

void TsGroupBox::SetCaptionLayout(TsCaptionLayout v) {
  if (v == captionLayout_) return;
  captionLayout_ = v;
  if (!Caption().empty()) skinData_->RepaintOwner();
}

void TsGroupBox::SetCaptionYOffset(int v) {
  if (v == captionYOffset_) return;
  captionYOffset_ = v;
  skinData_->RepaintOwner();
}

void TsGroupBox::SetCaptionSkin(const std::string& v) {
  if (v == captionSkin_) return;
  captionSkin_ = v;
  skinData_->RepaintOwner();
}

bool TsGroupBox::CanSkinPaint() {
  return skinData_->IsSkinned() && HandleAllocated() && Parent() && !HasState(csLoading | csReading | csDestroying);
}

void TsGroupBox::Measure() {
  if (bandHeight_ >= 0) return;
  TCanvas measure;
  WindowDC screen(nullptr);
  measure.SetHandle(screen.get());
  measure.Font().Assign(Font());
  bandHeight_ = std::max(4, measure.TextHeight("W")) + 2;
  captionWidth_ = measure.TextWidth(Caption());
  measure.SetHandle(nullptr);
}

int TsGroupBox::CaptionBandHeight() {
  Measure();
  return bandHeight_;
}

RECT TsGroupBox::CaptionRect() {
  Measure();
  const int tw = captionWidth_;
  RECT r{0, 0, 0, CaptionBandHeight()};
  if (skinData_->IsSkinned()) {
    r.bottom += captionYOffset_;
    if (captionYOffset_ < 0) r.top += captionYOffset_;
  }
  const int w = Width();
  switch (captionLayout_) {
    case TsCaptionLayout::clTopLeft: r.left = 6; break;
    case TsCaptionLayout::clTopCenter: r.left = (w - tw - 10) / 2; break;
    case TsCaptionLayout::clTopRight: r.left = w - tw - 14; break;
  }
  r.left = std::max<LONG>(r.left, 0);
  r.right = std::min<LONG>(r.left + tw + 8, w);
  return r;
}

void TsGroupBox::PrepareCache() {
  TsCommonData& sd = *skinData_;
  sd.InitCache();
  BackgroundSource bg;
  sd.GetOwnBgInfo(bg);
  Bitmap32 cache = sd.CacheView();
  const int w = Width(), h = Height();
  const int hb = CaptionBandHeight();
  if (bg.Ready && bg.Bmp) {
    CopyRect32(cache, 0, 0, *bg.Bmp, TsRect{bg.X + Left(), bg.Y + Top(), bg.X + Left() + w, bg.Y + Top() + hb});
  } else if (Parent()) {
    FillRect32(cache, TsRect{0, 0, w, static_cast<int32_t>(CaptionRect().bottom)}, ColorToRGB(bg.FillColor));
  }
  const int y = captionYOffset_ < 0 ? 0 : hb / 2;
  PaintSection(sd.Binding(), bg, true, cache, TsPoint{Left(), Top() + y}, TsRect{0, y, w, h}, 0);
  if (!Caption().empty()) PaintCaption(sd.Cache()->Canvas(), bg);
  sd.CacheStale = false;
}

void TsGroupBox::PaintCaption(TCanvas& canvas, const BackgroundSource& bg) {
  TsCommonData& sd = *skinData_;
  const RECT r = CaptionRect();
  const TsRect cr{r.left, r.top, r.right, r.bottom};
  Bitmap32 cache = sd.CacheView();
  const TsSkinModel* model = sd.Model();
  const bool focused = HandleAllocated() && GetFocus() == Handle();
  if (!captionSkin_.empty()) {
    PaintSectionByIndex(model->FindSection(captionSkin_), captionSkin_, MakeBgInfo(&cache, 0, 0), -1, -1, model, cache,
                        TsPoint{0, 0}, cr, focused ? 1 : 0);
  } else if (bg.Ready) {
    PaintSectionByIndex(model->FindSection("CHECKBOX"), "CHECKBOX", bg, -1, -1, model, cache,
                        TsPoint{Left() + cr.Left, Top() + cr.Top}, cr, 0);
  } else {
    FillRect32(cache, cr, ColorToRGB(bg.FillColor));
  }
  canvas.Font().Assign(Font());
  const UINT rtl = 0;  // the framework has no right-to-left reading
  WriteSkinText(canvas, Caption(), true, false, sd, DT_CENTER | DT_VCENTER | DT_SINGLELINE | rtl, r);
}

void TsGroupBox::PaintWindow(HDC dc) {
  if (!CanSkinPaint()) {
    TGroupBox::PaintWindow(dc);
    return;
  }
  TsCommonData& sd = *skinData_;
  if (!Visible() || (acEngine().EffectRunning && dc != sd.PrintDc)) return;
  sd.PaintingSuspended = sd.IsPaintingSuspended();
  if (sd.PaintingSuspended) return;
  if (sd.NeedsParentBackground() && Parent()) {
    const RECT client = Parent()->ClientRect();
    const POINT a{Left() + 1, Top() + 1}, b{Left() + Width() - 1, Top() + Height() - 1};
    sd.PartlyVisible = !PtInRect(&client, a) || !PtInRect(&client, b);
  } else {
    sd.PartlyVisible = false;
  }
  if (!sd.UrgentPaint) PrepareCache();
  const RECT r = ClientRect();
  CopyCacheToDc(this, sd, r, 0, 0, false, dc, r);
}

void TsGroupBox::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  const bool own = manager && manager == sd.Manager();
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      SendToChildren(this, m.Msg, m.WParam, m.LParam);
      if (own) CommonSkinHandler(m, sd);
      return;
    case SkinCommand::RemoveSkin:
    case SkinCommand::RefreshSkin:
      if (own) CommonSkinHandler(m, sd);
      SendToChildren(this, m.Msg, m.WParam, m.LParam);
      if (own && HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME);
      return;
    case SkinCommand::GetBackgroundInfo: {
      auto* q = reinterpret_cast<ParentBgQuery*>(m.LParam);
      if (!q) return;
      if (!captionSkin_.empty() && sd.Cache() && !sd.Cache()->Empty()) {
        answerView_ = sd.CacheView();
        q->Bmp = &answerView_;
        q->AnswerKind = akBitmap;
        q->Offset = TsPoint{0, 0};
      } else {
        CommonSkinHandler(m, sd);
      }
      return;
    }
    case SkinCommand::GetNeedsRepaint:
      m.Result = sd.CacheStale || sd.IsPaintingSuspended();
      return;
    case SkinCommand::ResumePainting:
      ResumeOwnPainting(sd);
      return;
    case SkinCommand::SetUrgentPainting:
      CommonSkinHandler(m, sd);
      if (sd.UrgentPaint && sd.IsSkinned()) PrepareCache();
      return;
    default:
      CommonSkinHandler(m, sd);
  }
}

void TsGroupBox::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) bandHeight_ = -1;  // measured again on use
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  TsCommonData& sd = *skinData_;
  if (CanSkinPaint()) {
    switch (m.Msg) {
      case WM_PAINT:
        TGroupBox::WndProc(m);
        ResumeChildrenPainting(this);
        return;
      case WM_PRINT:
        sd.PaintingSuspended = false;
        if (m.WParam) {
          PrepareCache();
          HDC dc = reinterpret_cast<HDC>(m.WParam);
          BitBlt(dc, 0, 0, Width(), Height(), sd.Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
          PaintControls(dc, nullptr);
        }
        m.Result = 0;
        return;
      case WM_ERASEBKGND:
        m.Result = 1;
        return;
      case WM_MOVE:
        if (sd.NeedsParentBackground()) sd.CacheStale = true;
        break;
      case WM_WINDOWPOSCHANGED:
      case CM_VISIBLECHANGED:
        sd.CacheStale = true;
        break;
      case CM_TEXTCHANGED:
        bandHeight_ = -1;
        TGroupBox::WndProc(m);
        sd.RepaintOwner();
        return;
      case CM_FONTCHANGED:
        bandHeight_ = -1;
        TGroupBox::WndProc(m);
        if (!Caption().empty()) sd.RepaintOwner();
        return;
      default:
        break;
    }
  }
  if (CommonSkinHandler(m, sd)) return;
  TGroupBox::WndProc(m);
}
