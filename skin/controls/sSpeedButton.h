// A flat skinned button without focus for a place inside another control: its face is its
// skin section for the state (normal, hot under the mouse, pressed while held), with a glyph
// from an alpha image list centred on it; a press and release over it clicks it. The mouse
// entering and leaving it fades between the normal and the hot face.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sFade_win.h"

class TsSpeedButton : public TCustomControl {
 public:
  explicit TsSpeedButton(TComponent* AOwner);
  ~TsSpeedButton() override;
  FRAMEWORK_CLASS(TsSpeedButton)

  TsCommonData& SkinData() { return *skinData_; }
  // The glyph: a strip of cells (normal, disabled, pressed) of `GlyphWidth` pixels each.
  void SetGlyph(const TsAlphaImageList* images, int index, int cellWidth);
  // 2 pressed, 1 hot, 0 normal.
  int CurrentState() const;
  // Paints the face for the present state into the binding's cache.
  void PrepareCache();
  // The hover fade running now, or nullptr.
  TsFadeTimer* Fade() const { return fade_.get(); }

 protected:
  void WndProc(TMessage& message) override;
  void Paint() override;
  void Loaded() override;
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  void PressChanged(bool pressed);
  void SkinCommand(TMessage& message);

  std::unique_ptr<TsCommonData> skinData_;
  TsFadeSlot fade_;
  const TsAlphaImageList* images_ = nullptr;
  int imageIndex_ = -1;
  int cellWidth_ = 16;
  bool held_ = false;     // the left button went down on it and is still down
  bool pressed_ = false;  // held, and the mouse is over it
};
