// The edit handler: the skinned frame and colours of an edit window, over its skinned
// scroll bars.
#pragma once

#include <memory>

#include "skin/controls/acScrollWnd.h"

class TacEditWnd : public TacScrollWnd {
 public:
  FRAMEWORK_CLASS(TacEditWnd)
  void WndProc(TMessage& m) override;
  // Paints the frame into the handler's frame cache.
  void PrepareCache();

 protected:
  void CreateParts(bool repaintFrame) override;
  void SaveLook() override;
  void RestoreLook() override;
  void ApplyColours() override;

 private:
  bool HotLook() const;
  void NcPaint(HDC given);
  bool applying_ = false;

  TColor savedColor_ = clWindow;
  TColor savedFontColor_ = clWindowText;
  TColor savedFocusColor_ = clFuchsia;
  TBitmap frame_;
};

// Keeps an edit handler on a control's window while its binding is skinned: a skinned control
// with a window gets one (a detached one, or one of an old window, is replaced); an unskinned
// one loses it.
void KeepEditHandler(std::unique_ptr<TacEditWnd>& handler, TWinControl& control, TsCommonData& binding);
// The skin is gone: the handler lets go, and the platform's own frame and bars come back with
// a new window.
void DropEditHandler(std::unique_ptr<TacEditWnd>& handler, TWinControl& control);
