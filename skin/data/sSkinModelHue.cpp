// Step 7 of the model build: the manager's hue offset and saturation recolour the loaded skin.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/sColorShift.h"
#include "skin/data/sSkinModel.h"

namespace {

// Title-bar button images that keep their hue: BIKEEPHUE 1 protects all nine, 2 only the
// first two (the close buttons).
constexpr std::array<std::string_view, 9> kKeepHueImages = {
    "BICONCLOSE", "SICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM",
    "BICONHELP",  "SICONMAX",   "SICONMIN", "SICONNORM"};

std::vector<std::string> ProtectedKeys(int32_t keepHue) {
  const std::size_t n = keepHue == 1 ? kKeepHueImages.size() : keepHue == 2 ? 2 : 0;
  std::vector<std::string> keys;
  for (std::size_t i = 0; i < n; ++i) {
    keys.emplace_back(kKeepHueImages[i]);
    keys.push_back(std::string(kKeepHueImages[i]) + "GLOW0");
  }
  return keys;
}

// Applies `change` to every colour of the sections and the skin-wide colours. Absent colours
// (-1) and system colours (high byte 0xFF, resolved by the platform when used) are no
// pixels and stay as they are. The flat normal and hot fields are changed along with the
// state records they repeat, so that both readings agree.
template <class Change>
void ChangeModelColours(TsSkinModel& model, Change change) {
  const auto one = [&](TColor& c) {
    if (c >= 0) c = change(c);
  };
  const auto gradient = [&](TsGradArray& pieces) {
    for (GradientPiece& p : pieces) {
      one(p.Color1);
      one(p.Color2);
    }
  };
  for (TsGeneralData& s : model.Sections) {
    for (TsGenState& st : s.StateProps) {
      for (TColor* c : {&st.Color, &st.GlowColor, &st.FontColor, &st.TCLeft, &st.TCTop, &st.TCRight, &st.TCBottom})
        one(*c);
      gradient(st.Gradient);
    }
    for (TColor* c : {&s.Color, &s.HotColor, &s.GlowColor, &s.HotGlowColor, &s.FontColor, &s.HotFontColor, &s.TCLeft,
                      &s.TCTop, &s.TCRight, &s.TCBottom, &s.HotTCLeft, &s.HotTCTop, &s.HotTCRight, &s.HotTCBottom})
      one(*c);
    gradient(s.Gradient);
    gradient(s.HotGradient);
  }
  one(model.SkinData.Shadow1Color);
  one(model.SkinData.BorderColor);
}

// A rectangle of the master bitmap copied out and later written back unchanged.
struct KeptArea {
  TsRect R;
  Bitmap32 Pixels;
};

KeptArea CopyOut(const Bitmap32& master, TsRect r) {
  r.Left = std::max(r.Left, 0), r.Top = std::max(r.Top, 0);
  r.Right = std::min(r.Right, master.Width()), r.Bottom = std::min(r.Bottom, master.Height());
  KeptArea k{r, Bitmap32(r.Width(), r.Height())};
  for (int y = 0; y < k.Pixels.Height(); ++y)
    std::copy(master.Row(r.Top + y) + r.Left, master.Row(r.Top + y) + r.Right, k.Pixels.Row(y));
  return k;
}

void CopyBack(Bitmap32& master, const KeptArea& k) {
  for (int y = 0; y < k.Pixels.Height(); ++y)
    std::copy(k.Pixels.Row(y), k.Pixels.Row(y) + k.Pixels.Width(), master.Row(k.R.Top + y) + k.R.Left);
}

void ShiftModelHue(TsSkinModel& model, int32_t degrees) {
  const std::vector<std::string> keys = ProtectedKeys(model.SkinData.BIKeepHue);
  std::vector<const TsMaskData*> keep;
  for (const std::string& key : keys) {
    const int32_t i = model.FindImage("GLOBALINFO", key);
    if (i >= 0) keep.push_back(&model.Images[static_cast<std::size_t>(i)]);
  }
  const auto kept = [&](const TsMaskData& m) { return std::find(keep.begin(), keep.end(), &m) != keep.end(); };

  std::vector<KeptArea> areas;
  for (const TsMaskData* m : keep)
    if (m->Bmp.Empty()) areas.push_back(CopyOut(model.MasterBitmap, m->R));
  ShiftHue(model.MasterBitmap, degrees);
  for (const KeptArea& a : areas) CopyBack(model.MasterBitmap, a);

  for (TsMaskData& m : model.Images)
    if (!m.Bmp.Empty() && !kept(m)) ShiftHue(m.Bmp, degrees);
  ChangeModelColours(model, [degrees](TColor c) { return ShiftHue(c, degrees); });
}

void ChangeModelSaturation(TsSkinModel& model, int32_t amount) {
  ChangeSaturation(model.MasterBitmap, amount);
  for (TsMaskData& m : model.Images) ChangeSaturation(m.Bmp, amount);
  ChangeModelColours(model, [amount](TColor c) { return ChangeSaturation(c, amount); });
}

}  // namespace

void ApplySkinHueAndSaturation(TsSkinModel& model, int32_t hueOffset, int32_t saturation) {
  if (hueOffset != 0) ShiftModelHue(model, hueOffset);
  const int32_t amount = saturation % 101;
  if (amount != 0) ChangeModelSaturation(model, amount);
}
