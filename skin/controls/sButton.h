// The skinned push button: an owner-drawn platform button whose face is the skin's BUTTON
// section for its state (normal, hot, pressed), painted into a cache bitmap with the caption
// in the section's font colours, cut to the border image's rounded corners through its window
// region, and cross-faded when the mouse enters, leaves, presses or releases it.
#pragma once

#include <memory>

#include "framework/Handles.h"
#include "framework/StdCtrls.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sFade_win.h"
#include "skin/render/sStyleSimply.h"

class TsButton : public TButton {
 public:
  explicit TsButton(TComponent* AOwner);
  ~TsButton() override;
  FRAMEWORK_CLASS(TsButton)

  TsCommonData& SkinData() { return *skinData_; }

  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool v);
  // How far the focus frame lies outside the caption rectangle.
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int v);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);
  // Keeps the button in its pressed state.
  bool Down() const { return down_; }
  void SetDown(bool v);
  TacAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TacAnimatEvents v) { animatEvents_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  int ContentMargin() const { return contentMargin_; }
  void SetContentMargin(int v);

  // 2 pressed, 1 hot (default, focused or under the mouse), 0 normal.
  int CurrentState();
  // Paints the cache for the current state (and starts the window region when one is due).
  void PrepareCache();
  // The fade running now, or nullptr.
  TsFadeTimer* Fade() const { return fade_.get(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Loaded() override;
  void SetButtonStyle(bool isDefault) override;
  // Where the caption goes (moved by 1, 1 when pressed), measured in the canvas's font.
  virtual RECT CaptionRect(TCanvas& canvas, int state);
  virtual void DrawCaption(int state);

 private:
  // Every look property repaints the button when it changes.
  template <class T>
  void ChangeProperty(T& field, T value) {
    if (value == field) return;
    field = value;
    skinData_->RepaintOwner();
  }
  bool CanSkinPaint();
  bool Pushed();
  void PaintHandler(TMessage& message);
  // Hands the region built by the last PrepareCache to the window.
  void ApplyRegion(HDC dc);
  void CopyBorderStrips(HDC dc, int state);
  void SkinCommand(TMessage& message);
  void Transition(TacAnimEvent event);
  void StateSet(TMessage& message);
  void MouseUp(TMessage& message);
  void FocusChange(TMessage& message);
  void Repaint(bool stopFade);
  void PaintUnskinned(const DRAWITEMSTRUCT& item);

  std::unique_ptr<TsCommonData> skinData_;
  TsFadeSlot fade_;
  bool showFocus_ = true;
  int focusMargin_ = 1;
  TsDisabledKind disabledKind_ = dkBlended;
  bool down_ = false;
  TacAnimatEvents animatEvents_ = aeGlobalDef;
  bool wordWrap_ = true;
  int contentMargin_ = 6;

  bool default_ = false;         // the form's default button now
  bool pressedByMouse_ = false;  // the left button went down on it and has not come up
  bool repaintAll_ = false;      // every paint rebuilds the cache and the region
  int mouseMessage_ = 0;         // the button message being handled (press and release)
  int paintedState_ = -1;        // the state the cache shows
  UniqueRegion region_;          // built by PrepareCache, not yet the window's
  bool placeholderRegion_ = true;  // the window has had no region of ours yet
  RECT regionBounds_{};          // the bounds the window's region was made for
};
