// The LZX stream that compiled-help readers expect in the compressed section,
// made of stored (uncompressed) blocks: readers decode it with their ordinary
// LZX decoder, and the writer needs no compressor.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Each reset frame covers this much content.
inline constexpr std::size_t kLzxFrameSize = 0x8000;

// One LZX stream holding the content in stored blocks, one per frame.
// frameStarts receives the compressed offset at which each frame begins.
std::vector<std::uint8_t> LzxStored(const std::vector<std::uint8_t>& content,
                                    std::vector<std::uint64_t>& frameStarts);
