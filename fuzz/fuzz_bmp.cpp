// BMP files come from skins (master bitmap, file images): any bytes must give a
// picture or EBmpError, never a crash or a read outside the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes lets ASan see any read past the end.
  std::vector<uint8_t> input(data, data + size);
  try {
    int bpp = 0;
    Bitmap32 bmp = ReadBmp(input.data(), input.size(), &bpp);
    if (!bmp.Empty()) {
      // Touch the corners: the picture must be as large as it says.
      volatile uint8_t sink = bmp.At(0, 0).A;
      sink = bmp.At(bmp.Width() - 1, bmp.Height() - 1).B;
      (void)sink;
      // Whatever we read, we can write back and read again (small pictures: keeps the fuzzer fast).
      if (static_cast<int64_t>(bmp.Width()) * bmp.Height() <= 65536) {
        const std::vector<uint8_t> again = WriteBmp32(bmp);
        ReadBmp(again.data(), again.size());
      }
    }
  } catch (const EBmpError&) {
  }
  return 0;
}
