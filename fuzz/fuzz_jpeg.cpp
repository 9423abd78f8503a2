// JPEG pictures come from skins (pattern and texture values): any bytes must give a picture
// or an empty bitmap, never a crash, a read outside the input or a long stall.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/data/sSkinModelJpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes lets ASan see any read past the end.
  const std::vector<uint8_t> input(data, data + size);
  const Bitmap32 bmp = DecodeJpeg(input);
  if (!bmp.Empty()) {
    // The picture must be as large as it says.
    volatile uint8_t sink = bmp.At(bmp.Width() - 1, bmp.Height() - 1).A;
    (void)sink;
  }
  return 0;
}
