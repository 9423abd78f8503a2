// The skin tool's section sheet of the product's skin: written under the build tree for
// people to look at, and checked where the painters' results are known.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "image/acPNG.h"
#include "skin/data/sSkinModel.h"
#include "skin/render/sGraphUtils.h"
#include "tests/native/test_SectionSupport.h"
#include "tools/skintool/SectionPreview.h"

namespace fs = std::filesystem;
using namespace sectiontest;

namespace {

const fs::path kTool = fs::path(KESTAMOR_BINARY_DIR) / "tools" / "skintool" / "skintool";
const fs::path kSheet = fs::path(KESTAMOR_BINARY_DIR) / "section-preview" / "Garnet-sections.png";

int RunTool(const std::string& args) {
  const int status = std::system(("'" + kTool.string() + "' " + args + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SectionPreview, GarnetSheet) {
  const TsSkinModel* m = Garnet();
  ASSERT_TRUE(m && fs::exists(kTool)) << "the garnet_skin and skintool targets made nothing";
  ASSERT_EQ(RunTool("preview '" KESTAMOR_BINARY_DIR "/resources/Garnet.asz' '" + kSheet.string() + "'"), 0);
  TPNGGraphic png;
  png.LoadFromFile(kSheet.string());
  const Bitmap32 sheet = png.ToBitmap32();
  ASSERT_EQ(sheet.Width(), preview::kSheetWidth);
  ASSERT_EQ(sheet.Height(), preview::SheetHeight(static_cast<int>(m->Sections.size())));

  // A see-through section without a frame shows the board unchanged in every state.
  const int checkbox = m->FindSection("CHECKBOX");
  for (int state = 0; state < 3; ++state) {
    const TsRect c = preview::Cell(checkbox, state, 2);
    for (int y = c.Top; y < c.Bottom; y += 5)
      for (int x = c.Left; x < c.Right; x += 7) ASSERT_EQ(sheet.At(x, y), preview::CheckerAt(x, y)) << x << "," << y;
  }
  // An opaque black edit shows its colour inside its frame.
  const TsRect edit = preview::Cell(m->FindSection("EDIT"), 0, 1);
  EXPECT_EQ(sheet.At(edit.Left + 30, edit.Top + 12), Rgb(0, 0, 0));
}

}  // namespace
