#include "skin/data/sSkinModel.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "image/BmpFile.h"
#include "image/acPNG.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sSkinModelJpeg.h"

namespace {

constexpr std::string_view kGlobalInfo = "GLOBALINFO";

// A decoded picture of the skin and whether its source had 32 bits per pixel.
struct Picture {
  Bitmap32 Bmp;
  bool Had32 = false;
};

bool LooksLikePng(std::span<const uint8_t> b) {
  static constexpr uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return b.size() >= 8 && std::equal(kSig, kSig + 8, b.begin());
}

// Decodes a BMP, PNG or JPEG file image by its signature. Unreadable data gives an empty
// picture: the loader skips such files.
Picture DecodePicture(std::span<const uint8_t> bytes) {
  Picture p;
  try {
    if (LooksLikePng(bytes)) {
      TPNGGraphic png;
      png.LoadFromMemory(bytes.data(), bytes.size());
      p.Had32 = png.BitsPerPixel() == 32;
      p.Bmp = png.ToBitmap32();
      ClearTransparentWhite(p.Bmp);
    } else if (LooksLikeJpeg(bytes)) {
      p.Bmp = DecodeJpeg(bytes);
    } else {
      int bpp = 0;
      p.Bmp = ReadBmp(bytes.data(), bytes.size(), &bpp);
      p.Had32 = bpp == 32;
    }
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    // EPNGError, EBmpError and their kin: an unreadable picture is skipped. Caught as
    // std::exception because two image units each declare an "EReadError".
    return Picture();
  }
  return p;
}

// Pictures without alpha of their own: every pixel gets alpha 255 except the key colour,
// which gets 0 and so is never drawn.
void ApplyKeyAlpha(Bitmap32& bmp) {
  for (int y = 0; y < bmp.Height(); ++y) {
    Pixel32* row = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      Pixel32& p = row[x];
      p.A = (p.R == 0xFF && p.G == 0 && p.B == 0xFF) ? 0 : 255;
    }
  }
}

bool NamesJpeg(std::string_view upperValue) {
  return Contains(upperValue, ".JPG") || Contains(upperValue, ".JPEG");
}

bool IsMasterKey(std::string_view section, std::string_view key) {
  return section == kGlobalInfo && key == "MASTERBITMAP";
}

// Reads the section keys into a record. `readInt`/`readStr` return the value of a key or
// the given fallback when the key is absent; `base` supplies the fallbacks.
template <class ReadInt, class ReadStr>
TsGeneralData FillSection(const TsGeneralData& base, std::string_view name, ReadInt readInt, ReadStr readStr,
                          TsSysColorFn sysColor) {
  auto rgb = [&](TColor c) { return ColorToRGB(c, sysColor); };
  auto readBool = [&](std::string_view key, bool def) { return OptionBool(readStr(key, def ? "1" : "0")); };
  TsGeneralData d;
  d.SectionName = std::string(name);
  d.States = readInt("STATES", base.States);
  d.GiveOwnFont = readBool("GIVEOWNFONT", base.GiveOwnFont);
  d.ReservedBoolean = name == "SCROLLBTNLEFT" ? readBool("RESERVEDBOOLEAN", base.ReservedBoolean) : false;
  d.ShowFocus = readBool("SHOWFOCUS", base.ShowFocus);
  d.Glow = readInt("GLOW", base.Glow);
  d.GlowMargin = readInt("GLOWMARGIN", base.GlowMargin);

  d.Color = rgb(readInt("COLOR", base.Color));
  d.Transparency = readInt("TRANSPARENCY", base.Transparency);
  d.GradientPercent = readInt("GRADIENTPERCENT", base.GradientPercent);
  d.GradientData = readStr("GRADIENTDATA", base.GradientData);
  if (d.GradientData.size() < 2)
    d.GradientPercent = 0;
  else
    d.Gradient = ParseGradientData(d.GradientData);
  d.ImagePercent = readInt("IMAGEPERCENT", base.ImagePercent);
  d.FontColor = readInt("FONTCOLOR", base.FontColor);
  d.TCLeft = readInt("TCLEFT", base.TCLeft);
  d.TCTop = readInt("TCTOP", base.TCTop);
  d.TCRight = readInt("TCRIGHT", base.TCRight);
  d.TCBottom = readInt("TCBOTTOM", base.TCBottom);

  d.FadingEnabled = readBool("FADINGENABLED", base.FadingEnabled);
  d.FadingIterations = readInt("FADINGITERATIONS", base.FadingIterations);
  d.GlowColor = rgb(readInt("GCOL", base.GlowColor));
  d.GlowSize = static_cast<uint8_t>(readInt("GSIZE", base.GlowSize));
  d.HotGlowColor = rgb(readInt("HGCOL", base.HotGlowColor));
  d.HotGlowSize = static_cast<uint8_t>(readInt("HGSIZE", base.HotGlowSize));

  TsGenState& n = d.StateProps[0];
  n.Color = d.Color;
  n.FontColor = d.FontColor;
  n.TCLeft = d.TCLeft;
  n.TCTop = d.TCTop;
  n.TCRight = d.TCRight;
  n.TCBottom = d.TCBottom;
  n.GradientPercent = d.GradientPercent;
  n.GradientData = d.GradientData;
  n.Gradient = d.Gradient;
  n.ImagePercent = d.ImagePercent;
  n.GlowColor = d.GlowColor;
  n.GlowSize = d.GlowSize;
  n.Transparency = d.Transparency;

  if (d.States < 2) {
    d.StateProps[1] = n;
    return d;  // the Hot* fields keep their defaults
  }
  d.HotColor = rgb(readInt("HOTCOLOR", base.HotColor));
  d.HotTransparency = readInt("HOTTRANSPARENCY", base.HotTransparency);
  d.HotGradientPercent = readInt("HOTGRADIENTPERCENT", base.HotGradientPercent);
  d.HotGradientData = readStr("HOTGRADIENTDATA", base.HotGradientData);
  if (d.HotGradientData.size() < 2)
    d.HotGradientPercent = 0;
  else
    d.HotGradient = ParseGradientData(d.HotGradientData);
  d.HotImagePercent = readInt("HOTIMAGEPERCENT", base.HotImagePercent);
  d.HotFontColor = readInt("HOTFONTCOLOR", base.HotFontColor);
  d.HotTCLeft = readInt("HOTTCLEFT", base.HotTCLeft);
  d.HotTCTop = readInt("HOTTCTOP", base.HotTCTop);
  d.HotTCRight = readInt("HOTTCRIGHT", base.HotTCRight);
  d.HotTCBottom = readInt("HOTTCBOTTOM", base.HotTCBottom);

  TsGenState& h = d.StateProps[1];
  h.Color = d.HotColor;
  h.FontColor = d.HotFontColor;
  h.TCLeft = d.HotTCLeft;
  h.TCTop = d.HotTCTop;
  h.TCRight = d.HotTCRight;
  h.TCBottom = d.HotTCBottom;
  h.GradientPercent = d.HotGradientPercent;
  h.GradientData = d.HotGradientData;
  h.Gradient = d.HotGradient;
  h.ImagePercent = d.HotImagePercent;
  h.GlowColor = d.HotGlowColor;
  h.GlowSize = d.HotGlowSize;
  h.Transparency = d.HotTransparency;
  return d;
}

}  // namespace

TsSkinModel::TsSkinModel(TsSkinPlatform platform) : platform_(platform) {
  SkinData.FormOffset = platform_.SizingFrameWidth;
}

void TsSkinModel::Clear() {
  Images.clear();
  MasterBitmap = Bitmap32();
  Patterns.clear();
  Sections.clear();
  SkinData.Active = false;
  Cache = TsCachedIndexes();
}

void TsSkinModel::Build(const TsSkinOptions& options, TsSkinFiles& files, const TsBuildParams& params,
                        const std::string& skinPath) {
  SkinData.SkinPath = skinPath;
  const TsSkinOptions common = TsSkinOptions::ParseLines(params.CommonSections);
  LoadImages(options, common, files);
  LoadPatterns(options, common, files);
  LoadSkinData(options);
  if (params.OnVersion) params.OnVersion(SkinData.Version);
  LoadSections(options);
  if (!common.Empty()) MergeCommonSections(common);
  UpdateSectionImages();
  ApplyHueAndSaturation(params.HueOffset, params.Saturation);
  UpdateCachedIndexes();
}

// ---- Step 1: images ---------------------------------------------------------------

void TsSkinModel::LoadMasterBitmap(const TsSkinOptions& options, TsSkinFiles& files) {
  const std::string name = UpperCase(options.ReadString(kGlobalInfo, "MASTERBITMAP", ""));
  if (name.empty() || name == "?") return;
  auto bytes = files.Find(name);
  if (!bytes) return;
  Picture p = DecodePicture(*bytes);
  if (p.Bmp.Empty()) return;
  ApplyKeyAlpha(p.Bmp);
  MasterBitmap = std::move(p.Bmp);
}

void TsSkinModel::LoadImages(const TsSkinOptions& options, const TsSkinOptions& common, TsSkinFiles& files) {
  Images.clear();
  MasterBitmap = Bitmap32();
  LoadMasterBitmap(options, files);
  for (const auto& s : options.Sections())
    for (const auto& e : s.Entries)
      if (!IsMasterKey(s.Name, e.Key)) AddImageValue(s.Name, e.Key, e.Value, files, false);
  if (common.Empty()) return;
  TsFolderFiles folder(SkinData.SkinPath);
  for (const auto& s : common.Sections())
    for (const auto& e : s.Entries) AddImageValue(s.Name, e.Key, e.Value, folder, true);
}

void TsSkinModel::AddImageValue(const std::string& section, const std::string& key, const std::string& value,
                                TsSkinFiles& files, bool commonSection) {
  const TsValueShape shape = ValueShape(value);
  if (commonSection && shape != TsValueShape::BitmapFile && shape != TsValueShape::Legacy) return;
  TsMaskData m;
  switch (shape) {
    case TsValueShape::None:
      return;
    case TsValueShape::Image:
      m = ParseImageDescriptor(value);
      break;
    case TsValueShape::Border:
      m = ParseBorderDescriptor(value);
      break;
    case TsValueShape::Texture:
      m = ParseTextureDescriptor(value);
      break;
    case TsValueShape::File:
      AddFileImage(section, key, value, files);
      return;
    case TsValueShape::BitmapFile:
      AddBitmapFileImage(section, key, value, files);
      return;
    case TsValueShape::Legacy:
      m = ParseLegacyDescriptor(value);
      m.Section = UpperCase(section);
      m.PropertyName = UpperCase(key);
      m.Manager = this;
      Images.push_back(std::move(m));
      return;
  }
  m.Section = section;
  m.PropertyName = key;
  m.Manager = this;
  Images.push_back(std::move(m));
}

void TsSkinModel::AddFileImage(const std::string& section, const std::string& key, std::string_view value,
                               TsSkinFiles& files) {
  const TsFileDescriptor d = ParseFileDescriptor(value);
  if (!d.Valid) return;
  auto bytes = files.Find(d.FileName);
  if (!bytes) return;
  Picture p = DecodePicture(*bytes);
  if (p.Bmp.Width() == 0) return;
  if (!p.Had32) ApplyKeyAlpha(p.Bmp);
  TsMaskData m;
  m.Section = section;
  m.PropertyName = key;
  m.R = TsRect{0, 0, p.Bmp.Width(), p.Bmp.Height()};
  m.ImageCount = static_cast<int16_t>(d.ImageCount);
  m.MaskType = static_cast<int16_t>(d.MaskType);
  m.ImgType = static_cast<uint8_t>(d.ImgType);
  m.DrawMode = static_cast<int16_t>(d.DrawMode);
  if (d.HasWidths) {
    m.WL = static_cast<int16_t>(d.WL);
    m.WT = static_cast<int16_t>(d.WT);
    m.WR = static_cast<int16_t>(d.WR);
    m.WB = static_cast<int16_t>(d.WB);
  } else {
    DeriveBorderWidths(m, 0);
  }
  m.Bmp = std::move(p.Bmp);
  m.Bmp32 = p.Had32;
  m.Manager = this;
  Images.push_back(std::move(m));
}

void TsSkinModel::AddBitmapFileImage(const std::string& section, const std::string& key, std::string_view value,
                                     TsSkinFiles& files) {
  auto bytes = files.Find(UpperCase(value));
  if (!bytes) return;
  Picture p = DecodePicture(*bytes);
  if (p.Bmp.Width() == 0) return;
  if (!p.Had32) ApplyKeyAlpha(p.Bmp);
  TsMaskData m;
  m.Section = UpperCase(section);
  m.PropertyName = UpperCase(key);
  m.R = TsRect{0, 0, p.Bmp.Width(), p.Bmp.Height()};
  m.ImageCount = 3;
  m.MaskType = 1;
  m.ImgType = itBorder;
  DeriveBorderWidths(m, 0);
  m.Bmp = std::move(p.Bmp);
  m.Bmp32 = p.Had32;
  m.Manager = this;
  Images.push_back(std::move(m));
}

// ---- Step 2: JPEG pictures --------------------------------------------------------

void TsSkinModel::AddJpegValue(const std::string& section, const std::string& key, std::string_view value,
                               TsSkinFiles& files) {
  const std::string name = UpperCase(value);
  if (!NamesJpeg(name)) return;
  auto bytes = files.Find(name);
  if (!bytes) return;
  Bitmap32 bmp = DecodeJpeg(*bytes);
  if (bmp.Width() == 0) return;
  ApplyKeyAlpha(bmp);
  const int64_t pixels = int64_t{bmp.Width()} * bmp.Height();
  if (pixels >= kPatternMinPixels) {
    Patterns.push_back(TsPatternData{std::move(bmp), UpperCase(section), UpperCase(key)});
    return;
  }
  TsMaskData m;
  m.Section = UpperCase(section);
  m.PropertyName = UpperCase(key);
  m.R = TsRect{0, 0, bmp.Width(), bmp.Height()};
  m.ImageCount = 1;
  m.ImgType = itTexture;
  m.Bmp = std::move(bmp);
  m.Manager = this;
  Images.push_back(std::move(m));
}

void TsSkinModel::LoadPatterns(const TsSkinOptions& options, const TsSkinOptions& common, TsSkinFiles& files) {
  Patterns.clear();
  for (const auto& s : options.Sections())
    for (const auto& e : s.Entries)
      if (!IsMasterKey(s.Name, e.Key)) AddJpegValue(s.Name, e.Key, e.Value, files);
  if (common.Empty()) return;
  TsFolderFiles folder(SkinData.SkinPath);
  for (const auto& s : common.Sections())
    for (const auto& e : s.Entries) AddJpegValue(s.Name, e.Key, e.Value, folder);
}

// ---- Step 3: skin-wide values -----------------------------------------------------

void TsSkinModel::LoadSkinData(const TsSkinOptions& o) {
  TsSkinData& s = SkinData;
  auto text = [&](std::string_view key) {
    std::string v = o.ReadString(kGlobalInfo, key, "");
    return v == "?" ? std::string() : v;
  };
  auto integer = [&](std::string_view key, int32_t def) { return o.ReadInteger(kGlobalInfo, key, def); };
  // These must be integers when present: other text ends the load.
  auto strict = [&](std::string_view key, int32_t def) {
    const std::string* v = o.Value(kGlobalInfo, key);
    return v ? StrToInt(*v) : def;
  };
  auto colour = [&](std::string_view key) {
    const int32_t v = integer(key, 0);
    return v == -1 ? 0 : ToRGB(v);
  };
  s.MasterBitmap = text("MASTERBITMAP");
  s.Version = ParseFloatDot(o.ReadString(kGlobalInfo, "VERSION", "0")).value_or(0.0);
  s.Author = text("AUTHOR");
  s.Description = text("DESCRIPTION");
  s.BorderWidth = integer("BORDERWIDTH", 4);
  s.TitleHeight = integer("TITLEHEIGHT", 30);
  s.MaxHeight = integer("MAXHEIGHT", 0);
  s.FormOffset = integer("FORMOFFSET", platform_.SizingFrameWidth);
  s.AlignOffset = integer("ALIGNOFFSET", 0);
  s.CenterOffset = integer("CENTEROFFSET", 0);
  s.BorderMode = integer("BORDERMODE", 0);
  s.Shadow1Color = colour("SHADOW1COLOR");
  s.Shadow1Offset = strict("SHADOW1OFFSET", 0);
  s.Shadow1Blur = strict("SHADOW1BLUR", -1);
  s.Shadow1Transparency = strict("SHADOW1TRANSPARENCY", 0);
  s.BorderColor = colour("BORDERCOLOR");
  s.BISpacing = integer("BISPACE", 0);
  s.BIVAlign = integer("BIVALIGN", 0);
  s.BIRightMargin = integer("BIRIGHT", 0);
  s.BILeftMargin = integer("BILEFT", 0);
  s.BITopMargin = integer("BITOP", 0);
  s.BIKeepHue = integer("BIKEEPHUE", 0);
  s.BICloseGlow = strict("BICONCLOSEGLOW", 0);
  s.BIMaxGlow = strict("BICONMAXGLOW", 0);
  s.BIMinGlow = strict("BICONMINGLOW", 0);
  s.BICloseGlowMargin = strict("BICONCLOSEGLOWMARGIN", 0);
  s.BIMaxGlowMargin = strict("BICONMAXGLOWMARGIN", 0);
  s.BIMinGlowMargin = strict("BICONMINGLOWMARGIN", 0);
}

// ---- Steps 4 and 5: sections ------------------------------------------------------

void TsSkinModel::LoadSections(const TsSkinOptions& o) {
  Sections.clear();
  Sections.reserve(o.Sections().size());
  const TsGeneralData defaults;
  for (const auto& s : o.Sections()) {
    const std::string& name = s.Name;
    auto readInt = [&](std::string_view key, int32_t def) { return o.ReadIntInherited(name, key, def); };
    auto readStr = [&](std::string_view key, std::string_view def) { return o.ReadStrInherited(name, key, def); };
    TsGeneralData d = FillSection(defaults, name, readInt, readStr, platform_.SysColor);
    d.ParentClass = o.ReadString(name, "PARENTCLASS", "");
    Sections.push_back(std::move(d));
  }
}

void TsSkinModel::MergeCommonSections(const TsSkinOptions& common) {
  for (const auto& s : common.Sections()) {
    const std::string parent = common.ReadString(s.Name, "PARENTCLASS", "");
    TsGeneralData base;
    for (const auto& g : Sections)
      if (!parent.empty() && SameTextAscii(g.SectionName, parent)) {
        base = g;
        break;
      }
    auto readInt = [&](std::string_view key, int32_t def) {
      const std::string* v = s.Find(key);
      if (!v) return def;
      auto n = ParseInt(*v);
      return n && *n != -1 ? *n : def;
    };
    auto readStr = [&](std::string_view key, std::string_view def) {
      const std::string* v = s.Find(key);
      return v && *v != "?" ? *v : std::string(def);
    };
    TsGeneralData d = FillSection(base, s.Name, readInt, readStr, platform_.SysColor);
    d.ParentClass = parent;
    const int32_t at = FindSection(s.Name);
    if (at >= 0)
      Sections[static_cast<std::size_t>(at)] = std::move(d);
    else
      Sections.push_back(std::move(d));
  }
}

// ---- Steps 6-8 --------------------------------------------------------------------

void TsSkinModel::UpdateSectionImages() {
  for (std::size_t i = 0; i < Sections.size(); ++i) {
    TsGeneralData& g = Sections[i];
    if (g.SectionName == kGlobalInfo) continue;
    const auto idx = static_cast<int32_t>(i);
    g.BorderMaskIndex = FindImage(idx, g.SectionName, "BORDERSMASK");
    g.ImgTL = FindImage(idx, g.SectionName, "IMGTOPLEFT");
    g.ImgTR = FindImage(idx, g.SectionName, "IMGTOPRIGHT");
    g.ImgBL = FindImage(idx, g.SectionName, "IMGBTMLEFT");
    g.ImgBR = FindImage(idx, g.SectionName, "IMGBTMRIGHT");
  }
}

void TsSkinModel::ApplyHueAndSaturation(int32_t hueOffset, int32_t saturation) {
  ApplySkinHueAndSaturation(*this, hueOffset, saturation);
}

void TsSkinModel::UpdateCachedIndexes() {
  TsCachedIndexes& c = Cache;
  c = TsCachedIndexes();
  c.GlobalInfo = FindSection(kGlobalInfo);
  if (c.GlobalInfo >= 0) {
    auto g = [&](std::string_view key) { return FindImage(c.GlobalInfo, kGlobalInfo, key); };
    c.BoxChecked = g("BOXCHECKED");
    c.BoxUnchecked = g("BOXUNCHECKED");
    c.BoxGrayed = g("BOXGRAYED");
    c.RadioChecked = g("RADIOCHECKED");
    c.RadioUnchecked = g("RADIOUNCHECKED");
    c.RadioGrayed = g("RADIOGRAYED");
    c.SmallChecked = g("SMALLCHECKED");
    c.SmallUnchecked = g("SMALLUNCHECKED");
    c.SmallGrayed = g("SMALLGRAYED");
    c.ExBorder = g("EXBORDER");
  }
  auto textures = [&](TsSectionCache& sc, std::string_view name) {
    sc.Pattern = FindTexture(sc.Section, name, "PATTERN");
    sc.HotPattern = FindTexture(sc.Section, name, "HOTPATTERN");
  };
  c.ComboBtn.Section = FindSection("COMBOBTN");
  c.ComboBtn.BorderMask = FindImage("COMBOBTN", "BORDERSMASK");
  textures(c.ComboBtn, "COMBOBTN");
  c.ComboBoxGlyphMask = FindImage("COMBOBOX", "GLYPHMASK");

  static constexpr std::string_view kTabs[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
  for (std::size_t i = 0; i < 4; ++i) {
    c.Tab[i].Section = FindSection(kTabs[i]);
    c.Tab[i].BorderMask = FindImage(c.Tab[i].Section, kTabs[i], "BORDERSMASK");
  }
  auto full = [&](TsSectionCache& sc, std::string_view name, bool glyph) {
    sc.Section = FindSection(name);
    sc.BorderMask = FindImage(sc.Section, name, "BORDERSMASK");
    if (glyph && sc.Section >= 0) sc.GlyphMask = FindImage(sc.Section, name, "GLYPHMASK");
    textures(sc, name);
  };
  static constexpr std::string_view kBtns[4] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
  for (std::size_t i = 0; i < 4; ++i) full(c.ScrollBtn[i], kBtns[i], true);
  full(c.ScrollSlider[ssV], "SCROLLSLIDERV", true);
  full(c.ScrollSlider[ssH], "SCROLLSLIDERH", true);
  static constexpr std::string_view kBars[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};
  for (std::size_t i = 0; i < 4; ++i) full(c.ScrollBar[i], kBars[i], false);

  UpdateSectionImages();
}

// ---- Lookups ----------------------------------------------------------------------

int32_t TsSkinModel::FindSection(std::string_view name) const {
  for (std::size_t i = 0; i < Sections.size(); ++i)
    if (Sections[i].SectionName == name) return static_cast<int32_t>(i);
  return -1;
}

template <class Pred>
int32_t TsSkinModel::FindInherited(int32_t sectionIndex, std::string_view section, Pred match) const {
  std::vector<int32_t> visited;
  while (sectionIndex >= 0 && !section.empty()) {
    const int32_t found = match(section);
    if (found >= 0) return found;
    if (sectionIndex >= static_cast<int32_t>(Sections.size())) return -1;
    visited.push_back(sectionIndex);
    const std::string& parent = Sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
    if (parent.empty() || parent == section) return -1;
    const int32_t p = FindSection(parent);
    if (p < 0 || std::find(visited.begin(), visited.end(), p) != visited.end()) return -1;
    sectionIndex = p;
    section = Sections[static_cast<std::size_t>(p)].SectionName;
  }
  return -1;
}

int32_t TsSkinModel::FindImage(std::string_view section, std::string_view key) const {
  for (std::size_t i = 0; i < Images.size(); ++i)
    if (Images[i].Section == section && Images[i].PropertyName == key) return static_cast<int32_t>(i);
  return -1;
}

int32_t TsSkinModel::FindImage(int32_t sectionIndex, std::string_view section, std::string_view key) const {
  return FindInherited(sectionIndex, section, [&](std::string_view name) { return FindImage(name, key); });
}

int32_t TsSkinModel::FindTexture(int32_t sectionIndex, std::string_view section, std::string_view key) const {
  return FindInherited(sectionIndex, section, [&](std::string_view name) {
    for (std::size_t i = 0; i < Images.size(); ++i) {
      const TsMaskData& m = Images[i];
      if (m.ImgType == itTexture && m.Section == name && m.PropertyName == key) return static_cast<int32_t>(i);
    }
    return int32_t{-1};
  });
}

int32_t TsSkinModel::FindPattern(int32_t sectionIndex, std::string_view section, std::string_view key) const {
  return FindInherited(sectionIndex, section, [&](std::string_view name) {
    for (std::size_t i = 0; i < Patterns.size(); ++i)
      if (Patterns[i].Section == name && Patterns[i].PropertyName == key) return static_cast<int32_t>(i);
    return int32_t{-1};
  });
}
