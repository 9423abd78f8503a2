#include "skin/controls/sShellTreeView.h"

#include "skin/data/sSkinManager_win.h"

namespace {
constexpr int kLabelGap = 3;  // between the bound label's bottom and the tree's top
}

TsShellTreeView::TsShellTreeView(TComponent* AOwner)
    : TShellTreeView(AOwner), skinData_(std::make_unique<TsCommonData>(this, ccTreeView)) {
  skinData_->SetSkinSection("EDIT");
  SetControlStyle(ControlStyle() & ~csOpaque);
  label_ = new TsEditLabel(AOwner ? AOwner : this);
  label_->SetCaption("");
  label_->FreeNotification(this);
}

void TsShellTreeView::Notification(TComponent* component, TOperation operation) {
  TShellTreeView::Notification(component, operation);
  if (operation == TOperation::opRemove && component == label_) label_ = nullptr;
}

// The handler lets go of the window before the binding it borrows goes.
TsShellTreeView::~TsShellTreeView() {
  handler_.reset();
  Destroying();
  DestroyHandle();
}

void TsShellTreeView::SetParent(TWinControl* parent) {
  TShellTreeView::SetParent(parent);
  if (label_) label_->SetParent(parent);
  PlaceLabel();
}

void TsShellTreeView::SetBounds(int left, int top, int width, int height) {
  TShellTreeView::SetBounds(left, top, width, height);
  if (label_) label_->SetBounds(left, top - label_->Height() - kLabelGap, label_->Width(), label_->Height());
}

void TsShellTreeView::PlaceLabel() { SetBounds(Left(), Top(), Width(), Height()); }

void TsShellTreeView::Loaded() {
  TShellTreeView::Loaded();
  skinData_->InitSkin();
  AttachHandler();
}

void TsShellTreeView::CreateHandleDone() {
  TShellTreeView::CreateHandleDone();
  if (!IsLoading()) AttachHandler();
}

void TsShellTreeView::AttachHandler() { KeepEditHandler(handler_, *this, *skinData_); }

void TsShellTreeView::WndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (m.Msg == SM_ALPHACMD) {
    const bool own = m.LParam != 0 && reinterpret_cast<TsSkinManager*>(m.LParam) == sd.Manager();
    switch (m.WParamHi()) {
      case SkinCommand::IsHandled:
        m.Result = 1;
        return;
      case SkinCommand::NewSkin:
      case SkinCommand::RefreshSkin:
        CommonSkinHandler(m, sd);
        if (own) AttachHandler();
        return;
      case SkinCommand::RemoveSkin:
        CommonSkinHandler(m, sd);
        if (own) DropEditHandler(handler_, *this);
        return;
      default:
        CommonSkinHandler(m, sd);
        return;
    }
  }
  if (m.Msg == CM_VISIBLECHANGED && label_) label_->SetVisible(Visible());
  if (CommonSkinHandler(m, sd)) return;
  TShellTreeView::WndProc(m);
  // The platform draws its own scroll bar whenever the tree changes the bar's range or
  // position; the skinned one goes back over it.
  switch (m.Msg) {
    case WM_PAINT:
    case WM_SIZE:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case TVM_EXPAND:
    case TVM_DELETEITEM:
    case TVM_SELECTITEM:
    case TVM_ENSUREVISIBLE:
      if (handler_ && !handler_->Detached()) handler_->UpdateBars();
      break;
    default:
      break;
  }
}
