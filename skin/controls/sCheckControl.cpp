#include "skin/controls/sCheckControl.h"

#include <algorithm>

#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStateImage.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

RECT ToRect(const TsRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }

// The size of a caption in a font, as GDI measures one line.
TsBoxSize TextSize(TFont& font, const std::string& text) {
  UniqueDC dc(CreateCompatibleDC(nullptr));
  SelectedObject sel(dc.get(), font.Handle());
  SIZE s{};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &s);
  return TsBoxSize{s.cx, s.cy};
}

}  // namespace

template <class Base>
TsCheckControl<Base>::TsCheckControl(TComponent* AOwner, int32_t classCode)
    : Base(AOwner), skinData_(std::make_unique<TsCommonData>(this, classCode)) {
  skinData_->SetDefaultSection();
}

template <class Base>
TsCheckControl<Base>::~TsCheckControl() {
  StopFade(fade_, *skinData_);
}

template <class Base>
void TsCheckControl<Base>::BeforeDestruction() {
  // The timer must go before the window and the owned components it refers to.
  StopFade(fade_, *skinData_);
  Base::BeforeDestruction();
}

template <class Base>
void TsCheckControl<Base>::Loaded() {
  Base::Loaded();
  skinData_->InitSkin();
  ApplyAutoSize();
}

// ---- Properties -----------------------------------------------------------------------

template <class Base>
void TsCheckControl<Base>::LookChanged() {
  ApplyAutoSize();
  skinData_->RepaintOwner();
}

template <class Base>
void TsCheckControl<Base>::SetMargin(int v) {
  if (v == margin_) return;
  margin_ = v;
  LookChanged();
}

template <class Base>
void TsCheckControl<Base>::SetTextIndent(int v) {
  if (v == textIndent_) return;
  textIndent_ = v;
  LookChanged();
}

template <class Base>
void TsCheckControl<Base>::SetShowFocus(bool v) {
  if (v == showFocus_) return;
  showFocus_ = v;
  skinData_->RepaintOwner();
}

template <class Base>
void TsCheckControl<Base>::SetDisabledKind(TsDisabledKind v) {
  if (v == disabledKind_) return;
  disabledKind_ = v;
  skinData_->RepaintOwner();
}

template <class Base>
void TsCheckControl<Base>::SetGlyphChecked(const TBitmap& v) {
  glyphChecked_.Assign(v);
  LookChanged();
}

template <class Base>
void TsCheckControl<Base>::SetGlyphUnChecked(const TBitmap& v) {
  glyphUnChecked_.Assign(v);
  LookChanged();
}

template <class Base>
void TsCheckControl<Base>::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  pressed_ = false;
  skinData_->RepaintOwner();
}

template <class Base>
void TsCheckControl<Base>::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  LookChanged();
}

template <class Base>
void TsCheckControl<Base>::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  ApplyAutoSize();
}

// ---- Geometry -------------------------------------------------------------------------

template <class Base>
TBitmap* TsCheckControl<Base>::CustomGlyph() {
  TBitmap& g = CheckValue() == 1 ? glyphChecked_ : glyphUnChecked_;
  return g.Empty() ? nullptr : &g;
}

template <class Base>
TsBoxSize TsCheckControl<Base>::GlyphSize() {
  if (TBitmap* custom = CustomGlyph()) return BitmapGlyphSize(custom->Width(), custom->Height());
  const TsSkinModel* model = skinData_->Model();
  if (!model) return kNoGlyphSize;
  const int32_t index = SkinGlyphIndex(*model);
  if (index < 0 || index >= static_cast<int32_t>(model->Images.size())) return kNoGlyphSize;
  return SkinGlyphSize(model->Images[static_cast<size_t>(index)]);
}

template <class Base>
TsBoxLayout TsCheckControl<Base>::Layout() {
  TsBoxLayout l;
  l.Width = this->Width();
  l.Height = this->Height();
  l.Glyph = GlyphSize();
  l.Margin = margin_;
  l.TextIndent = textIndent_;
  // The framework reads left to right only, so no mirroring.
  l.GlyphLeft = this->Alignment() == TAlignment::taRightJustify;
  l.WordWrap = wordWrap_;
  return l;
}

template <class Base>
TsRect TsCheckControl<Base>::GlyphRect() {
  return BoxGlyphRect(Layout());
}

template <class Base>
TsRect TsCheckControl<Base>::CaptionRect() {
  const TsBoxLayout l = Layout();
  TBitmap probe(1, 1, true);
  TCanvas& canvas = probe.Canvas();
  canvas.Font().Assign(this->Font());
  RECT m{0, 0, BoxCaptionSpace(l), 0};
  canvas.DrawText(this->Caption(), m, DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
  return BoxCaptionRect(l, TsBoxSize{m.right - m.left, m.bottom - m.top});
}

template <class Base>
void TsCheckControl<Base>::ApplyAutoSize() {
  if (!autoSize_ || this->IsLoading() || this->HasState(csDestroying)) return;
  const std::string text = this->Caption();
  const TsBoxSize caption = text.empty() ? TsBoxSize{} : TextSize(this->Font(), text);
  const TsBoxSize s = skinData_->IsSkinned() ? BoxAutoSize(GlyphSize(), margin_, textIndent_, caption, !text.empty())
                                             : BoxPlainAutoSize(caption);
  this->SetBounds(this->Left(), this->Top(), s.Width, s.Height);
}

template <class Base>
int TsCheckControl<Base>::GlyphState() const {
  if (pressed_) return 2;
  return skinData_->IsActiveLook() && !readOnly_ ? 1 : 0;
}

// ---- Painting -------------------------------------------------------------------------

template <class Base>
void TsCheckControl<Base>::PrepareCache() {
  TsCommonData& sd = *skinData_;
  sd.InitCache();
  TBitmap* cache = sd.Cache();
  if (!cache || cache->Empty()) return;
  const int w = this->Width(), h = this->Height();
  const TsPoint origin{this->Left(), this->Top()};
  Bitmap32 view = cache->View();
  ParentBgQuery q;
  q.DC = cache->Canvas().Handle();
  q.DrawRequested = true;
  q.Offset = origin;
  q.R = TsRect{0, 0, w, h};
  GetParentBg(q, this->Parent(), false);
  // A parent that cannot answer has painted itself into the cache: keep that picture as the
  // background (the face is painted over the cache itself).
  Bitmap32 drawn;
  if (q.AnswerKind == akNone) {
    drawn = Bitmap32(w, h);
    CopyRect32(drawn, 0, 0, view, TsRect{0, 0, w, h});
    q.AnswerKind = akBitmap;
    q.Bmp = &drawn;
    q.Offset = TsPoint{-origin.X, -origin.Y};
  }
  const BackgroundSource bg = BgInfoFromQueryWin(q);
  const bool hot = sd.IsActiveLook() && !readOnly_;
  PaintSection(sd.Binding(), bg, false, view, origin, TsRect{0, 0, w, h}, hot ? 1 : 0);
  PaintCaption(cache->Canvas(), hot);
  PaintGlyph(view);
  if (!this->Enabled()) {
    // The face is 40 % over 60 % of what lies behind it, also where the parent answered with
    // a plain colour: that colour is then what lies behind every pixel.
    Bitmap32 plain;
    BackgroundSource behind = bg;
    if (!bg.Ready && bg.FillColor != clFuchsia) {
      plain = Bitmap32(w, h);
      FillRect32(plain, TsRect{0, 0, w, h}, bg.FillColor);
      behind = MakeBgInfo(&plain, -origin.X, -origin.Y);
    }
    PaintDisabledLookWin(view, disabledKind_, this->Parent(), origin, behind);
  }
  sd.CacheStale = false;
}

template <class Base>
void TsCheckControl<Base>::PaintCaption(TCanvas& canvas, bool hot) {
  const std::string text = this->Caption();
  if (text.empty()) return;
  canvas.Font().Assign(this->Font());
  const TsBoxLayout l = Layout();
  RECT m{0, 0, BoxCaptionSpace(l), 0};
  canvas.DrawText(text, m, DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
  bool rightAligned = false;
  const TsRect r = BoxCaptionRect(l, TsBoxSize{m.right - m.left, m.bottom - m.top}, &rightAligned);
  UINT format = wordWrap_ ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE;
  if (rightAligned) format |= DT_RIGHT;
  // Always the enabled colours: a disabled box gets its look from the blend afterwards.
  WriteSkinText(canvas, text, true, hot, *skinData_, format, ToRect(r));
  if (showFocus_ && this->Focused()) DrawFocusDotsDc(canvas.Handle(), ToRect(BoxFocusRect(l, r)));
}

template <class Base>
void TsCheckControl<Base>::PaintGlyph(Bitmap32& cache) {
  const TsRect g = GlyphRect();
  const int state = GlyphState();
  if (TBitmap* custom = CustomGlyph()) {
    const TsBoxSize size = BitmapGlyphSize(custom->Width(), custom->Height());
    const int cells = std::max(1, custom->Width() / std::max(1, size.Width));
    const int cell = std::min(state, cells - 1);
    CopyRect32(cache, g.Left, g.Top, custom->View(),
               TsRect{cell * size.Width, 0, (cell + 1) * size.Width, size.Height});
    return;
  }
  const TsSkinModel* model = skinData_->Model();
  if (!model) return;
  const int32_t index = SkinGlyphIndex(*model);
  if (index < 0 || index >= static_cast<int32_t>(model->Images.size())) return;
  PaintStateImage(cache, TsPoint{g.Left, g.Top}, state, MakeBgInfo(&cache, 0, 0),
                  model->Images[static_cast<size_t>(index)], 1);
}

template <class Base>
void TsCheckControl<Base>::PaintTo(HDC dc) {
  TsCommonData& sd = *skinData_;
  SavedDC saved(dc);
  if (sd.IsPaintingSuspended()) {
    sd.PaintingSuspended = true;
    return;
  }
  // While a fade runs the cache holds its target picture; the timer paints the frames.
  if (!Fading() || !sd.Cache() || sd.Cache()->Empty()) PrepareCache();
  RestoreCorners(sd, 0);
  if (TBitmap* cache = sd.Cache(); cache && !cache->Empty())
    BitBlt(dc, 0, 0, this->Width(), this->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
}

template <class Base>
void TsCheckControl<Base>::PaintMessage(TMessage& m) {
  if (m.WParam) {
    PaintTo(reinterpret_cast<HDC>(m.WParam));
  } else {
    PaintDC pdc(this->Handle());
    PaintTo(pdc.get());
  }
  m.Result = 0;
}

template <class Base>
bool TsCheckControl<Base>::SkinPainting() {
  return skinData_->IsSkinned() && this->HandleAllocated() && this->Parent() &&
         !this->HasState(csLoading | csReading | csDestroying);
}

// ---- Input ----------------------------------------------------------------------------

template <class Base>
void TsCheckControl<Base>::Changed(int event, bool halfFrames) {
  TsCommonData& sd = *skinData_;
  ChangePaint(fade_, sd, halfFrames, 1, AnimationAllowed(event, animatEvents_, sd.Manager()));
}

template <class Base>
void TsCheckControl<Base>::Press() {
  pressed_ = true;
  Changed(evMouseDown, true);
  if (!this->Focused() && this->CanFocus()) this->SetFocus();
}

template <class Base>
void TsCheckControl<Base>::Release() {
  const bool wasPressed = pressed_;
  pressed_ = false;
  const int before = CheckValue();
  if (wasPressed && !readOnly_) Activate();
  // A changed state showed itself; otherwise only the pressed look goes.
  if (CheckValue() == before) Changed(evMouseUp, true);
}

template <class Base>
void TsCheckControl<Base>::PassQuietly(TMessage& m) {
  // The button window paints straight onto the screen on these messages; with redrawing
  // off it leaves that to us.
  HWND wnd = this->HandleAllocated() ? this->Handle() : nullptr;
  const bool shown = wnd && (GetWindowLongPtrA(wnd, GWL_STYLE) & WS_VISIBLE);
  if (shown) DefWindowProcA(wnd, WM_SETREDRAW, FALSE, 0);
  Base::WndProc(m);
  if (shown) DefWindowProcA(wnd, WM_SETREDRAW, TRUE, 0);
}

template <class Base>
void TsCheckControl<Base>::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  const bool own = manager && manager == sd.Manager();
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      if (own) LookChanged();
      return;
    case SkinCommand::RemoveSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      if (own && this->HandleAllocated()) {
        // Windows' button takes over painting with the state it always kept.
        SendMessageA(this->Handle(), BM_SETCHECK, static_cast<WPARAM>(CheckValue()), 0);
        InvalidateRect(this->Handle(), nullptr, TRUE);
      }
      return;
    case SkinCommand::RefreshSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      if (own) {
        SkinRefreshed();
        LookChanged();
      }
      return;
    case SkinCommand::IsHandled:
      m.Result = 1;
      return;
    case SkinCommand::AnimationDone:
      StopFade(fade_, sd);
      return;
    case SkinCommand::PrepareCache:
      PrepareCache();
      return;
    case SkinCommand::PaintFadeFrame:
      m.Result = 0;  // the timer copies the frame
      return;
    case SkinCommand::ResumePainting:
      ResumeOwnPainting(sd);
      return;
    default:
      CommonSkinHandler(m, sd);
  }
}

template <class Base>
void TsCheckControl<Base>::WndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  // Windows tells of a click when an unchecked radio button gains the focus, also when a
  // press takes it: only a release or Space may check the button.
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED && gainingFocus_) return;
  if (m.Msg == WM_SETFOCUS && !gainingFocus_) {
    gainingFocus_ = true;
    WndProc(m);
    gainingFocus_ = false;
    return;
  }
  if (!SkinPainting()) {
    if (m.Msg != WM_PAINT && m.Msg != WM_ERASEBKGND && CommonSkinHandler(m, sd)) return;
    Base::WndProc(m);
    if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) ApplyAutoSize();
    return;
  }
  const bool input = this->Enabled();
  switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINT:
    case WM_PRINTCLIENT:
      PaintMessage(m);
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    // Windows' button never sees the clicks: the state changes on release here, once.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (input && !readOnly_) Press();
      return;
    case WM_LBUTTONUP:
      if (input) Release();
      return;
    case WM_KEYDOWN:
      if (m.WParam != VK_SPACE) break;
      // Held keys repeat; only the first press counts.
      if (input && !readOnly_ && !(m.LParam & (1 << 30))) {
        pressed_ = true;
        if (!this->Focused() && this->CanFocus()) this->SetFocus();
        StopFade(fade_, sd);
        sd.RepaintOwner();
      }
      return;
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      if (input) Release();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      const bool mine = reinterpret_cast<TControl*>(m.LParam) == this;
      CommonSkinHandler(m, sd);
      Base::WndProc(m);
      if (!mine || !input) return;
      if (m.Msg == CM_MOUSELEAVE) pressed_ = false;
      Changed(m.Msg == CM_MOUSEENTER ? evMouseEnter : evMouseLeave, false);
      return;
    }
    case WM_SETFOCUS:
      CommonSkinHandler(m, sd);
      PassQuietly(m);
      sd.CacheStale = true;
      Changed(evMouseEnter, false);
      return;
    case WM_KILLFOCUS:
      StopFade(fade_, sd);
      PassQuietly(m);
      sd.HasFocus = false;
      sd.MouseOver = false;
      pressed_ = false;
      sd.RepaintOwner();
      return;
    case BM_SETCHECK:
      StopFade(fade_, sd);
      if (static_cast<int>(m.WParam) != CheckValue()) {
        // From outside: the control takes the state over and tells Windows again.
        AdoptCheck(static_cast<int>(m.WParam));
        return;
      }
      PassQuietly(m);
      ShowCheckChange();
      return;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE:
      PassQuietly(m);
      sd.RepaintOwner();
      return;
    case CM_ENABLEDCHANGED:
      StopFade(fade_, sd);
      pressed_ = false;
      CommonSkinHandler(m, sd);
      Base::WndProc(m);
      sd.RepaintOwner();
      return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Base::WndProc(m);
      LookChanged();
      return;
    default:
      break;
  }
  if (CommonSkinHandler(m, sd)) return;
  Base::WndProc(m);
}

template class TsCheckControl<TCheckBox>;
template class TsCheckControl<TRadioButton>;
