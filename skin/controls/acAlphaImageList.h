// An image list of 32-bit pictures with straight alpha, filled from PNG resources and drawn by
// blending into a bitmap, and the engine's shared default glyph list made from it at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/Classes.h"
#include "image/Bitmap32.h"

class TsAlphaImageList : public TComponent {
 public:
  explicit TsAlphaImageList(TComponent* AOwner) : TComponent(AOwner) {}
  FRAMEWORK_CLASS(TsAlphaImageList)

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Sets the size of every image; empties the list when it changes.
  void SetSize(int width, int height);
  int Count() const { return static_cast<int>(images_.size()); }
  const Bitmap32& Image(int index) const { return images_.at(static_cast<size_t>(index)); }

  // Decodes a PNG and adds it at the end. Throws EPNGError for a picture that cannot be
  // read and std::invalid_argument for one that is not Width x Height.
  void AddPng(const uint8_t* data, size_t size);
  // Adds the PNG held in the program's RCDATA resource `name`. A missing or unreadable
  // picture adds an empty image (so that later ones keep their indexes) and gives false.
  bool AddPngResource(const char* name);
  // Blends the cell (cellWidth pixels wide, counted from the image's left) of an image onto
  // dst at (x, y); outside the list, or outside dst, nothing is drawn.
  void DrawCell(Bitmap32& dst, int x, int y, int index, int cell, int cellWidth) const;

 private:
  int width_ = 16;
  int height_ = 16;
  std::vector<Bitmap32> images_;
};

// Images of the shared default glyph list, in the order of its resources.
enum TsDefaultGlyph : int { dgFile = 0, dgFolder = 1, dgDate = 2, dgEllipsis = 3, dgCalculator = 4 };
// Each default glyph is a strip of three cells: normal, disabled, pressed.
inline constexpr int kGlyphCell = 16;
enum TsGlyphCell : int { gcNormal = 0, gcDisabled = 1, gcPressed = 2 };

// The shared default glyph list: 48 x 16 images from the PNG resources "SF", "SR", "SD", "SE"
// and "SC", loaded when the program starts.
const TsAlphaImageList& DefaultGlyphs();
