// TLZ77Decoder: the zlib inflater of one PNG load, fed chunk by chunk and
// drained row by row (partial-flush mode, never reset automatically).
#pragma once

#include <cstddef>
#include <cstdint>

#include <zlib.h>

class TLZ77Decoder {
 public:
  // Throws ELZ77Error when zlib cannot be initialised.
  TLZ77Decoder();
  ~TLZ77Decoder();
  TLZ77Decoder(const TLZ77Decoder&) = delete;
  TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

  enum class Result { Progress, StreamEnd, Stalled, Error };

  void SetInput(const uint8_t* data, std::size_t size);
  std::size_t InputLeft() const { return stream_.avail_in; }
  // Inflates into out[0, size); `produced` receives the bytes written.
  Result Inflate(uint8_t* out, std::size_t size, std::size_t& produced);
  // Ends the stream; throws ELZ77Error when zlib reports a failure.
  void End();

 private:
  z_stream stream_{};
  bool open_ = false;
};
