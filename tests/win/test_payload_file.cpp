// Payload records read from a real file and written to real target files under Wine.
#include <windows.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "installer/FileError_win.h"
#include "installer/PayloadRecord_win.h"

namespace fs = std::filesystem;

namespace {

std::string Record(const std::string& content) {
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::string z(size, '\0');
  compress2(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(content.data()),
            static_cast<uLong>(content.size()), 9);
  z.resize(size);
  const uint32_t n = static_cast<uint32_t>(z.size());
  const char length[4] = {char(n & 0xFF), char(n >> 8 & 0xFF), char(n >> 16 & 0xFF), char(n >> 24)};
  return std::string(length, 4) + z;
}

std::string Content(size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 24);
  return s;
}

class PayloadFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / "kestamor-payload-file";
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  // An "executable" of `image` filler bytes followed by the records.
  std::string MakeExe(size_t image, const std::string& records) {
    const fs::path exe = dir_ / "setup.exe";
    std::ofstream(exe, std::ios::binary) << std::string(image, 'M') << records;
    return exe.string();
  }
  std::string Target(const char* name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(PayloadFile, ReadsAlongsideAWriterAndLeavesTheNextRecordInPlace) {
  const std::string first = Content(5000, 1), second = Content(3072, 2);
  const std::string exe = MakeExe(777, Record(first) + Record(second));
  // Someone else has the file open for writing: the reader shares it.
  HANDLE writer = CreateFileA(exe.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  {
    PayloadFileInput input(exe, 777);
    ExtractRecordToFile(input, Target("a.bin"));
    ExtractRecordToFile(input, Target("b.bin"));
  }
  CloseHandle(writer);
  EXPECT_EQ(ReadWholeFile(Target("a.bin")), first);
  EXPECT_EQ(ReadWholeFile(Target("b.bin")), second);
}

TEST_F(PayloadFile, TheTargetIsReplacedAndHeldExclusivelyUntilTheExtraWriteIsDone) {
  const std::string content = Content(2048, 3);
  const std::string exe = MakeExe(10, Record(content));
  std::ofstream(Target("k.exe"), std::ios::binary) << std::string(100000, 'x');  // an older, longer file
  bool othersKeptOut = false;
  PayloadFileInput input(exe, 10);
  ExtractRecordToFile(input, Target("k.exe"), [&](PayloadOutput& out) {
    HANDLE other = CreateFileA(Target("k.exe").c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    othersKeptOut = other == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    out.Write("0123456789ABCDEF0123456789ABCDEF", 32);
  });
  EXPECT_TRUE(othersKeptOut);
  EXPECT_EQ(ReadWholeFile(Target("k.exe")), content + "0123456789ABCDEF0123456789ABCDEF");
}

TEST_F(PayloadFile, ACorruptRecordLeavesThePartOfTheFileBeforeTheFault) {
  const std::string content = Content(200000, 4);
  std::string record = Record(content);
  record[record.size() / 2] ^= 0x55;
  record[record.size() / 2 + 1] ^= 0x55;
  const std::string exe = MakeExe(64, Record("before") + record);
  PayloadFileInput input(exe, 64);
  ExtractRecordToFile(input, Target("ok.txt"));
  EXPECT_THROW(ExtractRecordToFile(input, Target("bad.wav")), EPayloadRecordError);
  EXPECT_EQ(ReadWholeFile(Target("ok.txt")), "before");
  // Whole chunks up to the fault stay; data decoded before zlib noticed the damage may be wrong,
  // but the part well before the damaged bytes is the content.
  const std::string partial = ReadWholeFile(Target("bad.wav"));
  EXPECT_LT(partial.size(), content.size());
  EXPECT_EQ(partial.size() % 1024, 0u);
  ASSERT_GE(partial.size(), 50000u);
  EXPECT_TRUE(partial.compare(0, 50000, content, 0, 50000) == 0);
}

// The failure names the file the user has to look at, with the system's reason.
TEST_F(PayloadFile, AMissingFileOrTargetFolderFailsWithThatFile) {
  EXPECT_THROW(PayloadFileInput((dir_ / "none.exe").string(), 0), EFileError);
  const std::string exe = MakeExe(4, Record("x"));
  PayloadFileInput input(exe, 4);
  const std::string target = (dir_ / "no folder" / "x.txt").string();
  try {
    ExtractRecordToFile(input, target);
    ADD_FAILURE() << "no failure";
  } catch (const EFileError& e) {
    EXPECT_EQ(e.Path(), target);
    EXPECT_EQ(e.FileAccess(), EFileError::Access::Write);
    EXPECT_EQ(e.Code, static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(e.Reason().empty());
  }
}

}  // namespace
