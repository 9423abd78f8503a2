#include "skin/render/sStyleSimply.h"

#include <algorithm>

#include "skin/data/sSkinModel.h"
#include "skin/render/sBorderMask.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sSectionBackground.h"
#include "skin/render/sStateImage.h"

namespace {

const TsMaskData* ImageAt(const TsSkinModel& model, int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= model.Images.size()) return nullptr;
  return &model.Images[static_cast<std::size_t>(index)];
}

const TsGeneralData* SectionAt(const TsSkinModel& model, int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= model.Sections.size()) return nullptr;
  return &model.Sections[static_cast<std::size_t>(index)];
}

bool Paintable(const Bitmap32& target, const TsRect& rect) {
  return !target.Empty() && !IsRectEmpty(rect) && rect.Left >= 0 && rect.Top >= 0 && rect.Right <= target.Width() &&
         rect.Bottom <= target.Height();
}

int ClampState(const TsGeneralData& sec, int state) { return std::clamp(state, 0, std::max(sec.States - 1, 0)); }

// The four corner images at the rectangle's corners; their key pixels show the target itself.
void PaintCornerImages(const TsSkinModel& model, const TsGeneralData& sec, Bitmap32& target, const TsRect& rect,
                       int state) {
  const BackgroundSource self = MakeBgInfo(&target, 0, 0);
  const auto paint = [&](int32_t index, bool right, bool bottom) {
    const TsMaskData* img = ImageAt(model, index);
    if (!img) return;
    const TsPoint pt{right ? rect.Right - img->CellWidth() : rect.Left,
                     bottom ? rect.Bottom - img->CellHeight() : rect.Top};
    PaintStateImage(target, pt, state, self, *img, 1);
  };
  paint(sec.ImgTL, false, false);
  paint(sec.ImgTR, true, false);
  paint(sec.ImgBL, false, true);
  paint(sec.ImgBR, true, true);
}

}  // namespace

TsSectionBinding BindSection(const TsSkinModel& model, std::string_view section) {
  TsSectionBinding b;
  b.SkinManager = &model;
  b.SkinSection = std::string(section);
  b.SectionIndex = model.FindSection(section);
  if (const TsGeneralData* sec = SectionAt(model, b.SectionIndex)) {
    b.BorderMaskIndex = sec->BorderMaskIndex;
    b.TextureIndex = model.FindTexture(b.SectionIndex, section, "PATTERN");
    b.HotTextureIndex = model.FindTexture(b.SectionIndex, section, "HOTPATTERN");
  }
  return b;
}

void PaintSectionBackground(const TsSectionBinding& binding, const BackgroundSource& bg, Bitmap32& target,
                            TsPoint origin, const TsRect& rect, int state) {
  const TsSkinModel* model = ResolveSkinModel(binding.SkinManager);
  if (!model) return;
  const TsGeneralData* sec = SectionAt(*model, binding.SectionIndex);
  if (!sec) return;
  PaintSectionBackground(model, binding.SectionIndex, binding.SkinSection, bg, binding.CustomColor,
                         binding.HotTextureIndex, binding.TextureIndex, target, origin, rect, ClampState(*sec, state));
}

void PaintSection(const TsSectionBinding& binding, const BackgroundSource& bg, bool updateCorners, Bitmap32& target,
                  TsPoint origin, const TsRect& rect, int state) {
  const TsSkinModel* model = ResolveSkinModel(binding.SkinManager);
  if (!model || !Paintable(target, rect)) return;
  const TsGeneralData* sec = SectionAt(*model, binding.SectionIndex);
  if (!sec) return;
  state = ClampState(*sec, state);
  PaintSectionBackground(binding, bg, target, origin, rect, state);
  const BackgroundSource shifted = ShiftedBg(bg, origin);
  PaintCornerImages(*model, *sec, target, rect, state);

  const TsMaskData* border = ImageAt(*model, binding.BorderMaskIndex);
  const bool paintBorder = border && !(state == 0 && (border->DrawMode & dmNotNormal));
  if (paintBorder) {
    PaintBorderMask(target, rect, *border, state, updateCorners, shifted);
  } else if (sec->StateProps[state > 0 ? 1 : 0].Transparency != 0) {
    // A see-through section without a frame takes its parent's tint already.
    return;
  }
  if (binding.HUEOffset != 0) ShiftHue(target, binding.HUEOffset);
  if (binding.Saturation != 0) ChangeSaturation(target, binding.Saturation);
}

void PaintSectionByIndex(int32_t sectionIndex, std::string_view sectionName, const BackgroundSource& bg,
                         int32_t hotTextureIndex, int32_t textureIndex, const TsSkinModel* model, Bitmap32& target,
                         TsPoint origin, const TsRect& rect, int state) {
  model = ResolveSkinModel(model);
  if (!model || !Paintable(target, rect)) return;
  const TsGeneralData* sec = SectionAt(*model, sectionIndex);
  if (!sec) return;
  state = ClampState(*sec, state);
  PaintSectionBackground(model, sectionIndex, sectionName, bg, clFuchsia, hotTextureIndex, textureIndex, target, origin,
                         rect, state);
  PaintCornerImages(*model, *sec, target, rect, state);
  if (const TsMaskData* border = ImageAt(*model, sec->BorderMaskIndex))
    PaintBorderMask(target, rect, *border, state, true, ShiftedBg(bg, origin));
}

void PaintSectionOnParent(const TsSectionBinding& binding, const BackgroundSource& bg, bool updateCorners,
                          Bitmap32& target, TsPoint origin, const TsRect& rect, int state) {
  const TsSkinModel* model = ResolveSkinModel(binding.SkinManager);
  if (!model || !Paintable(target, rect)) return;
  const TsGeneralData* sec = SectionAt(*model, binding.SectionIndex);
  if (!sec) return;
  state = ClampState(*sec, state);
  PaintSectionBackground(binding, bg, target, origin, rect, state);
  if (const TsMaskData* border = ImageAt(*model, binding.BorderMaskIndex))
    PaintBorderMask(target, rect, *border, state, updateCorners, ShiftedBg(bg, origin));
  PaintCornerImages(*model, *sec, target, rect, state);
}

void PaintSectionWithIndexes(int32_t sectionIndex, int32_t borderIndex, int32_t textureIndex, int32_t hotTextureIndex,
                             const TsSkinModel* model, Bitmap32& target, TsPoint origin, const TsRect& rect, int state,
                             const BackgroundSource& bg, std::string_view /*sectionName*/) {
  model = ResolveSkinModel(model);
  if (!model || !Paintable(target, rect)) return;
  const TsGeneralData* sec = SectionAt(*model, sectionIndex);
  if (!sec) return;
  state = ClampState(*sec, state);
  PaintIndexedBackground(*model, sectionIndex, bg, hotTextureIndex, textureIndex, target, origin, rect, state);
  if (const TsMaskData* border = ImageAt(*model, borderIndex))
    PaintBorderMask(target, rect, *border, state, true, ShiftedBg(bg, origin));
}
