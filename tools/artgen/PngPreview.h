// A minimal PNG writer (8-bit RGB, no filtering) for looking at the artwork
// with ordinary image viewers.
#pragma once

#include <cstdint>
#include <vector>

#include "image/Bitmap32.h"

namespace artgen {

std::vector<std::uint8_t> EncodePng(const Bitmap32& bmp);

}  // namespace artgen
