// Data the program stores compressed (the wizard's background picture) as one zlib stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The bytes of `stream`, which must be exactly one complete zlib stream; empty if it is not
// (damaged, cut short or followed by other bytes), as for data that is missing.
std::vector<uint8_t> InflateZlib(std::span<const uint8_t> stream);
