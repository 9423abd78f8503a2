// Building the skin model from packed and folder skins made here: images, pictures,
// sections, lookups, merged common sections, cached indexes and load failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <unistd.h>

#include <jpeglib.h>

#include "image/BmpFile.h"
#include "image/PngWrite.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sSkinManager.h"

namespace {

constexpr Pixel32 kKey{0xFF, 0x00, 0xFF, 0};  // magenta, as a pixel

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

Bitmap32 Solid(int w, int h, Pixel32 p) {
  Bitmap32 b(w, h);
  b.Fill(p);
  return b;
}

// A JPEG file image of w x h pixels of one grey level, or of a busy pattern.
std::vector<uint8_t> MakeJpeg(int w, int h, bool busy = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(w) * 3, 128);
  while (c.next_scanline < c.image_height) {
    if (busy)
      for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<unsigned char>(i * 37 + c.next_scanline * 91);
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  std::free(out);
  return bytes;
}

uint32_t TableSysColor(int index) { return index == 15 ? 0x00ABCDEFu : 0x00111111u * static_cast<uint32_t>(index % 15); }

struct Loaded {
  std::unique_ptr<TsSkinModel> Model = std::make_unique<TsSkinModel>(TsSkinPlatform{TableSysColor, 7});
};

// Packs an options text and files into an archive and loads it.
Loaded LoadPacked(const std::string& options, std::vector<TacArchiveFile> files = {}, TsBuildParams params = {}) {
  files.insert(files.begin(), TacArchiveFile{"Options.dat", Bytes(options)});
  Loaded l;
  LoadPackedSkin(*l.Model, WriteSkinArchive(files), params, "");
  return l;
}

// A 20 x 10 master bitmap with a key-colour pixel at (1, 1).
TacArchiveFile Master(const char* name = "Master.bmp") {
  Bitmap32 m = Solid(20, 10, Pixel32{10, 20, 30, 0});
  m.At(1, 1) = kKey;
  return {name, WriteBmp24(m)};
}

TEST(SkinModelImages, MasterBitmapAndDescriptorsInFileOrder) {
  const auto l = LoadPacked(
      "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nBOXCHECKED=@0000@0000@0009@0003@3@0\n"
      "[BUTTON]\nCOLOR=5\nBORDERSMASK=^0000^0000^0009^0006^0000^0000^0000^0000^3^0^0^0\n"
      "PATTERN=~0000~0005~0020~0006~01\nAUTHOR=not an image\n",
      {Master()});
  const TsSkinModel& m = *l.Model;
  ASSERT_EQ(m.MasterBitmap.Width(), 20);
  EXPECT_EQ(m.MasterBitmap.At(0, 0).A, 255);
  EXPECT_EQ(m.MasterBitmap.At(1, 1), kKey);  // key colour keeps alpha 0
  ASSERT_EQ(m.Images.size(), 3u);
  EXPECT_EQ(m.Images[0].PropertyName, "BOXCHECKED");
  EXPECT_EQ(m.Images[1].Section, "BUTTON");
  EXPECT_EQ(m.Images[1].WL, 1);  // derived: 9 / (3 * 3)
  EXPECT_EQ(m.Images[2].ImgType, itTexture);
  EXPECT_EQ(m.Images[2].Manager, &m);
  EXPECT_TRUE(m.Images[0].Bmp.Empty());
  EXPECT_EQ(&m.ImageBitmap(m.Images[0]), &m.MasterBitmap);
  EXPECT_EQ(m.SkinData.MasterBitmap, "MASTER.BMP");
}

TEST(SkinModelImages, FileImagesFromTheArchive) {
  Bitmap32 glow = Solid(47, 37, Pixel32{1, 2, 3, 200});
  glow.At(0, 0) = Pixel32{255, 255, 255, 0};  // transparent white becomes all-zero
  Bitmap32 huge = Solid(192, 64, Pixel32{9, 9, 9, 0});
  huge.At(5, 5) = kKey;
  const auto l = LoadPacked(
      "[GLOBALINFO]\n"
      "BICONCLOSEGLOW0=!CLOSEG.PNG!1!0!4!0000!0000!0000!0000!0\n"
      "LOWER=!closeg.png!1!0!4\n"
      "MISSING=!NOPE.PNG!1\n"
      "SHORT=!CLOSEG.PNG!2\n"
      "[BUTTON_HUGE]\nBORDERSMASK=!HUGE.BMP!3!0!0!0031!0031!0031!0031!4\n"
      "[odd]\nlegacy=huge.bmp\n",
      {{"CloseG.png", EncodePng(glow)}, {"Huge.bmp", WriteBmp24(huge)}});
  const TsSkinModel& m = *l.Model;
  EXPECT_TRUE(m.MasterBitmap.Empty());  // no MASTERBITMAP: loads anyway
  ASSERT_EQ(m.Images.size(), 4u);       // lower-case and missing files are skipped
  const TsMaskData& g = m.Images[0];
  EXPECT_EQ(g.R, (TsRect{0, 0, 47, 37}));
  EXPECT_EQ(g.ImgType, 4);
  EXPECT_EQ(g.DrawMode, 0);
  EXPECT_EQ(g.WL + g.WT + g.WR + g.WB, 0);
  EXPECT_TRUE(g.Bmp32);
  EXPECT_EQ(g.Bmp.At(1, 1).A, 200);  // own alpha kept
  EXPECT_EQ(g.Bmp.At(0, 0), (Pixel32{0, 0, 0, 0}));
  const TsMaskData& s = m.Images[1];  // fewer than 5 words: widths derived, draw mode 1
  EXPECT_EQ(s.WL, 47 / 6);
  EXPECT_EQ(s.WT, 37 / 3);
  EXPECT_EQ(s.DrawMode, 1);
  const TsMaskData& h = m.Images[2];
  EXPECT_EQ(h.WL, 31);
  EXPECT_EQ(h.DrawMode, 4);
  EXPECT_FALSE(h.Bmp32);
  EXPECT_EQ(h.Bmp.At(0, 0).A, 255);
  EXPECT_EQ(h.Bmp.At(5, 5).A, 0);
  const TsMaskData& b = m.Images[3];  // bitmap file name: upper-cased names, fixed layout
  EXPECT_EQ(b.Section, "ODD");
  EXPECT_EQ(b.PropertyName, "LEGACY");
  EXPECT_EQ(b.ImageCount, 3);
  EXPECT_EQ(b.MaskType, 1);
  EXPECT_EQ(b.WL, 192 / 9);
  EXPECT_EQ(b.WT, 64 / 6);
}

// Pictures are textures up to 899,999 pixels and patterns above; unreadable ones, and those
// whose data ends before their last rows (the library would make those rows up), are skipped.
TEST(SkinModelImages, JpegTexturesAndPatterns) {
  const std::vector<uint8_t> busy = MakeJpeg(64, 64, true);
  const std::vector<uint8_t> cut(busy.begin(), busy.begin() + static_cast<long>(busy.size() * 2 / 3));
  std::vector<uint8_t> cutClosed = cut;  // the end marker right after the cut
  cutClosed.insert(cutClosed.end(), {0xFF, 0xD9});
  const std::vector<uint8_t> noEnd(busy.begin(), busy.end() - 2);  // only the end marker missing
  const auto l = LoadPacked(
      "[FORM]\nPATTERN=small.jpg\nHOTPATTERN=BIG.JPEG\nEDGE=EDGE.JPG\nBROKEN=BAD.JPG\nGONE=GONE.JPG\n"
      "CUT=CUT.JPG\nCLOSED=CLOSED.JPG\nNOEND=NOEND.JPG\n",
      {{"SMALL.JPG", MakeJpeg(30, 20)},
       {"big.jpeg", MakeJpeg(1000, 900)},   // 900,000 pixels: a pattern
       {"EDGE.JPG", MakeJpeg(999, 900)},    // 899,100 pixels: a texture
       {"BAD.JPG", Bytes("\xFF\xD8\xFF not really")},
       {"CUT.JPG", cut},
       {"CLOSED.JPG", cutClosed},
       {"NOEND.JPG", noEnd}});
  const TsSkinModel& m = *l.Model;
  ASSERT_EQ(m.Patterns.size(), 1u);
  EXPECT_EQ(m.Patterns[0].PropertyName, "HOTPATTERN");
  EXPECT_EQ(m.Patterns[0].Image.Width(), 1000);
  ASSERT_EQ(m.Images.size(), 3u);
  EXPECT_EQ(m.Images[0].ImgType, itTexture);
  EXPECT_EQ(m.Images[0].R, (TsRect{0, 0, 30, 20}));
  EXPECT_EQ(m.Images[0].Bmp.At(3, 3).A, 255);
  EXPECT_EQ(m.Images[1].PropertyName, "EDGE");
  EXPECT_EQ(m.Images[2].PropertyName, "NOEND");
  const int32_t form = m.FindSection("FORM");
  EXPECT_EQ(m.FindTexture(form, "FORM", "PATTERN"), 0);
  EXPECT_EQ(m.FindPattern(form, "FORM", "HOTPATTERN"), 0);
  EXPECT_EQ(m.FindPattern(form, "FORM", "PATTERN"), -1);
}

TEST(SkinModelSections, DefaultsInheritanceAndStates) {
  const auto l = LoadPacked(
      "[BASE]\nSTATES=3\nCOLOR=$FF00000F\nTCLEFT=4\nFADINGENABLED=TRUE\nGRADIENTDATA=41;0;97;0;0;0;0;0;0;0\n"
      "GRADIENTPERCENT=50\nHOTFONTCOLOR=9013657\nGSIZE=300\nRESERVEDBOOLEAN=1\n"
      "[CHILD]\nPARENTCLASS=BASE\nTCLEFT=-1\nFADINGENABLED=yes\n"
      "[ONE]\nSTATES=1\nCOLOR=5\nHOTCOLOR=6\nFADINGENABLED=1\nGRADIENTDATA=N/A\nGRADIENTPERCENT=30\n"
      "[PLAIN]\nGRADIENTPERCENT=40\n"
      "[SCROLLBTNLEFT]\nPARENTCLASS=BASE\n");
  const TsSkinModel& m = *l.Model;
  ASSERT_EQ(m.Sections.size(), 5u);
  const TsGeneralData& base = m.Sections[0];
  EXPECT_EQ(base.Color, 0xABCDEF);  // system colour through the platform
  EXPECT_TRUE(base.FadingEnabled);
  ASSERT_EQ(base.Gradient.size(), 2u);
  EXPECT_EQ(base.GradientPercent, 50);
  EXPECT_EQ(base.StateProps[1].FontColor, 9013657);
  EXPECT_EQ(base.GlowSize, 300 & 0xFF);
  EXPECT_FALSE(base.ReservedBoolean);  // only read for SCROLLBTNLEFT

  const TsGeneralData& child = m.Sections[1];
  EXPECT_EQ(child.ParentClass, "BASE");
  EXPECT_EQ(child.States, 3);
  EXPECT_EQ(child.TCLeft, 4);
  EXPECT_FALSE(child.FadingEnabled);  // "yes" is a value, and false
  EXPECT_EQ(child.StateProps[0].Gradient, base.Gradient);

  const TsGeneralData& one = m.Sections[2];
  EXPECT_EQ(one.HotColor, 0xFFFFFF);  // hot keys are not read below 2 states
  EXPECT_EQ(one.StateProps[1].Color, 5);
  EXPECT_TRUE(one.FadingEnabled);
  EXPECT_TRUE(one.Gradient.empty());
  EXPECT_EQ(one.GradientPercent, 30);  // "N/A" is long enough to keep its percent

  const TsGeneralData& plain = m.Sections[3];
  EXPECT_EQ(plain.States, 4);
  EXPECT_EQ(plain.GradientPercent, 0);  // no GRADIENTDATA: percent forced to 0
  EXPECT_EQ(plain.Color, 0xFFFFFF);
  EXPECT_EQ(plain.FadingIterations, 5);
  EXPECT_EQ(plain.TCBottom, -1);
  EXPECT_TRUE(m.Sections[4].ReservedBoolean);
}

TEST(SkinModelSections, GlobalInfoIsReadWithoutInheritance) {
  const auto l = LoadPacked(
      "[BASE]\nBORDERWIDTH=9\nVERSION=8\n"
      "[GLOBALINFO]\nPARENTCLASS=BASE\nVERSION=7.00\nBISPACE=-1\nTITLEHEIGHT=abc\nAUTHOR=?\n"
      "SHADOW1COLOR=$FF00000F\nBORDERCOLOR=16711935\n");
  const TsSkinData& s = l.Model->SkinData;
  EXPECT_DOUBLE_EQ(s.Version, 7.0);
  EXPECT_EQ(s.BorderWidth, 4);
  EXPECT_EQ(s.BISpacing, -1);      // a plain read: -1 stays
  EXPECT_EQ(s.TitleHeight, 30);    // bad text: default
  EXPECT_EQ(s.FormOffset, 7);      // the platform's sizing frame
  EXPECT_EQ(s.Shadow1Blur, -1);
  EXPECT_EQ(s.Author, "");
  EXPECT_EQ(s.Shadow1Color, 0xABCDEF);
  EXPECT_EQ(s.BorderColor, 0xFF00FF);
}

TEST(SkinModelLookups, FindImageFollowsParentsAndStopsOnCycles) {
  const auto l = LoadPacked(
      "[BUTTON]\nBORDERSMASK=^0000^0000^0009^0006^0001^0001^0001^0001^3^0^0^0\nPATTERN=@0000@0000@0001@0001@1@0\n"
      "[COMBOBTN]\nPARENTCLASS=BUTTON\n"
      "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n"
      "[SELF]\nPARENTCLASS=SELF\n");
  const TsSkinModel& m = *l.Model;
  const int32_t combo = m.FindSection("COMBOBTN");
  EXPECT_EQ(m.FindImage(combo, "COMBOBTN", "BORDERSMASK"), 0);
  EXPECT_EQ(m.FindImage("COMBOBTN", "BORDERSMASK"), -1);
  EXPECT_EQ(m.Sections[static_cast<std::size_t>(combo)].BorderMaskIndex, 0);
  EXPECT_EQ(m.Cache.ComboBtn.BorderMask, -1);            // cached without inheritance
  EXPECT_EQ(m.FindTexture(combo, "COMBOBTN", "PATTERN"), -1);  // a glyph is no texture
  EXPECT_EQ(m.FindImage(m.FindSection("A"), "A", "BORDERSMASK"), -1);
  EXPECT_EQ(m.FindImage(m.FindSection("SELF"), "SELF", "BORDERSMASK"), -1);
  EXPECT_EQ(m.FindImage(-1, "BUTTON", "BORDERSMASK"), -1);
  EXPECT_EQ(m.FindImage(0, "", "BORDERSMASK"), -1);
  EXPECT_EQ(m.FindSection("button"), -1);
}

TEST(SkinModelCache, GlobalImagesAndControlSections) {
  const auto l = LoadPacked(
      "[GLOBALINFO]\nBOXCHECKED=@0000@0000@0009@0003@3@0\nEXBORDER=^0000^0000^0009^0006^0001^0001^0001^0001^1^0^0^0\n"
      "[SCROLLBTNTOP]\nGLYPHMASK=@0601@0039@0628@0044@3@0\nHOTPATTERN=~0000~0005~0020~0006~01\n"
      "[SCROLLBAR1V]\nBORDERSMASK=^0171^0042^0179^0043^0001^0000^0001^0000^1^0^0^1\n"
      "[COMBOBOX]\nGLYPHMASK=@0000@0000@0003@0003@1@0\n[TABLEFT]\nPARENTCLASS=SCROLLBAR1V\n");
  const TsCachedIndexes& c = l.Model->Cache;
  EXPECT_EQ(c.GlobalInfo, 0);
  EXPECT_EQ(c.BoxChecked, 0);
  EXPECT_EQ(c.ExBorder, 1);
  EXPECT_EQ(c.RadioChecked, -1);
  EXPECT_EQ(c.ScrollBtn[sbTop].Section, 1);
  EXPECT_EQ(c.ScrollBtn[sbTop].GlyphMask, 2);
  EXPECT_EQ(c.ScrollBtn[sbTop].HotPattern, 3);
  EXPECT_EQ(c.ScrollBtn[sbBottom].Section, -1);
  EXPECT_EQ(c.ScrollBar[sb1V].BorderMask, 4);
  EXPECT_EQ(c.ComboBoxGlyphMask, 5);
  EXPECT_EQ(c.Tab[tsLeft].BorderMask, 4);  // inherited
  // GLOBALINFO keeps no per-section images of its own.
  EXPECT_EQ(l.Model->Sections[0].BorderMaskIndex, -1);
}

TEST(SkinModelCache, NoGlobalInfoLeavesGlobalImagesUnset) {
  const auto l = LoadPacked("[OTHER]\nBOXCHECKED=@0000@0000@0009@0003@3@0\n");
  EXPECT_EQ(l.Model->Cache.GlobalInfo, -1);
  EXPECT_EQ(l.Model->Cache.BoxChecked, -1);
  EXPECT_EQ(l.Model->Images.size(), 1u);
}

TEST(SkinModelCommon, CommonSectionsReplaceAndAppend) {
  TsBuildParams p;
  p.CommonSections = {"[BUTTON]", "PARENTCLASS=form", "STATES=1", "[EXTRA]", "FONTCOLOR=3"};
  const auto l = LoadPacked(
      "[FORM]\nCOLOR=2434349\nFONTCOLOR=9013657\n[BUTTON]\nCOLOR=14408703\nSTATES=3\nGLOW=4\n", {}, p);
  const TsSkinModel& m = *l.Model;
  ASSERT_EQ(m.Sections.size(), 3u);
  const TsGeneralData& b = m.Sections[1];
  EXPECT_EQ(b.SectionName, "BUTTON");
  EXPECT_EQ(b.States, 1);
  EXPECT_EQ(b.Color, 2434349);  // from FORM, found without regard to case
  EXPECT_EQ(b.FontColor, 9013657);
  EXPECT_EQ(b.Glow, 0);         // the skin's own BUTTON no longer counts
  EXPECT_EQ(m.Sections[2].SectionName, "EXTRA");
  EXPECT_EQ(m.Sections[2].FontColor, 3);
  EXPECT_EQ(m.Sections[2].Color, 0xFFFFFF);
}

TEST(SkinModelFailures, ConversionErrorsEndTheLoad) {
  EXPECT_THROW(LoadPacked("[BUTTON]\nBORDERSMASK=^00x0^0000^0009^0006^0000^0000^0000^0000^3^0^0^0\n"), EConvertError);
  EXPECT_THROW(LoadPacked("[GLOBALINFO]\nSHADOW1BLUR=soft\n"), EConvertError);
  EXPECT_THROW(LoadPacked("[GLOBALINFO]\nBICONCLOSEGLOWMARGIN=wide\n"), EConvertError);
  EXPECT_THROW(LoadPacked("[X]\nGRADIENTDATA=1;2;x;0;0\n"), EConvertError);
  EXPECT_NO_THROW(LoadPacked("[X]\nGRADIENTDATA=N/A\n"));
}

TEST(SkinModelFailures, ArchiveErrorsLeaveTheModelAlone) {
  auto l = LoadPacked("[FORM]\nCOLOR=1\n");
  std::vector<uint8_t> bad = WriteSkinArchive({{"Options.dat", Bytes("[X]\n")}});
  bad[3] = 'F';  // "ASzF"
  try {
    LoadPackedSkin(*l.Model, bad, {}, "");
    FAIL();
  } catch (const ESkinPackError& e) {
    EXPECT_STREQ(e.what(), "Loaded data is not a packed Quorindel file");
  }
  EXPECT_EQ(l.Model->Sections.size(), 1u);
  EXPECT_THROW(LoadPackedSkin(*l.Model, WriteSkinArchive({{"Master.bmp", Bytes("x")}}), {}, ""), std::runtime_error);
}

TEST(SkinModelSources, EmptyDataAndFolderSkins) {
  TsSkinModel model;
  LoadPackedSkin(model, {}, {}, "");
  EXPECT_TRUE(model.Sections.empty());

  const auto dir = std::filesystem::temp_directory_path() / ("h3skin" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream(dir / "Options.dat", std::ios::binary)
        << "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nVERSION=6.5\r\n[FORM]\r\nBORDERSMASK=frame.bmp\r\n";
    const auto master = Master().Data;
    std::ofstream(dir / "Master.bmp", std::ios::binary).write(reinterpret_cast<const char*>(master.data()),
                                                               static_cast<std::streamsize>(master.size()));
    std::ofstream(dir / "Frame.BMP", std::ios::binary).write(reinterpret_cast<const char*>(master.data()),
                                                              static_cast<std::streamsize>(master.size()));
  }
  double seen = 0;
  TsBuildParams p;
  p.OnVersion = [&](double v) { seen = v; };
  const std::string path = dir.string() + "/";
  EXPECT_FALSE(LoadFolderSkin(model, path + "missing/", p));
  ASSERT_TRUE(LoadFolderSkin(model, path, p));
  EXPECT_EQ(model.SkinData.SkinPath, path);
  EXPECT_EQ(model.MasterBitmap.Width(), 20);  // found whatever the letter case on disk
  ASSERT_EQ(model.Images.size(), 1u);
  EXPECT_EQ(model.Images[0].PropertyName, "BORDERSMASK");
  EXPECT_DOUBLE_EQ(seen, 6.5);
  std::filesystem::remove_all(dir);
}

TEST(SkinVersion, ChecksAndTexts) {
  EXPECT_EQ(CheckSkinVersion(7.0, false), TsVersionNotice::None);
  EXPECT_EQ(CheckSkinVersion(7.99, false), TsVersionNotice::None);
  EXPECT_EQ(CheckSkinVersion(8.0, false), TsVersionNotice::Newer);
  EXPECT_EQ(CheckSkinVersion(6.5, false), TsVersionNotice::None);
  EXPECT_EQ(CheckSkinVersion(6.5, true), TsVersionNotice::Old);
  EXPECT_EQ(SkinVersionMessage(TsVersionNotice::Old, "Garnet").rfind("You are using an old version of the \"Garnet\" skin.", 0),
            0u);
  EXPECT_EQ(FormatSkinVersion(7.0), "7");
  EXPECT_EQ(FormatSkinVersion(7.5), "7.5");
  const std::vector<std::string> args = {"setup.exe", "/ACTEST"};
  EXPECT_TRUE(HasSwitch(args, "/actest"));
  EXPECT_FALSE(HasSwitch(args, "/acver"));
}

}  // namespace

TEST(SkinManagerFolders, RelativeFoldersResolveAgainstTheApplicationAndAlwaysEndInABackslash) {
  const std::string app = "C:\\Apps\\Kestamor\\";
  EXPECT_EQ(AbsoluteSkinFolder("./Skins", app), "C:\\Apps\\Kestamor\\Skins\\");
  EXPECT_EQ(AbsoluteSkinFolder(".\\Skins/", app), "C:\\Apps\\Kestamor\\Skins\\");
  EXPECT_EQ(AbsoluteSkinFolder("..\\Skins", app), "C:\\Apps\\Skins\\");
  EXPECT_EQ(AbsoluteSkinFolder("Skins", app), "C:\\Apps\\Kestamor\\Skins\\");
  EXPECT_EQ(AbsoluteSkinFolder("c:\\Skins", app), "c:\\Skins\\");
  EXPECT_EQ(AbsoluteSkinFolder("\\\\server\\skins", app), "\\\\server\\skins\\");
  EXPECT_EQ(WithTrailingBackslash("d"), "d:\\");
  EXPECT_EQ(WithTrailingBackslash("c:\\Skins\\"), "c:\\Skins\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
}
