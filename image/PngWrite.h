// Writes a Bitmap32 as a PNG file image (8-bit RGBA, no interlace). Used for
// screenshots and previews; the skin engine itself only reads PNGs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/Bitmap32.h"

std::vector<uint8_t> EncodePng(const Bitmap32& bmp, bool keepAlpha = true);

// Writes the file; returns false when it cannot be written.
bool SavePng(const Bitmap32& bmp, const std::string& path, bool keepAlpha = true);
