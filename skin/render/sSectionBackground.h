// The background of a skin section for one state: its own fill (colour, texture, gradient
// and their mix) and the transparency against whatever lies behind the painted area.
#pragma once

#include <cstdint>
#include <string_view>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/render/sBackgroundSource.h"
#include "skin/render/sGeometry.h"

class TsSkinModel;

// The skin model painting falls back to when a caller names none: the engine's default model,
// which the default skin manager sets while its skin is active (null: none).
const TsSkinModel* DefaultSkinModel();
inline const TsSkinModel* ResolveSkinModel(const TsSkinModel* model) { return model ? model : DefaultSkinModel(); }

// What a section's own fill is made of. ImagePercent and GradientPercent say how much of the
// area the texture and the gradient cover; the colour supplies the rest.
struct TsOwnFill {
  TColor Color = clWhite;
  int32_t ImagePercent = 0;
  int32_t GradientPercent = 0;
  const TsMaskData* Texture = nullptr;  // a skin image, or
  const Bitmap32* Pattern = nullptr;    // a stand-alone pattern picture
  const TsGradArray* Gradient = nullptr;
};

// How an own fill is made. A section's fill mixes a tiled texture and a banded gradient that
// share the area exactly in one pass, and adds no colour once texture and gradient cover
// 100 % or more. The reduced fill of parts that keep their own image indexes (scroll-bar
// parts) has no one-pass mix, and an area whose percents add up to more than 100 gets the
// plain colour instead.
enum class TsFillRule { Section, Indexed };

// Paints the own fill into `rect` (which must lie inside `target`).
void PaintOwnFill(Bitmap32& target, const TsRect& rect, const TsOwnFill& fill, TsFillRule rule = TsFillRule::Section);

// The background of section `sectionIndex` (named `sectionName`; empty: the model's name for
// it) for `state` in `rect` of `target`. `customColor` (clFuchsia: none) replaces the
// section's look by a plain colour. The texture indexes are the caller's PATTERN and
// HOTPATTERN images (-1: look the keys up). `origin` is the rectangle's position in the
// area `bg` describes. Nothing is painted for a missing model, a bad section index, or a
// rectangle that is empty or not inside the target.
void PaintSectionBackground(const TsSkinModel* model, int32_t sectionIndex, std::string_view sectionName,
                            const BackgroundSource& bg, TColor customColor, int32_t hotTextureIndex,
                            int32_t textureIndex, Bitmap32& target, TsPoint origin, const TsRect& rect, int state);

// The reduced background of parts that keep their own image indexes (scroll-bar parts):
// textures only from the given indexes, a not-ready background always gives the own fill
// (TsFillRule::Indexed), no custom colour and no masked overlay.
void PaintIndexedBackground(const TsSkinModel& model, int32_t sectionIndex, const BackgroundSource& bg,
                            int32_t hotTextureIndex, int32_t textureIndex, Bitmap32& target, TsPoint origin,
                            const TsRect& rect, int state);
