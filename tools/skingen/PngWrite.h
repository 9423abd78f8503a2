// Writes a Bitmap32 as an 8-bit RGBA PNG (straight alpha) with libpng.
#pragma once

#include <string>

#include "image/Bitmap32.h"

namespace skingen {

// Throws std::runtime_error when the file cannot be written.
void WritePng(const std::string& path, const Bitmap32& bmp);

}  // namespace skingen
