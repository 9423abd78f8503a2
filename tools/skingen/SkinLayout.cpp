#include "tools/skingen/SkinLayout.h"

#include <stdexcept>

#include "skin/data/acntUtils.h"

namespace skingen {
namespace {

constexpr std::string_view kGlobalInfo = "GLOBALINFO";

// The entry of one image value, as the engine's parsers read it.
ImageDesc ParseDesc(ImageDesc d, std::string_view value) {
  if (d.shape == TsValueShape::File) {
    const TsFileDescriptor f = ParseFileDescriptor(value);
    if (!f.Valid) throw std::runtime_error("file descriptor names no .BMP or .PNG picture");
    d.file = f.FileName;
    d.count = f.ImageCount;
    d.maskType = f.MaskType;
    d.wl = f.WL, d.wt = f.WT, d.wr = f.WR, d.wb = f.WB;
    d.drawMode = f.DrawMode;
    return d;
  }
  if (d.shape == TsValueShape::BitmapFile) {
    // The engine gives a bare bitmap name three cells with a mask below them.
    d.file = UpperCase(value);
    d.count = 3;
    d.maskType = 1;
    return d;
  }
  TsMaskData m;
  switch (d.shape) {
    case TsValueShape::Image: m = ParseImageDescriptor(value); break;
    case TsValueShape::Border: m = ParseBorderDescriptor(value); break;
    case TsValueShape::Texture: m = ParseTextureDescriptor(value); break;
    default: m = ParseLegacyDescriptor(value); break;
  }
  d.rect = {m.R.Left, m.R.Top, m.R.Right, m.R.Bottom};
  d.count = m.ImageCount;
  d.maskType = m.MaskType;
  d.wl = m.WL, d.wt = m.WT, d.wr = m.WR, d.wb = m.WB;
  d.drawMode = m.DrawMode;
  return d;
}

}  // namespace

const ImageDesc* SkinLayout::Find(std::string_view section, std::string_view key) const {
  for (const ImageDesc& d : images)
    if (d.section == section && d.key == key) return &d;
  return nullptr;
}

std::string SkinLayout::Global(std::string_view key) const { return options.ReadString(kGlobalInfo, key, ""); }

SkinLayout ParseSkinLayout(std::string_view text) {
  SkinLayout layout;
  layout.options = TsSkinOptions::Parse(text);
  for (const TsOptionSection& s : layout.options.Sections())
    for (const TsOptionEntry& e : s.Entries) {
      const TsValueShape shape = ValueShape(e.Value);
      if (shape == TsValueShape::None || (s.Name == kGlobalInfo && e.Key == "MASTERBITMAP")) continue;
      ImageDesc d;
      d.section = s.Name;
      d.key = e.Key;
      d.shape = shape;
      try {
        layout.images.push_back(ParseDesc(std::move(d), e.Value));
      } catch (const std::exception& x) {
        throw std::runtime_error(s.Name + "/" + e.Key + ": " + x.what() + ": " + e.Value);
      }
    }
  return layout;
}

}  // namespace skingen
