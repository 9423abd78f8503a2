// Packed skin archives ("ASzf"): an options file and the skin's images, each
// compressed on its own as one zlib stream.
//
//   "ASzf", u32 count, then count times:
//     u32 name length N, N name bytes, u32 decompressed size S, one zlib stream
// (all integers little-endian; the compressed length is stored nowhere).
//
// TacSkinConvertor reads an archive into owned memory streams: the options
// entry (the one whose name upper-cases to "OPTIONS.DAT") and the image entries
// in stored order, names kept as stored.
//
// Ownership: the reader is held by the caller in a std::unique_ptr. The two
// operations that may free or create the reader (ReadArchive on data that is
// not an archive, LoadArchiveFile when the caller has no reader yet) are free
// functions taking that std::unique_ptr by reference: "the reader is freed and
// the caller's reference becomes null" is reader.reset().
//
// Safety: the reader never reads outside its source whatever the counts and
// lengths say, and allocates only as much as the data actually inflates to.
// An entry whose zlib stream produces more than its declared size is rejected
// (the next entry could not be found otherwise). An entry with a declared size
// of 0 is accepted as an empty stream if its zlib stream is complete and empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// "Loaded data is not a packed Quorindel file".
class ESkinPackError : public std::runtime_error {
 public:
  explicit ESkinPackError(const std::string& msg) : std::runtime_error(msg) {}
};

// Corrupt zlib data; the message is zlib's own text for the error code.
class EZDecompressionError : public std::runtime_error {
 public:
  explicit EZDecompressionError(const std::string& msg) : std::runtime_error(msg) {}
};

// The source ended early, or an entry inflated to fewer bytes than declared.
class ESkinPackReadError : public std::runtime_error {
 public:
  ESkinPackReadError() : std::runtime_error("Stream read error") {}
};

// A file that exists but cannot be read.
class ESkinPackOpenError : public std::runtime_error {
 public:
  explicit ESkinPackOpenError(const std::string& msg) : std::runtime_error(msg) {}
};

inline constexpr char kNotPackedSkinMessage[] = "Loaded data is not a packed Quorindel file";

// An owned byte buffer with a read/write position.
class TacMemoryStream {
 public:
  TacMemoryStream() = default;
  explicit TacMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  std::size_t Size() const { return bytes_.size(); }
  const std::uint8_t* Memory() const { return bytes_.data(); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

  std::size_t Position() const { return position_; }
  // Positions past the end are clamped to the end.
  void Seek(std::size_t pos) { position_ = pos < bytes_.size() ? pos : bytes_.size(); }

  // Reads up to n bytes; returns how many were read.
  std::size_t Read(void* buffer, std::size_t n);
  // Reads exactly n bytes or throws ESkinPackReadError (the position is then unchanged).
  void ReadBuffer(void* buffer, std::size_t n);
  // Writes at the position, growing the buffer as needed.
  void Write(const void* buffer, std::size_t n);

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

struct TacImageItem {
  std::string FileName;  // as stored, letter case kept
  TacMemoryStream FileStream;
};

// Where an entry stood in the source; kept for tools and diagnostics.
struct TacEntryInfo {
  std::string Name;
  std::size_t Offset = 0;          // of the name length field
  std::uint32_t Size = 0;          // declared decompressed size
  std::size_t CompressedSize = 0;  // length of the zlib stream
  bool IsOptions = false;
};

class TacSkinConvertor {
 public:
  TacSkinConvertor() = default;
  ~TacSkinConvertor() { Clear(); }
  TacSkinConvertor(const TacSkinConvertor&) = delete;
  TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;

  std::int32_t ImageCount = 0;  // entry count - 1
  std::vector<TacImageItem> Files;
  std::unique_ptr<TacMemoryStream> Options;  // null until an options entry is read
  std::vector<TacEntryInfo> Entries;

  // The stream the archive is read from. SetSourceStream does not take
  // ownership; the reader owns its source only after loading a file itself.
  TacMemoryStream* SourceStream() const { return source_; }
  void SetSourceStream(TacMemoryStream* stream);

  // Reads the archive from the source (from position 0), appending to Files
  // and setting Options. On data that is not an archive the reader is cleared
  // and ESkinPackError is thrown; ReadArchive() below also frees it then.
  void Read();

  // Frees the image streams from the last to the first, then the options
  // stream, then the source stream (if owned; a borrowed one is only dropped).
  void Clear();

  // The first image entry whose upper-cased name equals `upperName`, or null.
  const TacImageItem* FindFile(const std::string& upperName) const;

 private:
  void ReadEntry();
  friend void LoadArchiveFile(std::unique_ptr<TacSkinConvertor>&, const std::string&, bool);

  TacMemoryStream* source_ = nullptr;
  std::unique_ptr<TacMemoryStream> ownedSource_;
};

// Reads the archive from reader's source; when the data is not an archive the
// reader is freed (reader becomes null) before ESkinPackError is thrown.
void ReadArchive(std::unique_ptr<TacSkinConvertor>& reader);

// Loads a whole archive file. A missing file does nothing and throws nothing.
// Otherwise creates the reader if there is none or clears it, loads the file
// into a source stream the reader owns, reads it (see ReadArchive), and frees
// that source afterwards when freeSource is set.
void LoadArchiveFile(std::unique_ptr<TacSkinConvertor>& reader, const std::string& fileName,
                     bool freeSource = true);

// ASCII-only upper case, as archive and options names are compared.
std::string UpperCaseAscii(std::string s);

// Writer: one file of a skin to pack.
struct TacArchiveFile {
  std::string Name;
  std::vector<std::uint8_t> Data;
};

// Builds a complete archive of the files in the given order, each as one zlib
// stream at the default level (header 78 9C). Throws std::length_error for a
// name of 4 GB or more or a file of more than 3.75 GB.
std::vector<std::uint8_t> WriteSkinArchive(const std::vector<TacArchiveFile>& files);
