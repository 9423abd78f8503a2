// TacEditWnd: the skinned frame and colours of an edit window, over its skinned scroll bars.
#include "skin/controls/acEditWnd.h"
#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

void TacEditWnd::CreateParts(bool repaintFrame) {
  if (binding_->SkinSection().empty()) binding_->SetSkinSection("EDIT");
  TacScrollWnd::CreateParts(repaintFrame);
}

void TacEditWnd::SaveLook() {
  if (TWinControl* c = Control()) {
    savedColor_ = c->Color();
    savedFontColor_ = c->Font().Color();
  }
}

void TacEditWnd::RestoreLook() {
  if (IsWindow(Wnd()) && IsWindowVisible(Wnd()))
    SetWindowPos(Wnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  if (TWinControl* c = Control(); c && !c->HasState(csDestroying)) {
    c->SetColor(savedColor_);
    c->Font().SetColor(savedFontColor_);
  }
}

bool TacEditWnd::HotLook() const {
  const TsGeneralData* g = binding_->Section();
  if (!g) return false;
  const TsSkinModel* model = binding_->Model();
  const int32_t b = binding_->BorderMaskIndex;
  const bool cells = b >= 0 && b < static_cast<int32_t>(model->Images.size()) &&
                     model->Images[static_cast<size_t>(b)].ImageCount > 1;
  return cells || g->States > 1;
}

void TacEditWnd::ApplyColours() {
  if (applying_) return;
  TsCommonData& sd = *binding_;
  const TsGeneralData* g = sd.Section();
  TWinControl* c = Control();
  if (!g || !c) {
    coloursApplied_ = true;
    return;
  }
  applying_ = true;
  const bool suspended = sd.PaintingSuspended;
  sd.PaintingSuspended = true;
  const bool active = sd.IsActiveLook() && g->States >= 2;
  if (!sd.CustomColor()) c->SetColor(sd.GetBgColor(active ? 1 : 0));
  if (!sd.CustomFont()) c->Font().SetColor(active ? g->HotFontColor : g->FontColor);
  sd.PaintingSuspended = suspended;
  applying_ = false;
  coloursApplied_ = true;
  sd.CacheStale = true;
}

void TacEditWnd::PrepareCache() {
  TsCommonData& sd = *binding_;
  RECT wr;
  GetWindowRect(Wnd(), &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (frame_.Width() != w || frame_.Height() != h) frame_.SetSize(w, h);
  Bitmap32 view = frame_.View();
  BackgroundSource bg;
  if (Control()) {
    sd.GetOwnBgInfo(bg);
  } else {
    ParentBgQuery q;
    if (HWND parent = GetParent(Wnd())) GetParentBg(q, parent, false);
    bg = BgInfoFromQueryWin(q);
  }
  const POINT pos = PosInParent();
  const bool lit = sd.HasFocus || sd.MouseOver || GetFocus() == Wnd();
  PaintSection(sd.Binding(), bg, true, view, TsPoint{pos.x, pos.y}, TsRect{0, 0, w, h}, lit && HotLook() ? 1 : 0);
  if (!IsWindowEnabled(Wnd())) {
    auto kind = static_cast<TsDisabledKind>(SendSkinCommand(Wnd(), SkinCommand::GetDisabledKind));
    if (kind == 0) kind = kDefaultDisabledKind;
    PaintDisabledLookWin(view, kind, Control() ? Control()->Parent() : nullptr, TsPoint{pos.x, pos.y}, bg);
  }
  sd.CacheStale = false;
}

void TacEditWnd::NcPaint(HDC given) {
  TsCommonData& sd = *binding_;
  HWND wnd = Wnd();
  if (acEngine().EffectRunning || sd.PaintingSuspended || !sd.IsSkinned()) return;
  if (!given && !IsWindowVisible(wnd)) return;
  if (!coloursApplied_) ApplyColours();
  if (sd.CacheStale || frame_.Empty()) PrepareCache();
  if (frame_.Empty()) return;
  FrameDC frameDc(wnd, given);
  HDC dc = frameDc.get();
  if (!dc) return;
  RECT clip;
  if (given || GetClipBox(dc, &clip) != NULLREGION) {
    PaintBars(dc);
    CopyFrameRing(dc, frame_.Canvas().Handle(), frame_.Width(), frame_.Height(), Edges().left);
  }
}

void TacEditWnd::WndProc(TMessage& m) {
  TsCommonData& sd = *binding_;
  HWND wnd = Wnd();
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (m.WParamHi() == SkinCommand::PrepareCache) {
        PrepareCache();
        return;
      }
      break;
    case WM_NCPAINT:
      if (!sd.IsSkinned()) break;
      NcPaint(nullptr);
      m.Result = 0;
      return;
    case WM_PAINT:
    case WM_ERASEBKGND:
      if (sd.PaintingSuspended || acEngine().EffectRunning) {
        if (m.Msg == WM_PAINT) ValidateRect(wnd, nullptr);
        m.Result = 1;
        return;
      }
      if (!coloursApplied_ && sd.IsSkinned()) ApplyColours();
      break;
    case WM_PRINT:
      if (!sd.IsSkinned()) break;
      if (m.LParam & PRF_NONCLIENT) {
        NcPaint(reinterpret_cast<HDC>(m.WParam));
        RECT wr, cr;
        GetWindowRect(wnd, &wr);
        GetClientRect(wnd, &cr);
        POINT o{0, 0};
        ClientToScreen(wnd, &o);
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SavedDC saved(dc);
        OffsetViewportOrgEx(dc, o.x - wr.left, o.y - wr.top, nullptr);
        IntersectClipRect(dc, 0, 0, cr.right, cr.bottom);
        TMessage paint{WM_PAINT, m.WParam, 0, 0};
        TacScrollWnd::WndProc(paint);
        return;
      }
      break;
    default:
      break;
  }
  const auto alive = AliveToken();
  TacScrollWnd::WndProc(m);
  if (!*alive || !sd.IsSkinned()) return;
  switch (m.Msg) {
    case WM_SIZE:
      SendMessageA(wnd, WM_NCPAINT, 1, 0);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      sd.HasFocus = m.Msg == WM_SETFOCUS;
      sd.CacheStale = true;
      // Only the frame follows the focus: the text keeps the colours it was first painted in,
      // which change with the skin alone.
      if (HotLook() && (!Control() || Control()->CanFocus()))
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return;
    case SM_ALPHACMD:
      // The binding has put the section's normal colours in: the focus decides again.
      if (m.WParamHi() == SkinCommand::NewSkin || m.WParamHi() == SkinCommand::RefreshSkin) coloursApplied_ = false;
      return;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_SETFONT:
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case WM_SETTEXT:
    case EM_REPLACESEL:
    case LB_ADDSTRING:
      if (!busy_) UpdateBars();
      return;
    case WM_MOUSEMOVE:
      if (GetCapture() == wnd && !busy_) UpdateBars();
      return;
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_NCCALCSIZE:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return;
    default:
      // Whatever else moved the text (caret moves, selections, scrolling asked from outside)
      // made the platform draw its own bar: ours goes back over it.
      if (!busy_ && IsWindowVisible(wnd) && InfoChanged()) PaintBars();
      return;
  }
}

void KeepEditHandler(std::unique_ptr<TacEditWnd>& handler, TWinControl& control, TsCommonData& binding) {
  if (!binding.IsSkinned()) {
    handler.reset();
    return;
  }
  if (!control.HandleAllocated() || control.HasState(csDestroying)) return;
  if (handler && !handler->Detached() && handler->Wnd() == control.Handle()) return;
  handler.reset();
  auto h = std::make_unique<TacEditWnd>();
  h->Create(control.Handle(), true, binding.SkinSection(), binding.SkinManager(), &binding);
  handler = std::move(h);
}

void DropEditHandler(std::unique_ptr<TacEditWnd>& handler, TWinControl& control) {
  handler.reset();
  if (control.HandleAllocated() && !control.HasState(csDestroying)) control.RecreateWnd();
}
