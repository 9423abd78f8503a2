// The frame cache of a skinned form: the whole window painted from the FORM and title
// sections, copied piecewise onto the non-client area, and the window region cut from the
// frame's key-coloured corners.
#include <algorithm>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/sStyleSimply.h"

namespace {

// Read once: the caption heights do not change while the program runs.
int CaptionMetric(bool tool) {
  static const int normal = GetSystemMetrics(SM_CYCAPTION);
  static const int small = GetSystemMetrics(SM_CYSMCAPTION);
  return tool ? small : normal;
}

struct WindowSize {
  int Width = 0, Height = 0, ClientWidth = 0, ClientHeight = 0;
};

WindowSize SizeOf(HWND wnd) {
  WindowSize s;
  RECT r{}, c{};
  GetWindowRect(wnd, &r);
  GetClientRect(wnd, &c);
  s.Width = r.right - r.left;
  s.Height = r.bottom - r.top;
  s.ClientWidth = c.right;
  s.ClientHeight = c.bottom;
  return s;
}

}  // namespace

TsFrameMetrics TsSkinProvider::Metrics() const {
  TsFrameMetrics m;
  if (!form_->HandleAllocated()) return m;
  const HWND wnd = form_->Handle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  if (style & WS_THICKFRAME)
    m.SideBorder = GetSystemMetrics(SM_CXFRAME);
  else if (style & WS_BORDER)
    m.SideBorder = GetSystemMetrics(SM_CXDLGFRAME);
  const TFormBorderStyle bs = form_->BorderStyle();
  const bool minimized = IsIconic(wnd) != FALSE;
  if ((bs != TFormBorderStyle::bsNone && (style & WS_CAPTION) == WS_CAPTION) || minimized) {
    const bool tool = bs == TFormBorderStyle::bsToolWindow || bs == TFormBorderStyle::bsSizeToolWin;
    m.CaptionHeight = CaptionMetric(tool && !minimized);
  }
  return m;
}

POINT TsSkinProvider::ClientOrigin() const {
  if (!form_->HandleAllocated()) return POINT{0, 0};
  const WindowSize s = SizeOf(form_->Handle());
  const LONG_PTR style = GetWindowLongPtrA(form_->Handle(), GWL_STYLE);
  const int bottom = (style & WS_BORDER) ? Metrics().SideBorder : 0;
  return POINT{(s.Width - s.ClientWidth) / 2, s.Height - s.ClientHeight - bottom};
}

int TsSkinProvider::State() const {
  const TsGeneralData* g = skinData_->Section();
  return g ? std::min(formActive_ ? 1 : 0, std::max(g->States - 1, 0)) : 0;
}

int32_t TsSkinProvider::TitleSectionIndex() const {
  const TsSkinModel* model = skinData_->Model();
  return model ? model->FindSection(TitleSkin.empty() ? std::string("FORMTITLE") : TitleSkin) : -1;
}

TColor TsSkinProvider::FormColor() const {
  const TsGeneralData* g = skinData_->Section();
  if (!g || skinData_->CustomColor()) return ColorToRGB(form_->Color());
  return formActive_ && g->States > 1 ? g->HotColor : g->Color;
}

bool TsSkinProvider::FrameCacheMatchesWindow() const {
  const TBitmap* cache = skinData_->Cache();
  if (!cache || cache->Empty() || !form_->HandleAllocated()) return false;
  const WindowSize s = SizeOf(form_->Handle());
  return cache->Width() == s.Width && cache->Height() == s.Height;
}

void TsSkinProvider::PrepareFrameCache() {
  TsCommonData& sd = *skinData_;
  if (!form_->HandleAllocated() || form_->HasState(csLoading | csReading) || !IsSkinned()) return;
  const WindowSize s = SizeOf(form_->Handle());
  if (s.Width <= 0 || s.Height <= 0) return;
  const bool created = sd.Cache() == nullptr;
  sd.InitCache();
  TBitmap& cache = *sd.Cache();
  if (cache.Width() != s.Width || cache.Height() != s.Height) cache.SetSize(s.Width, s.Height);
  if (created) SendToChildren(form_, SM_ALPHACMD, MakeSkinCommand(SkinCommand::ControlSkinState), 1);
  if (s.Width != cachedWidth_ || s.Height != cachedHeight_) regionChanged_ = true;

  Bitmap32 view = cache.View();
  const int state = State();
  // A top-level form has nothing behind it: the frame's own pixels are all there is.
  PaintSection(sd.Binding(), BackgroundSource{}, true, view, TsPoint{0, 0}, TsRect{0, 0, s.Width, s.Height}, state);

  const TsFrameMetrics fm = Metrics();
  if (fm.CaptionHeight > 0 && drawNonClientArea_) {
    const TsSkinModel& model = *sd.Model();
    const TsSectionBinding title = BindSection(model, TitleSkin.empty() ? std::string("FORMTITLE") : TitleSkin);
    if (const TsGeneralData* g = title.SectionIndex >= 0 ? &model.Sections[static_cast<size_t>(title.SectionIndex)]
                                                         : nullptr) {
      const int titleState = std::min(formActive_ ? 1 : 0, std::max(g->States - 1, 0));
      PaintSection(title, MakeBgInfo(&view, 0, 0), true, view, TsPoint{0, 0},
                   TsRect{0, 0, s.Width, fm.TitleBandHeight()}, titleState);
    }
    PaintCaption(view);
    PaintButtons();
  }
  sd.CacheStale = false;
  sd.PaintingSuspended = false;
}

void TsSkinProvider::PaintFrame(HDC dc) {
  TsCommonData& sd = *skinData_;
  if (!dc || !form_->HandleAllocated()) return;
  if (sd.CacheStale || !FrameCacheMatchesWindow()) PrepareFrameCache();
  if (!sd.Cache() || sd.Cache()->Empty()) return;
  if (regionChanged_ && !regionChanging_) ApplyRegion();
  const WindowSize s = SizeOf(form_->Handle());
  const LONG_PTR style = GetWindowLongPtrA(form_->Handle(), GWL_STYLE);
  const TsFrameMetrics fm = Metrics();
  const int side = fm.SideBorder;
  const int bottom = (style & WS_BORDER) || fm.CaptionHeight > 0 ? side : 0;
  const int top = fm.CaptionHeight > 0 ? std::max(s.Height - s.ClientHeight - bottom, 0) : side;
  HDC src = sd.Cache()->Canvas().Handle();
  BitBlt(dc, 0, 0, s.Width, top, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, top, side, s.Height - top, src, 0, top, SRCCOPY);
  BitBlt(dc, side, s.Height - bottom, s.Width - side, bottom, src, side, s.Height - bottom, SRCCOPY);
  BitBlt(dc, s.Width - side, top, side, s.Height - top, src, s.Width - side, top, SRCCOPY);
}

void TsSkinProvider::ApplyRegion() {
  const HWND wnd = form_->Handle();
  const TsFrameMetrics fm = Metrics();
  regionChanged_ = false;
  if (fm.SideBorder == 0 && fm.CaptionHeight == 0) {
    SetWindowRgn(wnd, nullptr, FALSE);
    return;
  }
  regionChanging_ = true;
  const WindowSize s = SizeOf(wnd);
  UniqueRegion region(CreateRectRgn(0, 0, s.Width, s.Height));
  if (IsZoomed(wnd)) {
    region.reset(CreateRectRgn(fm.SideBorder, fm.SideBorder, s.Width - fm.SideBorder, s.Height - fm.SideBorder));
  } else if (const TsSkinModel* model = skinData_->Model()) {
    auto image = [model](int32_t index) {
      return index >= 0 && index < static_cast<int32_t>(model->Images.size())
                 ? &model->Images[static_cast<size_t>(index)]
                 : nullptr;
    };
    const int32_t titleIndex = TitleSectionIndex();
    const TsMaskData* titleBorder =
        fm.CaptionHeight > 0 && titleIndex >= 0 ? image(model->Sections[static_cast<size_t>(titleIndex)].BorderMaskIndex)
                                                : nullptr;
    for (const TsRect& cut : FrameRegionCuts(s.Width, s.Height, image(skinData_->BorderMaskIndex), titleBorder)) {
      UniqueRegion piece(CreateRectRgn(cut.Left, cut.Top, cut.Right, cut.Bottom));
      CombineRgn(region.get(), region.get(), piece.get(), RGN_DIFF);
    }
  }
  if (SetWindowRgn(wnd, region.get(), FALSE)) region.release();  // the window owns it now
  cachedWidth_ = s.Width;
  cachedHeight_ = s.Height;
  regionChanging_ = false;
}
