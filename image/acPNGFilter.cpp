#include "image/acPNGFilter.h"

#include <cstdlib>

namespace {

// The predictor of the PNG standard (ties prefer a, then b), written with the
// distances |b - c|, |a - c| and |a + b - 2c| so that it compiles branch-free.
inline uint8_t Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  const int ab = pb < pa ? b : a;
  const int pab = pb < pa ? pb : pa;
  return static_cast<uint8_t>(pc < pab ? c : ab);
}

// The pixel width is a compile-time constant for the common cases so that the
// inner loops unroll; BPP == 0 means "use bpp".
template <std::size_t BPP>
void Unfilter(uint8_t type, uint8_t* row, const uint8_t* prior, std::size_t n, std::size_t bppRuntime) {
  const std::size_t bpp = BPP ? BPP : bppRuntime;
  const std::size_t first = bpp < n ? bpp : n;
  switch (type) {
    case 1:  // Sub
      for (std::size_t i = bpp; i < n; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
      break;
    case 2:  // Up
      for (std::size_t i = 0; i < n; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
      break;
    case 3:  // Average
      for (std::size_t i = 0; i < first; ++i) row[i] = static_cast<uint8_t>(row[i] + (prior[i] >> 1));
      for (std::size_t i = bpp; i < n; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((unsigned(row[i - bpp]) + prior[i]) >> 1));
      break;
    case 4:  // Paeth
      for (std::size_t i = 0; i < first; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
      if (BPP && n >= BPP) {
        // Whole pixels at a time, the left and upper-left pixels kept in
        // registers: the channels are independent chains that run side by side.
        int a[BPP ? BPP : 1], c[BPP ? BPP : 1];
#pragma GCC unroll 8
        for (std::size_t k = 0; k < BPP; ++k) a[k] = row[k], c[k] = prior[k];
        std::size_t i = BPP;
        for (; i + BPP <= n; i += BPP)
#pragma GCC unroll 8
          for (std::size_t k = 0; k < BPP; ++k) {
            const int b = prior[i + k];
            const int x = static_cast<uint8_t>(row[i + k] + Paeth(a[k], b, c[k]));
            row[i + k] = static_cast<uint8_t>(x);
            a[k] = x;
            c[k] = b;
          }
        for (; i < n; ++i) row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
      } else {
        for (std::size_t i = bpp; i < n; ++i)
          row[i] = static_cast<uint8_t>(row[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
      }
      break;
    default:  // None, or an unknown type: the bytes stay as they are
      break;
  }
}

}  // namespace

void UnfilterRow(uint8_t filterType, uint8_t* row, const uint8_t* prior, std::size_t length, std::size_t bpp) {
  switch (bpp) {
    case 1: Unfilter<1>(filterType, row, prior, length, bpp); break;
    case 3: Unfilter<3>(filterType, row, prior, length, bpp); break;
    case 4: Unfilter<4>(filterType, row, prior, length, bpp); break;
    default: Unfilter<0>(filterType, row, prior, length, bpp); break;
  }
}
