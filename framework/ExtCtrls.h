// Panel, image and timer.
#pragma once

#include "framework/Controls.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// A container painted by itself ("TPanel"): its colour, bevels and centred caption.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  FRAMEWORK_CLASS(TPanel)

  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;

 private:
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  int bevelWidth_ = 1;
  TAlignment alignment_ = TAlignment::taCenter;
};

// A windowless picture: the bitmap drawn unscaled at the control's top-left corner (or
// stretched to its size), clipped by the control's bounds.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  FRAMEWORK_CLASS(TImage)

  TBitmap& Picture() { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);

 protected:
  void Paint() override;

 private:
  TBitmap picture_;
  bool stretch_ = false;
};

// A window-message timer on a hidden utility window (class "TPUtilWindow").
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  FRAMEWORK_CLASS(TTimer)

  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TNotifyEvent OnTimer;

 protected:
  void Loaded() override;

 private:
  void UpdateTimer();
  void TimerWndProc(TMessage& message);

  unsigned interval_ = 1000;
  bool enabled_ = true;
  HWND window_ = nullptr;
};

// A hidden top-level window of class "TPUtilWindow" whose messages go to `method`.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);
