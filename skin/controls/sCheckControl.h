// What skinned check boxes and radio buttons share: the published look properties, the face
// painted into the binding's cache (parent background, section, caption, glyph, focus dots,
// disabled look), the paint handler, the mouse and space-key rules that change the state only
// on release, fading, AutoSize and the skin commands. Windows' own button window keeps the
// check state (so BM_GETCHECK answers truly) but never paints or clicks while skinned.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/StdCtrls.h"
#include "skin/render/sBoxLayout.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sFade_win.h"

template <class Base>
class TsCheckControl : public Base {
 public:
  TsCheckControl(TComponent* AOwner, int32_t classCode);
  ~TsCheckControl() override;

  TsCommonData& SkinData() { return *skinData_; }

  int Margin() const { return margin_; }
  void SetMargin(int v);
  int TextIndent() const { return textIndent_; }
  void SetTextIndent(int v);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool v);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind v);
  // Custom glyphs in place of the skin images: a strip of square state cells, or one picture.
  const TBitmap& GlyphChecked() const { return glyphChecked_; }
  void SetGlyphChecked(const TBitmap& v);
  const TBitmap& GlyphUnChecked() const { return glyphUnChecked_; }
  void SetGlyphUnChecked(const TBitmap& v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TacAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TacAnimatEvents v) { animatEvents_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);

  // Paints the face for the present state into the binding's cache.
  void PrepareCache();
  // The glyph cell shown now: 0 normal, 1 hot, 2 pressed.
  int GlyphState() const;
  // The left button or the space key is held on the control.
  bool Pressed() const { return pressed_; }
  // A cross-fade to a new look is running.
  bool Fading() const { return fade_ && fade_->FadeKind != 0; }
  // Where the glyph and the caption lie in the control.
  TsRect GlyphRect();
  TsRect CaptionRect();
  // Fits the size to glyph and caption now (only with AutoSize, not while loading).
  void ApplyAutoSize();
  void BeforeDestruction() override;

 protected:
  void WndProc(TMessage& message) override;
  void Loaded() override;

  // 0 unchecked, 1 checked, 2 grayed: what the control shows and Windows' BM_GETCHECK says.
  virtual int CheckValue() const = 0;
  // Takes over a check state that BM_SETCHECK brought from outside.
  virtual void AdoptCheck(int value) = 0;
  // The GLOBALINFO image of the present check state (-1: none).
  virtual int32_t SkinGlyphIndex(const TsSkinModel& model) const = 0;
  // What a completed click or space press does.
  virtual void Activate() = 0;
  // The look follows a changed check state.
  virtual void ShowCheckChange() = 0;
  // A skin was refreshed for this control.
  virtual void SkinRefreshed() {}

  // Fades (or repaints at once) after the state flags changed for `event`.
  void Changed(int event, bool halfFrames);

 private:
  bool SkinPainting();
  TsBoxLayout Layout();
  TsBoxSize GlyphSize();
  TBitmap* CustomGlyph();
  void PaintCaption(TCanvas& canvas, bool hot);
  void PaintGlyph(Bitmap32& cache);
  void PaintTo(HDC dc);
  void PaintMessage(TMessage& message);
  void Press();
  void Release();
  // Lets Windows' button handle a message without painting over the skinned face.
  void PassQuietly(TMessage& message);
  void SkinCommand(TMessage& message);
  void LookChanged();

  std::unique_ptr<TsCommonData> skinData_;
  TsFadeSlot fade_;
  TBitmap glyphChecked_;
  TBitmap glyphUnChecked_;
  int margin_ = 2;
  int textIndent_ = 0;
  bool showFocus_ = true;
  TsDisabledKind disabledKind_ = kDefaultDisabledKind;
  bool readOnly_ = false;
  TacAnimatEvents animatEvents_ = aeGlobalDef;
  bool wordWrap_ = false;
  bool autoSize_ = true;
  bool pressed_ = false;
  bool gainingFocus_ = false;  // inside WM_SETFOCUS: Windows' click-on-focus is not a click
};

extern template class TsCheckControl<TCheckBox>;
extern template class TsCheckControl<TRadioButton>;
