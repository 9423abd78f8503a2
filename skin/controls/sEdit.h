// A single-line edit painted from its skin section: the platform's edit window keeps the text
// and caret on the section's colours; the skin paints the frame in the non-client area and,
// while disabled, the whole control from its cache.
#pragma once

#include <memory>

#include "framework/StdCtrls.h"
#include "skin/render/sCommonData_win.h"

class TsEdit : public TEdit {
 public:
  explicit TsEdit(TComponent* AOwner);
  ~TsEdit() override;
  FRAMEWORK_CLASS(TsEdit)

  TsCommonData& SkinData() { return *skinData_; }
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);

  // Frame, text and disabled look into the binding's cache.
  void PrepareCache();

 protected:
  void WndProc(TMessage& message) override;
  void Loaded() override;

 private:
  // The width of the frame ring: what the window keeps around its client area.
  int FrameWidth();
  void PaintFrame(HDC dc);
  void PaintDisabled();
  void RepaintWithFrame();
  void SkinCommand(TMessage& message);

  std::unique_ptr<TsCommonData> skinData_;
  TsDisabledKind disabledKind_ = kDefaultDisabledKind;
};
