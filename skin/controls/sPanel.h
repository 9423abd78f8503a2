// A panel painted from its skin section: from its cache while it must follow its parent or
// looks active, straight onto the device context while it is solid. It answers its
// children's background questions with its face.
#pragma once

#include <functional>
#include <memory>

#include "framework/ExtCtrls.h"
#include "skin/render/sCommonData_win.h"

using TPaintCanvasEvent = std::function<void(TObject* Sender, TCanvas& Canvas)>;

class TsPanel : public TPanel {
 public:
  explicit TsPanel(TComponent* AOwner);
  ~TsPanel() override;
  FRAMEWORK_CLASS(TsPanel)

  TsCommonData& SkinData() { return *skinData_; }
  // Called after the skinned face and caption are painted, with the canvas painted on.
  TPaintCanvasEvent OnPaint;

  // Paints the panel's face, caption and OnPaint into its cache.
  void PrepareCache();
  // A change of the outer bevel takes the section that belongs to the new bevel along.
  void Invalidate() override;

 protected:
  void WndProc(TMessage& message) override;
  void PaintWindow(HDC dc) override;
  void Loaded() override;

 private:
  bool CanSkinPaint();
  // The whole skinned paint onto dc: cached or plain.
  void SkinPaint(HDC dc);
  void PaintPlain(HDC dc);
  // Paints the border image into the cache and copies its strips of width b onto dc.
  void PaintBorderStrips(HDC dc, int b, TColor behind);
  void PaintCaption(TCanvas& canvas);
  void SkinCommand(TMessage& message);
  void FollowBevel();

  std::unique_ptr<TsCommonData> skinData_;
  TBevelCut notedBevel_ = TBevelCut::bvRaised;
  bool paintingCopy_ = false;
};
