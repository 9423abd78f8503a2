#include "skin/controls/acAlphaImageList.h"

#include <windows.h>

#include <stdexcept>

#include "image/acPNG.h"

void TsAlphaImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  images_.clear();
}

void TsAlphaImageList::AddPng(const uint8_t* data, size_t size) {
  TPNGGraphic png;
  png.LoadFromMemory(data, size);
  Bitmap32 image = png.ToBitmap32();
  if (image.Width() != width_ || image.Height() != height_)
    throw std::invalid_argument("The image is not the size of the list's images");
  images_.push_back(std::move(image));
}

bool TsAlphaImageList::AddPngResource(const char* name) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC res = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  try {
    if (data) {
      AddPng(static_cast<const uint8_t*>(data), SizeofResource(module, res));
      return true;
    }
  } catch (const std::exception&) {
  }
  images_.emplace_back();
  return false;
}

void TsAlphaImageList::DrawCell(Bitmap32& dst, int x, int y, int index, int cell, int cellWidth) const {
  if (index < 0 || index >= Count() || cellWidth <= 0) return;
  const Bitmap32& image = images_[static_cast<size_t>(index)];
  const int sx = cell * cellWidth;
  if (sx < 0 || sx + cellWidth > image.Width()) return;
  const int h = image.Height();
  if (x < 0 || y < 0 || x + cellWidth > dst.Width() || y + h > dst.Height()) return;
  Bitmap32 piece(cellWidth, h);
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < cellWidth; ++col) piece.At(col, row) = image.At(sx + col, row);
  Bitmap32 target = Bitmap32::View(&dst.At(x, y), cellWidth, h, dst.RowDelta());
  BlendStraightAlpha(target, piece);
}

const TsAlphaImageList& DefaultGlyphs() {
  static TsAlphaImageList list(nullptr);
  static const bool filled = [] {
    list.SetSize(3 * kGlyphCell, kGlyphCell);
    for (const char* name : {"SF", "SR", "SD", "SE", "SC"}) list.AddPngResource(name);
    return true;
  }();
  (void)filled;
  return list;
}

namespace {
// Loaded at start-up, with the engine's other start-up work.
const bool g_glyphsLoaded = (DefaultGlyphs(), true);
}  // namespace
