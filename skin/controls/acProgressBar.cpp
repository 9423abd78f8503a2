#include "skin/controls/acProgressBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {
constexpr unsigned kMarqueeTimerMs = 30;
constexpr int kMarqueeStep = 8;
}  // namespace

TsProgressBar::TsProgressBar(TComponent* AOwner)
    : TProgressBar(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccProgressBar)) {
  skinData_->SetDefaultSection();
  SetControlStyle(ControlStyle() | csOpaque);
  marqueeTimer_ = std::make_unique<TTimer>(nullptr);
  marqueeTimer_->SetEnabled(false);
  marqueeTimer_->SetInterval(kMarqueeTimerMs);
  marqueeTimer_->OnTimer = [this](TObject*) { MarqueeStep(); };
}

TsProgressBar::~TsProgressBar() = default;

void TsProgressBar::Loaded() {
  TProgressBar::Loaded();
  skinData_->InitSkin();
  UpdateMarqueeTimer();
}

bool TsProgressBar::Skinned() const { return skinData_->IsSkinned(); }

void TsProgressBar::SetProgressSkin(const std::string& value) {
  if (value == progressSkin_) return;
  progressSkin_ = value;
  paintedBlocks_ = -1;
  if (HandleAllocated()) Invalidate();
}

void TsProgressBar::SetStyle(TProgressBarStyle value) {
  if (value == style_) return;
  style_ = value;
  if (style_ == TProgressBarStyle::pbstMarquee) {
    savedPosition_ = Position();
    SetDoubleBuffered(false);
  } else {
    SetPosition(savedPosition_);
  }
  marqueeOffset_ = 0;
  paintedBlocks_ = -1;
  if (HandleAllocated()) RecreateWnd();
  UpdateMarqueeTimer();
}

void TsProgressBar::UpdateMarqueeTimer() {
  const bool run = style_ == TProgressBarStyle::pbstMarquee && Skinned() && !HasState(csLoading | csDesigning);
  if (run && HandleAllocated()) {
    // Themed systems (every one we run on) pace the marquee by MarqueeInterval, like the platform.
    marqueeTimer_->SetInterval(static_cast<unsigned>(std::max(marqueeInterval_, 1)));
    SetWindowLongA(Handle(), GWL_STYLE, GetWindowLongA(Handle(), GWL_STYLE) | PBS_MARQUEE);
    SendMessageA(Handle(), PBM_SETMARQUEE, TRUE, marqueeInterval_);
  }
  marqueeTimer_->SetEnabled(run);
}

void TsProgressBar::MarqueeStep() {
  if (!Skinned()) {
    marqueeTimer_->SetEnabled(false);
    return;
  }
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  PrepareCache();
  FrameDC dc(Handle());
  BitBlt(dc.get(), 0, 0, Width(), Height(), skinData_->Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
  marqueeOffset_ += kMarqueeStep * marqueeDirection_;
  if (marqueeOffset_ >= Width() - kMarqueeStep) marqueeOffset_ = 0;
}

ProgressBarState TsProgressBar::BarState() const {
  ProgressBarState bar;
  bar.Width = Width();
  bar.Height = Height();
  bar.Min = Min();
  bar.Max = Max();
  bar.Position = Position();
  bar.BorderWidth = BorderWidth();
  bar.Vertical = Orientation() == TProgressBarOrientation::pbVertical;
  bar.Smooth = Smooth();
  bar.Marquee = style_ == TProgressBarStyle::pbstMarquee;
  bar.MarqueeOffset = marqueeOffset_;
  return bar;
}

void TsProgressBar::PrepareCache() {
  TsCommonData& sd = *skinData_;
  const ProgressBarState bar = BarState();
  if (!bar.Marquee && !bar.Smooth && sd.Cache() && sd.Cache()->Width() == Width() &&
      sd.Cache()->Height() == Height()) {
    // Steps that add no visible block cost nothing but the copy to the screen.
    const int blocks = FilledProgressBlocks(bar);
    if (blocks == paintedBlocks_ && Position() - Min() != Max()) return;
    paintedBlocks_ = blocks;
  }
  sd.InitCache();
  Bitmap32 cache = sd.CacheView();
  if (cache.Width() == 0) return;
  BackgroundSource bg;
  sd.GetOwnBgInfo(bg);
  PaintSection(sd.Binding(), bg, false, cache, TsPoint{Left(), Top()}, TsRect{0, 0, Width(), Height()}, 0);
  TsSkinManager* manager = DefaultManager();
  if (Min() >= Max() || !manager || !manager->Active()) return;
  const TsSkinModel& model = manager->Model();
  const std::string name = !progressSkin_.empty() ? progressSkin_ : bar.Vertical ? "PROGRESSV" : "PROGRESSH";
  const int32_t section = model.FindSection(name);
  if (section < 0) return;
  const ProgressLayout layout = LayoutProgressBar(bar);
  // Each block is painted on its own so that its transparent corners show the frame below.
  const BackgroundSource onCache = MakeBgInfo(&cache, 0, 0);
  for (const TsRect& b : layout.Blocks) {
    Bitmap32 block(b.Width(), b.Height());
    PaintSectionByIndex(section, name, onCache, -1, -1, &model, block, TsPoint{b.Left, b.Top},
                        TsRect{0, 0, b.Width(), b.Height()}, 0);
    CopyRect32(cache, b.Left, b.Top, block, TsRect{0, 0, b.Width(), b.Height()});
  }
}

void TsProgressBar::PaintBar(HDC given) {
  if (Width() <= 0 || Height() <= 0) return;
  TsCommonData& sd = *skinData_;
  FrameDC frameDc(Handle(), given);
  HDC dc = frameDc.get();
  SavedDC saved(dc);
  if (sd.IsPaintingSuspended()) {
    sd.PaintingSuspended = true;
  } else {
    // The bar never trusts its cache's staleness: PrepareCache decides from the block count.
    PrepareCache();
    if (sd.Cache() && !sd.Cache()->Empty()) {
      RestoreCorners(sd, 0);
      BitBlt(dc, 0, 0, Width(), Height(), sd.Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
    }
  }
}

void TsProgressBar::WndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  if (m.Msg == WM_MOVE || m.Msg == WM_SIZE || m.Msg == WM_WINDOWPOSCHANGED) paintedBlocks_ = -1;
  if (Skinned() && HandleAllocated()) {
    switch (m.Msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        PaintBar(nullptr);
        EndPaint(Handle(), &ps);
        m.Result = 0;
        return;
      }
      case WM_PRINT:
        PaintBar(reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
      case WM_NCPAINT:
        m.Result = 0;
        return;
      case WM_ERASEBKGND:
        m.Result = 1;
        return;
      case PBM_SETPOS:
        if (style_ == TProgressBarStyle::pbstMarquee) {
          SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
          TProgressBar::WndProc(m);
          SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
          return;
        }
        break;
      default:
        break;
    }
  }
  if (CommonSkinHandler(m, sd)) return;
  TProgressBar::WndProc(m);
}

void TsProgressBar::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  const bool own = manager && manager == sd.Manager();
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      if (own) CommonSkinHandler(m, sd);
      paintedBlocks_ = -1;
      UpdateMarqueeTimer();
      return;
    case SkinCommand::RemoveSkin:
      marqueeTimer_->SetEnabled(false);
      if (own) CommonSkinHandler(m, sd);
      paintedBlocks_ = -1;
      if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
      return;
    case SkinCommand::RefreshSkin:
      if (own) CommonSkinHandler(m, sd);
      paintedBlocks_ = -1;
      if (HandleAllocated()) Invalidate();
      return;
    case SkinCommand::GetBackgroundInfo: {
      auto* q = reinterpret_cast<ParentBgQuery*>(m.LParam);
      if (!q || !sd.Cache() || sd.Cache()->Empty()) {
        CommonSkinHandler(m, sd);
        return;
      }
      answerView_ = sd.CacheView();
      q->Bmp = &answerView_;
      q->AnswerKind = akBitmap;
      q->Offset = TsPoint{0, 0};
      return;
    }
    default:
      CommonSkinHandler(m, sd);
  }
}
