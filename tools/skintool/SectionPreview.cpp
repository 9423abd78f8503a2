#include "tools/skintool/SectionPreview.h"

#include <string>
#include <vector>

#include "image/PngWrite.h"
#include "skin/data/sSkinManager.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sBackgroundSource.h"
#include "skin/render/sStyleSimply.h"
#include "tools/skintool/PixelFont.h"
#include "tools/skintool/SkinFolder.h"

namespace fs = std::filesystem;

namespace preview {

namespace {

const Pixel32 kPaper{0xEC, 0xEC, 0xEC, 255};
const Pixel32 kInk{0x20, 0x20, 0x20, 255};
const Pixel32 kFaint{0x70, 0x70, 0x70, 255};

// The binding a control of this section would have; by index, so that a skin with two
// sections of one name still shows both.
TsSectionBinding BindingFor(const TsSkinModel& model, int32_t index) {
  const TsGeneralData& sec = model.Sections[static_cast<std::size_t>(index)];
  TsSectionBinding b;
  b.SkinManager = &model;
  b.SkinSection = sec.SectionName;
  b.SectionIndex = index;
  b.BorderMaskIndex = sec.BorderMaskIndex;
  b.TextureIndex = model.FindTexture(index, sec.SectionName, "PATTERN");
  b.HotTextureIndex = model.FindTexture(index, sec.SectionName, "HOTPATTERN");
  return b;
}

std::string Describe(const TsGeneralData& sec) {
  std::string s = "STATES " + std::to_string(sec.States);
  s += "  TRANSP " + std::to_string(sec.StateProps[0].Transparency);
  if (sec.States > 1) s += "/" + std::to_string(sec.StateProps[1].Transparency);
  return s;
}

void PaintCell(Bitmap32& sheet, const TsSectionBinding& b, const TsRect& cell, int state) {
  for (int y = cell.Top; y < cell.Bottom; ++y)
    for (int x = cell.Left; x < cell.Right; ++x) sheet.At(x, y) = CheckerAt(x, y);
  // The section paints into a cache of its own over the board, as a control over its parent.
  Bitmap32 cache(cell.Width(), cell.Height());
  PaintSection(b, MakeBgInfo(&sheet, cell.Left, cell.Top), true, cache, TsPoint{}, TsRect{0, 0, cell.Width(), cell.Height()},
               state);
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < cache.Width(); ++x) {
      Pixel32 p = cache.At(x, y);
      p.A = 255;
      sheet.At(cell.Left + x, cell.Top + y) = p;
    }
}

}  // namespace

Bitmap32 RenderSectionSheet(const TsSkinModel& model) {
  const int rows = static_cast<int>(model.Sections.size());
  Bitmap32 sheet(kSheetWidth, SheetHeight(rows));
  sheet.Fill(kPaper);
  DrawPixelText(sheet, kGap, kGap, "SECTION", kInk, 2);
  for (int state = 0; state < 3; ++state)
    DrawPixelText(sheet, Cell(0, state, 0).Left, kGap, "STATE " + std::to_string(state), kInk, 2);

  for (int row = 0; row < rows; ++row) {
    const TsGeneralData& sec = model.Sections[static_cast<std::size_t>(row)];
    const int y = Cell(row, 0, 0).Top;
    DrawPixelText(sheet, kGap, y, sec.SectionName, kInk, 2);
    DrawPixelText(sheet, kGap, y + 20, Describe(sec), kFaint, 1);
    const TsSectionBinding b = BindingFor(model, row);
    for (int state = 0; state < 3; ++state)
      for (int size = 0; size < 3; ++size) PaintCell(sheet, b, Cell(row, state, size), state);
  }
  return sheet;
}

int SectionPreview(const fs::path& input, const fs::path& out, std::ostream& log) {
  std::error_code ec;
  const std::vector<uint8_t> archive =
      fs::is_directory(input, ec) ? WriteSkinArchive(CollectSkinFolder(input)) : ReadFileBytes(input);
  TsSkinModel model;
  try {
    LoadPackedSkin(model, archive, TsBuildParams{}, "");
  } catch (const std::exception& e) {
    throw ToolError(input.string() + ": the skin does not load: " + e.what());
  }
  const Bitmap32 sheet = RenderSectionSheet(model);
  if (!out.parent_path().empty()) fs::create_directories(out.parent_path(), ec);
  if (!SavePng(sheet, out.string(), false)) throw ToolError("cannot write " + out.string());
  log << "Wrote " << out.string() << " (" << model.Sections.size() << " sections, " << sheet.Width() << " x "
      << sheet.Height() << ")\n";
  return 0;
}

}  // namespace preview
