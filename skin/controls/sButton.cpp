#include "skin/controls/sButton.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "framework/Forms.h"
#include "skin/data/sColorShift.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sBorderMask.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStyleSimply_win.h"

namespace {

// What the buttons of the process share (an engine part).
struct ButtonMoments {
  // Set around the one synchronous repaint that shows the pressed face on a quick release.
  bool ForcedPressed = false;
  // Set while a button handles a focus change, so that the focus messages the platform sends
  // on from there do not switch redrawing off and on again.
  bool HandlingFocus = false;
};

ButtonMoments& Moments() { return acEngine().Part<ButtonMoments>(); }

// The cut-out rectangles as one region (nullptr for none).
HRGN RegionOf(const std::vector<TsRect>& rects) {
  if (rects.empty()) return nullptr;
  std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = static_cast<DWORD>(rects.size());
  rd->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
  RECT bound{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  auto* out = reinterpret_cast<RECT*>(rd->Buffer);
  for (size_t i = 0; i < rects.size(); ++i) {
    out[i] = RECT{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
    bound.left = std::min(bound.left, out[i].left);
    bound.top = std::min(bound.top, out[i].top);
    bound.right = std::max(bound.right, out[i].right);
    bound.bottom = std::max(bound.bottom, out[i].bottom);
  }
  rd->rdh.rcBound = bound;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
}

}  // namespace

TsButton::TsButton(TComponent* AOwner) : TButton(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccButton)) {
  skinData_->SetDefaultSection();
}

TsButton::~TsButton() {
  StopFade(fade_, *skinData_);
}

void TsButton::Loaded() {
  TButton::Loaded();
  skinData_->InitSkin();
}

void TsButton::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

// ---- Properties -------------------------------------------------------------------------

void TsButton::SetShowFocus(bool v) { ChangeProperty(showFocus_, v); }
void TsButton::SetFocusMargin(int v) { ChangeProperty(focusMargin_, v); }
void TsButton::SetDisabledKind(TsDisabledKind v) { ChangeProperty(disabledKind_, v); }
void TsButton::SetWordWrap(bool v) { ChangeProperty(wordWrap_, v); }
void TsButton::SetContentMargin(int v) { ChangeProperty(contentMargin_, v); }

void TsButton::SetDown(bool v) {
  if (v != down_) repaintAll_ = true;
  ChangeProperty(down_, v);
}

void TsButton::SetButtonStyle(bool isDefault) {
  TButton::SetButtonStyle(isDefault);
  if (isDefault == default_) return;
  default_ = isDefault;
  skinData_->RepaintOwner();
}

// ---- State ------------------------------------------------------------------------------

bool TsButton::Pushed() {
  return HandleAllocated() && (SendMessageA(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

int TsButton::CurrentState() {
  const TsCommonData& sd = *skinData_;
  const bool heldOnIt = pressedByMouse_ && GetKeyState(VK_LBUTTON) < 0;
  if ((down_ || Moments().ForcedPressed || Pushed()) && (sd.MouseOver || !heldOnIt)) return 2;
  const bool defStyle =
      HandleAllocated() && (GetWindowLongPtrA(Handle(), GWL_STYLE) & 0xF) == static_cast<LONG_PTR>(BS_DEFPUSHBUTTON);
  if (default_ || defStyle || sd.IsActiveLook()) return 1;
  return 0;
}

bool TsButton::CanSkinPaint() {
  return skinData_->IsSkinned() && HandleAllocated() && Parent() && !HasState(csLoading | csReading | csDestroying);
}

// ---- Painting ---------------------------------------------------------------------------

void TsButton::PrepareCache() {
  TsCommonData& sd = *skinData_;
  const TsGeneralData* g = sd.Section();
  if (!g) return;
  ParentBgQuery q;
  if (Parent()) GetParentBg(q, Parent(), false);
  const BackgroundSource bg = BgInfoFromQueryWin(q);
  sd.InitCache();
  TBitmap* cache = sd.Cache();
  if (!cache || cache->Empty()) return;
  cache->Canvas().Font().Assign(Font());
  const int current = CurrentState();
  const int state = std::min(current, std::max(g->States - 1, 0));
  Bitmap32 view = sd.CacheView();
  const TsPoint origin{Left(), Top()};
  const TsRect rect{0, 0, Width(), Height()};
  PaintSectionBackground(sd.Binding(), bg, view, origin, rect, state);

  if (repaintAll_ && !acEngine().EffectRunning && !fade_) {
    region_.reset(CreateRectRgn(0, 0, Width(), Height()));
  }
  const TsSkinModel* model = sd.Model();
  if (sd.BorderMaskIndex >= 0 && sd.BorderMaskIndex < static_cast<int32_t>(model->Images.size())) {
    const TsMaskData& image = model->Images[static_cast<size_t>(sd.BorderMaskIndex)];
    if (state != 0 || !(image.DrawMode & dmNotNormal)) {
      // Key-coloured corner pixels stay as the background left them; the region cuts them away.
      PaintBorderMask(view, rect, image, state, false, MakeBgInfo(&view, 0, 0));
      if (region_) {
        std::vector<TsRect> cut;
        CornerKeyRects(cut, image, state, rect);
        if (UniqueRegion corners{RegionOf(cut)}) CombineRgn(region_.get(), region_.get(), corners.get(), RGN_DIFF);
      }
    }
  }
  if (sd.HUEOffset() != 0) ShiftHue(view, sd.HUEOffset());
  if (sd.Saturation() != 0) ChangeSaturation(view, sd.Saturation());
  DrawCaption(current);
  if (!Enabled()) {
    // The wizard's pages answer with a plain colour.
    PaintDisabledOverBackground(view, disabledKind_, GetControlColor(Parent()), origin, bg);
  }
  paintedState_ = current;
  sd.CacheStale = false;
}

RECT TsButton::CaptionRect(TCanvas& canvas, int state) {
  const std::string text = Caption();
  int tw = 0, th = 0;
  if (!text.empty()) {
    RECT m{0, 0, Width(), 0};
    canvas.DrawText(text, m, DT_CALCRECT | DT_EXPANDTABS | DT_CENTER | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
    tw = m.right - m.left;
    th = m.bottom - m.top;
  }
  RECT r;
  r.left = (Width() - tw) / 2 - 1;
  r.right = r.left + tw + 2;
  r.top = (Height() - th) / 2;
  r.bottom = Height() - r.top;
  if (state == 2) OffsetRect(&r, 1, 1);
  return r;
}

void TsButton::DrawCaption(int state) {
  TsCommonData& sd = *skinData_;
  TCanvas& canvas = sd.Cache()->Canvas();
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  RECT r = CaptionRect(canvas, state);
  const UINT format = DT_CENTER | DT_VCENTER | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
  // A disabled skinned button writes its caption in the normal colours: the disabled look
  // blends the whole face afterwards.
  const bool textEnabled = Enabled() || sd.IsSkinned();
  WriteSkinText(canvas, Caption(), textEnabled, state != 0, sd, format, r);
  const TsGeneralData* g = sd.Section();
  if (Focused() && Enabled() && !Caption().empty() && showFocus_ && g && g->ShowFocus) {
    InflateRect(&r, focusMargin_, focusMargin_);
    Bitmap32 view = sd.CacheView();
    DrawFocusDots(view, TsRect{r.left, r.top, r.right, r.bottom});
  }
}

void TsButton::PaintHandler(TMessage& m) {
  TsCommonData& sd = *skinData_;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  const bool own = dc == nullptr;
  if (own) dc = BeginPaint(Handle(), &ps);
  m.Result = 0;
  if (!(acEngine().EffectRunning && dc != sd.PrintDc) && Parent()) {
    sd.PaintingSuspended = sd.IsPaintingSuspended();
    if (!sd.PaintingSuspended && !fade_) {
      if (sd.PartlyVisible || SendSkinCommand(Parent(), SkinCommand::GetHalfVisible) != 0) sd.CacheStale = true;
      const RECT client = Parent()->ClientRect();
      const RECT b = BoundsRect();
      sd.PartlyVisible = b.left < client.left || b.top < client.top || b.right > client.right || b.bottom > client.bottom;
      if (repaintAll_) sd.CacheStale = true;
      if (sd.CacheStale) PrepareCache();
    }
    if (repaintAll_) {
      RestoreCorners(sd, CurrentState());
      ApplyRegion(dc);
    }
    if (TBitmap* cache = sd.Cache(); cache && !cache->Empty()) {
      SavedDC saved(dc);
      BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
    }
  }
  if (own) EndPaint(Handle(), &ps);
}

void TsButton::ApplyRegion(HDC dc) {
  if (!region_ || dc == skinData_->PrintDc) return;
  HWND wnd = Handle();
  // The same outline again needs no new region (and no repaint of what lies around it).
  const UniqueRegion current{CreateRectRgn(0, 0, 0, 0)};
  const bool same = GetWindowRgn(wnd, current.get()) != ERROR && EqualRgn(current.get(), region_.get());
  if (same) {
    region_.reset();
  } else {
    SetWindowRgn(wnd, region_.release(), placeholderRegion_ || acEngine().SkinChanging);  // the window's now
    placeholderRegion_ = false;
  }
  // A button that shrank leaves its old corners behind on the parent.
  const RECT b = BoundsRect();
  const RECT old = regionBounds_;
  const TsSkinModel* model = skinData_->Model();
  if (Parent() && Parent()->HandleAllocated() && model && skinData_->BorderMaskIndex >= 0 &&
      (b.right - b.left < old.right - old.left || b.bottom - b.top < old.bottom - old.top)) {
    const TsMaskData& image = model->Images[static_cast<size_t>(skinData_->BorderMaskIndex)];
    const RECT areas[] = {{old.right - image.WR, old.top, old.right, old.top + image.WT},
                          {old.right - image.WR, old.bottom - image.WB, old.right, old.bottom},
                          {old.left, old.bottom - image.WB, old.left + image.WL, old.bottom}};
    for (const RECT& r : areas) InvalidateRect(Parent()->Handle(), &r, TRUE);
  }
  regionBounds_ = b;
}

// ---- Without a skin ---------------------------------------------------------------------

void TsButton::PaintUnskinned(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) || down_;
  const bool isDefault = default_ || Focused();
  if (isDefault) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE));
  TCanvas canvas(dc);
  canvas.Font().Assign(Font());
  canvas.Font().SetColor(clBtnText);
  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  WriteSkinText(canvas, Caption(), Enabled(), false, *skinData_,
                DT_CENTER | DT_VCENTER | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0), CaptionRect(canvas, pushed ? 2 : 0));
  if (Focused() && showFocus_) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(dc, &r);
  }
  canvas.SetHandle(nullptr);
}

// ---- Messages ---------------------------------------------------------------------------

void TsButton::Transition(TacAnimEvent event) {
  TsCommonData& sd = *skinData_;
  ChangePaint(fade_, sd, event == evMouseDown || event == evMouseUp, 1,
              AnimationAllowed(event, animatEvents_, sd.SkinManager()));
}

void TsButton::Repaint(bool stopFade) {
  if (stopFade) StopFade(fade_, *skinData_);
  skinData_->RepaintOwner();
}

void TsButton::StateSet(TMessage& m) {
  const bool before = Pushed();
  TButton::WndProc(m);
  const bool after = Pushed();
  // A press by mouse starts its own transition once the platform is done with it.
  if (after == before || mouseMessage_ != 0 || !skinData_->IsSkinned()) return;
  // Dragged off or back on, or the space key: fade only when the face changes.
  if (CurrentState() != paintedState_) Transition(after ? evMouseDown : evMouseUp);
}

void TsButton::MouseUp(TMessage& m) {
  TsCommonData& sd = *skinData_;
  const bool pressed = pressedByMouse_;
  pressedByMouse_ = false;
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const RECT client = ClientRect();
  if (pressed && fade_ && PtInRect(&client, p)) {
    // A quick click: the press fade has not reached the pressed face yet, so show it for a
    // moment before it goes.
    StopFade(fade_, sd);
    sd.CacheStale = true;
    {
      const TacFlagScope forced(Moments().ForcedPressed);
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    Sleep(30);
  }
  // The platform releases the button (its state change starts the release transition) and
  // then clicks, which may do anything to this button: nothing follows here.
  TButton::WndProc(m);
}

void TsButton::FocusChange(TMessage& m) {
  TsCommonData& sd = *skinData_;
  CommonSkinHandler(m, sd);
  const bool gained = m.Msg == WM_SETFOCUS;
  if (!gained) {
    StopFade(fade_, sd);
    repaintAll_ = true;
  }
  HWND wnd = Handle();
  // The platform's own focus drawing is not wanted on a skinned face.
  const bool quiet = !Moments().HandlingFocus && IsWindowVisible(wnd);
  {
    std::optional<TacFlagScope> handling;
    if (quiet) {
      handling.emplace(Moments().HandlingFocus);
      SendMessageA(wnd, WM_SETREDRAW, FALSE, 0);
    }
    TButton::WndProc(m);
    if (quiet) SendMessageA(wnd, WM_SETREDRAW, TRUE, 0);
  }
  if (!gained) sd.HasFocus = false;
  if (gained && fade_)
    Transition(evMouseEnter);
  else
    sd.RepaintOwner();
}

void TsButton::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  auto* manager = reinterpret_cast<TsSkinManager*>(m.LParam);
  const bool own = manager && manager == sd.Manager();
  switch (m.WParamHi()) {
    case SkinCommand::NewSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      if (own) {
        repaintAll_ = true;
        sd.RepaintOwner();
      }
      return;
    case SkinCommand::RemoveSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      if (own && HandleAllocated()) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        placeholderRegion_ = true;
        regionBounds_ = RECT{};
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      }
      return;
    case SkinCommand::RefreshSkin:
      StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      if (own) {
        repaintAll_ = true;
        if (!(sd.StateFlags & sfPrinting)) sd.RepaintOwner();
      }
      return;
    case SkinCommand::AnimationDone:
      StopFade(fade_, sd);
      // The fade left the window's outline as it was; the next paint fits it to the new face.
      if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
      return;
    case SkinCommand::PrepareCache:
      PrepareCache();
      return;
    case SkinCommand::PaintFadeFrame:
      region_.reset();
      m.Result = 0;
      return;
    case SkinCommand::SetUrgentPainting:
      CommonSkinHandler(m, sd);
      if (sd.UrgentPaint && sd.IsSkinned()) PrepareCache();
      return;
    case SkinCommand::ResumePainting:
      ResumeOwnPainting(sd);
      return;
    default:
      CommonSkinHandler(m, sd);
  }
}

void TsButton::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  TsCommonData& sd = *skinData_;
  const bool self = reinterpret_cast<TControl*>(m.LParam) == this;
  if (!CanSkinPaint()) {
    switch (m.Msg) {
      case CN_DRAWITEM:
        if (m.LParam) PaintUnskinned(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return;
      case CM_MOUSEENTER:
      case CM_MOUSELEAVE:
        TButton::WndProc(m);
        if (self) {
          sd.MouseOver = m.Msg == CM_MOUSEENTER;
          Invalidate();
        }
        return;
      default:
        break;
    }
    if (m.Msg != WM_PAINT && m.Msg != WM_ERASEBKGND && CommonSkinHandler(m, sd)) return;
    TButton::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_PAINT:
      PaintHandler(m);
      return;
    case WM_PRINT:
    case WM_PRINTCLIENT:
      sd.PaintingSuspended = false;
      repaintAll_ = true;
      if (m.WParam) PaintHandler(m);
      return;
    case WM_ERASEBKGND:
    case WM_UPDATEUISTATE:
      m.Result = 1;
      return;
    case WM_ENABLE:
      return;
    case CN_DRAWITEM:
      m.Result = TRUE;
      return;
    case BM_SETSTATE:
      StateSet(m);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      mouseMessage_ = static_cast<int>(m.Msg);
      TButton::WndProc(m);
      mouseMessage_ = 0;
      if (Enabled() && !down_ && sd.IsSkinned()) {
        pressedByMouse_ = true;
        Transition(evMouseDown);
      }
      return;
    case WM_LBUTTONUP:
      MouseUp(m);
      return;
    case WM_CAPTURECHANGED:
      pressedByMouse_ = false;
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        TButton::WndProc(m);
        repaintAll_ = true;
        Repaint(true);
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      FocusChange(m);
      return;
    case WM_MOVE: {
      repaintAll_ = true;
      const TsGeneralData* g = sd.Section();
      if (g->Transparency > 0 || (g->StateProps[1].Transparency > 0 && sd.IsActiveLook())) sd.RepaintOwner();
      break;
    }
    case WM_SIZE:
      repaintAll_ = true;
      break;
    case WM_SETFONT:
      TButton::WndProc(m);
      sd.RepaintOwner();
      return;
    case CM_TEXTCHANGED:
    case CM_VISIBLECHANGED:
      CommonSkinHandler(m, sd);
      TButton::WndProc(m);
      sd.RepaintOwner();
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) StopFade(fade_, sd);
      CommonSkinHandler(m, sd);
      TButton::WndProc(m);
      sd.RepaintOwner();
      return;
    case CM_MOUSEENTER:
      if (!self) break;
      if (!Enabled() || sd.MouseOver) return;
      TButton::WndProc(m);
      CommonSkinHandler(m, sd);
      Transition(evMouseEnter);
      return;
    case CM_MOUSELEAVE:
      if (!self) break;
      if (sd.MouseOver) {
        TButton::WndProc(m);
        CommonSkinHandler(m, sd);
        Transition(evMouseLeave);
        return;
      }
      break;
    default:
      break;
  }
  if (CommonSkinHandler(m, sd)) return;
  TButton::WndProc(m);
}
