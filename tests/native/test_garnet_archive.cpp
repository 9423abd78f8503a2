// The packed Garnet skin as the build makes it (Garnet.asz), loaded through the archive
// reader and the skin model: the entries the installer embeds, the model built from
// them, and the pictures at the places the options name.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/data/acSkinPack.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sSkinModel.h"

namespace {

const std::string kArchive = std::string(KESTAMOR_BINARY_DIR) + "/resources/Garnet.asz";

bool IsKey(const Pixel32& p) { return p.R == 255 && p.G == 0 && p.B == 255; }

const TsSkinModel& Model() {
  static const std::unique_ptr<TsSkinModel> model = [] {
    auto m = std::make_unique<TsSkinModel>();
    if (!LoadPackedSkinFile(*m, kArchive, {}, "")) m.reset();
    return m;
  }();
  if (!model) throw std::runtime_error(kArchive + " is missing: build the garnet_skin target");
  return *model;
}

const TsMaskData& Image(const char* section, const char* key) {
  const int32_t i = Model().FindImage(Model().FindSection(section), section, key);
  if (i < 0) throw std::runtime_error(std::string("no image ") + section + "/" + key);
  return Model().Images[i];
}

const TsGeneralData& Section(const char* name) {
  const int32_t i = Model().FindSection(name);
  if (i < 0) throw std::runtime_error(std::string("no section ") + name);
  return Model().Sections[i];
}

TEST(GarnetArchive, EntriesInTheirStoredOrder) {
  std::unique_ptr<TacSkinConvertor> reader;
  LoadArchiveFile(reader, kArchive);
  ASSERT_TRUE(reader) << kArchive;
  ASSERT_TRUE(reader->Options);
  EXPECT_EQ(reader->ImageCount, 7);
  const char* names[] = {"Huge.bmp", "Master.bmp", "CloseAG.png", "CloseG.png", "MaxG.png", "MinG.png", "NormG.png"};
  ASSERT_EQ(reader->Files.size(), 7u);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(reader->Files[i].FileName, names[i]);
  ASSERT_FALSE(reader->Entries.empty());
  EXPECT_EQ(reader->Entries[0].Name, "Options.dat");
  // The bitmaps have the stored skin's file layout.
  EXPECT_EQ(reader->Files[0].FileStream.Size(), 36918u);
  EXPECT_EQ(reader->Files[1].FileStream.Size(), 222824u);
}

TEST(GarnetArchive, BuildsTheModelTheInstallerUses) {
  const TsSkinModel& m = Model();
  EXPECT_EQ(m.Sections.size(), 62u);
  EXPECT_DOUBLE_EQ(m.SkinData.Version, 7.0);
  EXPECT_EQ(m.MasterBitmap.Width(), 634);
  EXPECT_EQ(m.MasterBitmap.Height(), 117);
  EXPECT_EQ(m.SkinData.BIKeepHue, 2);
  EXPECT_EQ(m.SkinData.BICloseGlow, 1);
  EXPECT_EQ(m.SkinData.BIMaxGlowMargin, 10);
  EXPECT_EQ(m.SkinData.BIMinGlowMargin, 10);

  const TsGeneralData& button = Section("BUTTON");
  EXPECT_EQ(button.States, 3);
  EXPECT_EQ(button.StateProps[1].FontColor, 12632319);
  EXPECT_TRUE(button.FadingEnabled);
  EXPECT_EQ(button.FadingIterations, 20);
  EXPECT_TRUE(Section("CHECKBOX").FadingEnabled);
  EXPECT_EQ(Section("TABLEFT").States, 4);
  EXPECT_EQ(Section("SCROLLBTNTOP").StateProps[1].FontColor, 9013657);
  EXPECT_EQ(Section("PROGRESSH").GradientPercent, 50);
  EXPECT_EQ(Section("PROGRESSH").ImagePercent, 50);
  EXPECT_FALSE(Section("PROGRESSH").Gradient.empty());
  // DIALOG is FORM: it takes FORM's colours and frame.
  EXPECT_EQ(Section("DIALOG").Color, 2434349);
  EXPECT_EQ(Section("DIALOG").BorderMaskIndex, Section("FORM").BorderMaskIndex);

  const TsCachedIndexes& c = m.Cache;
  for (int32_t i : {c.BoxChecked, c.BoxUnchecked, c.BoxGrayed, c.RadioChecked, c.RadioUnchecked, c.RadioGrayed,
                    c.SmallChecked, c.SmallUnchecked, c.SmallGrayed})
    EXPECT_GE(i, 0);
  for (const TsSectionCache& s : c.ScrollBar) EXPECT_GE(s.BorderMask, 0);
  for (const TsSectionCache& s : c.ScrollBtn) EXPECT_GE(s.GlyphMask, 0);
  EXPECT_GE(c.ComboBtn.BorderMask, 0);
  EXPECT_GE(c.ComboBoxGlyphMask, 0);
}

TEST(GarnetArchive, ImageCellsHaveTheSizesTheControlsExpect) {
  const TsMaskData& button = Image("BUTTON", "BORDERSMASK");
  EXPECT_EQ(button.CellWidth(), 80);
  EXPECT_EQ(button.CellHeight(), 26);
  for (const char* k : {"BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED", "RADIOUNCHECKED"}) {
    EXPECT_EQ(Image("GLOBALINFO", k).ImageCount, 3) << k;
    EXPECT_EQ(Image("GLOBALINFO", k).CellWidth(), 15) << k;
    EXPECT_EQ(Image("GLOBALINFO", k).CellHeight(), 15) << k;
  }
  EXPECT_EQ(Image("GLOBALINFO", "RADIOCHECKED").ImageCount, 1);
  // Title buttons: the close image fixes the height of all of them.
  const struct { const char* key; int width; } buttons[] = {
      {"SICONCLOSE", 21}, {"BICONCLOSE", 27}, {"BICLOSEALONE", 27}, {"BICONMAX", 23}, {"BICONNORM", 23}, {"BICONMIN", 24}};
  for (const auto& b : buttons) {
    EXPECT_EQ(Image("GLOBALINFO", b.key).ImageCount, 3) << b.key;
    EXPECT_EQ(Image("GLOBALINFO", b.key).CellWidth(), b.width) << b.key;
    EXPECT_EQ(Image("GLOBALINFO", b.key).CellHeight(), 17) << b.key;
  }
  // Glow pictures: the button plus a 10-pixel margin on every side, with alpha.
  const struct { const char* key; const char* button; } glows[] = {
      {"BICONCLOSEGLOW0", "BICONCLOSE"}, {"BICLOSEALONEGLOW0", "BICLOSEALONE"}, {"BICONMAXGLOW0", "BICONMAX"},
      {"BICONNORMGLOW0", "BICONNORM"}, {"BICONMINGLOW0", "BICONMIN"}};
  for (const auto& g : glows) {
    const TsMaskData& glow = Image("GLOBALINFO", g.key);
    EXPECT_EQ(glow.ImgType, 4) << g.key;
    EXPECT_EQ(glow.R.Width(), Image("GLOBALINFO", g.button).CellWidth() + 20) << g.key;
    EXPECT_EQ(glow.R.Height(), 37) << g.key;
    EXPECT_EQ(glow.Bmp.At(0, 0).A, 0) << g.key;                       // clear at the edge
    EXPECT_EQ(glow.Bmp.At(glow.R.Width() / 2, 18).A, 255) << g.key;  // the button itself
  }
  const TsMaskData& huge = Image("BUTTON_HUGE", "BORDERSMASK");
  EXPECT_EQ(huge.R.Width(), 192);
  EXPECT_EQ(huge.R.Height(), 64);
  EXPECT_EQ(huge.WL, 31);
}

// Every cell of every master-bitmap image holds art, states look different, rounded
// pieces have key-colour corners, and textures (stretched without transparency) have none.
TEST(GarnetArchive, PicturesLieWhereTheOptionsPointAndReadAsSkinArt) {
  const TsSkinModel& m = Model();
  const Bitmap32& master = m.MasterBitmap;
  auto cellPixels = [&](const TsMaskData& img, int cell) {
    const TsRect r = img.CellRect(cell);
    std::vector<Pixel32> px;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) px.push_back(master.At(x, y));
    return px;
  };
  for (const TsMaskData& img : m.Images) {
    if (!img.Bmp.Empty()) continue;
    const std::string name = img.Section + "/" + img.PropertyName;
    for (int cell = 0; cell < img.ImageCount; ++cell) {
      const auto px = cellPixels(img, cell);
      EXPECT_TRUE(std::any_of(px.begin(), px.end(), [](const Pixel32& p) { return !IsKey(p); }))
          << name << " cell " << cell << " is empty";
    }
    if (img.ImgType == itTexture) {
      for (const Pixel32& p : cellPixels(img, 0)) EXPECT_FALSE(IsKey(p)) << name << ": key pixel in a texture";
    }
  }
  for (const char* k : {"BOXCHECKED", "BOXUNCHECKED", "RADIOUNCHECKED", "SICONCLOSE", "BICONCLOSE"}) {
    const TsMaskData& img = Image("GLOBALINFO", k);
    EXPECT_NE(cellPixels(img, 0), cellPixels(img, 1)) << k << ": hot looks like normal";
    EXPECT_NE(cellPixels(img, 1), cellPixels(img, 2)) << k << ": pressed looks like hot";
  }
  const TsMaskData& button = Image("BUTTON", "BORDERSMASK");
  for (int cell = 0; cell < 3; ++cell) {
    const TsRect r = button.CellRect(cell);
    EXPECT_TRUE(IsKey(master.At(r.Left, r.Top))) << "rounded button corner, cell " << cell;
    EXPECT_TRUE(IsKey(master.At(r.Right - 1, r.Bottom - 1))) << "rounded button corner, cell " << cell;
    EXPECT_FALSE(IsKey(master.At((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)));
  }
  // The window's top corners are rounded by the title image's key pixels; the title's
  // bottom rows are also the frame's top rows and hold no key pixel.
  const TsMaskData& title = Image("FORMTITLE", "BORDERSMASK");
  for (int cell = 0; cell < 2; ++cell) {
    const TsRect r = title.CellRect(cell);
    EXPECT_TRUE(IsKey(master.At(r.Left, r.Top)));
    EXPECT_TRUE(IsKey(master.At(r.Right - 1, r.Top)));
    for (int y = 15; y < 18; ++y)
      for (int x = r.Left; x < r.Right; ++x) EXPECT_FALSE(IsKey(master.At(x, y))) << x << "," << y;
  }
  // DIVIDER and the vertical tracks begin on GROUPBOX's right column: one line colour.
  const Pixel32 line = master.At(171, 40);
  EXPECT_FALSE(IsKey(line));
  EXPECT_EQ(master.At(171, 39), line);
  EXPECT_EQ(master.At(171, 42), line);
  // Masked progress blocks: the lower half of the image is a grey mask.
  const TsMaskData& progress = Image("PROGRESSH", "BORDERSMASK");
  const Pixel32 mask = master.At(progress.R.Left + 6, progress.R.Top + progress.CellHeight() + 6);
  EXPECT_EQ(mask.R, mask.G);
  EXPECT_EQ(mask.G, mask.B);
}

}  // namespace
