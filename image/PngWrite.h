// Writes a Bitmap32 as a PNG file image (8-bit RGBA, no interlace). Used for
// screenshots and previews; the skin engine itself only reads PNGs.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "image/Bitmap32.h"

// Ancillary chunks a PNG may carry besides its pixels.
struct PngChunks {
  uint32_t Gamma = 0;               // gAMA × 100000 (45454 is 1/2.2); 0 writes none
  bool SrgbChromaticities = false;  // cHRM with the sRGB primaries and white point
  uint32_t PixelsPerMetre = 0;      // pHYs, the same both ways; 0 writes none
  std::vector<std::pair<std::string, std::string>> Texts;  // tEXt keyword, text (Latin-1)
};

std::vector<uint8_t> EncodePng(const Bitmap32& bmp, bool keepAlpha = true, const PngChunks& chunks = {});

// Writes the file; returns false when it cannot be written.
bool SavePng(const Bitmap32& bmp, const std::string& path, bool keepAlpha = true);
