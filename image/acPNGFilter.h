// Undoing the PNG row filters (None, Sub, Up, Average, Paeth) in place.
#pragma once

#include <cstddef>
#include <cstdint>

// row: the row's bytes after its filter-type byte; prior: the previous row of
// the same pass after undoing (all zero for the first); bpp: bytes per
// complete pixel, at least 1. A filter type above 4 leaves the row as it is.
void UnfilterRow(uint8_t filterType, uint8_t* row, const uint8_t* prior, std::size_t length, std::size_t bpp);
