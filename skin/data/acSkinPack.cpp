#include "skin/data/acSkinPack.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "image/FileBytes.h"

namespace {

constexpr std::uint8_t kMagic[4] = {'A', 'S', 'z', 'f'};
constexpr std::size_t kFirstChunk = 64 * 1024;

std::uint32_t ReadU32(TacMemoryStream& s) {
  std::uint8_t b[4];
  s.ReadBuffer(b, 4);
  return std::uint32_t{b[0]} | (std::uint32_t{b[1]} << 8) | (std::uint32_t{b[2]} << 16) |
         (std::uint32_t{b[3]} << 24);
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

class Inflater {
 public:
  Inflater() {
    if (int rc = inflateInit(&z_); rc != Z_OK) throw EZDecompressionError(zError(rc));
  }
  ~Inflater() { inflateEnd(&z_); }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  z_stream* operator->() { return &z_; }
  z_stream& operator*() { return z_; }

 private:
  z_stream z_{};
};

// Inflates the zlib stream that starts at the source's position into exactly
// `size` bytes and leaves the source on the first byte after the stream.
// The output grows with what the data really yields, so a lying size field
// cannot make us allocate more than the input can produce.
std::vector<std::uint8_t> InflateEntry(TacMemoryStream& src, std::uint32_t size, std::size_t& used) {
  Inflater z;
  const std::uint8_t* in = src.Memory() + src.Position();
  const std::size_t avail = src.Size() - src.Position();
  // zlib counts input in 32-bit units; archives are far below that, and
  // anything beyond cannot belong to one entry of a loadable skin.
  const std::size_t feed = std::min<std::size_t>(avail, std::numeric_limits<uInt>::max());
  z->next_in = const_cast<Bytef*>(in);
  z->avail_in = static_cast<uInt>(feed);

  std::vector<std::uint8_t> out;
  int rc = Z_OK;
  while (out.size() < size) {
    const std::size_t have = out.size();
    const std::size_t want = std::min<std::size_t>(size, std::max(kFirstChunk, have * 2));
    out.resize(want);
    z->next_out = out.data() + have;
    z->avail_out = static_cast<uInt>(want - have);
    rc = inflate(&*z, Z_NO_FLUSH);
    out.resize(want - z->avail_out);
    if (rc == Z_STREAM_END) break;
    if (rc == Z_BUF_ERROR) throw ESkinPackReadError();  // no progress: the input ran out
    if (rc != Z_OK) throw EZDecompressionError(zError(rc));
  }
  if (out.size() < size) throw ESkinPackReadError();  // the stream ended before `size` bytes

  // All declared bytes are out; the stream must end here too (its last block
  // and Adler-32 trailer may still be unread).
  while (rc != Z_STREAM_END) {
    std::uint8_t extra;
    z->next_out = &extra;
    z->avail_out = 1;
    rc = inflate(&*z, Z_NO_FLUSH);
    if (z->avail_out == 0) throw EZDecompressionError(zError(Z_DATA_ERROR));  // longer than declared
    if (rc == Z_STREAM_END) break;
    if (rc == Z_BUF_ERROR) throw ESkinPackReadError();
    if (rc != Z_OK) throw EZDecompressionError(zError(rc));
  }
  used = feed - z->avail_in;
  src.Seek(src.Position() + used);
  return out;
}

}  // namespace

std::size_t TacMemoryStream::Read(void* buffer, std::size_t n) {
  const std::size_t k = std::min(n, bytes_.size() - position_);
  if (k) std::memcpy(buffer, bytes_.data() + position_, k);
  position_ += k;
  return k;
}

void TacMemoryStream::ReadBuffer(void* buffer, std::size_t n) {
  if (n > bytes_.size() - position_) throw ESkinPackReadError();
  Read(buffer, n);
}

void TacMemoryStream::Write(const void* buffer, std::size_t n) {
  if (!n) return;
  if (bytes_.size() - position_ < n) bytes_.resize(position_ + n);
  std::memcpy(bytes_.data() + position_, buffer, n);
  position_ += n;
}

std::string UpperCaseAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

void TacSkinConvertor::SetSourceStream(TacMemoryStream* stream) {
  if (stream != ownedSource_.get()) ownedSource_.reset();
  source_ = stream;
}

void TacSkinConvertor::Clear() {
  while (!Files.empty()) Files.pop_back();
  Options.reset();
  Entries.clear();
  source_ = nullptr;
  ownedSource_.reset();
}

const TacImageItem* TacSkinConvertor::FindFile(const std::string& upperName) const {
  for (const TacImageItem& f : Files)
    if (UpperCaseAscii(f.FileName) == upperName) return &f;
  return nullptr;
}

void TacSkinConvertor::Read() {
  if (!source_) throw ESkinPackReadError();
  TacMemoryStream& src = *source_;
  src.Seek(0);
  std::uint8_t magic[4] = {0, 0, 0, 0};
  if (src.Read(magic, 4) != 4 || std::memcmp(magic, kMagic, 4) != 0) {
    Clear();
    throw ESkinPackError(kNotPackedSkinMessage);
  }
  const std::uint32_t count = ReadU32(src);
  ImageCount = static_cast<std::int32_t>(static_cast<std::int64_t>(count) - 1);
  // No reservation by count: a lying count runs out of data long before memory.
  for (std::uint32_t i = 0; i < count; ++i) ReadEntry();
}

void TacSkinConvertor::ReadEntry() {
  TacMemoryStream& src = *source_;
  TacEntryInfo info;
  info.Offset = src.Position();
  const std::uint32_t nameLength = ReadU32(src);
  if (nameLength > src.Size() - src.Position()) throw ESkinPackReadError();
  info.Name.resize(nameLength);
  src.ReadBuffer(info.Name.data(), nameLength);
  info.Size = ReadU32(src);
  info.IsOptions = UpperCaseAscii(info.Name) == "OPTIONS.DAT";

  std::vector<std::uint8_t> data = InflateEntry(src, info.Size, info.CompressedSize);
  if (info.IsOptions) {
    Options = std::make_unique<TacMemoryStream>(std::move(data));
  } else {
    Files.push_back(TacImageItem{info.Name, TacMemoryStream(std::move(data))});
  }
  Entries.push_back(std::move(info));
}

void ReadArchive(std::unique_ptr<TacSkinConvertor>& reader) {
  if (!reader) throw ESkinPackReadError();
  try {
    reader->Read();
  } catch (const ESkinPackError&) {
    reader.reset();
    throw;
  }
}

void LoadArchiveFile(std::unique_ptr<TacSkinConvertor>& reader, const std::string& fileName,
                     bool freeSource) {
  // stat and stdio take the name in the system code page on every platform we build for.
  struct stat st {};
  if (stat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return;  // no such file

  std::optional<std::vector<std::uint8_t>> bytes = TryReadFile(fileName);

  if (reader)
    reader->Clear();
  else
    reader = std::make_unique<TacSkinConvertor>();
  if (!bytes) throw ESkinPackOpenError("Cannot open file \"" + fileName + "\"");

  reader->ownedSource_ = std::make_unique<TacMemoryStream>(std::move(*bytes));
  reader->source_ = reader->ownedSource_.get();
  ReadArchive(reader);
  if (freeSource && reader) {
    reader->source_ = nullptr;
    reader->ownedSource_.reset();
  }
}

std::vector<std::uint8_t> WriteSkinArchive(const std::vector<TacArchiveFile>& files) {
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  // Leaves room for zlib's worst-case growth within its 32-bit lengths.
  constexpr std::uint64_t kDataLimit = 0xF0000000u;
  if (files.size() > kLimit) throw std::length_error("Too many files for a skin archive");
  std::vector<std::uint8_t> out(kMagic, kMagic + 4);
  AppendU32(out, static_cast<std::uint32_t>(files.size()));
  for (const TacArchiveFile& file : files) {
    if (file.Name.size() > kLimit || file.Data.size() > kDataLimit)
      throw std::length_error("File too large for a skin archive: " + file.Name);
    AppendU32(out, static_cast<std::uint32_t>(file.Name.size()));
    out.insert(out.end(), file.Name.begin(), file.Name.end());
    AppendU32(out, static_cast<std::uint32_t>(file.Data.size()));

    uLongf packedSize = compressBound(static_cast<uLong>(file.Data.size()));
    const std::size_t at = out.size();
    out.resize(at + packedSize);
    const int rc = compress2(out.data() + at, &packedSize, file.Data.data(),
                             static_cast<uLong>(file.Data.size()), Z_DEFAULT_COMPRESSION);
    if (rc != Z_OK) throw std::runtime_error(std::string("zlib: ") + zError(rc));
    out.resize(at + packedSize);
  }
  return out;
}
