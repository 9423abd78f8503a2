// The Garnet skin's options text: its file form, the sections the engine asks for, the
// values the installer's windows depend on, and every image value it holds.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "skin/data/sMaskData.h"
#include "skin/data/sSkinOptions.h"

namespace {

const std::string kOptionsPath = std::string(KESTAMOR_SOURCE_DIR) + "/resources/skins/Garnet/Options.dat";

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string& Text() {
  static const std::string text = ReadText(kOptionsPath);
  return text;
}

const TsSkinOptions& Options() {
  static const TsSkinOptions options = TsSkinOptions::Parse(Text());
  return options;
}

// The value as written, or "-" for an absent key.
std::string Raw(const char* section, const char* key) {
  const std::string* v = Options().Value(section, key);
  return v ? *v : "-";
}

TEST(GarnetOptions, IsAnsiTextWithCrLfLines) {
  const std::string& t = Text();
  ASSERT_FALSE(t.empty()) << kOptionsPath;
  for (size_t i = 0; i < t.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(t[i]);
    if (c == '\n') {
      ASSERT_TRUE(i > 0 && t[i - 1] == '\r') << "bare LF at byte " << i;
    } else if (c == '\r') {
      ASSERT_TRUE(i + 1 < t.size() && t[i + 1] == '\n') << "bare CR at byte " << i;
    } else {
      ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << int(c) << " at " << i;
    }
  }
  EXPECT_EQ(t.substr(t.size() - 2), "\r\n");
}

TEST(GarnetOptions, HasTheEngineSectionsOnceEach) {
  const auto& sections = Options().Sections();
  EXPECT_EQ(sections.size(), 62u);
  EXPECT_EQ(sections.front().Name, "GLOBALINFO");
  std::set<std::string> names;
  for (const auto& s : sections) EXPECT_TRUE(names.insert(s.Name).second) << "twice: " << s.Name;
  const char* asked[] = {
      "GLOBALINFO", "FORM", "DIALOG", "FORMTITLE", "MENULINE", "MDIAREA", "BUTTON", "SPEEDBUTTON",
      "SPEEDBUTTON_SMALL", "TOOLBUTTON", "WEBBUTTON", "UPDOWNBTN", "COMBOBTN", "CHECKBOX", "RADIOBUTTON",
      "EDIT", "COMBOBOX", "PANEL", "PANEL_LOW", "GROUPBOX", "BAR", "BARTITLE", "DRAGBAR", "SPLITTER",
      "TOOLBAR", "STATUSBAR", "DIVIDER", "DIVIDERV", "GAUGE", "PROGRESSH", "PROGRESSV", "SCROLLBTNTOP",
      "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERV", "SCROLLSLIDERH", "SCROLLBAR1H",
      "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V", "PAGECONTROL", "TABSHEET", "TABTOP", "TABBOTTOM", "TABLEFT",
      "TABRIGHT", "TRACKBAR", "COLHEADER", "SELECTION", "MAINMENU", "MENUITEM", "EXTRALINE", "ICOLINE",
      "UNKNOWN", "BUTTON_HUGE"};
  for (const char* s : asked) EXPECT_TRUE(names.count(s)) << "missing section " << s;
  // The title text is drawn in FORMTITLE's colours: this skin has no caption plate.
  EXPECT_FALSE(names.count("CAPTION"));
  // Every PARENTCLASS names a section of the skin.
  for (const auto& s : sections)
    if (const std::string* p = s.Find("PARENTCLASS")) {
      EXPECT_TRUE(names.count(*p)) << s.Name << " -> " << *p;
    }
}

TEST(GarnetOptions, SkinWideValues) {
  EXPECT_EQ(Raw("GLOBALINFO", "VERSION"), "7.00");
  EXPECT_EQ(Raw("GLOBALINFO", "MASTERBITMAP"), "MASTER.BMP");
  EXPECT_EQ(Raw("GLOBALINFO", "COLOR"), "1907997");
  EXPECT_EQ(Raw("GLOBALINFO", "FONTCOLOR"), "9013657");
  EXPECT_EQ(Raw("GLOBALINFO", "HOTCOLOR"), "2");
  EXPECT_EQ(Raw("GLOBALINFO", "BIKEEPHUE"), "2");
  EXPECT_EQ(Raw("GLOBALINFO", "BISPACE"), "-1");
  EXPECT_EQ(Raw("GLOBALINFO", "BIRIGHT"), "1");
  EXPECT_EQ(Raw("GLOBALINFO", "BIVALIGN"), "1");
  EXPECT_EQ(Raw("GLOBALINFO", "BILEFT"), "-");
  // Glow pictures of the five big title buttons, margin 10, switched on.
  const char* glows[][2] = {{"BICONCLOSE", "CLOSEG.PNG"}, {"BICONNORM", "NORMG.PNG"}, {"BICONMAX", "MAXG.PNG"},
                            {"BICONMIN", "MING.PNG"}, {"BICLOSEALONE", "CLOSEAG.PNG"}};
  for (const auto& g : glows) {
    const std::string key = g[0];
    EXPECT_EQ(Raw("GLOBALINFO", (key + "GLOW0").c_str()), "!" + std::string(g[1]) + "!1!0!4!0000!0000!0000!0000!0");
    EXPECT_EQ(Raw("GLOBALINFO", (key + "GLOWMARGIN").c_str()), "10") << key;
    EXPECT_EQ(Raw("GLOBALINFO", (key + "GLOW").c_str()), "1") << key;
  }
  // The small set has no glow pictures, so the wizard's close button shows none.
  for (const auto& e : Options().Section("GLOBALINFO")->Entries)
    EXPECT_FALSE(e.Key.rfind("SICON", 0) == 0 && e.Key.find("GLOW") != std::string::npos) << e.Key;
}

TEST(GarnetOptions, SectionsOfTheInstallerWindowsHaveTheirExactValues) {
  // Columns: STATES, COLOR, FONTCOLOR, HOTCOLOR, HOTFONTCOLOR, TRANSPARENCY,
  // HOTTRANSPARENCY, BORDERSMASK ("-" = key absent).
  struct Row {
    const char* section;
    const char* v[8];
  };
  const char* keys[8] = {"STATES", "COLOR", "FONTCOLOR", "HOTCOLOR", "HOTFONTCOLOR", "TRANSPARENCY",
                         "HOTTRANSPARENCY", "BORDERSMASK"};
  const Row rows[] = {
      {"FORM", {"2", "2434349", "9013657", "2434349", "9013657", "-", "-", "^0000^0015^0634^0036^0004^0004^0004^0004^2^0^1^1"}},
      {"FORMTITLE", {"2", "1907997", "9013657", "2", "13356027", "100", "100", "^0000^0000^0634^0018^0006^0009^0006^0004^2^0^5^1"}},
      {"BUTTON", {"3", "14408703", "9013657", "2", "12632319", "100", "100", "^0000^0091^0240^0117^0004^0011^0004^0004^3^0^5^1"}},
      {"CHECKBOX", {"3", "14408703", "9013657", "-", "12632319", "100", "100", "-"}},
      {"RADIOBUTTON", {"3", "14408703", "9013657", "-", "12632319", "100", "100", "-"}},
      {"EDIT", {"2", "0", "9013657", "0", "8816263", "-", "-", "^0000^0037^0154^0046^0002^0002^0002^0002^2^0^1^1"}},
      {"PANEL", {"1", "2434349", "9013657", "-", "-", "-", "-", "^0154^0037^0163^0046^0003^0003^0003^0003^1^0^1^1"}},
      {"GROUPBOX", {"1", "-", "9013657", "-", "-", "100", "-", "^0163^0037^0172^0046^0001^0001^0001^0001^1^0^1^1"}},
      {"GAUGE", {"1", "1381654", "9013657", "-", "-", "100", "-", "^0332^0058^0347^0073^0007^0007^0007^0007^1^0^5^1"}},
      {"PROGRESSH", {"1", "14408703", "12632319", "-", "-", "0", "-", "^0586^0067^0599^0093^0006^0006^0006^0006^1^1^1^1"}},
      {"SCROLLBTNTOP", {"3", "1907997", "9013657", "-", "9013657", "100", "100", "-"}},
      {"SCROLLBTNBOTTOM", {"3", "1907997", "9013657", "-", "9013657", "100", "100", "-"}},
      {"SCROLLSLIDERV", {"2", "0", "13356027", "1907997", "12632319", "0", "0", "^0602^0045^0634^0072^0002^0002^0002^0002^2^0^1^1"}},
      {"SCROLLBAR1V", {"1", "-", "9013657", "-", "-", "100", "-", "^0171^0042^0179^0043^0001^0000^0001^0000^1^0^0^1"}},
      {"SCROLLBAR2V", {"1", "-", "9013657", "-", "-", "100", "-", "^0171^0042^0180^0043^0001^0000^0001^0000^1^0^0^1"}},
  };
  for (const Row& r : rows) {
    // These sections take nothing from a parent: what the file says is what they are.
    EXPECT_EQ(Raw(r.section, "PARENTCLASS"), "-") << r.section;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Raw(r.section, keys[i]), r.v[i]) << r.section << " " << keys[i];
  }
  EXPECT_EQ(Raw("SCROLLBTNTOP", "GLYPHMASK"), "@0601@0039@0628@0044@3@0");
  EXPECT_EQ(Raw("SCROLLBTNBOTTOM", "GLYPHMASK"), "@0275@0074@0302@0079@3@0");
  EXPECT_EQ(Raw("GLOBALINFO", "BOXCHECKED"), "@0128@0074@0173@0089@3@0");
  EXPECT_EQ(Raw("DIVIDER", "BORDERSMASK"), "^0171^0039^0178^0040^0001^0000^0000^0000^1^0^1^1");
  EXPECT_EQ(Raw("DIVIDERV", "BORDERSMASK"), "^0004^0061^0005^0064^0000^0001^0000^0000^1^0^0^1");
  EXPECT_EQ(Raw("BUTTON_HUGE", "BORDERSMASK"), "!HUGE.BMP!3!0!0!0031!0031!0031!0031!4");
  EXPECT_EQ(Raw("TABLEFT", "STATES"), "-");
  // Fading: both boolean spellings, 20 frames.
  EXPECT_EQ(Raw("BUTTON", "FADINGENABLED"), "TRUE");
  for (const char* s : {"CHECKBOX", "RADIOBUTTON"}) EXPECT_EQ(Raw(s, "FADINGENABLED"), "1") << s;
  for (const char* s : {"BUTTON", "CHECKBOX", "RADIOBUTTON"}) EXPECT_EQ(Raw(s, "FADINGITERATIONS"), "20") << s;
  // Gradient and texture share the progress blocks' face.
  EXPECT_EQ(Raw("PROGRESSH", "GRADIENTPERCENT"), "50");
  EXPECT_EQ(Raw("PROGRESSH", "IMAGEPERCENT"), "50");
  EXPECT_FALSE(ParseGradientData(Raw("PROGRESSH", "GRADIENTDATA")).empty());
  for (const char* s : {"SCROLLSLIDERV", "SCROLLSLIDERH"}) {
    EXPECT_EQ(Raw(s, "GRADIENTPERCENT"), "100") << s;
    EXPECT_EQ(Raw(s, "HOTGRADIENTPERCENT"), "100") << s;
  }
  // No section glows or draws focus frames.
  for (const auto& s : Options().Sections())
    for (const char* k : {"GLOW", "GLOWMARGIN", "SHOWFOCUS"}) EXPECT_EQ(s.Find(k), nullptr) << s.Name << " " << k;
  // A DIALOG is a FORM in this skin.
  ASSERT_NE(Options().Section("DIALOG"), nullptr);
  EXPECT_EQ(Options().Section("DIALOG")->Entries.size(), 1u);
  EXPECT_EQ(Raw("DIALOG", "PARENTCLASS"), "FORM");
}

TEST(GarnetOptions, EveryImageValueIsWellFormedAndInsideTheMasterBitmap) {
  const std::set<std::string> generated = {"HUGE.BMP", "CLOSEAG.PNG", "CLOSEG.PNG", "MAXG.PNG", "MING.PNG",
                                           "NORMG.PNG"};
  int images = 0;
  for (const auto& s : Options().Sections())
    for (const auto& e : s.Entries) {
      const TsValueShape shape = ValueShape(e.Value);
      if (shape == TsValueShape::None) continue;
      ++images;
      const std::string where = s.Name + "/" + e.Key + "=" + e.Value;
      if (s.Name == "GLOBALINFO" && e.Key == "MASTERBITMAP") continue;
      ASSERT_TRUE(shape == TsValueShape::Image || shape == TsValueShape::Border ||
                  shape == TsValueShape::Texture || shape == TsValueShape::File)
          << where;
      if (shape == TsValueShape::File) {
        const TsFileDescriptor f = ParseFileDescriptor(e.Value);
        EXPECT_TRUE(f.Valid) << where;
        EXPECT_TRUE(generated.count(f.FileName)) << where;
        EXPECT_GE(f.ImageCount, 1) << where;
        continue;
      }
      // Every number field at its place; a descriptor of the wrong length would shift them.
      const size_t length = shape == TsValueShape::Image ? 24 : shape == TsValueShape::Border ? 48 : 25;
      EXPECT_EQ(e.Value.size(), length) << where;
      TsMaskData m;
      ASSERT_NO_THROW(m = shape == TsValueShape::Image    ? ParseImageDescriptor(e.Value)
                          : shape == TsValueShape::Border ? ParseBorderDescriptor(e.Value)
                                                          : ParseTextureDescriptor(e.Value))
          << where;
      EXPECT_GE(m.R.Left, 0) << where;
      EXPECT_GE(m.R.Top, 0) << where;
      EXPECT_LE(m.R.Right, 634) << where;
      EXPECT_LE(m.R.Bottom, 117) << where;
      EXPECT_GT(m.R.Width(), 0) << where;
      EXPECT_GT(m.R.Height(), 0) << where;
      ASSERT_GE(m.ImageCount, 1) << where;
      EXPECT_EQ(m.R.Width() % m.ImageCount, 0) << where << ": cells of unequal width";
      EXPECT_TRUE(m.MaskType == 0 || m.MaskType == 1) << where;
      if (m.MaskType == 1) {
        EXPECT_EQ(m.R.Height() % 2, 0) << where;
      }
      if (shape == TsValueShape::Border) {
        // The border widths must leave a middle of at least 0 in a cell.
        EXPECT_LE(m.WL + m.WR, m.CellWidth()) << where;
        EXPECT_LE(m.WT + m.WB, m.CellHeight()) << where;
        EXPECT_LE(m.DrawMode, 7) << where;
      }
    }
  EXPECT_GT(images, 60);
}

}  // namespace
