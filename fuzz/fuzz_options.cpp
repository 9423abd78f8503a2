// Fuzzes the options text and the model built from it over a small fixed set of skin
// files. Text after a line "%%" is used as CommonSections. Conversion errors are the
// expected way for a bad text to fail; anything else escaping is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <jpeglib.h>

#include "image/BmpFile.h"
#include "image/PngWrite.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/acntUtils.h"
#include "skin/data/sSkinManager.h"

namespace {

std::vector<uint8_t> TinyJpeg() {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = 5;
  c.image_height = 4;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  unsigned char row[15] = {};
  while (c.next_scanline < c.image_height) {
    JSAMPROW r = row;
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  jpeg_destroy_compress(&c);
  free(out);
  return bytes;
}

struct Fixture {
  std::unique_ptr<TacSkinConvertor> Reader = std::make_unique<TacSkinConvertor>();
  TacMemoryStream Source;
  TsMemoryFiles Files;

  Fixture() {
    Bitmap32 master(40, 30);
    master.Fill(Pixel32{1, 2, 3, 0});
    Bitmap32 glyph(9, 6);
    glyph.Fill(Pixel32{255, 255, 255, 0});
    const std::vector<uint8_t> options{'[', 'X', ']'};
    Source = TacMemoryStream(WriteSkinArchive({{"Options.dat", options},
                                               {"Master.bmp", WriteBmp24(master)},
                                               {"Glyph.png", EncodePng(glyph)},
                                               {"Frame.bmp", WriteBmp32(glyph)},
                                               {"Pic.jpg", TinyJpeg()},
                                               {"Bad.png", {0x89, 'P', 'N', 'G'}}}));
    Reader->SetSourceStream(&Source);
    ReadArchive(Reader);
    Reader->SetSourceStream(nullptr);
    for (const auto& f : Reader->Files) Files.Add(f.FileName, f.FileStream.Bytes());
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TsBuildParams params;
  const std::size_t split = text.find("\n%%\n");
  if (split != std::string_view::npos) {
    for (auto line : SplitWords(text.substr(split + 4), "\n", true)) params.CommonSections.emplace_back(line);
    text = text.substr(0, split);
  }
  TsSkinModel model;
  try {
    model.Build(TsSkinOptions::Parse(text), fixture.Files, params, "");
  } catch (const EConvertError&) {
    return 0;
  }
  // Every lookup must stay in bounds whatever the text made of the model.
  for (std::size_t i = 0; i < model.Sections.size(); ++i) {
    const TsGeneralData& g = model.Sections[i];
    const auto idx = static_cast<int32_t>(i);
    for (int32_t m : {g.BorderMaskIndex, g.ImgTL, g.ImgTR, g.ImgBL, g.ImgBR})
      if (m < -1 || m >= static_cast<int32_t>(model.Images.size())) __builtin_trap();
    (void)model.FindTexture(idx, g.SectionName, "PATTERN");
    (void)model.FindPattern(idx, g.SectionName, "PATTERN");
  }
  for (const TsMaskData& m : model.Images) {
    (void)m.CellRect(m.ImageCount > 0 ? m.ImageCount - 1 : 0);
    if (m.Manager != &model) __builtin_trap();
  }
  return 0;
}
