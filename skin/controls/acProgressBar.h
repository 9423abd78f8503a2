// The installation's progress bar painted from the skin: a frame section with the progress
// section's blocks (or one smooth bar, or a moving marquee) laid over it. The platform bar keeps
// the position and never paints while a skin is active.
#pragma once

#include <memory>
#include <string>

#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sProgressLayout.h"

enum class TProgressBarStyle { pbstNormal, pbstMarquee };

class TsProgressBar : public TProgressBar {
 public:
  explicit TsProgressBar(TComponent* AOwner);
  ~TsProgressBar() override;
  FRAMEWORK_CLASS(TsProgressBar)

  TsCommonData& SkinData() { return *skinData_; }
  // The filled part's section; empty: PROGRESSH or PROGRESSV by orientation.
  const std::string& ProgressSkin() const { return progressSkin_; }
  void SetProgressSkin(const std::string& value);
  TProgressBarStyle Style() const { return style_; }
  void SetStyle(TProgressBarStyle value);
  int MarqueeInterval() const { return marqueeInterval_; }
  void SetMarqueeInterval(int value) { marqueeInterval_ = value; }

  // Paints frame and blocks into the cache, unless the visible block count is unchanged.
  void PrepareCache();

 protected:
  void WndProc(TMessage& message) override;
  void Loaded() override;

 private:
  bool Skinned() const;
  ProgressBarState BarState() const;
  void PaintBar(HDC given);
  void SkinCommand(TMessage& message);
  void UpdateMarqueeTimer();
  void MarqueeStep();

  std::unique_ptr<TsCommonData> skinData_;
  std::string progressSkin_;
  TProgressBarStyle style_ = TProgressBarStyle::pbstNormal;
  int marqueeInterval_ = 10;
  int paintedBlocks_ = -1;  // -1: the next paint repaints the cache
  int marqueeOffset_ = 0;
  int marqueeDirection_ = 1;
  int savedPosition_ = 0;
  std::unique_ptr<TTimer> marqueeTimer_;
  Bitmap32 answerView_;  // what GetBackgroundInfo answers point at
};
