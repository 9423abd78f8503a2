// The in-memory skin model that a skin manager owns: the master bitmap, the skin-wide
// values, the section, image and pattern arrays, the lookups by name (with PARENTCLASS
// inheritance) and the indexes cached after each load so that painting never searches.
//
// Build() runs the load steps in order:
//   1 images (master bitmap, then every image value of every section in file order),
//   2 JPEG pictures (patterns and textures), 3 skin-wide values and the version check,
//   4 sections, 5 CommonSections merging, 6 per-section images,
//   7 hue and saturation, 8 cached indexes.
// Each step is public too, so a manager can rebuild pieces. The extended-border templates
// that follow step 8 belong to the manager itself.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"
#include "skin/data/sSkinFiles.h"
#include "skin/data/sSkinOptions.h"

// What the model needs from the platform.
struct TsSkinPlatform {
  TsSysColorFn SysColor = nullptr;  // GetSysColor; nullptr: the classic colour table
  int32_t SizingFrameWidth = 4;     // GetSystemMetrics(SM_CXFRAME), FORMOFFSET's default
};

// What a load asks besides the options text and the files.
struct TsBuildParams {
  std::string SkinName;                    // for the version messages
  std::vector<std::string> CommonSections; // extra options lines merged into every skin
  int32_t HueOffset = 0;
  int32_t Saturation = 0;
  // Called in step 3 with the skin's VERSION; a manager shows its messages from here.
  std::function<void(double version)> OnVersion;
};

// Cached indexes of a control kind: its section and the images painting asks for.
struct TsSectionCache {
  int32_t Section = -1;
  int32_t BorderMask = -1;
  int32_t GlyphMask = -1;
  int32_t Pattern = -1;     // PATTERN texture
  int32_t HotPattern = -1;  // HOTPATTERN texture
};

struct TsCachedIndexes {
  int32_t GlobalInfo = -1;
  // GLOBALINFO images; all -1 without GLOBALINFO.
  int32_t BoxChecked = -1, BoxUnchecked = -1, BoxGrayed = -1;
  int32_t RadioChecked = -1, RadioUnchecked = -1, RadioGrayed = -1;
  int32_t SmallChecked = -1, SmallUnchecked = -1, SmallGrayed = -1;
  int32_t ExBorder = -1;
  TsSectionCache ComboBtn;          // BORDERSMASK without inheritance
  int32_t ComboBoxGlyphMask = -1;   // COMBOBOX GLYPHMASK without inheritance
  // TABTOP, TABBOTTOM, TABLEFT, TABRIGHT
  std::array<TsSectionCache, 4> Tab;
  // SCROLLBTNTOP, SCROLLBTNBOTTOM, SCROLLBTNLEFT, SCROLLBTNRIGHT
  std::array<TsSectionCache, 4> ScrollBtn;
  // SCROLLSLIDERV, SCROLLSLIDERH
  std::array<TsSectionCache, 2> ScrollSlider;
  // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
  std::array<TsSectionCache, 4> ScrollBar;
};

enum TsTabSide { tsTop = 0, tsBottom = 1, tsLeft = 2, tsRight = 3 };
enum TsScrollBtn { sbTop = 0, sbBottom = 1, sbLeft = 2, sbRight = 3 };
enum TsScrollSlider { ssV = 0, ssH = 1 };
enum TsScrollBar { sb1H = 0, sb1V = 1, sb2H = 2, sb2V = 3 };

class TsSkinModel {
 public:
  explicit TsSkinModel(TsSkinPlatform platform = {});
  TsSkinModel(const TsSkinModel&) = delete;             // image records point back here
  TsSkinModel& operator=(const TsSkinModel&) = delete;

  // The model's data. Painting reads these; only the build steps write them.
  Bitmap32 MasterBitmap;            // 32 bits, key colour 0xFF00FF with alpha 0
  TsSkinData SkinData;
  std::vector<TsGeneralData> Sections;  // sections, file order; position = section index
  std::vector<TsMaskData> Images;       // images, load order; position = mask index
  std::vector<TsPatternData> Patterns;  // large JPEG pictures; position = pattern index
  TsCachedIndexes Cache;

  const TsSkinPlatform& Platform() const { return platform_; }

  // Builds the model from an options text and the skin's files (steps 1-8). Sets
  // SkinData.SkinPath from `skinPath` first (folder skins: the folder ending in "\";
  // packed skins: the skin folder; internal skins: empty). Throws on conversion errors
  // (EConvertError); what was rebuilt before the error stays.
  void Build(const TsSkinOptions& options, TsSkinFiles& files, const TsBuildParams& params,
             const std::string& skinPath);

  // The steps. `common` is the parsed CommonSections text (may be empty).
  void LoadImages(const TsSkinOptions& options, const TsSkinOptions& common, TsSkinFiles& files);  // 1
  void LoadPatterns(const TsSkinOptions& options, const TsSkinOptions& common, TsSkinFiles& files); // 2
  void LoadSkinData(const TsSkinOptions& options);                                                   // 3
  void LoadSections(const TsSkinOptions& options);                                                   // 4
  void MergeCommonSections(const TsSkinOptions& common);                                             // 5
  void UpdateSectionImages();                                                                        // 6
  void ApplyHueAndSaturation(int32_t hueOffset, int32_t saturation);                                 // 7
  void UpdateCachedIndexes();                                                                        // 8

  // Frees images, master bitmap, patterns and sections and marks the skin inactive.
  void Clear();

  // ---- Lookups: exact, case-sensitive names; the first match wins. ----
  // Section index of the first section with that name, or -1.
  int32_t FindSection(std::string_view name) const;
  // Mask index of the image (section, key); when missing, the search repeats in the
  // section named by PARENTCLASS of Sections[sectionIndex] (if it exists and differs from the
  // name), up the chain; a cycle ends the search. -1 when none, and at once for a negative
  // section index or an empty name.
  int32_t FindImage(int32_t sectionIndex, std::string_view section, std::string_view key) const;
  // Without inheritance.
  int32_t FindImage(std::string_view section, std::string_view key) const;
  // As FindImage, only texture records (ImgType 1).
  int32_t FindTexture(int32_t sectionIndex, std::string_view section, std::string_view key) const;
  // As FindImage over the pattern array.
  int32_t FindPattern(int32_t sectionIndex, std::string_view section, std::string_view key) const;

  // The bitmap an image's pixels lie in: its own, or the master bitmap.
  const Bitmap32& ImageBitmap(const TsMaskData& m) const { return m.Bmp.Empty() ? MasterBitmap : m.Bmp; }

 private:
  template <class Pred>
  int32_t FindInherited(int32_t sectionIndex, std::string_view section, Pred match) const;
  void AddImageValue(const std::string& section, const std::string& key, const std::string& value,
                     TsSkinFiles& files, bool commonSection);
  void AddFileImage(const std::string& section, const std::string& key, std::string_view value,
                    TsSkinFiles& files);
  void AddBitmapFileImage(const std::string& section, const std::string& key, std::string_view value,
                          TsSkinFiles& files);
  void AddJpegValue(const std::string& section, const std::string& key, std::string_view value,
                    TsSkinFiles& files);
  void LoadMasterBitmap(const TsSkinOptions& options, TsSkinFiles& files);
  TColor ToRGB(TColor c) const { return ColorToRGB(c, platform_.SysColor); }

  TsSkinPlatform platform_;
};

// Step 7 (skin/data/sSkinModelHue.cpp). A non-zero hue offset rotates the hue of the master
// bitmap, of every image's own bitmap and of every section colour (both state sets, their
// gradients, glow, font and contour colours) and SHADOW1COLOR and BORDERCOLOR; absent (-1)
// and system colours stay. GLOBALINFO BIKEEPHUE keeps title-bar button images as they are:
// 1 the close, maximise, minimise, restore and help buttons, 2 only the close buttons
// (BICONCLOSE, SICONCLOSE), each with its glow image (key + "GLOW0"); those lying in the
// master bitmap are copied out before the shift and back after it. Then the saturation,
// taken modulo 101, changes the same bitmaps and colours with no image kept. Zero values
// leave the model alone.
void ApplySkinHueAndSaturation(TsSkinModel& model, int32_t hueOffset, int32_t saturation);
