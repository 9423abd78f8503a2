// Shared by the section-painting tests: hand-made skins, recognisable parents, guarded
// bitmaps that show writes outside their bounds, and the packed Garnet skin.
#pragma once

#include "BuiltGarnet.h"
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "image/Bitmap32.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sSkinModel.h"

namespace sectiontest {

inline Pixel32 Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return Pixel32{b, g, r, a}; }
inline constexpr Pixel32 kKey{0xFF, 0, 0xFF, 0};

// A parent whose pixels tell where they lie: blue = x, green = y.
inline Bitmap32 Parent(int w, int h) {
  Bitmap32 p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.At(x, y) = Pixel32{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 0x5A, 255};
  return p;
}

// A bitmap viewed inside a larger one whose two-pixel margin must stay untouched.
struct Guarded {
  static constexpr Pixel32 kGuard{1, 2, 3, 4};
  Bitmap32 whole;
  Bitmap32 view;
  Guarded(int w, int h, Pixel32 fill) : whole(w + 4, h + 4) {
    whole.Fill(kGuard);
    view = Bitmap32::View(&whole.At(2, 2), w, h, whole.RowDelta());
    view.Fill(fill);
  }
  bool GuardIntact() const {
    for (int y = 0; y < whole.Height(); ++y)
      for (int x = 0; x < whole.Width(); ++x)
        if ((x < 2 || y < 2 || x >= whole.Width() - 2 || y >= whole.Height() - 2) && !(whole.At(x, y) == kGuard))
          return false;
    return true;
  }
};

// A skin model built by hand: a master bitmap, sections and images as a test needs them.
struct TestSkin {
  TsSkinModel model;
  explicit TestSkin(int w = 64, int h = 32) { model.MasterBitmap = Bitmap32(w, h); }

  void Paint(TsRect r, Pixel32 p) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) model.MasterBitmap.At(x, y) = p;
  }
  Pixel32& Px(int x, int y) { return model.MasterBitmap.At(x, y); }
  TsMaskData& Img(int32_t i) { return model.Images[static_cast<std::size_t>(i)]; }
  int32_t Image(TsRect r, int count, int maskType, int drawMode, int wl = 0, int wt = 0, int wr = 0, int wb = 0) {
    TsMaskData m;
    m.R = r;
    m.ImageCount = static_cast<int16_t>(count);
    m.MaskType = static_cast<int16_t>(maskType);
    m.DrawMode = static_cast<int16_t>(drawMode);
    m.WL = static_cast<int16_t>(wl);
    m.WT = static_cast<int16_t>(wt);
    m.WR = static_cast<int16_t>(wr);
    m.WB = static_cast<int16_t>(wb);
    m.Manager = &model;
    model.Images.push_back(m);
    return static_cast<int32_t>(model.Images.size() - 1);
  }
  // A section with the same colour and transparency in both states unless hot ones are given.
  int32_t Section(const std::string& name, int states, TColor color, int transparency, TColor hotColor = -1,
                  int hotTransparency = -1) {
    TsGeneralData s;
    s.SectionName = name;
    s.States = states;
    s.StateProps[0].Color = color;
    s.StateProps[0].Transparency = transparency;
    s.StateProps[1] = s.StateProps[0];
    if (hotColor >= 0) s.StateProps[1].Color = hotColor;
    if (hotTransparency >= 0) s.StateProps[1].Transparency = hotTransparency;
    model.Sections.push_back(s);
    return static_cast<int32_t>(model.Sections.size() - 1);
  }
  TsGeneralData& At(int32_t section) { return model.Sections[static_cast<std::size_t>(section)]; }
};


}  // namespace sectiontest
