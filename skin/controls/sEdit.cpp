#include "skin/controls/sEdit.h"

#include <algorithm>

#include "framework/Handles.h"
#include "skin/controls/acSBUtils.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sGraphUtils_win.h"
#include "skin/render/sStyleSimply.h"
#include "skin/render/sStyleSimply_win.h"

TsEdit::TsEdit(TComponent* AOwner) : TEdit(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccEdit)) {
  skinData_->SetDefaultSection();
}

TsEdit::~TsEdit() = default;

void TsEdit::Loaded() {
  TEdit::Loaded();
  skinData_->InitSkin();
}

void TsEdit::SetDisabledKind(TsDisabledKind v) {
  if (v == disabledKind_) return;
  disabledKind_ = v;
  skinData_->RepaintOwner();
}

int TsEdit::FrameWidth() {
  if (!HandleAllocated()) return 0;
  RECT wr;
  GetWindowRect(Handle(), &wr);
  POINT o{0, 0};
  ::ClientToScreen(Handle(), &o);
  return std::max(0, static_cast<int>(o.x - wr.left));
}

void TsEdit::PrepareCache() {
  TsCommonData& sd = *skinData_;
  sd.InitCache();
  if (!sd.Cache() || sd.Cache()->Empty()) return;
  BackgroundSource bg;
  sd.GetOwnBgInfo(bg);
  Bitmap32 view = sd.CacheView();
  const int state = sd.IsActiveLook() ? 1 : 0;
  PaintSection(sd.Binding(), bg, true, view, TsPoint{Left(), Top()}, TsRect{0, 0, Width(), Height()}, state);
  const int b = FrameWidth();
  RECT text{b + 1, b + 1, Width() - b, Height() - b};
  {
    TCanvas canvas;
    TCanvasPaintScope scope(canvas, sd.Cache()->Canvas().Handle(), Font(), Color());
    WriteSkinText(canvas, Text(), true, state == 1, sd, DT_SINGLELINE | DT_NOPREFIX | DT_TOP, text);
  }
  if (!Enabled()) PaintDisabledLookWin(view, disabledKind_, Parent(), TsPoint{Left(), Top()}, bg);
  sd.CacheStale = false;
}

void TsEdit::PaintFrame(HDC dc) {
  TsCommonData& sd = *skinData_;
  if (sd.CacheStale || !sd.Cache() || sd.Cache()->Empty()) PrepareCache();
  if (!sd.Cache() || sd.Cache()->Empty()) return;
  RestoreCorners(sd, sd.IsActiveLook() ? 1 : 0);
  CopyFrameRing(dc, sd.Cache()->Canvas().Handle(), Width(), Height(), FrameWidth());
}

void TsEdit::PaintDisabled() {
  TsCommonData& sd = *skinData_;
  PaintDC pdc(Handle());
  if (sd.CacheStale && !sd.UrgentPaint) PrepareCache();
  if (!sd.Cache() || sd.Cache()->Empty()) return;
  RestoreCorners(sd, 0);
  const int b = FrameWidth();
  BitBlt(pdc.get(), 0, 0, Width() - 2 * b, Height() - 2 * b, sd.Cache()->Canvas().Handle(), b, b, SRCCOPY);
}

void TsEdit::RepaintWithFrame() {
  skinData_->CacheStale = true;
  if (HandleAllocated() && !IsLoading() && !acEngine().EffectRunning)
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TsEdit::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  const bool own = m.LParam != 0 && reinterpret_cast<TsSkinManager*>(m.LParam) == sd.Manager();
  switch (m.WParamHi()) {
    case SkinCommand::IsHandled:
      m.Result = 1;
      return;
    case SkinCommand::GetTransparency:
      m.Result = 0;
      return;
    case SkinCommand::GetBackgroundColor:
      if (!sd.IsSkinned()) {
        m.Result = static_cast<LRESULT>(static_cast<uint32_t>(ColorToRGB(Color())));
        return;
      }
      break;
    case SkinCommand::GetDisabledKind:
      m.Result = disabledKind_;
      return;
    case SkinCommand::PrepareCache:
      PrepareCache();
      return;
    case SkinCommand::NewSkin:
    case SkinCommand::RemoveSkin:
    case SkinCommand::RefreshSkin:
      CommonSkinHandler(m, sd);
      // The frame is the platform's again, or ours again.
      if (own && HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      if (own) RepaintWithFrame();
      return;
    default:
      break;
  }
  CommonSkinHandler(m, sd);
}

void TsEdit::WndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (m.Msg == SM_ALPHACMD) {
    SkinCommand(m);
    return;
  }
  if (!sd.IsSkinned() || !HandleAllocated()) {
    if (m.Msg != WM_PAINT && m.Msg != WM_NCPAINT && CommonSkinHandler(m, sd)) return;
    TEdit::WndProc(m);
    return;
  }
  const bool quiet = acEngine().EffectRunning || sd.PaintingSuspended;
  switch (m.Msg) {
    case WM_NCPAINT: {
      if (quiet) return;
      if (FrameDC dc(Handle()); dc.get()) PaintFrame(dc.get());
      m.Result = 0;
      return;
    }
    case WM_PAINT:
      if (quiet) {
        ValidateRect(Handle(), nullptr);
        return;
      }
      if (!Enabled() && !m.WParam) {
        PaintDisabled();
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (quiet || !Enabled()) {
        m.Result = 1;
        return;
      }
      break;
    case WM_PRINT: {
      if (!m.WParam) break;
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      PrepareCache();
      RestoreCorners(sd, 0);
      BitBlt(dc, 0, 0, Width(), Height(), sd.Cache()->Canvas().Handle(), 0, 0, SRCCOPY);
      const int b = FrameWidth();
      SavedDC saved(dc);
      OffsetViewportOrgEx(dc, b, b, nullptr);
      IntersectClipRect(dc, 0, 0, Width() - 2 * b, Height() - 2 * b);
      TMessage client{WM_PRINTCLIENT, m.WParam, PRF_CLIENT, 0};
      TEdit::WndProc(client);
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  if (CommonSkinHandler(m, sd)) return;
  TEdit::WndProc(m);
  switch (m.Msg) {
    case WM_SIZE:
      SendMessageA(Handle(), WM_NCPAINT, 1, 0);
      break;
    case WM_KILLFOCUS:
      sd.HasFocus = false;
      sd.MouseOver = false;
      sd.CacheStale = true;
      if (IsWindowVisible(Handle())) RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      RepaintWithFrame();
      break;
    case CN_COMMAND:
      if (HIWORD(m.WParam) == EN_CHANGE) sd.CacheStale = true;
      break;
    case CM_COLORCHANGED:
      if (sd.CustomColor()) sd.CacheStale = true;
      break;
    default:
      break;
  }
}
