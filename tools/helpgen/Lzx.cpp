#include "tools/helpgen/Lzx.h"

#include <algorithm>

namespace {

// LZX packs bits most significant first into 16-bit little-endian words.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void Put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      word_ = static_cast<std::uint16_t>((word_ << 1) | ((value >> i) & 1));
      if (++used_ == 16) Flush();
    }
  }

  // Pads the current word with zero bits.
  void Align() {
    if (used_ == 0) return;
    word_ = static_cast<std::uint16_t>(word_ << (16 - used_));
    Flush();
  }

 private:
  void Flush() {
    out_.push_back(static_cast<std::uint8_t>(word_));
    out_.push_back(static_cast<std::uint8_t>(word_ >> 8));
    word_ = 0;
    used_ = 0;
  }

  std::vector<std::uint8_t>& out_;
  std::uint16_t word_ = 0;
  int used_ = 0;
};

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> LzxStored(const std::vector<std::uint8_t>& content,
                                    std::vector<std::uint64_t>& frameStarts) {
  constexpr std::uint32_t kStoredBlock = 3;
  std::vector<std::uint8_t> out;
  frameStarts.clear();
  // Readers decode whole frames, the last one too, so every frame holds a full
  // frame of content; the last is padded with zeros.
  for (std::size_t pos = 0; pos < content.size(); pos += kLzxFrameSize) {
    const std::size_t length = std::min(kLzxFrameSize, content.size() - pos);
    frameStarts.push_back(out.size());
    BitWriter bits(out);
    // Every frame starts after a reset (one frame per reset interval), so each
    // carries the reset header: one bit saying "no x86 call translation".
    bits.Put(0, 1);
    bits.Put(kStoredBlock, 3);
    bits.Put(static_cast<std::uint32_t>(kLzxFrameSize), 24);
    // The 28 header bits end inside the second word; the stored block proper
    // starts at the next word.
    bits.Align();
    for (int r = 0; r < 3; ++r) Put32(out, 1);  // repeated-match offsets R0..R2
    out.insert(out.end(), content.begin() + static_cast<std::ptrdiff_t>(pos),
               content.begin() + static_cast<std::ptrdiff_t>(pos + length));
    out.resize(out.size() + (kLzxFrameSize - length), 0);  // even: no pad byte
  }
  return out;
}
