// Native dialogs ("#32770": the system's message boxes) skinned without their cooperation:
// the dialog handler paints the frame, caption and title buttons from the skin like a form's
// provider, fills the client area with the DIALOG section, and gives the dialog's static texts,
// icons and push buttons handlers of their own.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "skin/controls/acSBUtils.h"
#include "skin/frame/acTitleAnimation.h"
#include "skin/render/sTitleLayout.h"

class TacProvider;

class TacDialogWnd : public TacMainWnd {
 public:
  // `entry` is told when the window is gone.
  explicit TacDialogWnd(TacProvider* entry);
  ~TacDialogWnd() override;
  FRAMEWORK_CLASS(TacDialogWnd)
  void WndProc(TMessage& m) override;

  TsFrameMetrics Metrics() const;
  POINT ClientOrigin() const;
  // The close button's rectangle in window coordinates (empty without one).
  TsRect CloseRect() const { return buttons_[tbClose].Rect; }
  int32_t HotCode() const { return hotCode_; }
  // The close button's hover animation, or nullptr while it has none.
  const TacSBAnimation* CloseAnimation() const { return buttons_[tbClose].Animation.get(); }
  bool FormActive() const { return active_; }
  // Gives the dialog's child windows their handlers (again: new ones only).
  void AttachChildren();
  // The dialog's frame painted into its cache, then onto the window.
  void RepaintFrame();
  // The skinned system menu at a screen point.
  void ShowSystemMenu(int x, int y);

 protected:
  void CreateParts(bool repaintFrame) override;
  // The system's frame back: its system menu, no region.
  void RestoreLook() override;

 private:
  struct Button {
    int32_t ImageIndex = -1;
    bool Visible = false;
    int32_t State = 0;
    TsRect Rect;
    std::unique_ptr<TacSBAnimation> Animation;  // from the first state change, while allowed
  };

  static BOOL CALLBACK AttachChild(HWND child, LPARAM self);
  void ChooseImages();
  void PrepareCache();
  void PaintCaption(const TsTitleLayout& layout);
  void PaintFrame(HDC dc);
  void ApplyRegion();
  bool CacheMatches() const;
  int32_t HitTest(POINT screen);
  void SetHot(int32_t code, bool pressed);
  bool AnimationsAllowed() const;
  void StopAnimations();
  void EraseClient(HDC dc);
  bool AnswerSkinCommand(TMessage& m);

  TacProvider* entry_;
  LONG_PTR style_ = 0, exStyle_ = 0;
  bool active_ = true;
  bool regionChanged_ = true;
  bool childrenAttached_ = false;
  bool pressed_ = false;
  int32_t hotCode_ = 0;
  std::array<Button, kSystemButtons> buttons_;
};

// The handler of a dialog's static text or icon: drawn over what the dialog shows behind it.
class TacStaticWnd : public TacMainWnd {
 public:
  FRAMEWORK_CLASS(TacStaticWnd)
  void WndProc(TMessage& m) override;

 private:
  bool DrawnBySkin() const;
  void Paint(HDC dc);
  TBitmap picture_;
};

// Skins a top-level "#32770" window (the hook's dialog branch); nullptr when the rules leave
// it alone.
TacProvider* acSkinNativeDialog(HWND dialog);
