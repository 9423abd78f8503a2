#include "image/acPNGInflate.h"

#include <limits>

#include "image/acPNG.h"

namespace {
const char kLZ77Error[] = "LZ77 decompression error.";
}

TLZ77Decoder::TLZ77Decoder() {
  if (inflateInit(&stream_) != Z_OK) throw ELZ77Error(kLZ77Error);
  open_ = true;
}

TLZ77Decoder::~TLZ77Decoder() {
  if (open_) inflateEnd(&stream_);
}

void TLZ77Decoder::SetInput(const uint8_t* data, std::size_t size) {
  // Chunk lengths are below 2^31, so a chunk always fits zlib's 32-bit counter.
  stream_.next_in = const_cast<Bytef*>(data);
  stream_.avail_in = static_cast<uInt>(size);
}

TLZ77Decoder::Result TLZ77Decoder::Inflate(uint8_t* out, std::size_t size, std::size_t& produced) {
  const uInt want = size > std::numeric_limits<uInt>::max() ? std::numeric_limits<uInt>::max() : static_cast<uInt>(size);
  stream_.next_out = out;
  stream_.avail_out = want;
  const int rc = inflate(&stream_, Z_PARTIAL_FLUSH);
  produced = want - stream_.avail_out;
  switch (rc) {
    case Z_OK: return Result::Progress;
    case Z_STREAM_END: return Result::StreamEnd;
    case Z_BUF_ERROR: return Result::Stalled;
    default: return Result::Error;
  }
}

void TLZ77Decoder::End() {
  if (!open_) return;
  open_ = false;
  if (inflateEnd(&stream_) != Z_OK) throw ELZ77Error(kLZ77Error);
}
