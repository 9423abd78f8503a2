#include "skin/render/sGraphUtils_win.h"

#include <cstring>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sSectionBackground.h"

namespace {

// Contour colours sit one pixel off the text, in this order.
struct Contour {
  TColor TsGenState::*Color;
  int Dx, Dy;
};
constexpr Contour kContours[] = {
    {&TsGenState::TCLeft, -1, 0},
    {&TsGenState::TCTop, 0, -1},
    {&TsGenState::TCRight, 1, 0},
    {&TsGenState::TCBottom, 0, 1},
};

// The glow's shape is the text at these single-pixel offsets (bits of PaintTextGlow's
// `offsets`) as well as in place.
struct GlowOffset {
  int Bit, Dx, Dy;
};
constexpr GlowOffset kGlowOffsets[] = {{1, -1, 0}, {2, 0, -1}, {4, 1, 0}, {8, 0, 1}};

RECT Moved(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// A colour of the skin tinted the way the control is: hue first, then saturation.
TColor Tinted(TColor c, int32_t hue, int32_t saturation) {
  c = ColorToRGB(c);
  if (hue != 0) c = ShiftHue(c, hue);
  if (saturation != 0) c = ChangeSaturation(c, saturation);
  return c;
}

void DrawIn(HDC dc, const std::string& text, RECT r, UINT format, TColor colour) {
  SetTextColor(dc, ToColorRef(colour));
  DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r, format);
}

// The canvas's DC for one caption: its state saved and restored when this goes (thrown out
// of or not), clipped to the rectangle, transparent background, the canvas font selected.
// Drawing goes straight to the DC so that the canvas's own idea of what is selected stays
// true after the restore.
class CaptionDC {
 public:
  CaptionDC(TCanvas& canvas, const RECT& r) : dc_(canvas.Handle()), saved_(dc_) {
    IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
    SetBkMode(dc_, TRANSPARENT);
    SelectObject(dc_, canvas.Font().Handle());
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  SavedDC saved_;
};

// Text without a skin: the canvas font's colour, or embossed when disabled.
void DrawUnskinned(HDC dc, TCanvas& canvas, const std::string& text, bool enabled, UINT format, const RECT& rect) {
  if (enabled) {
    DrawIn(dc, text, rect, format, canvas.Font().Color());
    return;
  }
  DrawIn(dc, text, Moved(rect, 1, 1), format, clBtnHighlight);
  DrawIn(dc, text, rect, format, clBtnShadow);
}

// The contours of the state's set, then the text in `fontColor` on top.
void DrawSkinned(HDC dc, const std::string& text, const TsGenState& set, TColor fontColor, UINT format,
                 const RECT& rect, int32_t hue, int32_t saturation) {
  for (const Contour& c : kContours) {
    const TColor colour = set.*c.Color;
    if (colour == clAbsent) continue;
    DrawIn(dc, text, Moved(rect, c.Dx, c.Dy), format, Tinted(colour, hue, saturation));
  }
  DrawIn(dc, text, rect, format | DT_NOCLIP, fontColor);
}

bool ValidSection(const TsSkinModel* model, int32_t index) {
  return model && index >= 0 && static_cast<size_t>(index) < model->Sections.size();
}

// Controls painted on their parent's surface take the text colours of a parent that gives its
// font, as long as they let the parent show through.
bool TakesParentFont(const TsCommonData& sd, const TsGenState& ownSet) {
  TControl* owner = sd.OwnerControl;
  if (!owner) return false;
  const bool onParent = dynamic_cast<TGraphicControl*>(owner) != nullptr || sd.ClassCode == ccCheckBox ||
                        sd.ClassCode == ccRadioButton || sd.ClassCode == ccGroupBox;
  return onParent && owner->ParentFont() && owner->Parent() && ownSet.Transparency > 0;
}

// Draws the text's shape into an 8-bit grey DIB of the mask's size (white, text black) and
// copies it into `mask`. False when the bitmap cannot be made.
bool DrawGlowShape(TsGlowMask& mask, HFONT font, const std::string& text, int width, int height, int margin,
                   int offsets, UINT format) {
  const int w = width + 2 * margin, h = height + 2 * margin;
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Palette[256];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = w;
  info.Header.biHeight = -h;  // top-down, like the mask
  info.Header.biPlanes = 1;
  info.Header.biBitCount = 8;
  info.Header.biCompression = BI_RGB;
  info.Header.biClrUsed = 256;
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<BYTE>(i);
    info.Palette[i] = RGBQUAD{v, v, v, 0};
  }
  void* bits = nullptr;
  UniqueBitmapHandle dib(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                          nullptr, 0));
  UniqueDC dc(CreateCompatibleDC(nullptr));
  if (!dib || !bits || !dc) return false;
  const size_t stride = (static_cast<size_t>(w) + 3) & ~size_t{3};
  std::memset(bits, 255, stride * static_cast<size_t>(h));
  {
    SelectedObject selectedBitmap(dc.get(), dib.get());
    SelectedObject selectedFont(dc.get(), font);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(0, 0, 0));
    const RECT textRect{margin, margin, margin + width, margin + height};
    for (const GlowOffset& o : kGlowOffsets)
      if (offsets & o.Bit) DrawIn(dc.get(), text, Moved(textRect, o.Dx, o.Dy), format, clBlack);
    DrawIn(dc.get(), text, textRect, format, clBlack);
    GdiFlush();
  }
  mask.Allocate(w, h, 255);
  const auto* src = static_cast<const uint8_t*>(bits);
  for (int y = 0; y < h; ++y) std::memcpy(&mask.At(0, y), src + stride * static_cast<size_t>(y), static_cast<size_t>(w));
  return true;
}

}  // namespace

void PaintTextGlow(Bitmap32& bmp, TCanvas& canvas, const std::string& text, RECT rect, TsGlowMask& cache,
                   TColor colour, int size, int offsets, UINT format) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (text.empty() || size < 1 || width <= 0 || height <= 0 || bmp.Empty()) return;
  const int margin = GlowMargin(size);
  if (cache.Empty() || cache.Width != width + 2 * margin || cache.Height != height + 2 * margin) {
    if (!DrawGlowShape(cache, canvas.Font().Handle(), text, width, height, margin, offsets, format)) {
      cache = TsGlowMask{};
      return;
    }
    BlurGlowMask(cache, size);
  }
  ApplyGlowMask(bmp, cache, TsRect{rect.left, rect.top, rect.right, rect.bottom}, ColorToRGB(colour), size);
}

void WriteSkinText(TCanvas& canvas, const std::string& text, bool enabled, bool hot, TsCommonData& sd, UINT format,
                   RECT rect, TsGlowMask* glowCache) {
  if (text.empty()) return;
  if (hot && sd.SkinSection() == "WEBBUTTON") canvas.Font().SetStyle(canvas.Font().Style() | fsUnderline);
  if (!canvas.Handle()) return;
  CaptionDC dc(canvas, rect);

  const TsSkinModel* model = sd.Model();
  if (!sd.IsSkinned() || sd.CustomFont() || !ValidSection(model, sd.SectionIndex)) {
    DrawUnskinned(dc.get(), canvas, text, enabled, format, rect);
    return;
  }
  const int s = hot ? 1 : 0;
  int32_t index = sd.SectionIndex;
  if (TakesParentFont(sd, model->Sections[static_cast<size_t>(index)].StateProps[s]))
    index = FindFontSection(sd.OwnerControl, index, sd.Manager());
  if (!ValidSection(model, index)) {
    DrawIn(dc.get(), text, rect, format, canvas.Font().Color());
    return;
  }
  const TsGeneralData& section = model->Sections[static_cast<size_t>(index)];
  const TsGenState& set = section.StateProps[s];
  const int32_t hue = sd.HUEOffset(), saturation = sd.Saturation();

  if (set.GlowSize > 0 && sd.Cache() && !sd.Cache()->Empty()) {
    Bitmap32 cache = sd.CacheView();
    TsGlowMask once;
    PaintTextGlow(cache, canvas, text, rect, glowCache ? *glowCache : once, Tinted(set.GlowColor, hue, saturation),
                  set.GlowSize, 1 | 2 | 4 | 8, format);
  }
  if (!enabled) {
    const TColor global = sd.Manager() ? sd.Manager()->GetGlobalColor() : clBtnFace;
    const TColor mixed = MixColors(ColorToRGB(section.StateProps[0].FontColor), ColorToRGB(global), 0.4);
    DrawIn(dc.get(), text, rect, format, Tinted(mixed, hue, saturation));
    return;
  }
  DrawSkinned(dc.get(), text, set, Tinted(set.FontColor, hue, saturation), format, rect, hue, saturation);
}

void WriteSkinTextByModel(TCanvas& canvas, const std::string& text, bool enabled, const TsSkinModel* model, bool hot,
                          int32_t sectionIndex, UINT format, RECT rect) {
  if (text.empty() || !canvas.Handle()) return;
  CaptionDC dc(canvas, rect);
  model = ResolveSkinModel(model);
  if (!ValidSection(model, sectionIndex)) {
    DrawUnskinned(dc.get(), canvas, text, enabled, format, rect);
    return;
  }
  const TsGeneralData& section = model->Sections[static_cast<size_t>(sectionIndex)];
  const TsGenState& normal = section.StateProps[0];
  if (!enabled) {
    DrawIn(dc.get(), text, rect, format, MixColors(ColorToRGB(normal.FontColor), ColorToRGB(normal.Color), 0.4));
    return;
  }
  const TsGenState& set = section.StateProps[hot ? 1 : 0];
  DrawSkinned(dc.get(), text, set, ColorToRGB(set.FontColor), format, rect, 0, 0);
}

void WriteSkinTextByIndex(TCanvas& canvas, const std::string& text, bool enabled, TsSkinManager* manager, bool hot,
                          int32_t sectionIndex, UINT format, RECT rect) {
  if (!manager) manager = DefaultManager();
  if (manager && !manager->SkinActive()) sectionIndex = -1;  // its model is no skin to draw from
  WriteSkinTextByModel(canvas, text, enabled, manager ? &manager->Model() : nullptr, hot, sectionIndex, format, rect);
}

std::string CutTextToWidth(TCanvas& canvas, const std::string& text, int width) {
  return CutTextToWidth(std::string_view(text), width,
                        [&canvas](std::string_view s) { return canvas.TextWidth(std::string(s)); });
}
