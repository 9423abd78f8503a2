// Payload records: the chunked write pattern, the sequence of records, failed
// records (with the records before them intact), and the build tool's round trip.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "ToolRun.h"
#include "installer/PayloadLayout.h"
#include "installer/PayloadRecord.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  // Half noise, half runs: compressible but not trivially so.
  for (size_t i = 0; i < n; ++i) b[i] = (i / 64) % 2 ? uint8_t(rng()) : uint8_t(i / 64);
  return b;
}

Bytes Deflate(const Bytes& content, int level = 9) {
  uLongf n = compressBound(uLong(content.size()));
  Bytes out(n);
  EXPECT_EQ(compress2(out.data(), &n, content.data(), uLong(content.size()), level), Z_OK);
  out.resize(n);
  return out;
}

Bytes Record(const Bytes& stream, uint32_t length) {
  Bytes r = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
  r.insert(r.end(), stream.begin(), stream.end());
  return r;
}
Bytes Record(const Bytes& stream) { return Record(stream, uint32_t(stream.size())); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Keeps every write: its size, and the bytes in order.
struct RecordingOutput : PayloadOutput {
  void Write(const void* data, size_t n) override {
    sizes.push_back(n);
    bytes.insert(bytes.end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + n);
  }
  std::vector<size_t> sizes;
  Bytes bytes;
};

TEST(PayloadRecord, WritesChunksOfTheExactSizesTheReadsProduced) {
  struct Case {
    size_t size;
    std::vector<size_t> writes;
  };
  const Case cases[] = {
      {0, {0}},  // a complete stream of nothing: one empty write
      {1, {1}},
      {1000, {1000}},  // under a chunk: a single write
      {1023, {1023}},
      {1024, {1024, 0}},  // exact multiples end with one empty write
      {3072, {1024, 1024, 1024, 0}},
      {2500, {1024, 1024, 452}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const Bytes content = Noise(c.size, unsigned(c.size));
    const Bytes payload = Record(Deflate(content));
    PayloadMemoryInput in(payload.data(), payload.size());
    RecordingOutput out;
    ExtractRecord(in, out);
    EXPECT_EQ(out.sizes, c.writes);
    EXPECT_EQ(out.bytes, content);
    EXPECT_TRUE(in.AtEnd());
  }
}

TEST(PayloadRecord, RecordsFollowEachOtherAndTheExtraWriteComesLast) {
  const Bytes big = Noise(200000, 7), small = Noise(300, 8);
  const Bytes first = Record(Deflate(big)), empty = Record({}), last = Record(Deflate(small, 1));
  const Bytes payload = Concat({first, empty, last});
  PayloadMemoryInput in(payload.data(), payload.size());

  const std::string id = "0123456789ABCDEF0123456789ABCDEF";
  RecordingOutput a;
  ExtractRecord(in, a, [&](PayloadOutput& o) { o.Write(id.data(), id.size()); });
  Bytes expected = big;
  expected.insert(expected.end(), id.begin(), id.end());
  EXPECT_EQ(a.bytes, expected);
  EXPECT_EQ(a.sizes.back(), 32u);
  EXPECT_EQ(in.Position(), first.size());

  // Length 0: no stream, an empty file from one empty write; the next record is 4 bytes on.
  RecordingOutput b;
  bool extra = false;
  ExtractRecord(in, b, [&](PayloadOutput&) { extra = true; });
  EXPECT_EQ(b.sizes, std::vector<size_t>{0});
  EXPECT_TRUE(extra);
  EXPECT_EQ(in.Position(), first.size() + 4);

  RecordingOutput c;
  ExtractRecord(in, c);
  EXPECT_EQ(c.bytes, small);
  EXPECT_TRUE(in.AtEnd());
}

TEST(PayloadRecord, AFailedRecordLeavesTheRecordsBeforeItComplete) {
  const Bytes one = Noise(5000, 1), two = Noise(40000, 2), bad = Noise(30000, 3);
  const Bytes badStream = Deflate(bad);
  auto corrupt = [&](size_t at) {
    Bytes s = badStream;
    s[at] ^= 0x55;
    return Record(s);
  };
  const Bytes dictStream = {0x78, 0xBB, 0, 0, 0, 1};  // a valid header asking for a dictionary
  Bytes surplus = badStream;
  surplus.push_back(0);
  const Bytes cut(badStream.begin(), badStream.end() - 6);  // stream stops short of its end
  const Bytes whole = Record(badStream);
  const Bytes truncated(whole.begin(), whole.end() - 100);

  struct Case {
    const char* what;
    Bytes tail;
  };
  const Case cases[] = {
      {"deflate data", corrupt(badStream.size() / 2)},
      {"Adler-32", corrupt(badStream.size() - 1)},
      {"zlib header", corrupt(0)},
      {"preset dictionary", Record(dictStream)},
      {"negative length", Record(badStream, 0x80000000u)},
      {"length -1", Record(badStream, 0xFFFFFFFFu)},
      {"length past the end", Record(badStream, uint32_t(badStream.size() + 1))},
      {"huge length", Record(badStream, 0x7FFFFFFFu)},
      {"truncated length field", Bytes{0x10, 0x00}},
      {"truncated data", truncated},
      {"stream not ending in its record", Record(cut)},
      {"bytes after the stream", Record(surplus)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes payload = Concat({Record(Deflate(one)), Record(Deflate(two)), c.tail});
    PayloadMemoryInput in(payload.data(), payload.size());
    RecordingOutput o1, o2, o3;
    ExtractRecord(in, o1);
    ExtractRecord(in, o2);
    EXPECT_EQ(o1.bytes, one);
    EXPECT_EQ(o2.bytes, two);
    bool extra = false;
    // Damage, not a failure of the machine: the user is told to fetch the installer again.
    EXPECT_THROW(ExtractRecord(in, o3, [&](PayloadOutput&) { extra = true; }), EPayloadDamaged);
    EXPECT_FALSE(extra);
  }
}

TEST(PayloadRecord, CorruptionLateInARecordKeepsTheChunksInflatedBeforeIt) {
  const Bytes content = Noise(100000, 9);
  Bytes stream = Deflate(content);
  stream[stream.size() - 2] ^= 1;  // Adler-32: every byte inflates, the check fails
  const Bytes payload = Record(stream);
  PayloadMemoryInput in(payload.data(), payload.size());
  RecordingOutput out;
  EXPECT_THROW(ExtractRecord(in, out), EPayloadRecordError);
  EXPECT_EQ(out.bytes.size(), content.size() / 1024 * 1024);
  EXPECT_TRUE(std::equal(out.bytes.begin(), out.bytes.end(), content.begin()));
}

TEST(PayloadRecord, BufferedOutputPassesEveryByteOnInOrder) {
  struct Blocks : BufferedPayloadOutput {
    Blocks() : BufferedPayloadOutput(4096) {}
    void WriteThrough(const void* d, size_t n) override {
      if (failNext) {
        failNext = false;
        throw EPayloadRecordError("disk full");
      }
      blocks.push_back(n);
      bytes.insert(bytes.end(), static_cast<const uint8_t*>(d), static_cast<const uint8_t*>(d) + n);
    }
    bool failNext = false;
    std::vector<size_t> blocks;
    Bytes bytes;
  } out;
  const Bytes content = Noise(20000, 4);
  size_t at = 0;
  for (size_t n : {1024, 0, 1024, 1024, 1024, 1024, 5000, 7, 0, 9000}) {
    out.Write(content.data() + at, n);
    at += n;
  }
  out.Flush();
  EXPECT_EQ(out.bytes, Bytes(content.begin(), content.begin() + long(at)));
  for (size_t n : out.blocks) EXPECT_GT(n, 0u);
  EXPECT_LT(out.blocks.size(), 6u);

  // A failed block is reported once; later writes carry on after it.
  out.Write(content.data(), 10);
  out.failNext = true;
  EXPECT_THROW(out.Flush(), EPayloadRecordError);
  EXPECT_NO_THROW(out.Flush());
  EXPECT_EQ(out.bytes.size(), at);
}

// The build tool, run as the build runs it.
const fs::path kTool = fs::path(KESTAMOR_BINARY_DIR) / "tools" / "payloadtool" / "payloadtool";

ToolResult Tool(const std::string& args) { return RunProgram(kTool, args); }

class PayloadTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("payloadtool-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (size_t i = 0; i < PayloadLayout::RecordCount; ++i) {
      // Sizes around the chunk size and an empty file among them.
      const size_t sizes[] = {300000, 1024, 0, 114, 5616, 4096, 1, 27804};
      contents.push_back(Noise(sizes[i], unsigned(100 + i)));
      files += " '" + (dir / ("f" + std::to_string(i))).string() + "'";
      WriteAll(dir / ("f" + std::to_string(i)), contents.back());
    }
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const char* name) const { return "'" + (dir / name).string() + "'"; }

  fs::path dir;
  std::vector<Bytes> contents;
  std::string files;
};

TEST_F(PayloadTool, PackAppendVerifyAndExtractRoundTrip) {
  ASSERT_EQ(Tool("pack " + Path("payload") + files).Exit, 0);
  const Bytes image = Noise(150001, 5);
  WriteAll(dir / "image.exe", image);
  const ToolResult appended = Tool("append " + Path("image.exe") + " " + Path("payload") + " " + Path("setup.exe"));
  ASSERT_EQ(appended.Exit, 0) << appended.Output;

  const Bytes exe = ReadAll(dir / "setup.exe");
  const Bytes payload = ReadAll(dir / "payload");
  ASSERT_EQ(exe.size(), size_t(PayloadLayout::Offset) + payload.size());
  EXPECT_TRUE(std::equal(image.begin(), image.end(), exe.begin()));
  EXPECT_TRUE(std::all_of(exe.begin() + long(image.size()), exe.begin() + PayloadLayout::Offset,
                          [](uint8_t b) { return b == 0; }));

  // Our reader walks the shipped records back into the files, every stream 78 DA.
  PayloadMemoryInput in(exe.data() + PayloadLayout::Offset, payload.size());
  for (const Bytes& content : contents) {
    const size_t at = in.Position();
    RecordingOutput out;
    ExtractRecord(in, out);
    EXPECT_EQ(out.bytes, content);
    EXPECT_EQ(exe[PayloadLayout::Offset + at + 4], 0x78);
    EXPECT_EQ(exe[PayloadLayout::Offset + at + 5], 0xDA);
  }
  EXPECT_TRUE(in.AtEnd());

  const ToolResult verified = Tool("verify " + Path("setup.exe"));
  EXPECT_EQ(verified.Exit, 0) << verified.Output;
  EXPECT_NE(verified.Output.find("record 8 (sounds\\wingame.wav)"), std::string::npos) << verified.Output;
  ASSERT_EQ(Tool("extract " + Path("setup.exe") + " " + Path("out")).Exit, 0);
  for (size_t i = 0; i < contents.size(); ++i) {
    std::string target = PayloadLayout::Targets[i];
    std::replace(target.begin(), target.end(), '\\', '/');
    EXPECT_EQ(ReadAll(dir / "out" / target), contents[i]) << target;
  }
}

TEST_F(PayloadTool, RefusesWhatWouldNotInstall) {
  ASSERT_EQ(Tool("pack " + Path("payload") + files).Exit, 0);
  const ToolResult seven = Tool("pack " + Path("p7") + files.substr(0, files.rfind(" '")));
  EXPECT_EQ(seven.Exit, 1);
  EXPECT_NE(seven.Output.find("needs 8 files in record order, got 7"), std::string::npos) << seven.Output;
  EXPECT_FALSE(fs::exists(dir / "p7"));

  WriteAll(dir / "big.exe", Bytes(size_t(PayloadLayout::Offset) + 1, 0));
  const ToolResult big = Tool("append " + Path("big.exe") + " " + Path("payload") + " " + Path("setup.exe"));
  EXPECT_EQ(big.Exit, 1);
  EXPECT_NE(big.Output.find("installer image is 2329601 bytes, larger than the payload offset 2329600"),
            std::string::npos)
      << big.Output;
  EXPECT_FALSE(fs::exists(dir / "setup.exe"));

  // An image of exactly the offset fits; the checker then wants the payload to end the file.
  WriteAll(dir / "exact.exe", Bytes(size_t(PayloadLayout::Offset), 1));
  ASSERT_EQ(Tool("append " + Path("exact.exe") + " " + Path("payload") + " " + Path("setup.exe")).Exit, 0);
  Bytes exe = ReadAll(dir / "setup.exe");
  exe.push_back(0);
  WriteAll(dir / "longer.exe", exe);
  EXPECT_EQ(Tool("verify " + Path("longer.exe")).Exit, 1);
  exe.resize(exe.size() - 2);
  WriteAll(dir / "shorter.exe", exe);
  const ToolResult shorter = Tool("verify " + Path("shorter.exe"));
  EXPECT_EQ(shorter.Exit, 1);
  EXPECT_NE(shorter.Output.find("record 8"), std::string::npos) << shorter.Output;
}

}  // namespace
