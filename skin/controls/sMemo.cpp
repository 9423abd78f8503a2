#include "skin/controls/sMemo.h"

#include "skin/data/sSkinManager_win.h"

TsMemo::TsMemo(TComponent* AOwner) : TMemo(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccMemo)) {
  skinData_->SetDefaultSection();
  SetControlStyle(ControlStyle() & ~csOpaque);
}

// The handler lets go of the window before the binding it borrows goes.
TsMemo::~TsMemo() { handler_.reset(); }

void TsMemo::SetDisabledKind(TsDisabledKind v) {
  if (v == disabledKind_) return;
  disabledKind_ = v;
  skinData_->RepaintOwner();
}

void TsMemo::Loaded() {
  TMemo::Loaded();
  skinData_->InitSkin();
  AttachHandler();
}

void TsMemo::CreateHandleDone() {
  TMemo::CreateHandleDone();
  if (!IsLoading()) AttachHandler();
}

void TsMemo::AttachHandler() {
  if (attaching_) return;
  attaching_ = true;
  KeepEditHandler(handler_, *this, *skinData_);
  attaching_ = false;
}

void TsMemo::RepaintWithFrame() {
  if (HandleAllocated() && !IsLoading())
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TsMemo::SkinCommand(TMessage& m) {
  TsCommonData& sd = *skinData_;
  const bool own = reinterpret_cast<TsSkinManager*>(m.LParam) == sd.Manager() && m.LParam != 0;
  switch (m.WParamHi()) {
    case SkinCommand::IsHandled:
      m.Result = 1;
      return;
    case SkinCommand::GetDisabledKind:
      m.Result = disabledKind_;
      return;
    case SkinCommand::NewSkin:
    case SkinCommand::RefreshSkin:
      CommonSkinHandler(m, sd);
      if (own) {
        AttachHandler();
        RepaintWithFrame();
      }
      return;
    case SkinCommand::RemoveSkin:
      CommonSkinHandler(m, sd);
      if (own) DropEditHandler(handler_, *this);
      return;
    default:
      CommonSkinHandler(m, sd);
  }
}

void TsMemo::WndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  switch (m.Msg) {
    case SM_ALPHACMD:
      SkinCommand(m);
      return;
    case WM_PAINT:
      if (sd.PaintingSuspended && sd.IsSkinned()) {
        ValidateRect(Handle(), nullptr);
        return;
      }
      break;
    case EM_SCROLLCARET:
      TMemo::WndProc(m);
      if (OnScrollCaret) OnScrollCaret(this);
      return;
    case WM_VSCROLL:
      TMemo::WndProc(m);
      if (OnVScroll) OnVScroll(this);
      return;
    case CM_FONTCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      CommonSkinHandler(m, sd);
      TMemo::WndProc(m);
      if (m.Msg == CM_VISIBLECHANGED && Visible()) AttachHandler();
      sd.CacheStale = true;
      RepaintWithFrame();
      return;
    case CM_TEXTCHANGED:
      TMemo::WndProc(m);
      if (handler_) handler_->UpdateBars();
      return;
    default:
      break;
  }
  if (CommonSkinHandler(m, sd)) return;
  TMemo::WndProc(m);
}
