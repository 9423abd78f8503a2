#include "skin/frame/acFrameSkin.h"

#include <algorithm>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/acGlow_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"

namespace {

constexpr int32_t kMissingButtonSize = 21;
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr TsTitleButton kOrder[kSystemButtons] = {tbClose, tbMaximize, tbMinimize, tbHelp};
constexpr int32_t kCodes[kSystemButtons] = {kHtClose, kHtMaxButton, kHtMinButton, kHtHelp};

const TsMaskData* ImageOf(const TsSkinModel* model, int32_t index) {
  return model && index >= 0 && index < static_cast<int32_t>(model->Images.size())
             ? &model->Images[static_cast<size_t>(index)]
             : nullptr;
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

int StateOf(const TsGeneralData* g, bool active) {
  return g ? std::min(active ? 1 : 0, std::max(g->States - 1, 0)) : 0;
}

// A hot minimize, maximize or close button may glow: GLOBALINFO holds the key of the image it
// draws followed by "GLOW0", and a margin and a switch for the button's kind.
struct TitleGlowKeys {
  std::string BaseName;  // empty: the button has no glow
  int32_t GlowImage = -1;
  int32_t Margin = 0;
  bool Switch = false;  // the glow window may show it
};

TitleGlowKeys FindTitleGlow(const TsSkinModel& model, int32_t hitCode, int32_t imageIndex, bool minimized) {
  const TsSkinData& sd = model.SkinData;
  TitleGlowKeys k;
  switch (hitCode) {
    case kHtMinButton:
      k.Margin = sd.BIMinGlowMargin;
      k.Switch = sd.BIMinGlow > 0;
      break;
    case kHtMaxButton:
      k.Margin = sd.BIMaxGlowMargin;
      k.Switch = sd.BIMaxGlow > 0;
      break;
    case kHtClose:
      k.Margin = sd.BICloseGlowMargin;
      k.Switch = sd.BICloseGlow > 0;
      break;
    default:
      return TitleGlowKeys{};
  }
  const int32_t global = model.Cache.GlobalInfo;
  if (global < 0 || imageIndex < 0 || imageIndex >= static_cast<int32_t>(model.Images.size())) return TitleGlowKeys{};
  // A minimized form's minimize button draws the restore image.
  const std::string key = hitCode == kHtMinButton && minimized
                              ? std::string("BICONNORM")
                              : model.Images[static_cast<size_t>(imageIndex)].PropertyName;
  k.BaseName = key + "GLOW";
  k.GlowImage = model.FindImage(global, "GLOBALINFO", k.BaseName + "0");
  if (k.GlowImage < 0) return TitleGlowKeys{};
  return k;
}

}  // namespace

void AssignCaptionFont(TFont& font) {
  static const LOGFONTA lf = [] {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
      LOGFONTA fallback{};
      fallback.lfHeight = -11;
      fallback.lfWeight = FW_BOLD;
      lstrcpynA(fallback.lfFaceName, "Tahoma", LF_FACESIZE);
      return fallback;
    }
    return metrics.lfCaptionFont;
  }();
  font.SetName(lf.lfFaceName);
  font.SetHeight(lf.lfHeight);
  font.SetStyle(static_cast<TFontStyles>((lf.lfWeight >= FW_BOLD ? fsBold : 0) | (lf.lfItalic ? fsItalic : 0)));
}

TacFrameSkin::TacFrameSkin(TacFrameHost& host) : host_(host) {
  for (int i = 0; i < kSystemButtons; ++i) buttons_[static_cast<size_t>(i)].HitCode = kCodes[i];
}

// ---- Title buttons ----------------------------------------------------------------------

void TacFrameSkin::ResetButtons() {
  StopAnimations();
  for (int i = 0; i < kSystemButtons; ++i) {
    buttons_[static_cast<size_t>(i)] = Button{};
    buttons_[static_cast<size_t>(i)].HitCode = kCodes[i];
  }
}

void TacFrameSkin::ChooseButtonImages(bool bigSet, bool closeAlone) {
  const TsSkinModel* model = host_.FrameBinding().Model();
  const int32_t global = model ? model->Cache.GlobalInfo : -1;
  auto find = [&](const char* key) { return global >= 0 ? model->FindImage(global, "GLOBALINFO", key) : -1; };
  auto use = [&](TsTitleButton b, int32_t image, bool bigIcon) {
    ButtonAt(b).ImageIndex = image;
    ButtonAt(b).BigIcon = bigIcon;
  };
  auto big = [&] {
    use(tbClose, find(closeAlone && find("BICLOSEALONE") >= 0 ? "BICLOSEALONE" : "BICONCLOSE"), true);
    use(tbMaximize, find("BICONMAX"), true);
    use(tbMinimize, find("BICONMIN"), true);
    use(tbHelp, find("BICONHELP"), true);
  };
  // Without a small close image the small set is not used at all.
  if (bigSet || find("SICONCLOSE") < 0) {
    big();
    return;
  }
  use(tbClose, find("SICONCLOSE"), false);
  use(tbMaximize, find("SICONMAX"), false);
  use(tbMinimize, find("SICONMIN"), false);
  const int32_t help = find("SICONHELP");
  use(tbHelp, help >= 0 ? help : find("BICONHELP"), false);
}

TsTitleLayoutInput TacFrameSkin::LayoutInput() const {
  TsTitleLayoutInput in;
  const HWND wnd = host_.FrameWindow();
  if (!wnd) return in;
  RECT r;
  GetWindowRect(wnd, &r);
  in.WindowWidth = r.right - r.left;
  in.Metrics = host_.FrameMetrics();
  in.BigSetSpacing = host_.BigSetSpacing();
  in.Maximized = host_.FrameZoomed();
  const TsSkinModel* model = host_.FrameBinding().Model();
  if (model) {
    in.Space = model->SkinData.BISpacing;
    in.Right = model->SkinData.BIRightMargin;
    in.VAlign = model->SkinData.BIVAlign;
  }
  const TsMaskData* close = ImageOf(model, ButtonAt(tbClose).ImageIndex);
  in.ButtonHeight = close ? close->CellHeight() : kMissingButtonSize;
  for (TsTitleButton b : kOrder) {
    const TsMaskData* m = ImageOf(model, ButtonAt(b).ImageIndex);
    in.System[b] = TsTitleButtonSpec{host_.ButtonShown(b) && m, m ? m->CellWidth() : kMissingButtonSize,
                                     ButtonAt(b).BigIcon};
  }
  return in;
}

TsTitleLayout TacFrameSkin::TitleLayout() const { return LayOutTitleButtons(LayoutInput()); }

bool TacFrameSkin::StopAnimations() {
  bool had = false;
  for (Button& b : buttons_) {
    had = had || b.Animation;
    b.Animation.reset();
    HideGlow(b.GlowHandle);
    b.GlowHandle = -1;
  }
  return had;
}

TacFrameSkin::Button* TacFrameSkin::ButtonOf(int32_t code) {
  for (Button& b : buttons_)
    if (b.HitCode == code) return &b;
  return nullptr;
}

// ---- Hot and pressed ----------------------------------------------------------------------

void TacFrameSkin::MoveHot(int32_t code) {
  if (code == hotCode_ || (code == 0 && hotCode_ == -1)) return;
  if (Button* old = ButtonOf(hotCode_)) {
    old->State = 0;
    ShowButtonState(*old);
  }
  hotCode_ = code;
  pressed_ = false;
  if (Button* b = ButtonOf(code)) {
    b->State = 1;
    ShowButtonState(*b);
    WatchHot();
  }
}

void TacFrameSkin::Press(int32_t code) {
  if (hotCode_ != code)
    if (Button* old = ButtonOf(hotCode_)) {
      old->State = 0;
      ShowButtonState(*old);
    }
  hotCode_ = code;
  Button* b = ButtonOf(code);
  if (!host_.ButtonPressable(code)) {
    hotCode_ = 0;
    return;
  }
  if (!b) return;
  b->State = 2;
  pressed_ = true;
  ShowButtonState(*b);
  WatchHot();
}

void TacFrameSkin::DropPress(int32_t code) {
  if (Button* b = ButtonOf(code)) b->State = 0;
  pressed_ = false;
}

// While a button is hot or pressed a short timer looks where the mouse is: moving into the
// client area or off the window sends the frame no hit test, yet the button must let go.
void TacFrameSkin::WatchHot() {
  const HWND wnd = host_.FrameWindow();
  if (!wnd) return;
  const Button* b = ButtonOf(hotCode_);
  if (!b) {
    KillTimer(wnd, kHotWatchTimer);
    watchingHot_ = false;
    return;
  }
  POINT cursor;
  RECT wr;
  if (GetCursorPos(&cursor) && GetWindowRect(wnd, &wr)) {
    const TsPoint p{cursor.x - wr.left, cursor.y - wr.top};
    const TsRect& r = b->Rect;
    if (p.X < r.Left || p.X >= r.Right || p.Y < r.Top || p.Y >= r.Bottom || WindowFromPoint(cursor) != wnd) {
      ClearHot();
      return;
    }
  }
  if (!watchingHot_) watchingHot_ = SetTimer(wnd, kHotWatchTimer, kHotWatchInterval, nullptr) != 0;
}

void TacFrameSkin::SetHot(int32_t code, bool pressed) {
  if (code == hotCode_ && pressed == pressed_) return;
  hotCode_ = code;
  pressed_ = pressed;
  for (TsTitleButton t : kOrder) {
    Button& b = ButtonAt(t);
    const int32_t state = b.HitCode == code ? (pressed ? 2 : 1) : 0;
    if (state == b.State) continue;
    b.State = state;
    ShowButtonState(b);
  }
}

// The button's clean background back from the strip, its picture over it, and only its
// rectangle onto the screen.
void TacFrameSkin::ShowButtonState(Button& b) {
  TsCommonData& sd = host_.FrameBinding();
  TBitmap* cache = sd.Cache();
  if (IsRectEmpty(b.Rect) || !host_.FrameCanPaint()) return;
  const HWND wnd = host_.FrameWindow();
  // A stale frame is painted whole, but the animation still has to hear of the new state:
  // its timer may have stopped already, leaving its picture up.
  const bool stale = !cache || cache->Empty() || sd.CacheStale || !CacheMatchesWindow();
  const TsSkinModel* model = sd.Model();
  const TsMaskData* image = ImageOf(model, b.ImageIndex);
  if (!model || !image) {
    Repaint();
    return;
  }
  const TsRect r = b.Rect;
  const TitleGlowKeys glow = host_.ButtonsGlow() && b.State == 1 && GlowingAllowed(sd.Manager())
                                 ? FindTitleGlow(*model, b.HitCode, b.ImageIndex, IsIconic(wnd) != FALSE)
                                 : TitleGlowKeys{};
  if (host_.TitleAnimationsAllowed()) {
    const bool newAnimation = !b.Animation;
    if (newAnimation)
      b.Animation = std::make_unique<TacSBAnimation>(wnd, [wnd] { SendMessageA(wnd, WM_MOUSELEAVE, 0, 0); });
    const TacButtonGlow picture{glow.GlowImage >= 0 ? &model->Images[static_cast<size_t>(glow.GlowImage)] : nullptr,
                                glow.Margin};
    b.Animation->ChangeState(b.State, *image, r, picture);
    if (!newAnimation && !stale) return;  // the frame already shows the button at rest
  } else if (host_.ButtonsGlow()) {
    // Drawn without the animation, a hot button's glow shows at once in a glow window.
    HideGlow(b.GlowHandle);
    b.GlowHandle = -1;
    if (glow.Switch && host_.GlowWindowAllowed()) {
      RECT wr;
      GetWindowRect(wnd, &wr);
      const RECT target{wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom};
      b.GlowHandle = ShowGlow(target, RECT{r.Left, r.Top, r.Right, r.Bottom}, "GLOBALINFO", sd.Manager(), wnd,
                              glow.Margin, glow.BaseName);
    }
  }
  if (stale) {
    Repaint();
    return;
  }
  Bitmap32 view = cache->View();
  CopyRect32(view, r.Left, r.Top, titleStrip_.View(), OffsetRect(r, -titleStripLeft_, 0));
  PaintButton(b);
  FrameDC dc(wnd);
  if (dc.get()) BitBlt(dc.get(), r.Left, r.Top, r.Width(), r.Height(), cache->Canvas().Handle(), r.Left, r.Top, SRCCOPY);
}

// ---- Cache ----------------------------------------------------------------------------------

bool TacFrameSkin::CacheMatchesWindow() const {
  const TBitmap* cache = host_.FrameBinding().Cache();
  const HWND wnd = host_.FrameWindow();
  if (!cache || cache->Empty() || !wnd) return false;
  const WindowSize s = SizeOf(wnd);
  return cache->Width() == s.Width && cache->Height() == s.Height;
}

void TacFrameSkin::PrepareCache() {
  TsCommonData& sd = host_.FrameBinding();
  const HWND wnd = host_.FrameWindow();
  if (!wnd || !host_.FrameCanPrepare() || !sd.Model()) return;
  const WindowSize s = SizeOf(wnd);
  if (s.Width <= 0 || s.Height <= 0) return;
  const bool created = sd.Cache() == nullptr;
  sd.InitCache();
  TBitmap& cache = *sd.Cache();
  if (cache.Width() != s.Width || cache.Height() != s.Height) cache.SetSize(s.Width, s.Height);
  if (created) host_.FrameCacheMade();
  if (s.Width != regionWidth_ || s.Height != regionHeight_) regionChanged_ = true;

  Bitmap32 view = cache.View();
  const bool active = host_.FrameActive();
  // A top-level window has nothing behind it: the frame's own pixels are all there is.
  PaintSection(sd.Binding(), BackgroundSource{}, true, view, TsPoint{0, 0}, TsRect{0, 0, s.Width, s.Height},
               StateOf(sd.Section(), active));
  const TsFrameMetrics fm = host_.FrameMetrics();
  if (fm.CaptionHeight > 0 && host_.DrawsTitle()) {
    const TsSkinModel& model = *sd.Model();
    const TsSectionBinding title = BindSection(model, host_.TitleSection());
    if (title.SectionIndex >= 0)
      PaintSection(title, MakeBgInfo(&view, 0, 0), true, view, TsPoint{0, 0},
                   TsRect{0, 0, s.Width, fm.TitleBandHeight()},
                   StateOf(&model.Sections[static_cast<size_t>(title.SectionIndex)], active));
    const TsTitleLayout layout = TitleLayout();
    for (TsTitleButton b : kOrder) ButtonAt(b).Rect = layout.System[b];
    PaintCaption(view, layout);
    PaintButtons(layout);
  }
  sd.CacheStale = false;
  host_.FrameCachePainted();
}

void TacFrameSkin::PaintCaption(Bitmap32& cache, const TsTitleLayout& layout) {
  TsCommonData& sd = host_.FrameBinding();
  const TsSkinModel& model = *sd.Model();
  const TsFrameMetrics fm = host_.FrameMetrics();
  const TacCaptionLook look = host_.CaptionLook();
  const std::string text = host_.FrameCaption();
  const int32_t captionSection = model.FindSection("CAPTION");
  TCanvas& canvas = sd.Cache()->Canvas();
  RECT r;
  if (look.Fitted) {
    const TsRect area = CaptionTextArea(cache.Width(), fm, 0, model.SkinData.BILeftMargin, captionSection >= 0,
                                        layout.BlockWidth, host_.FrameZoomed());
    if (IsRectEmpty(area) || text.empty()) return;
    AssignCaptionFont(canvas.Font());
    if (look.Charset) canvas.Font().SetCharset(*look.Charset);
    const SIZE size = canvas.TextExtent(text);
    const TsRect placed = PlaceCaptionText(area, size.cx, 0, size.cy, look.Align);
    r = RECT{placed.Left, placed.Top, placed.Right, placed.Bottom};
  } else {
    if (text.empty()) return;
    r = RECT{fm.SideBorder + model.SkinData.BILeftMargin, 2, cache.Width() - layout.BlockWidth - 6,
             fm.TitleBandHeight()};
    if (r.right <= r.left) return;
    AssignCaptionFont(canvas.Font());
    if (look.Charset) canvas.Font().SetCharset(*look.Charset);
  }
  const int32_t section = captionSection >= 0 ? captionSection : model.FindSection(host_.TitleSection());
  WriteSkinTextByIndex(canvas, text, look.Enabled, sd.Manager(), host_.FrameActive(), section,
                       kCaptionFormat | look.ExtraFormat, r);
}

// Keeps the clean title bar under the buttons, then draws them.
void TacFrameSkin::PaintButtons(const TsTitleLayout& layout) {
  TBitmap* cache = host_.FrameBinding().Cache();
  if (!cache || cache->Empty()) return;
  const TsFrameMetrics fm = host_.FrameMetrics();
  const int w = std::min(fm.SideBorder + layout.BlockWidth + 10, cache->Width());
  const int h = std::min(fm.TitleBandHeight(), cache->Height());
  titleStripLeft_ = cache->Width() - w;
  titleStrip_.SetSize(w, h);
  Bitmap32 strip = titleStrip_.View();
  CopyRect32(strip, 0, 0, cache->View(), TsRect{titleStripLeft_, 0, titleStripLeft_ + w, h});
  for (Button& b : buttons_) PaintButton(b);
}

void TacFrameSkin::PaintButton(Button& b) {
  TsCommonData& sd = host_.FrameBinding();
  const TsMaskData* image = ImageOf(sd.Model(), b.ImageIndex);
  TBitmap* cache = sd.Cache();
  if (!image || !cache || IsRectEmpty(b.Rect) || b.State < 0) return;
  // An animated button's other states are shown by its animation window.
  const int state = b.Animation ? 0 : b.State;
  const int mode = state == 0 && (!host_.FrameActive() || !host_.ButtonEnabled(b.HitCode)) ? 2 : 1;
  Bitmap32 view = cache->View();
  PaintStateImage(view, TsPoint{b.Rect.Left, b.Rect.Top}, state, MakeBgInfo(&view, 0, 0), *image, mode);
}

// ---- Region and paint -----------------------------------------------------------------------

void TacFrameSkin::ApplyRegion() {
  const HWND wnd = host_.FrameWindow();
  regionChanged_ = false;
  const WindowSize s = SizeOf(wnd);
  if (!host_.RegionWanted()) {
    regionWidth_ = s.Width;
    regionHeight_ = s.Height;
    return;
  }
  const TsFrameMetrics fm = host_.FrameMetrics();
  if (fm.SideBorder == 0 && fm.CaptionHeight == 0) {
    SetWindowRgn(wnd, nullptr, FALSE);
    return;
  }
  regionChanging_ = true;
  const TsCommonData& sd = host_.FrameBinding();
  UniqueRegion region(CreateRectRgn(0, 0, s.Width, s.Height));
  if (host_.FrameZoomed()) {
    region.reset(CreateRectRgn(fm.SideBorder, fm.SideBorder, s.Width - fm.SideBorder, s.Height - fm.SideBorder));
  } else if (const TsSkinModel* model = sd.Model()) {
    const int32_t titleIndex = model->FindSection(host_.TitleSection());
    const TsMaskData* titleBorder =
        fm.CaptionHeight > 0 && titleIndex >= 0
            ? ImageOf(model, model->Sections[static_cast<size_t>(titleIndex)].BorderMaskIndex)
            : nullptr;
    for (const TsRect& cut : FrameRegionCuts(s.Width, s.Height, ImageOf(model, sd.BorderMaskIndex), titleBorder)) {
      UniqueRegion piece(CreateRectRgn(cut.Left, cut.Top, cut.Right, cut.Bottom));
      CombineRgn(region.get(), region.get(), piece.get(), RGN_DIFF);
    }
  }
  if (SetWindowRgn(wnd, region.get(), FALSE)) region.release();  // the window owns it now
  regionWidth_ = s.Width;
  regionHeight_ = s.Height;
  regionChanging_ = false;
}

void TacFrameSkin::PaintFrame(HDC dc) {
  TsCommonData& sd = host_.FrameBinding();
  const HWND wnd = host_.FrameWindow();
  if (!dc || !wnd) return;
  if (sd.CacheStale || !CacheMatchesWindow()) PrepareCache();
  TBitmap* cache = sd.Cache();
  if (!cache || cache->Empty()) return;
  if (regionChanged_ && !regionChanging_) ApplyRegion();
  HDC src = cache->Canvas().Handle();
  const WindowSize s = SizeOf(wnd);
  if (!host_.PaintsFramePieces()) {
    // Everything but the client area.
    const POINT o = host_.FrameClientOrigin();
    SavedDC saved(dc);
    ExcludeClipRect(dc, o.x, o.y, o.x + s.ClientWidth, o.y + s.ClientHeight);
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), src, 0, 0, SRCCOPY);
    return;
  }
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
  const TsFrameMetrics fm = host_.FrameMetrics();
  const int side = fm.SideBorder;
  const int bottom = (style & WS_BORDER) || fm.CaptionHeight > 0 ? side : 0;
  const int top = fm.CaptionHeight > 0 ? std::max(s.Height - s.ClientHeight - bottom, 0) : side;
  BitBlt(dc, 0, 0, s.Width, top, src, 0, 0, SRCCOPY);
  BitBlt(dc, 0, top, side, s.Height - top, src, 0, top, SRCCOPY);
  BitBlt(dc, side, s.Height - bottom, s.Width - side, bottom, src, side, s.Height - bottom, SRCCOPY);
  BitBlt(dc, s.Width - side, top, side, s.Height - top, src, s.Width - side, top, SRCCOPY);
}

void TacFrameSkin::PaintNow() {
  const HWND wnd = host_.FrameWindow();
  if (!wnd) return;
  FrameDC dc(wnd);
  if (dc.get()) PaintFrame(dc.get());
}

void TacFrameSkin::Repaint() {
  host_.FrameBinding().CacheStale = true;
  if (host_.FrameCanPaint()) PaintNow();
}

// ---- System menu ----------------------------------------------------------------------------

void TacFrameSkin::ShowSystemMenu(int x, int y) {
  const std::optional<std::vector<TsSysMenuItem>> items = host_.SystemMenuItems();
  if (items) ShowSysMenuItems(host_.FrameWindow(), *items, x, y);
}
