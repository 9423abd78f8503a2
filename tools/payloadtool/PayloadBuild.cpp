#include "tools/payloadtool/PayloadBuild.h"

#include "installer/PayloadLayout.h"
#include "installer/PayloadRecord.h"

#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kOffset = PayloadLayout::Offset;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PayloadToolError("cannot open " + path.string());
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw PayloadToolError("cannot read " + path.string());
  return bytes;
}

// Writes beside the destination and renames, so that a failed run never
// leaves a half-written file that a build would take as up to date.
class AtomicFile {
 public:
  explicit AtomicFile(fs::path path) : path_(std::move(path)), temp_(path_.string() + ".part") {
    out_.open(temp_, std::ios::binary | std::ios::trunc);
    if (!out_) throw PayloadToolError("cannot create " + temp_.string());
  }
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() {
    if (!committed_) {
      out_.close();
      std::error_code ec;
      fs::remove(temp_, ec);
    }
  }

  void Write(const void* data, std::size_t n) {
    out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
  }
  void Commit() {
    out_.close();
    if (!out_) throw PayloadToolError("cannot write " + temp_.string());
    std::error_code ec;
    fs::rename(temp_, path_, ec);
    if (ec) throw PayloadToolError("cannot write " + path_.string() + ": " + ec.message());
    committed_ = true;
  }

 private:
  fs::path path_;
  fs::path temp_;
  std::ofstream out_;
  bool committed_ = false;
};

class StreamInput : public PayloadInput {
 public:
  explicit StreamInput(std::istream& in) : in_(in) {}
  std::size_t Read(void* buffer, std::size_t n) override {
    in_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(n));
    if (in_.bad()) throw EPayloadRecordError("cannot read the payload");
    return static_cast<std::size_t>(in_.gcount());
  }

 private:
  std::istream& in_;
};

class CountingOutput : public PayloadOutput {
 public:
  void Write(const void*, std::size_t n) override { count += n; }
  std::uint64_t count = 0;
};

class FileOutput : public PayloadOutput {
 public:
  explicit FileOutput(const fs::path& path) : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw PayloadToolError("cannot create " + path.string());
  }
  void Write(const void* data, std::size_t n) override {
    out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
    if (!out_) throw EPayloadRecordError("cannot write " + path_.string());
  }
  void Close() {
    out_.close();
    if (!out_) throw PayloadToolError("cannot write " + path_.string());
  }

 private:
  fs::path path_;
  std::ofstream out_;
};

std::string Hex2(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 2) return "--";
  char text[8];
  std::snprintf(text, sizeof text, "%02X %02X", bytes[0], bytes[1]);
  return text;
}

std::string RecordName(std::size_t index) {
  return "record " + std::to_string(index + 1) + " (" + PayloadLayout::Targets[index] + ")";
}

// Reads every record of `exe` from the payload offset and hands each to `use`;
// checks that there is one record per target and that the last one ends with
// the file.
template <class Use>
void WalkRecords(const fs::path& exe, Use use) {
  std::error_code ec;
  const std::uint64_t size = fs::file_size(exe, ec);
  if (ec) throw PayloadToolError("cannot open " + exe.string() + ": " + ec.message());
  if (size <= kOffset) {
    throw PayloadToolError(exe.string() + " is " + std::to_string(size) +
                           " bytes: nothing follows the payload offset " + std::to_string(kOffset));
  }
  std::ifstream in(exe, std::ios::binary);
  if (!in) throw PayloadToolError("cannot open " + exe.string());
  in.seekg(static_cast<std::streamoff>(kOffset));
  StreamInput input(in);
  for (std::size_t i = 0; i < PayloadLayout::RecordCount; ++i) {
    try {
      use(i, ReadPayloadRecord(input));
    } catch (const EPayloadRecordError& e) {
      throw PayloadToolError(exe.string() + ": " + RecordName(i) + ": " + e.what());
    }
  }
  const auto last = static_cast<std::uint64_t>(in.tellg());
  if (last != size) {
    throw PayloadToolError(exe.string() + ": " + std::to_string(size - last) + " bytes follow the last record at " +
                           std::to_string(last));
  }
}

}  // namespace

std::vector<std::uint8_t> PackRecord(const std::vector<std::uint8_t>& content) {
  z_stream z{};
  // Level 9 with a 32 KB window: the stream's header is 78 DA.
  if (deflateInit2(&z, 9, Z_DEFLATED, 15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw PayloadToolError("zlib could not start");
  }
  struct End {
    z_stream& z;
    ~End() { deflateEnd(&z); }
  } end{z};
  std::vector<std::uint8_t> record(4 + deflateBound(&z, static_cast<uLong>(content.size())));
  z.next_in = const_cast<Bytef*>(content.data());  // deflate never writes to its input
  z.avail_in = static_cast<uInt>(content.size());
  z.next_out = record.data() + 4;
  z.avail_out = static_cast<uInt>(record.size() - 4);
  if (content.size() > 0x7FFFFFFFu || deflate(&z, Z_FINISH) != Z_STREAM_END) {
    throw PayloadToolError("a file of " + std::to_string(content.size()) + " bytes is too large for a record");
  }
  const std::uint64_t n = z.total_out;
  if (n > 0x7FFFFFFFu) throw PayloadToolError("a compressed record is larger than 2 GB");
  record.resize(4 + n);
  for (int b = 0; b < 4; ++b) record[b] = static_cast<std::uint8_t>(n >> (8 * b));
  return record;
}

void PackPayload(const fs::path& out, const std::vector<fs::path>& files) {
  if (files.size() != PayloadLayout::RecordCount) {
    throw PayloadToolError("the payload needs " + std::to_string(PayloadLayout::RecordCount) +
                           " files in record order, got " + std::to_string(files.size()));
  }
  AtomicFile file(out);
  for (const fs::path& path : files) {
    const std::vector<std::uint8_t> record = PackRecord(ReadFile(path));
    file.Write(record.data(), record.size());
  }
  file.Commit();
}

void AppendPayload(const fs::path& image, const fs::path& payload, const fs::path& out) {
  const std::vector<std::uint8_t> exe = ReadFile(image);
  if (exe.size() > kOffset) {
    throw PayloadToolError("installer image is " + std::to_string(exe.size()) +
                           " bytes, larger than the payload offset " + std::to_string(kOffset));
  }
  const std::vector<std::uint8_t> records = ReadFile(payload);
  if (records.empty()) throw PayloadToolError(payload.string() + " is empty");
  AtomicFile file(out);
  file.Write(exe.data(), exe.size());
  const std::vector<std::uint8_t> padding(kOffset - exe.size(), 0);
  file.Write(padding.data(), padding.size());
  file.Write(records.data(), records.size());
  file.Commit();
  std::error_code ec;
  fs::permissions(out, fs::status(image).permissions(), ec);  // keep it runnable where that matters
}

void VerifyInstaller(const fs::path& exe, std::ostream& report) {
  WalkRecords(exe, [&](std::size_t i, const std::vector<std::uint8_t>& compressed) {
    CountingOutput counter;
    InflatePayloadRecord(compressed, counter);
    report << RecordName(i) << ": " << compressed.size() << " bytes compressed (" << Hex2(compressed) << "), "
           << counter.count << " inflated\n";
  });
}

void ExtractInstaller(const fs::path& exe, const fs::path& dir) {
  WalkRecords(exe, [&](std::size_t i, const std::vector<std::uint8_t>& compressed) {
    std::string relative = PayloadLayout::Targets[i];
    for (char& c : relative) {
      if (c == '\\') c = '/';
    }
    const fs::path target = dir / relative;
    fs::create_directories(target.parent_path());
    FileOutput out(target);
    InflatePayloadRecord(compressed, out);
    out.Close();
  });
}
