#include "skin/frame/acFormBackground.h"

#include "skin/data/sSkinManager_win.h"
#include "skin/render/sStyleSimply_win.h"

TacFormBackground::TacFormBackground(TForm* form)
    : TComponent(form), form_(form), formProc_(form->WindowProc),
      skinData_(std::make_unique<TsCommonData>(form, ccSkinProvider)) {
  skinData_->SetSkinSection("FORM");
  form_->WindowProc = [this](TMessage& m) { FormWndProc(m); };
}

TacFormBackground::~TacFormBackground() { form_->WindowProc = formProc_; }

void TacFormBackground::Loaded() {
  TComponent::Loaded();
  skinData_->UpdateIndexes();
}

void TacFormBackground::FormWndProc(TMessage& m) {
  TsCommonData& sd = *skinData_;
  if (m.Msg == SM_ALPHACMD) {
    const uint16_t command = m.WParamHi();
    if (command == SkinCommand::GetNeedsRepaint) {
      m.Result = 0;  // the form paints straight onto the screen: nothing of it is pending
      return;
    }
    CommonSkinHandler(m, sd);
    if (command == SkinCommand::NewSkin || command == SkinCommand::RemoveSkin ||
        command == SkinCommand::RefreshSkin) {
      SendToChildren(form_, m.Msg, m.WParam, m.LParam);
      if (form_->HandleAllocated() && IsWindowVisible(form_->Handle()))
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    return;
  }
  if (m.Msg == WM_ERASEBKGND && m.WParam && sd.IsSkinned()) {
    RECT r;
    GetClientRect(form_->Handle(), &r);
    FillDcRect(reinterpret_cast<HDC>(m.WParam), r, sd.GetBgColor(0));
    m.Result = 1;
    return;
  }
  formProc_(m);
}
