// Native dialogs ("#32770": the system's message boxes) skinned without their cooperation:
// the dialog handler paints the frame, caption and title buttons from the skin like a form's
// provider, fills the client area with the DIALOG section, and gives the dialog's static texts,
// icons and push buttons handlers of their own.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "skin/controls/acSBUtils.h"
#include "skin/frame/acFrameSkin.h"
#include "skin/frame/acTitleAnimation.h"
#include "skin/render/sTitleLayout.h"

class TacProvider;

class TacDialogWnd : public TacMainWnd, private TacFrameHost {
 public:
  // `entry` is told when the window is gone.
  explicit TacDialogWnd(TacProvider* entry);
  ~TacDialogWnd() override;
  FRAMEWORK_CLASS(TacDialogWnd)
  void WndProc(TMessage& m) override;

  TsFrameMetrics Metrics() const;
  POINT ClientOrigin() const;
  // The close button's rectangle in window coordinates (empty without one).
  TsRect CloseRect() const { return frame_.ButtonAt(tbClose).Rect; }
  int32_t HotCode() const { return frame_.HotCode(); }
  // The close button's hover animation, or nullptr while it has none.
  const TacSBAnimation* CloseAnimation() const { return frame_.ButtonAt(tbClose).Animation.get(); }
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
  static BOOL CALLBACK AttachChild(HWND child, LPARAM self);
  void ChooseImages();
  int32_t HitTest(POINT screen);
  void StopAnimations();
  void EraseClient(HDC dc);
  bool AnswerSkinCommand(TMessage& m);

  // The frame's host: a dialog is known by its window's styles, kept when the skin took it.
  HWND FrameWindow() const override { return Wnd(); }
  TsCommonData& FrameBinding() const override { return *binding_; }
  std::string FrameCaption() const override;
  TacCaptionLook CaptionLook() const override;
  TsFrameMetrics FrameMetrics() const override { return Metrics(); }
  POINT FrameClientOrigin() const override { return ClientOrigin(); }
  bool FrameActive() const override { return active_; }
  bool FrameZoomed() const override { return false; }
  std::string TitleSection() const override { return "FORMTITLE"; }
  bool DrawsTitle() const override { return true; }
  bool ButtonShown(TsTitleButton b) const override;
  bool ButtonEnabled(int32_t) const override { return true; }
  bool ButtonPressable(int32_t) const override { return true; }
  bool BigSetSpacing() const override;
  bool FrameCanPrepare() const override { return true; }
  bool FrameCanPaint() const override { return IsWindowVisible(Wnd()) != FALSE; }
  bool TitleAnimationsAllowed() const override;
  bool ButtonsGlow() const override { return false; }
  bool GlowWindowAllowed() const override { return false; }
  bool PaintsFramePieces() const override { return false; }
  bool RegionWanted() const override;
  std::optional<std::vector<TsSysMenuItem>> SystemMenuItems() override;
  void FrameCacheMade() override {}
  void FrameCachePainted() override {}

  TacProvider* entry_;
  LONG_PTR style_ = 0, exStyle_ = 0;
  bool active_ = true;
  bool childrenAttached_ = false;
  // The dialog background's brush, remade when the skin's colour changes.
  UniqueBrush backgroundBrush_;
  TColor backgroundColour_ = clFuchsia;
  TacFrameSkin frame_{*this};
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
