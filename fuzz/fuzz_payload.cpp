// Feeds arbitrary bytes to the payload record reader as a whole payload.
#include "installer/PayloadRecord.h"

#include <cstddef>
#include <cstdint>

namespace {

// Inflated bytes are counted, not kept: memory stays with the compressed data.
struct Discard : PayloadOutput {
  void Write(const void*, size_t n) override {
    if (n > kPayloadChunkSize) __builtin_trap();
    total += n;
  }
  uint64_t total = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PayloadMemoryInput input(data, size);
  while (!input.AtEnd()) {
    const size_t start = input.Position();
    Discard out;
    bool extra = false;
    try {
      ExtractRecord(input, out, [&](PayloadOutput&) { extra = true; });
    } catch (const EPayloadRecordError&) {
      if (extra) __builtin_trap();  // a failed record never reaches the caller's write
      return 0;
    }
    // A record that succeeds is its length field and exactly that many bytes.
    const size_t length = data[start] | data[start + 1] << 8 | data[start + 2] << 16 | size_t{data[start + 3]} << 24;
    if (!extra || input.Position() != start + 4 + length) __builtin_trap();
  }
  return 0;
}
