// The skin binding every skinned control owns: its section and the indexes resolved from it,
// its cache bitmap, focus and mouse-over, when the cache must be repainted, the answers to
// the skin command message, and what lies behind the control for its children.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/data/sConst.h"
#include "skin/render/sBackgroundSource.h"
#include "skin/render/sStyleSimply.h"

class TsSkinManager;
class TsSkinModel;
struct TsGeneralData;

// StateFlags bits.
enum : uint16_t {
  sfSolid = 0x1,      // paints a solid, position-independent background
  sfPrinting = 0x200, // the control is printing itself
  sfUpdating = 0x800, // painting suspended by BeginUpdate
};

class TsCommonData : public TObject {
 public:
  TsCommonData(TControl* owner, int32_t classCode);
  ~TsCommonData() override;
  FRAMEWORK_CLASS(TsCommonData)

  // ---- Published ----
  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& value);
  // The manager to use; nullptr means the default manager.
  TsSkinManager* SkinManager() const { return skinManager_; }
  void SetSkinManager(TsSkinManager* value);
  bool CustomColor() const { return customColor_; }
  void SetCustomColor(bool value);
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool value);
  int32_t HUEOffset() const { return hueOffset_; }
  void SetHUEOffset(int32_t value);
  int32_t Saturation() const { return saturation_; }
  void SetSaturation(int32_t value);

  // ---- Fields ----
  int32_t GlowHandle = -1;
  bool PaintingSuspended = false;
  int32_t BorderMaskIndex = -1;
  int32_t SectionIndex = -1;
  int32_t TextureIndex = -1;
  int32_t HotTextureIndex = -1;
  bool UrgentPaint = false;
  bool CacheStale = true;
  bool PartlyVisible = true;
  TControl* OwnerControl = nullptr;
  TObject* OwnerObject = nullptr;
  int32_t ClassCode = 0;
  bool HasFocus = false;
  bool MouseOver = false;
  uint16_t StateFlags = 0;
  uint16_t BackgroundKind = 0;
  HDC PrintDc = nullptr;

  // The cache bitmap (32 bits per pixel); null until InitCache.
  TBitmap* Cache() const { return cache_.get(); }
  // The cache's pixels; an empty view without a cache.
  Bitmap32 CacheView() const;
  // Shrinks the cache to 0 x 0 (hidden owners give their memory back).
  void ReleaseCache();

  // The manager in effect: the own one, else the default manager.
  TsSkinManager* Manager() const;
  const TsSkinModel* Model() const;
  // The section record while skinned, else nullptr.
  const TsGeneralData* Section() const;
  // What the neutral painters need of this binding.
  TsSectionBinding Binding() const;

  bool IsSkinned(bool needActive = false) const;
  void SetDefaultSection();
  void UpdateIndexes();
  void UpdateColors(bool repaint);
  void InitSkin();
  void InitCache();
  void RepaintOwner();
  void BeginUpdate();
  void EndUpdate(bool repaint);
  bool IsPaintingSuspended() const;
  bool IsActiveLook() const;
  bool MustRepaint() const;
  bool IsSolid() const;
  bool NeedsParentBackground() const;
  // The colour to put behind the control for `state`; `wnd` stands for the owner when the
  // binding has no owner control.
  TColor GetBgColor(int state = 0, HWND wnd = nullptr) const;
  // The answer to GetBackgroundInfo.
  void FillBgQuery(ParentBgQuery& query, int state = 0, HWND wnd = nullptr);
  // What lies behind the owner.
  void GetOwnBgInfo(BackgroundSource& info) const;
  // The widest side of the border image (0 without one or when it is left out in state 0).
  int32_t BorderWidth() const;
  // The answer to GetBackgroundColor (what a child should blend with).
  TColor BackgroundColorAnswer() const;
  // For a section with GLOW: shows the glow around the control's visible part while the mouse
  // is over it, removes it when the mouse is not, while the left button is down on it and
  // (with `pressing`) on a press or release.
  void UpdateGlow(bool pressing);
  // Removes the control's glow window, if it has one.
  void RemoveGlow();

  // The owner's window, or nullptr.
  HWND OwnerHandle() const;
  // The owner is being destroyed.
  bool OwnerDestroying() const;
  // The owner is being loaded or read.
  bool OwnerLoading() const;

 private:
  friend bool CommonSkinHandler(TMessage& message, TsCommonData& sd);
  bool SkinCommandHandler(TMessage& message);
  void RecomputeSolid();

  std::string skinSection_;
  TsSkinManager* skinManager_ = nullptr;
  bool customColor_ = false;
  bool customFont_ = false;
  int32_t hueOffset_ = 0;
  int32_t saturation_ = 0;
  std::unique_ptr<TBitmap> cache_;
  Bitmap32 cacheView_;  // what bitmap answers to children point at
};

// After a container painted: its showing child windows may paint now (ResumePainting).
void ResumeChildrenPainting(TWinControl* parent);
// The answer to ResumePainting: a suspended owner looks again and, when free, repaints at once.
void ResumeOwnPainting(TsCommonData& sd);

// Every skinned control passes each message here first; true means it was answered.
bool CommonSkinHandler(TMessage& message, TsCommonData& sd);

// The section whose font colour a windowless child uses: the parent's section, one level
// higher while that section is more than half transparent, taken only when it gives its font.
int32_t FindFontSection(TControl* control, int32_t fallback, TsSkinManager* manager);

// Re-takes the key-coloured corner pixels of the binding's cache from what now lies behind
// the owner.
void RestoreCorners(TsCommonData& sd, int state);
// Copies `src` of the binding's cache onto `dst` of dc (offsets move the children's
// rectangles into dc's coordinates), leaving out the areas of opaque child windows and of
// windowless children.
void CopyCacheToDc(TWinControl* control, TsCommonData& sd, const RECT& src, int offsetY, int offsetX,
                   bool updateCorners, HDC dc, const RECT& dst);
// The same for a plain window: its visible child windows are left out (a group-box child
// only along its border).
void CopyCacheToDcWnd(HWND wnd, TsCommonData& sd, const RECT& src, HDC dc, const RECT& dst);
