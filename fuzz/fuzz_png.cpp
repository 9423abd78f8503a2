// Feeds arbitrary bytes to the PNG decoder and converts whatever it accepts.
// Each input is decoded as it is and once more with every chunk CRC repaired,
// so that mutations reach the image data instead of stopping at a CRC check.
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/acPNG.h"

namespace {

uint32_t BE32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

void Decode(const uint8_t* data, size_t size) {
  TPNGGraphic g;
  try {
    g.LoadFromMemory(data, size);
    (void)g.PixelAt(g.Width() - 1, g.Height() - 1);
    // Widening to 32 bits costs time by pixel count (a 1-bit image of a few kilobytes of
    // inflated data is millions of pixels): only small pictures, to keep the fuzzer fast.
    if (int64_t{g.Width()} * g.Height() > (int64_t{1} << 16)) return;
    Bitmap32 b = g.ToBitmap32();
    ClearTransparentWhite(b);
  } catch (const EPNGError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Decode(data, size);

  std::vector<uint8_t> fixed(data, data + size);
  bool changed = false;
  for (size_t pos = 8; pos + 12 <= fixed.size();) {
    const uint32_t len = BE32(&fixed[pos]);
    if (len > fixed.size() - pos - 12) break;
    const uint32_t crc = uint32_t(crc32(0, &fixed[pos + 4], uInt(len) + 4));
    uint8_t* stored = &fixed[pos + 8 + len];
    if (BE32(stored) != crc) {
      for (int i = 0; i < 4; ++i) stored[i] = uint8_t(crc >> (24 - 8 * i));
      changed = true;
    }
    pos += size_t(len) + 12;
  }
  if (changed) Decode(fixed.data(), fixed.size());
  return 0;
}
