// Drives the painters with hostile geometry over the product's skin: target and parent sizes,
// rectangles partly or wholly outside, bad section and image indexes, odd states, texture
// modes, and gradient texts taken from the input. The sanitizers report any byte touched
// outside a bitmap.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/acntUtils.h"
#include "skin/data/sSkinManager.h"
#include "skin/render/sGradient.h"
#include "skin/render/sGraphUtils.h"
#include "skin/render/sStyleSimply.h"

namespace {

const TsSkinModel& Garnet() {
  static const std::unique_ptr<TsSkinModel> model = [] {
    auto m = std::make_unique<TsSkinModel>();
    std::ifstream f(KESTAMOR_BINARY_DIR "/resources/Garnet.asz", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (!bytes.empty()) LoadPackedSkin(*m, bytes, {}, "");
    return m;
  }();
  return *model;
}

// Reads small numbers off the front of the input; zeros once it is used up.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  int Byte() { return p_ < end_ ? *p_++ : 0; }
  int Range(int lo, int hi) { return lo + (Byte() | Byte() << 8) % (hi - lo + 1); }
  std::string Rest() { return std::string(reinterpret_cast<const char*>(p_), reinterpret_cast<const char*>(end_)); }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
};

TsRect AnyRect(Reader& in) {
  const int l = in.Range(-40, 200), t = in.Range(-40, 200);
  return TsRect{l, t, l + in.Range(-8, 260), t + in.Range(-8, 260)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TsSkinModel& model = Garnet();
  Reader in(data, size);
  Bitmap32 target(in.Range(1, 160), in.Range(1, 120));
  Bitmap32 parent(in.Range(1, 200), in.Range(1, 160));
  const bool withParent = in.Byte() & 1;
  const BackgroundSource bg = withParent ? MakeBgInfo(&parent, in.Range(-64, 220), in.Range(-64, 220))
                                         : BackgroundSource{nullptr, 0, 0, static_cast<TColor>(in.Range(0, 0xFFFF)), false};
  const int sections = static_cast<int>(model.Sections.size());
  const int images = static_cast<int>(model.Images.size());

  TsSectionBinding binding;
  const int section = in.Range(-2, sections + 1);
  if (section >= 0 && section < sections) binding = BindSection(model, model.Sections[section].SectionName);
  binding.SkinManager = &model;
  binding.SectionIndex = section;
  if (in.Byte() & 1) binding.BorderMaskIndex = in.Range(-2, images + 1);
  binding.HUEOffset = in.Byte() & 1 ? in.Range(-360, 360) : 0;

  const TsRect rect = AnyRect(in);
  const TsPoint origin{in.Range(-50, 50), in.Range(-50, 50)};
  const int state = in.Range(-1, 3);
  switch (in.Byte() % 4) {
    case 0: PaintSection(binding, bg, in.Byte() & 1, target, origin, rect, state); break;
    case 1: PaintSectionOnParent(binding, bg, in.Byte() & 1, target, origin, rect, state); break;
    case 2:
      PaintSectionWithIndexes(section, in.Range(-2, images + 1), in.Range(-2, images + 1), in.Range(-2, images + 1),
                              &model, target, origin, rect, state, bg, "");
      break;
    default:
      PaintSectionByIndex(section, "", bg, in.Range(-2, images + 1), in.Range(-2, images + 1), &model, target, origin,
                          rect, state);
  }

  // Textures and blits with rectangles anywhere.
  const int image = in.Range(-1, images);
  TsRect textureRect = AnyRect(in);
  PaintTexture(target, textureRect, nullptr, in.Range(0, 11), image >= 0 && image < images ? &model.Images[image] : nullptr);
  StretchRect32(target, AnyRect(in), parent, AnyRect(in));
  CopyRect32(target, in.Range(-80, 200), in.Range(-80, 200), parent, AnyRect(in));

  // Whatever the rest of the input says as gradient data.
  try {
    PaintGradient(target, AnyRect(in), ParseGradientData(in.Rest()), in.Range(-300, 300));
  } catch (const EConvertError&) {
  }
  return 0;
}
