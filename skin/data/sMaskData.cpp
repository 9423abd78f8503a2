#include "skin/data/sMaskData.h"

#include <algorithm>
#include <array>

#include "skin/data/acntUtils.h"

uint32_t DefaultSysColor(int index) {
  // The standard Windows colour scheme, 0x00BBGGRR, by COLOR_* index.
  static constexpr std::array<uint32_t, 31> kColors = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  return index >= 0 && index < static_cast<int>(kColors.size()) ? kColors[static_cast<std::size_t>(index)] : 0;
}

TColor ColorToRGB(TColor c, TsSysColorFn sysColor) {
  if (c >= 0) return c;
  const int index = static_cast<int>(static_cast<uint32_t>(c) & 0xFF);
  const uint32_t rgb = sysColor ? sysColor(index) : DefaultSysColor(index);
  return static_cast<TColor>(rgb & 0xFFFFFF);
}

TsGradArray ParseGradientData(std::string_view text) {
  TsGradArray pieces;
  if (text.empty()) return pieces;
  const auto words = SplitWords(text, ";", false);
  const std::size_t count = words.size() / 5;
  pieces.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    GradientPiece p;
    p.Color1 = std::max<int32_t>(0, StrToInt(words[5 * k]));
    p.Color2 = std::max<int32_t>(0, StrToInt(words[5 * k + 1]));
    p.Percent = static_cast<uint8_t>(std::clamp<int32_t>(StrToInt(words[5 * k + 2]), 0, 100));
    p.Mode = StrToInt(words[5 * k + 3]);
    pieces.push_back(p);
  }
  return pieces;
}

int32_t CellWidth(const TsMaskData& m) {
  if (m.ImageCount <= 0) return 0;
  return m.R.Width() / m.ImageCount;
}

int32_t CellHeight(const TsMaskData& m) {
  if (m.MaskType < 0) return 0;
  return m.R.Height() / (m.MaskType + 1);
}

int32_t TsMaskData::CellWidth() const { return ::CellWidth(*this); }
int32_t TsMaskData::CellHeight() const { return ::CellHeight(*this); }

TsRect TsMaskData::CellRect(int i) const {
  const int32_t w = CellWidth(), h = CellHeight();
  const int32_t left = R.Left + i * w;
  return TsRect{left, R.Top, left + w, R.Top + h};
}

TsValueShape ValueShape(std::string_view value) {
  if (value.empty()) return TsValueShape::None;
  switch (value[0]) {
    case '@': return TsValueShape::Image;
    case '^': return TsValueShape::Border;
    case '~': return TsValueShape::Texture;
    case '!': return TsValueShape::File;
    default: break;
  }
  const bool hash = Contains(value, "#");
  if (!hash && Contains(UpperCase(value), ".BMP")) return TsValueShape::BitmapFile;
  if (hash && value != "#") return TsValueShape::Legacy;
  return TsValueShape::None;
}

namespace {

// The number at 1-based character position `pos`, `len` characters long. A value that ends
// inside the field gives the characters it has; none at all is not a number.
int32_t Field(std::string_view value, std::size_t pos, std::size_t len) {
  std::string_view f = pos - 1 < value.size() ? value.substr(pos - 1, len) : std::string_view();
  return StrToInt(f);
}

int16_t I16(int32_t v) { return static_cast<int16_t>(v); }

void ReadRect(TsMaskData& m, std::string_view value) {
  m.R = TsRect{Field(value, 2, 4), Field(value, 7, 4), Field(value, 12, 4), Field(value, 17, 4)};
}

}  // namespace

void DeriveBorderWidths(TsMaskData& m, int32_t borderMode) {
  if (m.WL != 0 || m.WT != 0 || m.WR != 0 || m.WB != 0) return;
  if (borderMode != 0) {
    m.WL = m.WT = m.WR = m.WB = I16(borderMode);
    return;
  }
  const int32_t dx = static_cast<int32_t>(m.ImageCount) * 3;
  const int32_t dy = (static_cast<int32_t>(m.MaskType) + 1) * 3;
  m.WL = m.WR = dx > 0 ? I16(m.R.Width() / dx) : 0;
  m.WT = m.WB = dy > 0 ? I16(m.R.Height() / dy) : 0;
}

TsMaskData ParseImageDescriptor(std::string_view value) {
  TsMaskData m;
  ReadRect(m, value);
  m.ImageCount = I16(Field(value, 22, 1));
  m.MaskType = I16(Field(value, 24, 1));
  m.ImgType = itGlyph;
  return m;
}

TsMaskData ParseBorderDescriptor(std::string_view value) {
  TsMaskData m;
  ReadRect(m, value);
  m.WL = I16(Field(value, 22, 4));
  m.WT = I16(Field(value, 27, 4));
  m.WR = I16(Field(value, 32, 4));
  m.WB = I16(Field(value, 37, 4));
  m.ImageCount = I16(Field(value, 42, 1));
  m.MaskType = I16(Field(value, 44, 1));
  m.DrawMode = I16(Field(value, 46, 1));
  m.BorderMode = I16(Field(value, 48, 1));
  m.ImgType = itBorder;
  DeriveBorderWidths(m, m.BorderMode);
  return m;
}

TsMaskData ParseTextureDescriptor(std::string_view value) {
  TsMaskData m;
  ReadRect(m, value);
  m.DrawMode = I16(Field(value, 22, 2));
  m.MaskType = value.size() >= 25 ? I16(Field(value, 25, 1)) : 0;
  m.ImageCount = 1;
  m.ImgType = itTexture;
  return m;
}

TsMaskData ParseLegacyDescriptor(std::string_view value) {
  TsMaskData m;
  const auto words = SplitWords(value, " ()", true);
  const std::string_view rectWord = words.size() > 1 ? words[1] : std::string_view();
  const auto rect = SplitWords(rectWord, ", ", true);
  auto at = [](const std::vector<std::string_view>& w, std::size_t i) {
    return i < w.size() ? w[i] : std::string_view();
  };
  m.R = TsRect{StrToInt(at(rect, 0)), StrToInt(at(rect, 1)), StrToInt(at(rect, 2)), StrToInt(at(rect, 3))};
  const auto params = SplitWords(words.size() > 2 ? words[2] : std::string_view(), ", ", true);
  const int32_t count = params.size() > 0 ? StrToInt(params[0]) : 1;
  const int32_t mask = params.size() > 1 ? StrToInt(params[1]) : 0;
  const int32_t bmode = params.size() > 2 ? StrToInt(params[2]) : 0;
  const int32_t draw = params.size() > 3 ? StrToInt(params[3]) : 1;
  m.ImageCount = I16(std::max(count, 1));
  m.MaskType = I16(std::max(mask, 0));
  m.BorderMode = I16(std::max(bmode, 0));
  m.DrawMode = I16(draw);
  m.ImgType = itBorder;
  DeriveBorderWidths(m, m.BorderMode);
  return m;
}

TsFileDescriptor ParseFileDescriptor(std::string_view value) {
  TsFileDescriptor d;
  const auto words = SplitWords(value, "!", true);
  if (words.empty()) return d;
  d.FileName = std::string(words[0]);
  d.Valid = Contains(d.FileName, ".BMP") || Contains(d.FileName, ".PNG");
  if (!d.Valid) return d;
  auto num = [&](std::size_t i, int32_t absent) { return i < words.size() ? StrToInt(words[i]) : absent; };
  d.ImageCount = num(1, 0);
  d.MaskType = num(2, 0);
  d.ImgType = std::clamp(num(3, 0), 0, 4);
  d.HasWidths = words.size() >= 5;
  d.WL = num(4, 0);
  d.WT = num(5, 0);
  d.WR = num(6, 0);
  d.WB = num(7, 0);
  d.DrawMode = num(8, 1);
  return d;
}
