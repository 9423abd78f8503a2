// Painting a whole skin section into a bitmap: background, corner images, the nine-piece
// border image, and the control's hue and saturation. The Win32 controls call these with
// their cache bitmap and what their parent told them lies behind it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sBackgroundSource.h"
#include "skin/render/sGeometry.h"

class TsSkinModel;

// What a control's skin binding tells the painters: the model (null: the default one), the
// section and the image indexes resolved from it, the control's tint, and its own colour
// when it keeps one (clFuchsia: it takes the section's look).
struct TsSectionBinding {
  const TsSkinModel* SkinManager = nullptr;
  std::string SkinSection;
  int32_t SectionIndex = -1;
  int32_t BorderMaskIndex = -1;
  int32_t TextureIndex = -1;     // PATTERN
  int32_t HotTextureIndex = -1;  // HOTPATTERN
  int32_t HUEOffset = 0;
  int32_t Saturation = 0;
  TColor CustomColor = clFuchsia;
};

// A binding of `section` in `model`, its indexes looked up the way a control binds itself.
TsSectionBinding BindSection(const TsSkinModel& model, std::string_view section);

// Background, corner images, border image (updateCorners: its key-coloured corner pixels show
// `bg`) and the binding's hue and saturation, into `rect` of `target` for `state` (clamped to
// the section's states). `origin` is the rectangle's position in the area `bg` describes.
// Nothing is painted without a target or model, for a bad section index, or when the
// rectangle is empty or not inside the target.
void PaintSection(const TsSectionBinding& binding, const BackgroundSource& bg, bool updateCorners, Bitmap32& target,
                  TsPoint origin, const TsRect& rect, int state);

// The same from a section index, without a binding: no custom colour, the caller's texture
// indexes, the border always with updateCorners (state 0 left out by the image's own draw
// mode), no hue or saturation.
void PaintSectionByIndex(int32_t sectionIndex, std::string_view sectionName, const BackgroundSource& bg,
                         int32_t hotTextureIndex, int32_t textureIndex, const TsSkinModel* model, Bitmap32& target,
                         TsPoint origin, const TsRect& rect, int state);

// The painting half of a panel's paint on its parent: `bg` is what the parent answered.
// Background, then the border image, then the corner images over it; no hue or saturation.
void PaintSectionOnParent(const TsSectionBinding& binding, const BackgroundSource& bg, bool updateCorners,
                          Bitmap32& target, TsPoint origin, const TsRect& rect, int state);

// Background and a caller-chosen border image, no corner images (skinned scroll-bar parts,
// which keep their parts' indexes).
void PaintSectionWithIndexes(int32_t sectionIndex, int32_t borderIndex, int32_t textureIndex, int32_t hotTextureIndex,
                             const TsSkinModel* model, Bitmap32& target, TsPoint origin, const TsRect& rect, int state,
                             const BackgroundSource& bg, std::string_view sectionName);

// The binding form of PaintSectionBackground: its section, textures and custom colour.
void PaintSectionBackground(const TsSectionBinding& binding, const BackgroundSource& bg, Bitmap32& target,
                            TsPoint origin, const TsRect& rect, int state);
