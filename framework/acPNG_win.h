// The Windows half of the PNG unit: drawing a decoded image on a canvas, and the PNG graphic
// that pictures hold (the picture framework's class for ".png" files). It lives with the window
// framework, whose canvas and pictures it draws on, above the neutral decoder in image/.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/Graphics.h"
#include "framework/Picture.h"
#include "image/acPNG.h"

// Draws the image into dest of the canvas. Images that are not 32-bit are drawn as ordinary
// bitmaps (stretched COLORONCOLOR, a tRNS colour left out). A 32-bit image is laid over what
// the canvas already shows with its per-pixel alpha; for a destination of another size its
// colour is stretched COLORONCOLOR and its alpha, separately, HALFTONE.
void DrawDibImage(TCanvas& canvas, const RECT& dest, const TDibImage& image);

// A TPNGGraphic that a TPicture can hold.
class TPNGPictureGraphic : public TGraphic, public TPNGGraphic {
 public:
  FRAMEWORK_CLASS(TPNGGraphic)
  bool Empty() const override { return TPNGGraphic::Empty(); }
  int Width() const override { return TPNGGraphic::Width(); }
  int Height() const override { return TPNGGraphic::Height(); }
  void LoadFromFile(const std::string& fileName) override { TPNGGraphic::LoadFromFile(fileName); }
  void Draw(TCanvas& canvas, const RECT& dest) override { DrawDibImage(canvas, dest, *this); }
};

std::unique_ptr<TGraphic> CreatePNGPictureGraphic();
