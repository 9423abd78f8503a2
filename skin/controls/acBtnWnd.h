// The push-button handler: skins a standard push button (a framework TButton that the control
// adapter found, or a button inside a skinned native dialog) without the control's help. It
// paints the whole window from the skin's BUTTON section with the caption, and keeps the
// platform from painting its own face on state changes.
#pragma once

#include "skin/controls/acSBUtils.h"

class TacBtnWnd : public TacMainWnd {
 public:
  FRAMEWORK_CLASS(TacBtnWnd)
  void WndProc(TMessage& m) override;

  // 0 normal, 1 hot (focused, under the mouse or default), 2 pressed.
  int ButtonState() const;
  // Paints the face into the handler's cache.
  void PrepareCache();
  const TBitmap& Cache() const { return cache_; }
  // Where the caption is written, in window coordinates, for a button state.
  RECT CaptionRect(HDC measure, int state) const;

 protected:
  void CreateParts(bool repaintFrame) override;

 private:
  HFONT Font() const;
  UINT TextFlags() const;
  void DrawCaption(int state);
  void Paint(TMessage& m);
  // Passes a message on with redrawing off, then repaints from a fresh cache.
  void QuietStateChange(TMessage& m, UINT redrawFlags);
  void Redraw(UINT flags);
  bool HotTracked() const;

  TBitmap cache_;
};
