// JPEG pictures of a skin, decoded with the IJG library (libjpeg / libjpeg-turbo).
#pragma once

#include <cstdint>
#include <span>

#include "image/Bitmap32.h"

// Pictures larger than this many pixels are refused (as unreadable) before anything is
// allocated, so that a forged header cannot ask for gigabytes.
inline constexpr uint64_t kMaxJpegPixels = uint64_t{1} << 26;

// Decodes a JPEG file image (grey, RGB/YCbCr or CMYK) into a top-down 32-bit bitmap with
// alpha 255. Any decoding error gives an empty bitmap; nothing is printed. Work and memory
// follow the data: a picture with more than eight 8 x 8 blocks per byte of the file (less
// than Huffman coding can spend on a block) is refused before decoding, and so is one
// whose data ends before its last row of blocks.
Bitmap32 DecodeJpeg(std::span<const uint8_t> bytes);

// True when the bytes begin like a JPEG file (FF D8 FF).
bool LooksLikeJpeg(std::span<const uint8_t> bytes);
