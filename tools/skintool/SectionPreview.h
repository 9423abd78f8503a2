// "skintool preview": a contact sheet of every section of a skin, painted by the engine's
// section painters in states 0, 1 and 2 at three sizes, over a checker board so that
// see-through sections and key-coloured corners show what lies behind them.
#pragma once

#include <filesystem>
#include <ostream>

#include "image/Bitmap32.h"
#include "skin/data/sMaskData.h"

class TsSkinModel;

namespace preview {

// Sheet layout: a header band, then one row per section in file order. Each row has the
// label column, then for each state the three sizes side by side.
inline constexpr int kSizes[3][2] = {{32, 18}, {75, 25}, {150, 56}};
inline constexpr int kGap = 8;
inline constexpr int kLabelWidth = 224;
inline constexpr int kHeaderHeight = 28;
inline constexpr int kRowHeight = 56 + 2 * kGap;
inline constexpr int kStateWidth = 32 + 75 + 150 + 3 * kGap;
inline constexpr int kSheetWidth = kLabelWidth + 3 * kStateWidth + kGap;
inline constexpr int kChecker = 6;  // squares of the board behind the sections

inline int SheetHeight(int sections) { return kHeaderHeight + sections * kRowHeight + kGap; }

// Where section `row` is painted for `state` at size `size` (0 small, 1 medium, 2 large).
inline TsRect Cell(int row, int state, int size) {
  int x = kLabelWidth + state * kStateWidth;
  for (int i = 0; i < size; ++i) x += kSizes[i][0] + kGap;
  const int y = kHeaderHeight + row * kRowHeight + kGap;
  return TsRect{x, y, x + kSizes[size][0], y + kSizes[size][1]};
}

// The two greys of the board at sheet pixel (x, y).
inline Pixel32 CheckerAt(int x, int y) {
  const bool light = ((x / kChecker) + (y / kChecker)) % 2 == 0;
  return light ? Pixel32{0xC8, 0xC8, 0xC8, 255} : Pixel32{0x8C, 0x8C, 0x8C, 255};
}

Bitmap32 RenderSectionSheet(const TsSkinModel& model);

// Loads the skin (".asz" file or skin folder), renders its sheet and writes it as a PNG.
// Returns 0; throws ToolError when the skin cannot be read or the file not written.
int SectionPreview(const std::filesystem::path& input, const std::filesystem::path& out, std::ostream& log);

}  // namespace preview
