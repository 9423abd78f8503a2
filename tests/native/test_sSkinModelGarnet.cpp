// The product's own skin: its options text loads from its folder with the values the
// installer's windows rely on, and the packed archive the build makes carries its pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "skin/data/sColorShift.h"
#include "skin/data/sSkinManager.h"

namespace {

const std::string kFolder = KESTAMOR_SOURCE_DIR "/resources/skins/Garnet/";
const std::string kPacked = KESTAMOR_BINARY_DIR "/resources/Garnet.asz";

const TsGeneralData& Section(const TsSkinModel& m, const char* name) {
  const int32_t i = m.FindSection(name);
  EXPECT_GE(i, 0) << name;
  static const TsGeneralData none;
  return i < 0 ? none : m.Sections[static_cast<std::size_t>(i)];
}

void ExpectInstallerSections(const TsSkinModel& m) {
  EXPECT_EQ(m.Sections.size(), 62u);
  EXPECT_DOUBLE_EQ(m.SkinData.Version, 7.0);
  EXPECT_EQ(FormatSkinVersion(m.SkinData.Version), "7");
  EXPECT_EQ(m.SkinData.BISpacing, -1);
  EXPECT_EQ(m.SkinData.BIRightMargin, 1);
  EXPECT_EQ(m.SkinData.BIKeepHue, 2);
  EXPECT_EQ(m.SkinData.BICloseGlowMargin, 10);

  const TsGeneralData& global = Section(m, "GLOBALINFO");
  EXPECT_EQ(global.Color, 1907997);
  EXPECT_EQ(global.FontColor, 9013657);

  const TsGeneralData& button = Section(m, "BUTTON");
  EXPECT_EQ(button.States, 3);
  EXPECT_EQ(button.Color, 14408703);
  EXPECT_EQ(button.StateProps[1].FontColor, 12632319);
  EXPECT_EQ(button.Transparency, 100);
  EXPECT_TRUE(button.FadingEnabled);
  EXPECT_EQ(button.FadingIterations, 20);
  ASSERT_GE(button.BorderMaskIndex, 0);
  const TsMaskData& frame = m.Images[static_cast<std::size_t>(button.BorderMaskIndex)];
  EXPECT_EQ(frame.R, (TsRect{0, 91, 240, 117}));
  EXPECT_EQ(frame.CellWidth(), 80);
  EXPECT_EQ(frame.CellHeight(), 26);
  EXPECT_EQ(frame.WT, 11);

  EXPECT_EQ(Section(m, "FORM").Color, 2434349);
  EXPECT_EQ(Section(m, "PANEL").States, 1);
  EXPECT_EQ(Section(m, "CHECKBOX").Transparency, 100);
  EXPECT_EQ(Section(m, "TABLEFT").States, 4);  // no STATES of its own
  const TsGeneralData& top = Section(m, "SCROLLBTNTOP");
  EXPECT_EQ(top.StateProps[1].FontColor, 9013657);
  const TsCachedIndexes& c = m.Cache;
  ASSERT_GE(c.ScrollBtn[sbTop].GlyphMask, 0);
  EXPECT_EQ(m.Images[static_cast<std::size_t>(c.ScrollBtn[sbTop].GlyphMask)].R, (TsRect{601, 39, 628, 44}));
  ASSERT_GE(c.BoxChecked, 0);
  EXPECT_EQ(m.Images[static_cast<std::size_t>(c.BoxChecked)].CellWidth(), 15);
}

TEST(GarnetSkin, LoadsFromItsFolder) {
  ASSERT_TRUE(std::filesystem::exists(kFolder + "Options.dat")) << "the Garnet folder is missing";
  TsSkinModel model;
  ASSERT_TRUE(LoadFolderSkin(model, kFolder, {}));
  ExpectInstallerSections(model);
}

TEST(GarnetSkin, PackedArchiveCarriesThePictures) {
  std::ifstream f(kPacked, std::ios::binary);
  ASSERT_TRUE(f) << "the build has not packed the skin";
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  TsSkinModel model;
  LoadPackedSkin(model, bytes, {}, "");
  ExpectInstallerSections(model);
  EXPECT_EQ(model.MasterBitmap.Width(), 634);
  EXPECT_EQ(model.MasterBitmap.Height(), 117);
  const int32_t g = model.FindSection("GLOBALINFO");
  const int32_t glow = model.FindImage(g, "GLOBALINFO", "BICONCLOSEGLOW0");
  ASSERT_GE(glow, 0);
  const TsMaskData& close = model.Images[static_cast<std::size_t>(glow)];
  EXPECT_EQ(close.R, (TsRect{0, 0, 47, 37}));
  EXPECT_EQ(close.ImgType, 4);
  EXPECT_TRUE(close.Bmp32);
  const int32_t huge = model.FindSection("BUTTON_HUGE");
  ASSERT_GE(huge, 0);
  EXPECT_EQ(model.Sections[static_cast<std::size_t>(huge)].BorderMaskIndex >= 0, true);
}

TEST(GarnetSkin, BuiltFolderWithPicturesMatchesThePackedSkin) {
  const std::string folder = KESTAMOR_BINARY_DIR "/resources/Garnet/";
  std::ifstream f(kPacked, std::ios::binary);
  ASSERT_TRUE(f && std::filesystem::exists(folder + "Options.dat")) << "the garnet_skin target made no skin";
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  TsSkinModel packed, unpacked;
  LoadPackedSkin(packed, bytes, {}, "");
  ASSERT_TRUE(LoadFolderSkin(unpacked, folder, {}));  // "MASTER.BMP" is Master.bmp on disk
  ASSERT_EQ(unpacked.Images.size(), packed.Images.size());
  for (std::size_t i = 0; i < packed.Images.size(); ++i) {
    EXPECT_EQ(unpacked.Images[i].PropertyName, packed.Images[i].PropertyName);
    EXPECT_EQ(unpacked.Images[i].R, packed.Images[i].R);
  }
  ASSERT_EQ(unpacked.MasterBitmap.Width(), packed.MasterBitmap.Width());
  EXPECT_EQ(unpacked.MasterBitmap.At(300, 50), packed.MasterBitmap.At(300, 50));
}

std::unique_ptr<TsSkinModel> LoadGarnetWith(int32_t hue, int32_t saturation) {
  std::ifstream f(kPacked, std::ios::binary);
  if (!f) return nullptr;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  TsBuildParams p;
  p.HueOffset = hue;
  p.Saturation = saturation;
  auto model = std::make_unique<TsSkinModel>();
  LoadPackedSkin(*model, bytes, p, "");
  return model;
}

const TsMaskData& GlobalImage(const TsSkinModel& m, const char* key) {
  const int32_t i = m.FindImage("GLOBALINFO", key);
  EXPECT_GE(i, 0) << key;
  return m.Images[static_cast<std::size_t>(std::max(i, 0))];
}

// Pixels of `r` that differ between two bitmaps.
int Differences(const Bitmap32& a, const Bitmap32& b, const TsRect& r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += !(a.At(x, y) == b.At(x, y));
  return n;
}
TsRect Whole(const Bitmap32& b) { return TsRect{0, 0, b.Width(), b.Height()}; }

// Every colour a section carries, in a fixed order, for comparing two loads.
std::vector<TColor> SectionColours(const TsSkinModel& m) {
  std::vector<TColor> out{m.SkinData.Shadow1Color, m.SkinData.BorderColor};
  for (const TsGeneralData& s : m.Sections) {
    for (const TsGenState& st : s.StateProps) {
      out.insert(out.end(), {st.Color, st.GlowColor, st.FontColor, st.TCLeft, st.TCTop, st.TCRight, st.TCBottom});
      for (const GradientPiece& g : st.Gradient) out.insert(out.end(), {g.Color1, g.Color2});
    }
    out.insert(out.end(), {s.Color, s.HotColor, s.GlowColor, s.HotGlowColor, s.FontColor, s.TCLeft});
  }
  return out;
}

// A hue offset turns the garnet accents (master pixels, own pictures, section colours and
// gradients) while Garnet's BIKEEPHUE=2 keeps the close buttons and their glow as drawn;
// the other title buttons turn. Absent colours stay absent.
TEST(GarnetSkin, HueOffsetTurnsAllButTheKeptCloseButtons) {
  const auto plain = LoadGarnetWith(0, 0);
  ASSERT_TRUE(plain) << "the build has not packed the skin";
  const auto turned = LoadGarnetWith(120, 0);
  const Bitmap32& before = plain->MasterBitmap;
  const Bitmap32& after = turned->MasterBitmap;

  // Red-dominant accents become green-dominant; grey and key pixels stay.
  int accents = 0;
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) {
      const Pixel32 b = before.At(x, y), a = after.At(x, y);
      if (b.R == b.G && b.G == b.B) {
        ASSERT_EQ(a, b) << x << "," << y;
      }
      if (b.R > b.G + 40 && b.R > b.B + 40 && !(b == a)) {
        ++accents;
        ASSERT_GT(a.G, a.R) << x << "," << y;
      }
    }
  EXPECT_GT(accents, 100);

  for (const char* key : {"BICONCLOSE", "SICONCLOSE"})
    EXPECT_EQ(Differences(before, after, GlobalImage(*plain, key).R), 0) << key;
  EXPECT_GT(Differences(before, after, GlobalImage(*plain, "BICONMAX").R), 0);
  const TsMaskData& glow = GlobalImage(*turned, "BICONCLOSEGLOW0");
  ASSERT_FALSE(glow.Bmp.Empty());
  EXPECT_EQ(Differences(GlobalImage(*plain, "BICONCLOSEGLOW0").Bmp, glow.Bmp, Whole(glow.Bmp)), 0);
  const TsMaskData& maxGlow = GlobalImage(*turned, "BICONMAXGLOW0");
  EXPECT_GT(Differences(GlobalImage(*plain, "BICONMAXGLOW0").Bmp, maxGlow.Bmp, Whole(maxGlow.Bmp)), 0);

  const TsGeneralData& button = Section(*turned, "BUTTON");
  EXPECT_EQ(button.Color, ShiftHue(TColor{14408703}, 120));
  EXPECT_EQ(button.StateProps[0].Color, button.Color);
  EXPECT_EQ(button.StateProps[1].FontColor, ShiftHue(TColor{12632319}, 120));
  EXPECT_EQ(button.StateProps[0].TCLeft, -1);
  const TsGeneralData& slider = Section(*plain, "SCROLLSLIDERV");
  ASSERT_FALSE(slider.StateProps[0].Gradient.empty());
  const GradientPiece& piece = Section(*turned, "SCROLLSLIDERV").StateProps[0].Gradient[0];
  EXPECT_EQ(piece.Color1, ShiftHue(slider.StateProps[0].Gradient[0].Color1, 120));
  EXPECT_EQ(turned->SkinData.BorderColor, plain->SkinData.BorderColor);  // the key colour: no frame
}

// Saturation is taken modulo 101: 105 recolours exactly as 4 does, every picture and colour.
TEST(GarnetSkin, SaturationWrapsAtOneHundredAndOne) {
  const auto four = LoadGarnetWith(0, 4);
  ASSERT_TRUE(four) << "the build has not packed the skin";
  const auto wrapped = LoadGarnetWith(0, 105);
  EXPECT_EQ(Differences(four->MasterBitmap, wrapped->MasterBitmap, Whole(four->MasterBitmap)), 0);
  EXPECT_GT(Differences(four->MasterBitmap, LoadGarnetWith(0, 0)->MasterBitmap, Whole(four->MasterBitmap)), 0);
  ASSERT_EQ(four->Images.size(), wrapped->Images.size());
  for (std::size_t i = 0; i < four->Images.size(); ++i)
    EXPECT_EQ(Differences(four->Images[i].Bmp, wrapped->Images[i].Bmp, Whole(four->Images[i].Bmp)), 0) << i;
  EXPECT_EQ(SectionColours(*four), SectionColours(*wrapped));
  // With both, the hue turns first.
  EXPECT_EQ(Section(*LoadGarnetWith(120, 50), "BUTTON").Color, ChangeSaturation(ShiftHue(TColor{14408703}, 120), 50));
}

}  // namespace
