// A multi-line edit painted from its skin section: the platform's edit window keeps the text
// and caret, a TacEditWnd handler draws the frame and operates skinned scroll bars.
#pragma once

#include <memory>

#include "framework/StdCtrls.h"
#include "skin/controls/acEditWnd.h"
#include "skin/render/sCommonData_win.h"

class TsMemo : public TMemo {
 public:
  explicit TsMemo(TComponent* AOwner);
  ~TsMemo() override;
  FRAMEWORK_CLASS(TsMemo)

  TsCommonData& SkinData() { return *skinData_; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);
  // The handler attached to the window, or nullptr while the memo is not skinned.
  TacEditWnd* Handler() const { return handler_.get(); }

  TNotifyEvent OnScrollCaret;
  TNotifyEvent OnVScroll;

 protected:
  void WndProc(TMessage& message) override;
  void Loaded() override;
  void CreateHandleDone() override;

 private:
  // A skinned memo gets a handler (a detached one is replaced); an unskinned one loses it.
  void AttachHandler();
  void SkinCommand(TMessage& message);
  void RepaintWithFrame();

  std::unique_ptr<TsCommonData> skinData_;
  std::unique_ptr<TacEditWnd> handler_;
  TsDisabledKind disabledKind_ = kDefaultDisabledKind;
  bool attaching_ = false;
};
