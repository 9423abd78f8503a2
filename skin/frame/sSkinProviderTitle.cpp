// The title bar of a skinned form: the caption text, the title buttons with their normal,
// hot and pressed pictures, and the hit codes the title bar gives Windows.
#include <algorithm>

#include "skin/data/sSkinManager_win.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/render/acGlow_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStateImage.h"

namespace {

constexpr int32_t kMissingButtonSize = 21;
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

bool BigFrame(TFormBorderStyle bs) { return bs == TFormBorderStyle::bsSingle || bs == TFormBorderStyle::bsSizeable; }


constexpr TsTitleButton kOrder[kSystemButtons] = {tbClose, tbMaximize, tbMinimize, tbHelp};
constexpr int32_t kCodes[kSystemButtons] = {kHtClose, kHtMaxButton, kHtMinButton, kHtHelp};

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

void TsSkinProvider::ChooseButtonImages() {
  StopTitleAnimations();
  for (ButtonSlot& slot : buttons_) slot = ButtonSlot{};
  for (int i = 0; i < kSystemButtons; ++i) buttons_[static_cast<size_t>(i)].HitCode = kCodes[i];
  const TsSkinModel* model = skinData_->Model();
  if (!model || !IsSkinned()) return;
  const int32_t global = model->Cache.GlobalInfo;
  auto find = [&](const char* key) { return global >= 0 ? model->FindImage(global, "GLOBALINFO", key) : -1; };
  const bool big = BigFrame(form_->BorderStyle());
  auto use = [&](TsTitleButton b, int32_t image, bool bigIcon) {
    buttons_[b].ImageIndex = image;
    buttons_[b].BigIcon = bigIcon;
  };
  auto bigSet = [&] {
    const bool alone = sysMenu_ && !sysMenu_->VisibleMax() && !sysMenu_->VisibleMin() && find("BICLOSEALONE") >= 0;
    use(tbClose, find(alone ? "BICLOSEALONE" : "BICONCLOSE"), true);
    use(tbMaximize, find("BICONMAX"), true);
    use(tbMinimize, find("BICONMIN"), true);
    use(tbHelp, find("BICONHELP"), big);
  };
  if (big) {
    bigSet();
  } else {
    use(tbClose, find("SICONCLOSE"), false);
    use(tbMaximize, find("SICONMAX"), false);
    use(tbMinimize, find("SICONMIN"), false);
    const int32_t help = find("SICONHELP");
    use(tbHelp, help >= 0 ? help : find("BICONHELP"), false);
  }
  if (buttons_[tbClose].ImageIndex < 0) {
    bigSet();
    buttons_[tbHelp].BigIcon = true;
  }
}

TsTitleLayoutInput TsSkinProvider::LayoutInput() const {
  TsTitleLayoutInput in;
  if (!form_->HandleAllocated()) return in;
  RECT r;
  GetWindowRect(form_->Handle(), &r);
  in.WindowWidth = r.right - r.left;
  in.Metrics = Metrics();
  in.BigSetSpacing = BigFrame(form_->BorderStyle());
  in.Maximized = IsZoomed(form_->Handle()) != FALSE;
  const TsSkinModel* model = skinData_->Model();
  if (model) {
    in.Space = model->SkinData.BISpacing;
    in.Right = model->SkinData.BIRightMargin;
    in.VAlign = model->SkinData.BIVAlign;
  }
  auto image = [model](int32_t index) {
    return model && index >= 0 && index < static_cast<int32_t>(model->Images.size())
               ? &model->Images[static_cast<size_t>(index)]
               : nullptr;
  };
  const TsMaskData* close = image(buttons_[tbClose].ImageIndex);
  in.ButtonHeight = close ? close->CellHeight() : kMissingButtonSize;
  const bool visible[kSystemButtons] = {
      sysMenu_ && sysMenu_->VisibleClose(), sysMenu_ && sysMenu_->VisibleMax(), sysMenu_ && sysMenu_->VisibleMin(),
      (form_->BorderIcons() & biHelp) != 0};
  for (TsTitleButton b : kOrder) {
    const TsMaskData* m = image(buttons_[b].ImageIndex);
    in.System[b] = TsTitleButtonSpec{visible[b] && m, m ? m->CellWidth() : kMissingButtonSize, buttons_[b].BigIcon};
  }
  return in;
}

TsTitleLayout TsSkinProvider::TitleLayout() const { return LayOutTitleButtons(LayoutInput()); }

void TsSkinProvider::PlaceButtons() {
  const TsTitleLayout layout = TitleLayout();
  for (TsTitleButton b : kOrder) buttons_[b].Rect = layout.System[b];
}

void TsSkinProvider::PaintCaption(Bitmap32& cache) {
  const TsFrameMetrics fm = Metrics();
  const TsSkinModel* model = skinData_->Model();
  if (fm.CaptionHeight <= 0 || !model || !drawNonClientArea_) return;
  const int32_t captionSection = model->FindSection("CAPTION");
  const TsTitleLayout layout = TitleLayout();
  const TsRect area = CaptionTextArea(cache.Width(), fm, 0, model->SkinData.BILeftMargin, captionSection >= 0,
                                      layout.BlockWidth, IsZoomed(form_->Handle()) != FALSE);
  const std::string text = form_->Caption();
  if (IsRectEmpty(area) || text.empty()) return;
  TCanvas& canvas = skinData_->Cache()->Canvas();
  AssignCaptionFont(canvas.Font());
  canvas.Font().SetCharset(form_->Font().Charset());
  const SIZE size = canvas.TextExtent(text);
  const TsCaptionAlign align = CaptionAlignment == TAlignment::taCenter        ? TsCaptionAlign::Centre
                               : CaptionAlignment == TAlignment::taRightJustify ? TsCaptionAlign::Right
                                                                                : TsCaptionAlign::Left;
  const TsRect r = PlaceCaptionText(area, size.cx, 0, size.cy, align);
  const int32_t section = captionSection >= 0 ? captionSection : TitleSectionIndex();
  WriteSkinTextByIndex(canvas, text, form_->Enabled(), skinData_->Manager(), formActive_, section, kCaptionFormat,
                       RECT{r.Left, r.Top, r.Right, r.Bottom});
}

// Keeps the clean title bar under the buttons, then draws them.
void TsSkinProvider::PaintButtons() {
  TBitmap* cache = skinData_->Cache();
  if (!cache || cache->Empty()) return;
  PlaceButtons();
  const TsTitleLayout layout = TitleLayout();
  const TsFrameMetrics fm = Metrics();
  const int w = std::min(fm.SideBorder + layout.BlockWidth + 10, cache->Width());
  const int h = std::min(fm.TitleBandHeight(), cache->Height());
  titleStripLeft_ = cache->Width() - w;
  titleStrip_->SetSize(w, h);
  Bitmap32 strip = titleStrip_->View();
  CopyRect32(strip, 0, 0, cache->View(), TsRect{titleStripLeft_, 0, titleStripLeft_ + w, h});
  for (ButtonSlot& slot : buttons_) PaintButton(slot);
}

void TsSkinProvider::PaintButton(ButtonSlot& slot) {
  const TsSkinModel* model = skinData_->Model();
  TBitmap* cache = skinData_->Cache();
  if (!model || !cache || slot.ImageIndex < 0 || slot.ImageIndex >= static_cast<int32_t>(model->Images.size()) ||
      IsRectEmpty(slot.Rect) || slot.State < 0)
    return;
  bool enabled = true;
  if (sysMenu_ && form_->HandleAllocated()) {
    const bool maximized = IsZoomed(form_->Handle()) != FALSE;
    if (slot.HitCode == kHtMaxButton) enabled = maximized ? sysMenu_->EnabledRestore() : sysMenu_->EnabledMax();
    if (slot.HitCode == kHtMinButton) enabled = sysMenu_->EnabledMin();
  }
  // An animated button's other states are shown by its animation window.
  const int state = slot.Animation ? 0 : slot.State;
  const int mode = state == 0 && (!formActive_ || !enabled) ? 2 : 1;
  Bitmap32 view = cache->View();
  PaintStateImage(view, TsPoint{slot.Rect.Left, slot.Rect.Top}, state, MakeBgInfo(&view, 0, 0),
                  model->Images[static_cast<size_t>(slot.ImageIndex)], mode);
}

TsSkinProvider::ButtonSlot* TsSkinProvider::SlotOf(int32_t code) {
  for (ButtonSlot& slot : buttons_)
    if (slot.HitCode == code) return &slot;
  return nullptr;
}

// One button in its new state: its clean background back from the strip, the picture over
// it, and only its rectangle onto the screen.
void TsSkinProvider::RedrawButton(int32_t code) {
  ButtonSlot* slot = SlotOf(code);
  TBitmap* cache = skinData_->Cache();
  if (!slot || IsRectEmpty(slot->Rect) || !CanPaintFrame()) return;
  // A stale frame is painted whole, but the animation still has to hear of the new state:
  // its timer may have stopped already, leaving its picture up.
  const bool stale = !cache || cache->Empty() || skinData_->CacheStale || !FrameCacheMatchesWindow();
  if (!skinData_->Model()) {
    RepaintFrameNow();
    return;
  }
  const TsRect r = slot->Rect;
  const TsSkinModel& model = *skinData_->Model();
  const TitleGlowKeys glow = slot->State == 1 && GlowingAllowed(skinData_->Manager())
                                 ? FindTitleGlow(model, slot->HitCode, slot->ImageIndex, IsIconic(form_->Handle()))
                                 : TitleGlowKeys{};
  const bool newAnimation = AnimationsAllowed() && !slot->Animation;
  if (AnimationsAllowed()) {
    if (newAnimation) {
      slot->Animation = std::make_unique<TacSBAnimation>(
          form_->Handle(), [this] { SendMessageA(form_->Handle(), WM_MOUSELEAVE, 0, 0); });
    }
    const TacButtonGlow picture{
        glow.GlowImage >= 0 ? &model.Images[static_cast<size_t>(glow.GlowImage)] : nullptr, glow.Margin};
    slot->Animation->ChangeState(slot->State, model.Images[static_cast<size_t>(slot->ImageIndex)], r, picture);
    if (!newAnimation && !stale) return;  // the frame already shows the button at rest
  } else {
    // Drawn without the animation, a hot button's glow shows at once in a glow window.
    HideGlow(slot->GlowHandle);
    slot->GlowHandle = -1;
    if (glow.Switch && !form_->Parent()) {
      RECT wr;
      GetWindowRect(form_->Handle(), &wr);
      const RECT target{wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom};
      slot->GlowHandle = ShowGlow(target, RECT{r.Left, r.Top, r.Right, r.Bottom}, "GLOBALINFO",
                                  skinData_->Manager(), form_->Handle(), glow.Margin, glow.BaseName);
    }
  }
  if (stale) {
    RepaintFrameNow();
    return;
  }
  Bitmap32 view = cache->View();
  const TsRect inStrip = OffsetRect(r, -titleStripLeft_, 0);
  CopyRect32(view, r.Left, r.Top, titleStrip_->View(), inStrip);
  PaintButton(*slot);
  HDC dc = GetWindowDC(form_->Handle());
  if (!dc) return;
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), cache->Canvas().Handle(), r.Left, r.Top, SRCCOPY);
  ReleaseDC(form_->Handle(), dc);
}

void TsSkinProvider::SetHotCode(int32_t code) {
  if (code == hotCode_ || (code == 0 && hotCode_ == -1)) return;
  const int32_t old = hotCode_;
  if (ButtonSlot* slot = SlotOf(old)) {
    slot->State = 0;
    RedrawButton(old);
  }
  hotCode_ = code;
  pressed_ = false;
  if (ButtonSlot* slot = SlotOf(code)) {
    slot->State = 1;
    RedrawButton(code);
    WatchHotButton();
  }
}

void TsSkinProvider::PressButton(int32_t code) {
  if (hotCode_ != code)
    if (ButtonSlot* slot = SlotOf(hotCode_)) {
      slot->State = 0;
      RedrawButton(hotCode_);
    }
  hotCode_ = code;
  ButtonSlot* slot = SlotOf(code);
  if (code == kHtMaxButton && sysMenu_ &&
      !(sysMenu_->EnabledMax() || (IsZoomed(form_->Handle()) && sysMenu_->EnabledRestore()))) {
    hotCode_ = 0;
    return;
  }
  if (!slot) return;
  slot->State = 2;
  pressed_ = true;
  RedrawButton(code);
  WatchHotButton();
}

// While a button is hot or pressed a short timer looks where the mouse is: moving into the
// client area or off the window sends the frame no hit test, yet the button must let go.
void TsSkinProvider::WatchHotButton() {
  if (!form_->HandleAllocated()) return;
  const HWND wnd = form_->Handle();
  const ButtonSlot* slot = SlotOf(hotCode_);
  if (!slot) {
    KillTimer(wnd, kHotWatchTimer);
    watchingHot_ = false;
    return;
  }
  POINT cursor;
  RECT wr;
  if (GetCursorPos(&cursor) && GetWindowRect(wnd, &wr)) {
    const TsPoint p{cursor.x - wr.left, cursor.y - wr.top};
    const TsRect& r = slot->Rect;
    if (p.X < r.Left || p.X >= r.Right || p.Y < r.Top || p.Y >= r.Bottom || WindowFromPoint(cursor) != wnd) {
      ClearHot();
      return;
    }
  }
  if (!watchingHot_) watchingHot_ = SetTimer(wnd, kHotWatchTimer, kHotWatchInterval, nullptr) != 0;
}

bool TsSkinProvider::AnimationsAllowed() const {
  return GlowingAllowed(skinData_->Manager()) && formState_ == 0;
}

void TsSkinProvider::StopTitleAnimations() {
  for (ButtonSlot& slot : buttons_) {
    slot.Animation.reset();
    HideGlow(slot.GlowHandle);
    slot.GlowHandle = -1;
  }
}

int32_t TsSkinProvider::HitTest(POINT screen) {
  if (!form_->HandleAllocated()) return kHtNowhere;
  RECT wr;
  GetWindowRect(form_->Handle(), &wr);
  const TsTitleLayout layout = TitleLayout();
  TsHitTestInput in;
  in.Point = TsPoint{screen.x - wr.left, screen.y - wr.top};
  in.WindowWidth = wr.right - wr.left;
  in.WindowHeight = wr.bottom - wr.top;
  in.Metrics = Metrics();
  in.Layout = &layout;
  const TsTitleLayoutInput li = LayoutInput();
  for (TsTitleButton b : kOrder) in.Shown[b] = li.System[b].Visible;
  if (sysMenu_) {
    in.EnabledMax = sysMenu_->EnabledMax();
    in.EnabledRestore = sysMenu_->EnabledRestore();
    in.EnabledMin = sysMenu_->EnabledMin();
  }
  in.Minimized = IsIconic(form_->Handle()) != FALSE;
  in.Maximized = IsZoomed(form_->Handle()) != FALSE;
  in.SizingFrame = (GetWindowLongPtrA(form_->Handle(), GWL_STYLE) & WS_THICKFRAME) != 0;
  const int32_t code = TitleHitTest(in);
  if (IsTitleButtonCode(code)) {
    SetHotCode(code);
  } else if (code >= kHtLeft && code <= kHtBottomRight) {
    SetHotCode(-1);
  }
  return code;
}
