// The product's own skin: its options text loads from its folder with the values the
// installer's windows rely on, and the packed archive the build makes carries its pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
  if (!std::filesystem::exists(kFolder + "Options.dat")) GTEST_SKIP() << "no Garnet folder";
  TsSkinModel model;
  ASSERT_TRUE(LoadFolderSkin(model, kFolder, {}));
  ExpectInstallerSections(model);
}

TEST(GarnetSkin, PackedArchiveCarriesThePictures) {
  std::ifstream f(kPacked, std::ios::binary);
  if (!f) GTEST_SKIP() << "Garnet.asz is made by the garnet_skin target";
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
  if (!f || !std::filesystem::exists(folder + "Options.dat")) GTEST_SKIP() << "made by the garnet_skin target";
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

}  // namespace
