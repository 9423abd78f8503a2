// Captions in the skin's text colours, read back from real bitmaps: contours, the disabled mix,
// the embossed unskinned look, the hot web-button underline, the glow and its mask cache, and
// "..." shortening measured with the real Tahoma font.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <utility>

#include "WinTestSupport.h"
#include "framework/Controls.h"
#include "skin/controls/sPanel.h"
#include "skin/data/sSkinManager_win.h"
#include "skin/render/sCommonData_win.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sGraphUtils_win.h"

namespace {

constexpr TColor kBackground = 0x203040;  // neither a skin colour nor a system one
constexpr TColor kContour = 0x0000FF;
constexpr TColor kGlow = 0x00FF00;
constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_SINGLELINE;

using Pixels = std::set<std::pair<int, int>>;

TColor At(const Bitmap32& b, int x, int y) { return PixelToColor(b.At(x, y)) & 0xFFFFFF; }

Pixels PixelsOf(const Bitmap32& b, TColor c) {
  Pixels s;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (At(b, x, y) == c) s.insert({x, y});
  return s;
}

// `shape` moved by (dx, dy), less what `shape` itself covers: what a copy drawn behind shows.
Pixels ShownBehind(const Pixels& shape, int dx, int dy) {
  Pixels s;
  for (auto [x, y] : shape)
    if (!shape.count({x + dx, y + dy})) s.insert({x + dx, y + dy});
  return s;
}

// Per channel rounded(k * a + (1 - k) * b), worked out here rather than through MixColors.
TColor Mixed(TColor a, TColor b, double k) {
  TColor r = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const double v = k * ((a >> shift) & 0xFF) + (1 - k) * ((b >> shift) & 0xFF);
    r |= static_cast<TColor>(std::lround(v)) << shift;
  }
  return r;
}

// The built Garnet skin in a real skin manager, with one extra section that has a contour and
// a glow (Garnet's own sections have neither).
class SkinText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const auto garnet = ReadSkinFile(std::string(KESTAMOR_BINARY_DIR "/resources/Garnet.asz"));
    ASSERT_TRUE(garnet && !garnet->empty());
    manager_ = new TsSkinManager(nullptr);
    TsStoredSkin& skin = manager_->InternalSkins.Add();
    skin.Name = "Garnet (internal)";
    skin.Data = *garnet;
    manager_->SetCommonSections({"[TEXTTEST]", "PARENTCLASS=EDIT", "STATES=1", "FONTCOLOR=16777215", "TCLEFT=255",
                                 "GSIZE=3", "GCOL=65280",
                                 // A see-through caption section, and a panel that gives its font.
                                 "[CLEARTEXT]", "PARENTCLASS=EDIT", "STATES=1", "TRANSPARENCY=100",
                                 "FONTCOLOR=16777215", "[GIVINGPANEL]", "PARENTCLASS=PANEL", "GIVEOWNFONT=1",
                                 "FONTCOLOR=65535"});
    manager_->SetSkinName("Garnet (internal)");
    ASSERT_TRUE(manager_->SkinActive());
  }
  static void TearDownTestSuite() {
    delete manager_;
    manager_ = nullptr;
  }

  void SetUp() override {
    owner_ = std::make_unique<TGraphicControl>(nullptr);
    owner_->SetBounds(0, 0, 120, 40);
    sd_ = std::make_unique<TsCommonData>(owner_.get(), ccEdit);
    sd_->SetSkinManager(manager_);
    sd_->InitCache();
    Canvas().Font().SetName("Tahoma");
    Canvas().Font().SetHeight(-16);
  }

  void Bind(const std::string& section) {
    sd_->SetSkinSection(section);
    Bitmap32 cache = sd_->CacheView();
    FillRect32(cache, TsRect{0, 0, cache.Width(), cache.Height()}, kBackground);
  }
  TCanvas& Canvas() { return sd_->Cache()->Canvas(); }
  const TsGeneralData& Section(const std::string& name) {
    return manager_->Model().Sections[static_cast<size_t>(manager_->Model().FindSection(name))];
  }
  // A copy of the cache after drawing the caption.
  Bitmap32 Write(const std::string& text, bool enabled, bool hot, TsGlowMask* glow = nullptr) {
    WriteSkinText(Canvas(), text, enabled, hot, *sd_, kFormat, RECT{10, 10, 110, 34}, glow);
    return Copy();
  }
  Bitmap32 Copy() {
    const Bitmap32 view = sd_->CacheView();
    Bitmap32 copy(view.Width(), view.Height());
    CopyRect32(copy, 0, 0, view, TsRect{0, 0, view.Width(), view.Height()});
    return copy;
  }

  static TsSkinManager* manager_;
  std::unique_ptr<TGraphicControl> owner_;
  std::unique_ptr<TsCommonData> sd_;
};
TsSkinManager* SkinText::manager_ = nullptr;

TEST_F(SkinText, ContourShowsOnePixelLeftOfTheTextAndNowhereElse) {
  Bind("TEXTTEST");
  const Bitmap32 shot = Write("Hill", true, false);
  const Pixels text = PixelsOf(shot, 0xFFFFFF);
  ASSERT_GT(text.size(), 40u);
  // The caption is clipped to its rectangle: the contour left of the first stem (x = 9) is not drawn.
  Pixels expected = ShownBehind(text, -1, 0);
  std::erase_if(expected, [](auto p) { return p.first < 10; });
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(PixelsOf(shot, kContour), expected);

  // A section without contours draws the caption once, in its font colour.
  Bind("EDIT");
  const Bitmap32 plain = Write("Hill", true, false);
  const Pixels editText = PixelsOf(plain, Section("EDIT").FontColor);
  EXPECT_EQ(editText, text);
  EXPECT_EQ(PixelsOf(plain, kBackground).size() + editText.size(), size_t(120 * 40));
}

TEST_F(SkinText, DisabledSkinnedTextMixesTheFontColourWithTheGlobalColour) {
  Bind("EDIT");
  const Bitmap32 shot = Write("Hill", false, false);
  // Garnet's EDIT FONTCOLOR and GLOBALINFO COLOR, 40 % and 60 %.
  const TColor expected = Mixed(9013657, 1907997, 0.4);
  const Pixels text = PixelsOf(shot, expected);
  EXPECT_GT(text.size(), 40u);
  EXPECT_EQ(text.size() + PixelsOf(shot, kBackground).size(), size_t(120 * 40));

  // Without a binding the mix is with the section's own colour (EDIT's is black).
  Bitmap32 cache = sd_->CacheView();
  FillRect32(cache, TsRect{0, 0, 120, 40}, kBackground);
  WriteSkinTextByIndex(Canvas(), "Hill", false, manager_, false, manager_->Model().FindSection("EDIT"), kFormat,
                       RECT{10, 10, 110, 34});
  EXPECT_EQ(PixelsOf(Copy(), Mixed(9013657, 0, 0.4)), text);
}

TEST_F(SkinText, UnskinnedOrCustomFontTextIsPlainOrEmbossedWhenDisabled) {
  Bind("EDIT");
  sd_->SetCustomFont(true);
  Canvas().Font().SetColor(0x123456);
  const Pixels plain = PixelsOf(Write("Hill", true, false), 0x123456);
  ASSERT_GT(plain.size(), 40u);

  Bind("NO SUCH SECTION");
  ASSERT_FALSE(sd_->IsSkinned());
  const Bitmap32 shot = Write("Hill", false, false);
  const Pixels shadow = PixelsOf(shot, ColorToRGB(clBtnShadow));
  EXPECT_EQ(shadow, plain);
  EXPECT_EQ(PixelsOf(shot, ColorToRGB(clBtnHighlight)), ShownBehind(plain, 1, 1));
}

TEST_F(SkinText, SeeThroughCaptionTakesTheColourOfAPanelThatGivesItsFont) {
  TsPanel panel(nullptr);
  panel.SkinData().SetSkinManager(manager_);
  panel.SkinData().SetSkinSection("GIVINGPANEL");
  owner_->SetParent(&panel);
  Bind("CLEARTEXT");
  const Pixels given = PixelsOf(Write("Hill", true, false), 0x00FFFF);
  EXPECT_GT(given.size(), 40u);

  // A panel that keeps its font to itself, or a caption with its own font, keeps the caption's colour.
  panel.SkinData().SetSkinSection("PANEL");
  Bind("CLEARTEXT");
  EXPECT_EQ(PixelsOf(Write("Hill", true, false), 0xFFFFFF), given);
  panel.SkinData().SetSkinSection("GIVINGPANEL");
  owner_->SetParentFont(false);
  Bind("CLEARTEXT");
  EXPECT_EQ(PixelsOf(Write("Hill", true, false), 0xFFFFFF), given);
  owner_->SetParent(nullptr);
}

TEST_F(SkinText, OnlyAHotWebButtonCaptionIsUnderlined) {
  // The widest run of one colour along a row of the caption: an underline spans the text.
  auto widestRun = [](const Bitmap32& b, TColor c) {
    int best = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0, run = 0; x < b.Width(); ++x) {
        run = At(b, x, y) == c ? run + 1 : 0;
        best = std::max(best, run);
      }
    return best;
  };
  const int width = Canvas().TextWidth("mmmm");
  Bind("WEBBUTTON");
  const TsGeneralData& web = Section("WEBBUTTON");
  EXPECT_LT(widestRun(Write("mmmm", true, false), web.FontColor), width / 2);
  EXPECT_FALSE(Canvas().Font().Style() & fsUnderline);
  Bind("BUTTON");
  EXPECT_LT(widestRun(Write("mmmm", true, true), Section("BUTTON").HotFontColor), width / 2);
  EXPECT_FALSE(Canvas().Font().Style() & fsUnderline);

  Bind("WEBBUTTON");
  EXPECT_GE(widestRun(Write("mmmm", true, true), web.HotFontColor), width - 1);
  EXPECT_TRUE(Canvas().Font().Style() & fsUnderline);
}

TEST_F(SkinText, GlowSurroundsTheTextAndItsMaskIsKeptWhileTheSizeHolds) {
  Bind("TEXTTEST");
  TsGlowMask mask;
  const Bitmap32 shot = Write("Hill", true, false, &mask);
  // The mask reaches size + 4 = 7 pixels beyond the 100 x 24 text rectangle.
  EXPECT_EQ(mask.Width, 114);
  EXPECT_EQ(mask.Height, 38);
  const Pixels text = PixelsOf(shot, 0xFFFFFF);
  ASSERT_FALSE(text.empty());
  const auto [x0, y0] = *text.begin();  // leftmost text column
  // Just left of the contour: tinted green; far outside the mask: untouched.
  const Pixel32 beside = shot.At(x0 - 2, y0);
  EXPECT_GT(beside.G, 0x30 + 40);
  EXPECT_LT(beside.R, 0x40);
  EXPECT_EQ(At(shot, 1, 1), kBackground);

  // The same rectangle size reuses the mask as it is: an emptied mask paints no glow...
  std::fill(mask.Pixels.begin(), mask.Pixels.end(), uint8_t{255});
  Bitmap32 plain(120, 40);
  plain.Fill(Pixel32{0, 0, 0, 0});
  PaintTextGlow(plain, Canvas(), "Hill", RECT{10, 10, 110, 34}, mask, kGlow, 3, 15, kFormat);
  EXPECT_EQ(PixelsOf(plain, 0).size(), size_t(120 * 40));
  // ...while another size makes it anew.
  PaintTextGlow(plain, Canvas(), "Hill", RECT{10, 10, 100, 34}, mask, kGlow, 3, 15, kFormat);
  EXPECT_EQ(mask.Width, 104);
  EXPECT_GT(plain.At(x0 - 2, y0).G, 40);
  EXPECT_GT(plain.At(x0 - 2, y0).A, 40);  // the glow makes a transparent pixel show
}

TEST_F(SkinText, CutTextToWidthMeasuresWithTheCanvasFont) {
  TCanvas& c = Canvas();
  const std::string text = "twelve lette";
  ASSERT_EQ(text.size(), 12u);
  EXPECT_EQ(CutTextToWidth(c, text, c.TextWidth(text)), text);
  EXPECT_EQ(CutTextToWidth(c, text, c.TextWidth("twel...")), "twel...");
  EXPECT_EQ(CutTextToWidth(c, text, c.TextWidth("twel...") - 1), "twe...");
  EXPECT_EQ(CutTextToWidth(c, text, c.TextWidth("t...") - 1), "");
  EXPECT_EQ(CutTextToWidth(c, text, 0), "");
  // A larger font holds fewer letters in the same width.
  const int width = c.TextWidth("twel...");
  c.Font().SetHeight(-24);
  EXPECT_LT(CutTextToWidth(c, text, width).size(), 7u);
}

}  // namespace
