#include "installer/PayloadRecord.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

// Compressed bytes are read in steps that start at this size and double with
// what was read, so a length field that promises more than the input holds
// never allocates much more than the input gave.
constexpr std::size_t kFirstReadStep = std::size_t{64} << 10;

std::size_t ReadFully(PayloadInput& input, void* buffer, std::size_t n) {
  auto* p = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    const std::size_t got = input.Read(p + done, n - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

// Inflates a record in chunks. zlib runs its fast loop only while at least
// 258 bytes of output room remain, so inflating straight into 1024-byte
// chunks would decode a quarter of every chunk slowly: the stream inflates
// into a larger block and hands the block out chunk by chunk. The block is a
// whole number of chunks, so the chunks are the same as if each were inflated
// on its own, and so are the failures: a chunk that reaches a fault in the
// data is not handed out, the one before it is.
class InflateStream {
 public:
  explicit InflateStream(const std::vector<std::uint8_t>& compressed) : block_(kBlockSize) {
    if (inflateInit(&z_) != Z_OK) throw EPayloadRecordError("Payload record: zlib could not start");
    // inflate takes non-const input but never writes to it.
    z_.next_in = const_cast<Bytef*>(compressed.data());
    z_.avail_in = static_cast<uInt>(compressed.size());
  }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;
  ~InflateStream() { inflateEnd(&z_); }

  // The next chunk of inflated bytes: a full chunk, or fewer only at the end
  // of the stream (0 once it is used up). Throws when the chunk would reach
  // bad data or the stream stops short of its end.
  std::size_t NextChunk(const std::uint8_t*& data) {
    if (next_ == filled_ && !ended_ && fault_ == Z_OK) Refill();
    const std::size_t left = filled_ - next_;
    if (left < kPayloadChunkSize && fault_ != Z_OK) Fail();
    const std::size_t n = std::min(left, kPayloadChunkSize);
    data = block_.data() + next_;
    next_ += n;
    return n;
  }

  std::size_t UnreadInput() const { return z_.avail_in; }

 private:
  static constexpr std::size_t kBlockSize = 64 * kPayloadChunkSize;

  void Refill() {
    z_.next_out = block_.data();
    z_.avail_out = static_cast<uInt>(block_.size());
    while (z_.avail_out > 0) {
      const int rc = inflate(&z_, Z_NO_FLUSH);
      if (rc == Z_OK) continue;
      if (rc == Z_STREAM_END) {
        ended_ = true;
      } else {
        fault_ = rc;
        message_ = z_.msg ? z_.msg : "unknown error";
      }
      break;
    }
    next_ = 0;
    filled_ = block_.size() - z_.avail_out;
  }

  [[noreturn]] void Fail() const {
    switch (fault_) {
      case Z_BUF_ERROR:  // no progress: all input used before the stream's end
        throw EPayloadDamaged("Payload record: the zlib stream does not end inside the record");
      case Z_NEED_DICT:
        throw EPayloadDamaged("Payload record: the zlib stream needs a preset dictionary");
      case Z_MEM_ERROR:
        throw EPayloadRecordError("Payload record: out of memory while inflating");
      default:
        throw EPayloadDamaged("Payload record: invalid zlib data (" + message_ + ")");
    }
  }

  z_stream z_{};
  std::vector<std::uint8_t> block_;
  std::size_t next_ = 0;
  std::size_t filled_ = 0;
  bool ended_ = false;
  int fault_ = Z_OK;
  std::string message_;
};

}  // namespace

std::vector<std::uint8_t> ReadPayloadRecord(PayloadInput& input) {
  std::uint8_t field[4];
  const std::size_t got = ReadFully(input, field, sizeof field);
  if (got == 0) throw EPayloadDamaged("Payload ends before the record");
  if (got < sizeof field) throw EPayloadDamaged("Payload ends inside a record's length field");
  const std::uint32_t raw = std::uint32_t{field[0]} | std::uint32_t{field[1]} << 8 |
                            std::uint32_t{field[2]} << 16 | std::uint32_t{field[3]} << 24;
  // The top bit would make the length negative in the format's signed reading.
  if (raw > 0x7FFFFFFFu) throw EPayloadDamaged("Payload record length is negative");

  const std::size_t length = raw;
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < length) {
    const std::size_t at = bytes.size();
    const std::size_t step = std::min(length - at, std::max(at, kFirstReadStep));
    bytes.resize(at + step);
    const std::size_t read = ReadFully(input, bytes.data() + at, step);
    if (read < step) {
      throw EPayloadDamaged("Payload ends after " + std::to_string(at + read) + " of the record's " +
                                std::to_string(length) + " bytes");
    }
  }
  return bytes;
}

void InflatePayloadRecord(const std::vector<std::uint8_t>& compressed, PayloadOutput& output,
                          const PayloadExtraWrite& extraWrite) {
  if (compressed.empty()) {
    // An empty record holds no stream; its first read yields nothing.
    const std::uint8_t none = 0;
    output.Write(&none, 0);
  } else {
    InflateStream stream(compressed);
    std::size_t n;
    do {
      const std::uint8_t* chunk = nullptr;
      n = stream.NextChunk(chunk);
      output.Write(chunk, n);
    } while (n == kPayloadChunkSize);
    if (const std::size_t surplus = stream.UnreadInput()) {
      throw EPayloadDamaged("Payload record: " + std::to_string(surplus) +
                                " bytes follow the end of its zlib stream");
    }
  }
  if (extraWrite) extraWrite(output);
}

void ExtractRecord(PayloadInput& input, PayloadOutput& output, const PayloadExtraWrite& extraWrite) {
  const std::vector<std::uint8_t> compressed = ReadPayloadRecord(input);
  InflatePayloadRecord(compressed, output, extraWrite);
}

std::size_t PayloadMemoryInput::Read(void* buffer, std::size_t n) {
  const std::size_t take = std::min(n, size_ - position_);
  if (take) std::memcpy(buffer, data_ + position_, take);
  position_ += take;
  return take;
}

void BufferedPayloadOutput::Write(const void* buffer, std::size_t n) {
  if (n == 0) return;
  if (buffer_.size() + n > buffer_.capacity()) {
    Flush();
    if (n >= buffer_.capacity()) {
      WriteThrough(buffer, n);
      return;
    }
  }
  const auto* p = static_cast<const std::uint8_t*>(buffer);
  buffer_.insert(buffer_.end(), p, p + n);
}

void BufferedPayloadOutput::Flush() {
  if (buffer_.empty()) return;
  // Emptied also when the write fails: a failure is reported once, not again
  // by the flush before closing.
  struct Empty {
    std::vector<std::uint8_t>& bytes;
    ~Empty() { bytes.clear(); }
  } empty{buffer_};
  WriteThrough(buffer_.data(), buffer_.size());
}
