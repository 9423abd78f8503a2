// A group box painted from its skin section: the frame's top line runs through the middle of
// the caption band, the band above it shows the parent, the caption sits on its own patch.
#pragma once

#include <memory>
#include <string>

#include "framework/StdCtrls.h"
#include "skin/render/sCommonData_win.h"

enum class TsCaptionLayout { clTopLeft, clTopCenter, clTopRight };

class TsGroupBox : public TGroupBox {
 public:
  explicit TsGroupBox(TComponent* AOwner);
  ~TsGroupBox() override;
  FRAMEWORK_CLASS(TsGroupBox)

  TsCommonData& SkinData() { return *skinData_; }
  TsCaptionLayout CaptionLayout() const { return captionLayout_; }
  void SetCaptionLayout(TsCaptionLayout v);
  int CaptionYOffset() const { return captionYOffset_; }
  void SetCaptionYOffset(int v);
  const std::string& CaptionSkin() const { return captionSkin_; }
  void SetCaptionSkin(const std::string& v);

  // Where the caption's patch lies (the band's height comes from the canvas font).
  RECT CaptionRect();
  // The height of the band the caption sits in.
  int CaptionBandHeight();
  void PrepareCache();

 protected:
  void WndProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void Loaded() override;

 private:
  bool CanSkinPaint();
  void PaintCaption(TCanvas& canvas, const BackgroundSource& bg);
  void SkinCommand(TMessage& message);
  // The band height and the caption's width in the font, measured once per font and caption.
  void Measure();

  std::unique_ptr<TsCommonData> skinData_;
  TsCaptionLayout captionLayout_ = TsCaptionLayout::clTopLeft;
  int captionYOffset_ = 0;
  std::string captionSkin_;
  int bandHeight_ = -1;
  int captionWidth_ = 0;
  Bitmap32 answerView_;  // what a bitmap answer to a child points at
};
