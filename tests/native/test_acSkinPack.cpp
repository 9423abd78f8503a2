#include "skin/data/acSkinPack.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Noise(size_t n, uint32_t seed) {
  Bytes b(n);
  for (auto& c : b) {
    seed = seed * 1103515245u + 12345u;
    c = uint8_t(seed >> 24);
  }
  return b;
}

std::vector<TacArchiveFile> SampleFiles() {
  return {
      {"Huge.bmp", Noise(5000, 1)},
      {"options.DAT", Text("[GLOBALINFO]\r\nVERSION=7.00\r\n")},
      {"CloseG.png", Bytes(70000, 0xAB)},  // inflates past the first output chunk
      {"Huge.bmp", Text("second entry with a repeated name")},
  };
}

void Put32(Bytes& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// Reads `archive` through a fresh reader whose source is a borrowed stream.
std::unique_ptr<TacSkinConvertor> ReadAll(const Bytes& archive, size_t startAt = 0) {
  TacMemoryStream src(archive);
  src.Seek(startAt);
  auto reader = std::make_unique<TacSkinConvertor>();
  reader->SetSourceStream(&src);
  ReadArchive(reader);
  if (reader) reader->SetSourceStream(nullptr);
  return reader;
}

template <class E>
std::string ErrorOf(const Bytes& archive) {
  try {
    ReadAll(archive);
  } catch (const E& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("wrong exception type: ") + e.what();
  }
  return "no error";
}

TEST(SkinArchive, WriterLayoutReadsBackEntryByEntry) {
  const auto files = SampleFiles();
  const Bytes archive = WriteSkinArchive(files);
  ASSERT_EQ(std::string(archive.begin(), archive.begin() + 4), "ASzf");

  // A source left mid-way is read from its first byte.
  auto reader = ReadAll(archive, 17);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->ImageCount, 3);
  ASSERT_TRUE(reader->Options);
  EXPECT_EQ(reader->Options->Bytes(), files[1].Data);
  ASSERT_EQ(reader->Files.size(), 3u);
  EXPECT_EQ(reader->Files[0].FileName, "Huge.bmp");
  EXPECT_EQ(reader->Files[0].FileStream.Bytes(), files[0].Data);
  EXPECT_EQ(reader->Files[1].FileName, "CloseG.png");
  EXPECT_EQ(reader->Files[1].FileStream.Bytes(), files[2].Data);
  EXPECT_EQ(reader->Files[2].FileStream.Bytes(), files[3].Data);
  // Lookups take the first of repeated names, by upper-cased name.
  EXPECT_EQ(reader->FindFile("HUGE.BMP"), &reader->Files[0]);
  EXPECT_EQ(reader->FindFile("CLOSEG.PNG"), &reader->Files[1]);
  EXPECT_EQ(reader->FindFile("CloseG.png"), nullptr);

  // Each zlib stream starts with 78 9C right after its size field, and the
  // next entry starts right after the stream; the last one ends the archive.
  ASSERT_EQ(reader->Entries.size(), 4u);
  size_t at = 8;
  for (const TacEntryInfo& e : reader->Entries) {
    EXPECT_EQ(e.Offset, at) << e.Name;
    const size_t stream = at + 8 + e.Name.size();
    EXPECT_EQ(archive[stream], 0x78);
    EXPECT_EQ(archive[stream + 1], 0x9C);
    at = stream + e.CompressedSize;
  }
  EXPECT_EQ(at, archive.size());
  EXPECT_TRUE(reader->Entries[1].IsOptions);

  // A second fresh reader gives the same result.
  auto again = ReadAll(archive);
  ASSERT_TRUE(again && again->Options);
  EXPECT_EQ(again->Options->Bytes(), reader->Options->Bytes());
  ASSERT_EQ(again->Files.size(), reader->Files.size());
  for (size_t i = 0; i < again->Files.size(); ++i) {
    EXPECT_EQ(again->Files[i].FileName, reader->Files[i].FileName);
    EXPECT_EQ(again->Files[i].FileStream.Bytes(), reader->Files[i].FileStream.Bytes());
  }
}

TEST(SkinArchive, EmptyAndOptionlessArchives) {
  auto reader = ReadAll(WriteSkinArchive({{"Master.bmp", Text("x")}}));
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->Options);
  EXPECT_EQ(reader->ImageCount, 0);

  reader = ReadAll(WriteSkinArchive({}));
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->ImageCount, -1);
  EXPECT_TRUE(reader->Files.empty());

  // A declared size of 0 with a complete, empty zlib stream is an empty entry.
  reader = ReadAll(WriteSkinArchive({{"Options.dat", {}}, {"a.png", Text("after")}}));
  ASSERT_TRUE(reader && reader->Options);
  EXPECT_EQ(reader->Options->Size(), 0u);
  ASSERT_EQ(reader->Files.size(), 1u);
  EXPECT_EQ(reader->Files[0].FileStream.Bytes(), Text("after"));
}

TEST(SkinArchive, WrongMagicFreesTheReader) {
  Bytes archive = WriteSkinArchive(SampleFiles());
  archive[2] = 'Z';  // "ASZF"
  TacMemoryStream src(archive);
  auto reader = std::make_unique<TacSkinConvertor>();
  reader->SetSourceStream(&src);
  try {
    ReadArchive(reader);
    FAIL() << "no error";
  } catch (const ESkinPackError& e) {
    EXPECT_STREQ(e.what(), "Loaded data is not a packed Quorindel file");
  }
  EXPECT_FALSE(reader);
  EXPECT_EQ(src.Size(), archive.size());  // a borrowed source is left alone

  EXPECT_EQ(ErrorOf<ESkinPackError>(Bytes{'A', 'S'}), "Loaded data is not a packed Quorindel file");
  EXPECT_EQ(ErrorOf<ESkinPackError>(Bytes{}), "Loaded data is not a packed Quorindel file");
}

TEST(SkinArchive, ShortDataIsAStreamReadError) {
  const Bytes archive = WriteSkinArchive(SampleFiles());
  // Every cut after the magic, in any field or inside any zlib stream.
  for (size_t n = 4; n < archive.size(); n += (n < 200 ? 1 : 97)) {
    Bytes cut(archive.begin(), archive.begin() + long(n));
    ASSERT_EQ(ErrorOf<ESkinPackReadError>(cut), "Stream read error") << n;
  }

  // Counts and lengths larger than the data: no huge allocation, just the error.
  Bytes one = WriteSkinArchive({{"a.png", Text("abc")}});
  Bytes bad = one;
  Put32(bad, 4, 2);
  EXPECT_EQ(ErrorOf<ESkinPackReadError>(bad), "Stream read error");
  Put32(bad, 4, 0xFFFFFFFFu);
  EXPECT_EQ(ErrorOf<ESkinPackReadError>(bad), "Stream read error");
  bad = one;
  Put32(bad, 8, 0xFFFFFFF0u);  // name length
  EXPECT_EQ(ErrorOf<ESkinPackReadError>(bad), "Stream read error");
  bad = one;
  Put32(bad, 8 + 4 + 5, 0xFFFFFFFFu);  // declared size: the stream ends after 3 bytes
  EXPECT_EQ(ErrorOf<ESkinPackReadError>(bad), "Stream read error");
}

TEST(SkinArchive, CorruptStreamsReportZlibText) {
  const Bytes one = WriteSkinArchive({{"a.png", Noise(3000, 7)}});
  const size_t stream = 8 + 4 + 5 + 4;
  Bytes bad = one;
  bad[stream + 1] ^= 1;  // header check bits
  EXPECT_EQ(ErrorOf<EZDecompressionError>(bad), "data error");
  bad = one;
  bad.back() ^= 0x55;  // Adler-32 trailer
  EXPECT_EQ(ErrorOf<EZDecompressionError>(bad), "data error");
  bad = one;
  bad[stream + 2] = 0xFF;  // invalid block type in the first deflate block
  EXPECT_EQ(ErrorOf<EZDecompressionError>(bad), "data error");

  // Declared shorter than the stream: the next entry could not be found.
  bad = one;
  Put32(bad, stream - 4, 2999);
  EXPECT_EQ(ErrorOf<EZDecompressionError>(bad), "data error");
}

class SkinArchiveFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("acSkinPack-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const Bytes& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(SkinArchiveFile, LoadsCreatesClearsAndFreesSource) {
  const std::string path = Write("Garnet.asz", WriteSkinArchive(SampleFiles()));

  std::unique_ptr<TacSkinConvertor> reader;
  LoadArchiveFile(reader, (dir_ / "Missing.asz").string(), true);
  EXPECT_FALSE(reader);  // a missing file creates nothing
  std::filesystem::create_directory(dir_ / "Folder.asz");
  LoadArchiveFile(reader, (dir_ / "Folder.asz").string(), true);
  EXPECT_FALSE(reader);

  LoadArchiveFile(reader, path, false);
  ASSERT_TRUE(reader);
  ASSERT_NE(reader->SourceStream(), nullptr);  // kept when not asked to free it
  EXPECT_EQ(reader->Files.size(), 3u);

  // Loading again clears what was there instead of appending.
  LoadArchiveFile(reader, path, true);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->SourceStream(), nullptr);
  EXPECT_EQ(reader->Files.size(), 3u);

  // A missing file leaves an existing reader exactly as it was.
  TacSkinConvertor* before = reader.get();
  LoadArchiveFile(reader, (dir_ / "Missing.asz").string(), true);
  EXPECT_EQ(reader.get(), before);
  EXPECT_EQ(reader->Files.size(), 3u);
  ASSERT_TRUE(reader->Options);

  // A file that is no archive frees the reader.
  const std::string junk = Write("Junk.asz", Text("PK\3\4 not a skin"));
  EXPECT_THROW(LoadArchiveFile(reader, junk, true), ESkinPackError);
  EXPECT_FALSE(reader);
}

}  // namespace
