// Runs the skintool executable on skins built here and checks archives, folders and reports.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ToolRun.h"
#include "image/BmpFile.h"
#include "image/PngWrite.h"
#include "skin/data/acSkinPack.h"
#include "tools/skintool/SkinInfo.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

const fs::path kTool = fs::path(KESTAMOR_BINARY_DIR) / "tools" / "skintool" / "skintool";

ToolResult RunTool(const std::string& args) { return RunProgram(kTool, args); }
using ::WriteAll;
void WriteAll(const fs::path& p, const std::string& s) { WriteAll(p, Bytes(s.begin(), s.end())); }

Bitmap32 Solid(int w, int h, Pixel32 p) {
  Bitmap32 b(w, h);
  b.Fill(p);
  return b;
}

// Options naming every section the installer's windows use, each with an image in
// the 634 x 117 master bitmap, plus a glow PNG and a bitmap file.
std::string CleanOptions() {
  std::string o =
      "[GLOBALINFO]\r\nVERSION=7.00\r\nMASTERBITMAP=MASTER.BMP\r\n"
      "BOXCHECKED=@0128@0074@0173@0089@3@0\r\n"
      "BICONCLOSEGLOW0=!CLOSEG.PNG!1!0!4!0000!0000!0000!0000!0\r\n";
  for (const char* s : kInstallerSections) {
    if (std::string(s) == "GLOBALINFO") continue;
    o += std::string("[") + s + "]\r\nSTATES=3\r\nBORDERSMASK=^0000^0091^0240^0117^0004^0011^0004^0004^3^0^5^1\r\n";
  }
  o += "[BUTTON_HUGE]\r\nPARENTCLASS=BUTTON\r\nBORDERSMASK=!HUGE.BMP!3!0!0!0031!0031!0031!0031!4\r\n";
  return o;
}

class SkinTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kTool)) << "build the skintool target first: " << kTool;
    dir_ = fs::temp_directory_path() / ("skintool-test-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    skin_ = dir_ / "skin";
    fs::create_directories(skin_);
    WriteAll(skin_ / "options.DAT", CleanOptions());
    WriteAll(skin_ / "Master.bmp", WriteBmp24(Solid(634, 117, {40, 30, 90, 255})));
    WriteAll(skin_ / "Huge.bmp", WriteBmp24(Solid(192, 64, {60, 60, 60, 255})));
    WriteAll(skin_ / "CloseG.png", EncodePng(Solid(47, 37, {10, 20, 200, 128})));
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::unique_ptr<TacSkinConvertor> Load(const fs::path& asz) {
    std::unique_ptr<TacSkinConvertor> r;
    LoadArchiveFile(r, asz.string(), true);
    return r;
  }
  std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

  fs::path dir_, skin_;
};

TEST_F(SkinTool, PacksOptionsFirstThenOrderThenByNameAndRoundTrips) {
  WriteAll(skin_ / "ORDER", "Master.bmp\r\n\r\n  CloseG.png  \n");
  WriteAll(skin_ / "Aa.png", EncodePng(Solid(2, 2, {1, 2, 3, 4})));  // not listed
  const fs::path asz = dir_ / "a.asz";
  ToolResult r = RunTool("pack " + Q(skin_) + " " + Q(asz));
  ASSERT_EQ(r.Exit, 0) << r.Output;
  EXPECT_NE(r.Output.find("Aa.png is not listed"), std::string::npos) << r.Output;

  auto reader = Load(asz);
  ASSERT_TRUE(reader);
  std::vector<std::string> names;
  for (const TacEntryInfo& e : reader->Entries) names.push_back(e.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"options.DAT", "Master.bmp", "CloseG.png", "Aa.png", "Huge.bmp"}));
  ASSERT_TRUE(reader->Options);
  EXPECT_EQ(reader->Options->Bytes(), ReadAll(skin_ / "options.DAT"));

  // unpack, then pack again: the same archive, byte for byte.
  const fs::path out = dir_ / "out";
  r = RunTool("unpack " + Q(asz) + " " + Q(out));
  ASSERT_EQ(r.Exit, 0) << r.Output;
  EXPECT_EQ(ReadAll(out / "Master.bmp"), ReadAll(skin_ / "Master.bmp"));
  r = RunTool("pack " + Q(out) + " " + Q(dir_ / "b.asz"));
  ASSERT_EQ(r.Exit, 0) << r.Output;
  EXPECT_EQ(ReadAll(dir_ / "b.asz"), ReadAll(asz));
}

TEST_F(SkinTool, RefusesBrokenFoldersArchivesAndUnsafeNames) {
  WriteAll(skin_ / "ORDER", "Master.bmp\nGone.png\n");
  ToolResult r = RunTool("pack " + Q(skin_) + " " + Q(dir_ / "a.asz"));
  EXPECT_NE(r.Exit, 0);
  EXPECT_NE(r.Output.find("Gone.png"), std::string::npos) << r.Output;
  EXPECT_FALSE(fs::exists(dir_ / "a.asz"));

  fs::remove(skin_ / "ORDER");
  fs::remove(skin_ / "options.DAT");
  r = RunTool("pack " + Q(skin_) + " " + Q(dir_ / "a.asz"));
  EXPECT_NE(r.Exit, 0);
  EXPECT_NE(r.Output.find("no Options.dat"), std::string::npos) << r.Output;

  // An entry name that climbs out of the target folder writes nothing at all.
  WriteAll(dir_ / "evil.asz", WriteSkinArchive({{"Options.dat", Bytes{'x'}}, {"../escaped.png", Bytes{'y'}}}));
  r = RunTool("unpack " + Q(dir_ / "evil.asz") + " " + Q(dir_ / "out"));
  EXPECT_NE(r.Exit, 0);
  EXPECT_NE(r.Output.find("not a plain file name"), std::string::npos) << r.Output;
  EXPECT_FALSE(fs::exists(dir_ / "escaped.png"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "Options.dat"));

  WriteAll(dir_ / "junk.asz", "ASZF....");
  r = RunTool("unpack " + Q(dir_ / "junk.asz") + " " + Q(dir_ / "out"));
  EXPECT_NE(r.Exit, 0);
  EXPECT_NE(r.Output.find("Loaded data is not a packed Quorindel file"), std::string::npos) << r.Output;

  EXPECT_EQ(RunTool("").Exit, 2);
  EXPECT_EQ(RunTool("pack onlyone").Exit, 2);
  EXPECT_EQ(RunTool("frobnicate a b").Exit, 2);
}

TEST_F(SkinTool, InfoPassesACleanSkinAndNamesEveryProblem) {
  ToolResult r = RunTool("info " + Q(skin_));
  EXPECT_EQ(r.Exit, 0) << r.Output;
  EXPECT_NE(r.Output.find("No problems found."), std::string::npos) << r.Output;
  // Entry sizes, the glow image's cell size and the border cells appear in the report.
  EXPECT_NE(r.Output.find("CloseG.png"), std::string::npos);
  EXPECT_NE(r.Output.find("47x37"), std::string::npos);
  EXPECT_NE(r.Output.find("80x26"), std::string::npos);

  std::string broken = CleanOptions();
  broken.replace(broken.find("[PANEL]"), 7, "[PANELX]");
  broken += "[EXTRA]\r\nPARENTCLASS=NOWHERE\r\nGLYPHMASK=@0620@0100@0640@0110@1@0\r\n"
            "PATTERN=!MISSING.PNG!1\r\nHOTPATTERN=!lower.png!1\r\n";
  WriteAll(skin_ / "options.DAT", broken);
  const fs::path asz = dir_ / "broken.asz";
  ASSERT_EQ(RunTool("pack " + Q(skin_) + " " + Q(asz)).Exit, 0);
  r = RunTool("info " + Q(asz));
  EXPECT_EQ(r.Exit, 1) << r.Output;
  for (const char* text : {"missing section PANEL,", "names the missing section NOWHERE",
                           "EXTRA GLYPHMASK: the rectangle (620, 100, 640, 110) lies outside the master bitmap",
                           "names the file MISSING.PNG", "!lower.png!1", "5 problem(s) found."})
    EXPECT_NE(r.Output.find(text), std::string::npos) << text << "\n" << r.Output;

  // Without its master bitmap every image in it is lost: one problem says so.
  fs::remove(skin_ / "Master.bmp");
  WriteAll(skin_ / "options.DAT", CleanOptions());
  r = RunTool("info " + Q(skin_));
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Output.find("names the file MASTER.BMP"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("master bitmap is missing or empty"), std::string::npos) << r.Output;
}

TEST_F(SkinTool, Png2BmpKeepsStraightAlpha) {
  Bitmap32 src(3, 2);
  src.At(0, 0) = {255, 0, 0, 255};
  src.At(1, 0) = {0, 255, 0, 128};
  src.At(2, 1) = {1, 2, 3, 0};
  WriteAll(dir_ / "in.png", EncodePng(src));
  ToolResult r = RunTool("png2bmp " + Q(dir_ / "in.png") + " " + Q(dir_ / "out.bmp"));
  ASSERT_EQ(r.Exit, 0) << r.Output;
  const Bytes bmp = ReadAll(dir_ / "out.bmp");
  int bpp = 0;
  const Bitmap32 back = ReadBmp(bmp.data(), bmp.size(), &bpp);
  EXPECT_EQ(bpp, 32);
  ASSERT_EQ(back.Width(), 3);
  ASSERT_EQ(back.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back.At(x, y), src.At(x, y)) << x << "," << y;

  r = RunTool("png2bmp " + Q(dir_ / "out.bmp") + " " + Q(dir_ / "x.bmp"));
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Output.find("out.bmp"), std::string::npos) << r.Output;
}

}  // namespace
