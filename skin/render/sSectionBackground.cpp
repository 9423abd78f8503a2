#include "skin/render/sSectionBackground.h"

#include <algorithm>

#include "skin/data/acEngine.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sAlphaGraph.h"
#include "skin/render/sGradient.h"
#include "skin/render/sGraphUtils.h"

namespace {

bool ValidIndex(int32_t i, std::size_t size) { return i >= 0 && static_cast<std::size_t>(i) < size; }

bool InsideBitmap(const TsRect& r, const Bitmap32& bmp) {
  return !IsRectEmpty(r) && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp.Width() && r.Bottom <= bmp.Height();
}

int32_t Weight(int32_t percent) { return std::clamp(percent * 255 / 100, 0, 255); }

// A "ready" source without a bitmap knows nothing about the parent: treat it as such rather
// than mixing with whatever the target held before.
BackgroundSource Usable(const BackgroundSource& bg) {
  if (!bg.Ready || bg.Bmp) return bg;
  BackgroundSource none;
  none.FillColor = clFuchsia;
  return none;
}

// The texture tile of a plain skin image, when it lies inside its bitmap.
const Bitmap32* TileBitmap(const TsMaskData& t) {
  const Bitmap32* bmp = !t.Bmp.Empty() ? &t.Bmp : t.Manager ? &t.Manager->MasterBitmap : nullptr;
  if (!bmp || bmp->Empty() || IsRectEmpty(t.R) || t.R.Left < 0 || t.R.Top < 0 || t.R.Right > bmp->Width() ||
      t.R.Bottom > bmp->Height())
    return nullptr;
  return bmp;
}

// Texture tiled from the target's origin and banded gradient, mixed per pixel in one pass.
bool PaintCombined(Bitmap32& target, const TsRect& rect, const TsOwnFill& f) {
  if (f.ImagePercent + f.GradientPercent != 100 || f.GradientPercent < 1 || f.GradientPercent > 99) return false;
  if (!f.Texture || f.Pattern || f.Texture->DrawMode != 0 || f.Texture->MaskType != 0) return false;
  if (!f.Gradient || f.Gradient->empty()) return false;
  const int32_t mode = f.Gradient->front().Mode;
  if (mode != 0 && mode != 1) return false;
  const Bitmap32* tile = TileBitmap(*f.Texture);
  if (!tile) return false;

  const std::vector<Pixel32> line = GradientLine(*f.Gradient, rect, target.Width(), target.Height());
  const int32_t weight = f.ImagePercent * 255 / 100;
  const int32_t tw = f.Texture->R.Width(), th = f.Texture->R.Height();
  const auto at = [&](std::size_t i) { return i < line.size() ? line[i] : Pixel32{}; };
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    const Pixel32* t = tile->Row(f.Texture->R.Top + y % th) + f.Texture->R.Left;
    Pixel32* d = target.Row(y);
    for (int32_t x = rect.Left; x < rect.Right; ++x) {
      const Pixel32 g = at(static_cast<std::size_t>(mode == 0 ? y - rect.Top : x - rect.Left));
      const Pixel32 s = t[x % tw];
      d[x] = Pixel32{static_cast<uint8_t>((weight * s.B + (256 - weight) * g.B) >> 8),
                     static_cast<uint8_t>((weight * s.G + (256 - weight) * g.G) >> 8),
                     static_cast<uint8_t>((weight * s.R + (256 - weight) * g.R) >> 8), 255};
    }
  }
  return true;
}

// The parent's pixels behind `rect`, unless the target is the parent bitmap itself.
void CopyParent(Bitmap32& target, const TsRect& rect, const BackgroundSource& bg, TsPoint origin) {
  if (!bg.Bmp || SameBitmapMemory(target, *bg.Bmp)) return;
  const int32_t x = bg.X + origin.X, y = bg.Y + origin.Y;
  CopyRect32(target, rect.Left, rect.Top, *bg.Bmp, TsRect{x, y, x + rect.Width(), y + rect.Height()});
}

// Own fill in a bitmap of its own, the parent behind the rectangle, then the fill mixed over
// it: the background keeps `transparency` percent (as a weight of 255).
void BlendOverParent(Bitmap32& target, const TsRect& rect, const TsOwnFill& fill, TsFillRule rule,
                     const BackgroundSource& bg, TsPoint origin, int32_t transparency) {
  Bitmap32 own = CreateBmp32(rect.Width(), rect.Height());
  const TsRect whole{0, 0, rect.Width(), rect.Height()};
  PaintOwnFill(own, whole, fill, rule);
  if (bg.Ready)
    CopyParent(target, rect, bg, origin);
  else
    FillRect32(target, rect, bg.FillColor);
  BlendBitmapRect(target, own, Weight(transparency), TsPoint{rect.Left, rect.Top}, whole);
}

}  // namespace

const TsSkinModel* DefaultSkinModel() { return acEngine().DefaultModel; }

void PaintOwnFill(Bitmap32& target, const TsRect& rect, const TsOwnFill& f, TsFillRule rule) {
  if (!InsideBitmap(rect, target)) return;
  const int32_t imagePct = std::max(f.ImagePercent, 0), gradPct = std::max(f.GradientPercent, 0);
  const int32_t covered = imagePct + gradPct;
  if (covered == 0 || (rule == TsFillRule::Indexed && covered > 100)) {
    FillRect32(target, rect, f.Color);
    return;
  }
  if (rule == TsFillRule::Section && PaintCombined(target, rect, f)) return;

  bool textured = false;
  if (imagePct > 0) {
    TsRect rest = rect;
    if (f.Pattern && !f.Pattern->Empty()) {
      PaintTexture(target, rest, f.Pattern, 0, nullptr);
      textured = true;
    } else if (f.Texture && f.Texture->MaskType <= 0) {
      PaintTexture(target, rest, nullptr, f.Texture->DrawMode, f.Texture);
      textured = !(rest == rect);
    } else if (f.Texture) {
      // A masked texture mixes with what is under it: lay it on the colour, not on the
      // rectangle's previous contents.
      FillRect32(target, rect, f.Color);
      PaintMaskedTexture(target, rect, nullptr, 0, 0, f.Color, f.Texture->DrawMode, *f.Texture);
      textured = true;
      rest = kNoRemainder;
    }
    if (!(rest == kNoRemainder)) FillRect32(target, IntersectRect(rest, rect), f.Color);
  }

  if (gradPct > 0) {
    const bool hasGradient = f.Gradient && !f.Gradient->empty();
    if (textured) {
      Bitmap32 grad = CreateBmp32(rect.Width(), rect.Height());
      const TsRect whole{0, 0, rect.Width(), rect.Height()};
      if (hasGradient)
        PaintGradient(grad, whole, *f.Gradient);
      else
        FillRect32(grad, whole, f.Color);
      BlendBitmapRect(target, grad, Weight(imagePct), TsPoint{rect.Left, rect.Top}, whole);
    } else if (hasGradient) {
      PaintGradient(target, rect, *f.Gradient);
    } else {
      FillRect32(target, rect, f.Color);
    }
  }

  if (covered < 100) BlendColorRect(target, rect, covered, f.Color);
}

void PaintSectionBackground(const TsSkinModel* model, int32_t sectionIndex, std::string_view sectionName,
                            const BackgroundSource& given, TColor customColor, int32_t hotTextureIndex,
                            int32_t textureIndex, Bitmap32& target, TsPoint origin, const TsRect& rect, int state) {
  const BackgroundSource bg = Usable(given);
  model = ResolveSkinModel(model);
  if (!model || !ValidIndex(sectionIndex, model->Sections.size()) || !InsideBitmap(rect, target)) return;
  const TsGeneralData& sec = model->Sections[static_cast<std::size_t>(sectionIndex)];
  state = std::clamp(state, 0, std::max(sec.States - 1, 0));
  if (sectionName.empty()) sectionName = sec.SectionName;

  TsOwnFill fill;
  int32_t transparency = 0;
  if (!IsKeyColor(customColor)) {
    fill.Color = customColor;
  } else {
    const TsGenState& props = sec.StateProps[state > 0 ? 1 : 0];
    fill.Color = props.Color;
    transparency = std::clamp(props.Transparency, 0, 100);
    if (transparency != 100) {
      fill.ImagePercent = props.ImagePercent;
      fill.GradientPercent = props.GradientPercent;
    }
    if (fill.ImagePercent > 0) {
      const int32_t index = state > 0 ? hotTextureIndex : textureIndex;
      const std::string_view key = state > 0 ? "HOTPATTERN" : "PATTERN";
      const int32_t found = index == -1 ? model->FindImage(sectionIndex, sectionName, key) : index;
      if (ValidIndex(found, model->Images.size())) {
        const TsMaskData& image = model->Images[static_cast<std::size_t>(found)];
        if (index == -1 || image.MaskType == 0) fill.Texture = &image;
      }
      if (!fill.Texture) {
        const int32_t p = model->FindPattern(sectionIndex, sectionName, key);
        if (ValidIndex(p, model->Patterns.size())) fill.Pattern = &model->Patterns[static_cast<std::size_t>(p)].Image;
      }
    }
    if (fill.GradientPercent > 0) fill.Gradient = &props.Gradient;
  }

  if ((!bg.Ready && IsKeyColor(bg.FillColor)) || transparency == 0) {
    PaintOwnFill(target, rect, fill);
  } else if (transparency == 100) {
    if (bg.Ready)
      CopyParent(target, rect, bg, origin);
    else
      FillRect32(target, rect, bg.FillColor);
  } else if (bg.Ready || fill.ImagePercent + fill.GradientPercent > 0) {
    BlendOverParent(target, rect, fill, TsFillRule::Section, bg, origin, transparency);
  } else {
    FillRect32(target, rect, MixColors(bg.FillColor, fill.Color, transparency / 100.0));
  }

  // A masked whole-tiles pattern is laid over the normal state's background.
  if (state == 0) {
    const auto overlay = [&](int32_t i) -> const TsMaskData* {
      if (!ValidIndex(i, model->Images.size())) return nullptr;
      const TsMaskData& m = model->Images[static_cast<std::size_t>(i)];
      return m.MaskType > 0 && m.DrawMode == 10 ? &m : nullptr;
    };
    const TsMaskData* over = textureIndex == -1 ? overlay(hotTextureIndex) : overlay(textureIndex);
    if (over) {
      const bool withBmp = bg.Ready && bg.Bmp;
      PaintMaskedTexture(target, rect, withBmp ? bg.Bmp : nullptr, bg.X + origin.X, bg.Y + origin.Y,
                         bg.Ready ? clFuchsia : bg.FillColor, 10, *over);
    }
  }
}

void PaintIndexedBackground(const TsSkinModel& model, int32_t sectionIndex, const BackgroundSource& given,
                            int32_t hotTextureIndex, int32_t textureIndex, Bitmap32& target, TsPoint origin,
                            const TsRect& rect, int state) {
  const BackgroundSource bg = Usable(given);
  if (!ValidIndex(sectionIndex, model.Sections.size()) || !InsideBitmap(rect, target)) return;
  const TsGeneralData& sec = model.Sections[static_cast<std::size_t>(sectionIndex)];
  state = std::clamp(state, 0, std::max(sec.States - 1, 0));
  const TsGenState& props = sec.StateProps[state > 0 ? 1 : 0];
  const int32_t transparency = std::clamp(props.Transparency, 0, 100);

  TsOwnFill fill;
  fill.Color = props.Color;
  if (transparency != 100) {
    fill.ImagePercent = props.ImagePercent;
    fill.GradientPercent = props.GradientPercent;
    const int32_t index = state > 0 ? hotTextureIndex : textureIndex;
    if (fill.ImagePercent > 0 && ValidIndex(index, model.Images.size()))
      fill.Texture = &model.Images[static_cast<std::size_t>(index)];
    if (fill.GradientPercent > 0) fill.Gradient = &props.Gradient;
  } else if (!bg.Ready && !IsKeyColor(bg.FillColor)) {
    // Fully transparent over a plain parent: the parent's colour is the whole fill.
    fill.Color = bg.FillColor;
  }

  if (!bg.Ready || transparency == 0)
    PaintOwnFill(target, rect, fill, TsFillRule::Indexed);
  else if (transparency == 100)
    CopyParent(target, rect, bg, origin);
  else
    BlendOverParent(target, rect, fill, TsFillRule::Indexed, bg, origin, transparency);
}
