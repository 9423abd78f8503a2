// Payload records: the product files carried behind the installer's executable
// image. Each record is
//
//   u32 little-endian compressed length N, then N bytes: one complete zlib stream
//
// and the next record follows at once. Records carry no names or sizes; their
// meaning is their position (installer/PayloadLayout.h).
//
// Extracting a record reads its N compressed bytes into memory, then inflates
// them in chunks of 1024 bytes, writing each chunk as soon as it is produced:
// the loop writes exactly what each read produced (also 0 bytes) and stops at
// the first read shorter than a chunk, so content of an exact multiple of 1024
// bytes ends with one empty write. Inflated content is never held as a whole.
//
// A record is damaged (EPayloadDamaged) when:
//   - the input ends inside the length field or before N bytes;
//   - N is negative as a signed 32-bit value (a top bit set is never a real size);
//   - the deflate data, the zlib header or the Adler-32 trailer is bad, or the
//     stream asks for a preset dictionary;
//   - the zlib stream does not end inside the record (a truncated stream would
//     otherwise give a silently shorter file);
//   - bytes follow the end of the zlib stream inside the record. A record is one
//     stream exactly; a surplus means the record was built wrongly, and the
//     payload check of the build refuses the same thing.
// N = 0 is an empty record: no stream, an empty target file. zlib running out
// of memory fails the record too, but is no damage (EPayloadRecordError).
// Bytes already written stay written on failure: the caller keeps the partial file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class EPayloadRecordError : public std::runtime_error {
 public:
  explicit EPayloadRecordError(const std::string& msg) : std::runtime_error(msg) {}
};

// The record's own bytes are wrong: the file that carries the payload is damaged.
class EPayloadDamaged : public EPayloadRecordError {
 public:
  using EPayloadRecordError::EPayloadRecordError;
};

// Inflated content is produced and written in chunks of at most this size.
inline constexpr std::size_t kPayloadChunkSize = 1024;

// A sequential source of payload bytes (the installer's own executable,
// positioned at a record).
class PayloadInput {
 public:
  virtual ~PayloadInput() = default;
  // Reads up to n bytes; returns how many. Fewer than n only at the end of the
  // input. Throws when the source cannot be read.
  virtual std::size_t Read(void* buffer, std::size_t n) = 0;
};

// Where one record's content goes (the target file).
class PayloadOutput {
 public:
  virtual ~PayloadOutput() = default;
  // Writes all n bytes (n may be 0) or throws EPayloadRecordError.
  virtual void Write(const void* buffer, std::size_t n) = 0;
};

// Writes more bytes after a record's content, before the target is closed.
using PayloadExtraWrite = std::function<void(PayloadOutput&)>;

// Reads one record's length field and compressed bytes, leaving the input at
// the next record. Memory grows with the bytes actually read, never with the
// length field alone.
std::vector<std::uint8_t> ReadPayloadRecord(PayloadInput& input);

// Inflates one record's compressed bytes into `output` chunk by chunk, then
// runs `extraWrite` (if any) on the same output.
void InflatePayloadRecord(const std::vector<std::uint8_t>& compressed, PayloadOutput& output,
                          const PayloadExtraWrite& extraWrite = {});

// Both steps: reads the next record from `input` and writes its content to `output`.
void ExtractRecord(PayloadInput& input, PayloadOutput& output, const PayloadExtraWrite& extraWrite = {});

// Reads from bytes in memory (a payload already loaded, outside bytes).
class PayloadMemoryInput : public PayloadInput {
 public:
  PayloadMemoryInput(const void* data, std::size_t size)
      : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  std::size_t Read(void* buffer, std::size_t n) override;
  std::size_t Position() const { return position_; }
  bool AtEnd() const { return position_ == size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// Gathers writes into a buffer and passes them on in large blocks, so that a
// file sees few system calls for many 1024-byte chunks. The content and its
// order are unchanged. Derived classes pass blocks on with WriteThrough and
// must call Flush before they close (a destructor cannot report a failure).
class BufferedPayloadOutput : public PayloadOutput {
 public:
  explicit BufferedPayloadOutput(std::size_t capacity = 64 * 1024) { buffer_.reserve(capacity); }
  void Write(const void* buffer, std::size_t n) override;
  // Passes the gathered bytes on; throws as WriteThrough does.
  void Flush();

 protected:
  // Writes all n bytes (n > 0) to the destination or throws EPayloadRecordError.
  virtual void WriteThrough(const void* data, std::size_t n) = 0;

 private:
  std::vector<std::uint8_t> buffer_;
};
