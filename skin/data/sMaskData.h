// The records of the skin model: skin-wide values (TsSkinData), one record per options
// section (TsGeneralData with its two TsGenState sets), one per image (TsMaskData), one per
// large JPEG pattern (TsPatternData), parsed gradients, and the parsers of the image and
// gradient value syntaxes. The model that holds them is TsSkinModel (skin/data/sSkinModel.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "image/Bitmap32.h"
#include "image/Colors.h"

class TsSkinModel;

// Colours are 0x00BBGGRR; values with the high byte 0xFF name a system colour (index in the
// low byte) and are resolved before use. 0xFF00FF is the key colour / "no colour".

// Resolves a system colour index (0..255) to 0x00BBGGRR. The Windows side passes
// GetSysColor; native code passes a table.
using TsSysColorFn = uint32_t (*)(int index);
// Turns a colour into RGB: negative values go through the system colour function (or a
// built-in table of the classic Windows colours when none is given).
TColor ColorToRGB(TColor c, TsSysColorFn sysColor);
// The classic Windows system colours, used when no platform function is injected.
uint32_t DefaultSysColor(int index);

// One piece of a gradient: colours (at least 0), percent of the area (0..100) and mode
// (0 vertical, 1 horizontal, 2 triangles; only the first piece's mode is used).
struct GradientPiece {
  TColor Color1 = 0;
  TColor Color2 = 0;
  uint8_t Percent = 0;
  int32_t Mode = 0;
  friend bool operator==(const GradientPiece&, const GradientPiece&) = default;
};
using TsGradArray = std::vector<GradientPiece>;

// Parses "c1;c2;percent;mode;x;c1;..." in groups of five; a group's fifth word is not read
// and words that do not fill a group are ignored. A word of a complete group that is not
// an integer throws EConvertError (skin/data/acntUtils.h).
TsGradArray ParseGradientData(std::string_view text);

// The property set of one visual state of a section.
struct TsGenState {
  TColor Color = clWhite;
  TColor FontColor = 0;
  TColor TCLeft = clAbsent, TCTop = clAbsent, TCRight = clAbsent, TCBottom = clAbsent;
  int32_t GradientPercent = 0;
  std::string GradientData;
  TsGradArray Gradient;
  int32_t ImagePercent = 0;
  TColor GlowColor = clWhite;
  uint8_t GlowSize = 0;
  int32_t Transparency = 0;
};

// One options section. The normal-state and hot-state fields repeat StateProps[0] and
// StateProps[1] for readers that want them by name; with States below 2, StateProps[1] is a
// copy of StateProps[0] and the Hot* fields keep their defaults.
struct TsGeneralData {
  std::string ParentClass;
  std::string SectionName;
  int32_t States = 4;
  TsGenState StateProps[2];
  bool GiveOwnFont = false;
  bool ReservedBoolean = false;
  bool ShowFocus = false;
  int32_t Glow = 0;
  int32_t GlowMargin = 0;
  // Mask indexes of the section's (or its parents') images; -1 for none.
  int32_t BorderMaskIndex = -1, ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;

  TColor Color = clWhite;
  int32_t Transparency = 0;
  int32_t GradientPercent = 0;
  std::string GradientData = " ";
  TsGradArray Gradient;
  int32_t ImagePercent = 0;
  TColor FontColor = 0;
  TColor TCLeft = clAbsent, TCTop = clAbsent, TCRight = clAbsent, TCBottom = clAbsent;

  TColor HotColor = clWhite;
  int32_t HotTransparency = 0;
  int32_t HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradient;
  int32_t HotImagePercent = 0;
  TColor HotFontColor = 0;
  TColor HotTCLeft = clAbsent, HotTCTop = clAbsent, HotTCRight = clAbsent, HotTCBottom = clAbsent;

  bool FadingEnabled = false;
  int32_t FadingIterations = 5;
  TColor HotGlowColor = clWhite;
  TColor GlowColor = clWhite;
  uint8_t HotGlowSize = 0;
  uint8_t GlowSize = 0;
};

// Image types of TsMaskData::ImgType.
enum : uint8_t { itBorder = 0, itTexture = 1, itGlyph = 2 };

struct TsRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  friend bool operator==(const TsRect&, const TsRect&) = default;
};

// One image of the skin: a rectangle of the master bitmap (Bmp empty) or a picture of its
// own (file images and small JPEG pictures), cut into ImageCount state cells side by side.
struct TsMaskData {
  Bitmap32 Bmp;              // empty: the image lies in the master bitmap
  std::string Section;       // section the key was found in
  std::string PropertyName;  // the key
  TsRect R;                  // all state cells, right and bottom exclusive
  int16_t ImageCount = 0;
  int16_t MaskType = 0;      // 0 no mask, 1 lower half is the mask, -1 no height
  int16_t BorderMode = 0;
  int16_t DrawMode = 0;
  uint8_t ImgType = itBorder;
  const TsSkinModel* Manager = nullptr;
  int16_t WL = 0, WT = 0, WR = 0, WB = 0;
  // True when Bmp came from a 32-bit source (PNG, 32-bit BMP) and so carries its own
  // alpha; false for pictures whose alpha was made from the key colour.
  bool Bmp32 = false;

  // Size of one state cell (see CellWidth/CellHeight below).
  int32_t CellWidth() const;
  int32_t CellHeight() const;
  // Cell i (0-based), in the coordinates of the bitmap the image lies in.
  TsRect CellRect(int i) const;
};

// Cell size rules: width = R width / ImageCount (0 when ImageCount <= 0); height = R height
// for mask type 0, R height / (MaskType + 1) for larger mask types, 0 for negative ones.
int32_t CellWidth(const TsMaskData& m);
int32_t CellHeight(const TsMaskData& m);

// A large JPEG picture used as a pattern (more than kPatternMinPixels - 1 pixels).
struct TsPatternData {
  Bitmap32 Image;
  std::string Section;       // upper case
  std::string PropertyName;  // upper case
};
inline constexpr int64_t kPatternMinPixels = 900000;

// Skin-wide values: the skin path and the GLOBALINFO keys (read without inheritance).
struct TsSkinData {
  std::string SkinPath;  // folder of a folder skin ending in "\"; empty for an internal skin
  bool Active = false;
  std::string MasterBitmap;
  double Version = 0;
  std::string Author;
  std::string Description;
  int32_t BorderWidth = 4;
  int32_t TitleHeight = 30;
  int32_t MaxHeight = 0;
  int32_t FormOffset = 4;  // default: the platform's sizing-frame width
  int32_t AlignOffset = 0;
  int32_t CenterOffset = 0;
  int32_t BorderMode = 0;
  TColor Shadow1Color = 0;
  int32_t Shadow1Offset = 0;
  int32_t Shadow1Blur = -1;
  int32_t Shadow1Transparency = 0;
  TColor BorderColor = 0;
  int32_t BISpacing = 0;
  int32_t BIVAlign = 0;
  int32_t BIRightMargin = 0;
  int32_t BILeftMargin = 0;
  int32_t BITopMargin = 0;
  int32_t BIKeepHue = 0;
  int32_t BICloseGlow = 0, BIMaxGlow = 0, BIMinGlow = 0;
  int32_t BICloseGlowMargin = 0, BIMaxGlowMargin = 0, BIMinGlowMargin = 0;
};

// ---- Image value syntaxes ----------------------------------------------------------

// The shape of an options value, decided by its first character and content.
enum class TsValueShape {
  None,        // not an image
  Image,       // "@..." rectangle of the master bitmap, glyph
  Border,      // "^..." rectangle of the master bitmap, border
  Texture,     // "~..." rectangle of the master bitmap, texture
  File,        // "!NAME.PNG!..." picture file of the skin
  BitmapFile,  // "name.bmp": bitmap file of the skin
  Legacy,      // "... # ..." rectangle of the master bitmap
};
TsValueShape ValueShape(std::string_view value);

// Parses the "@", "^" and "~" descriptors into a record (rectangle, counts, modes, derived
// widths, image type). Numbers stand at fixed character positions; a field that is not a
// number (or lies past the end of the value) throws EConvertError.
TsMaskData ParseImageDescriptor(std::string_view value);
TsMaskData ParseBorderDescriptor(std::string_view value);
TsMaskData ParseTextureDescriptor(std::string_view value);
// Legacy "#" descriptor: word 2 the rectangle, word 3 count, mask type, border mode, draw mode.
TsMaskData ParseLegacyDescriptor(std::string_view value);

// A file descriptor split into its fields. The rectangle and the derived widths need the
// picture's size: see ApplyFileDescriptor.
struct TsFileDescriptor {
  std::string FileName;      // must contain ".BMP" or ".PNG"; otherwise Valid is false
  bool Valid = false;
  int32_t ImageCount = 0;
  int32_t MaskType = 0;
  int32_t ImgType = 0;       // 0..4, larger values become 4
  bool HasWidths = false;    // 5 or more words
  int32_t WL = 0, WT = 0, WR = 0, WB = 0;
  int32_t DrawMode = 1;
};
TsFileDescriptor ParseFileDescriptor(std::string_view value);

// Fills in the widths that a descriptor left at 0: with borderMode != 0 all four become
// borderMode; otherwise WL = WR = R width / (ImageCount * 3) and WT = WB = R height /
// ((MaskType + 1) * 3). A divisor below 1 gives 0 widths instead of a division by zero.
void DeriveBorderWidths(TsMaskData& m, int32_t borderMode);
