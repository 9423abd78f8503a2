#include "installer/PayloadRecord_win.h"

#include "installer/FileError_win.h"
#include "installer/PayloadLayout.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

UniqueKernelHandle Adopt(HANDLE h) { return UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }

// The target file: created anew, not shared while open. Chunks are gathered
// before they reach the file. Close() pushes everything to the disk and reports
// a close that fails (a network folder can refuse at that moment); after a
// failure the destructor writes out what it holds without a report.
class TargetFile : public BufferedPayloadOutput {
 public:
  explicit TargetFile(const std::string& path)
      : path_(path),
        file_(Adopt(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr))) {
    if (!file_) Fail();
  }
  ~TargetFile() override {
    try {
      Flush();
    } catch (const EFileError&) {
      // Closing after a failure: the failure already on its way is the one reported.
    }
  }

  void Close() {
    Flush();
    if (!FlushFileBuffers(file_.get())) Fail();
    if (!CloseHandle(file_.release())) Fail();
  }

 protected:
  void WriteThrough(const void* data, std::size_t n) override {
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.get(), p, want, &written, nullptr) || written == 0) Fail();
      p += written;
      n -= written;
    }
  }

 private:
  [[noreturn]] void Fail() const {
    const DWORD code = GetLastError();
    throw EFileError(EFileError::Access::Write, path_, code);
  }

  std::string path_;
  UniqueKernelHandle file_;
};

}  // namespace

PayloadFileInput::PayloadFileInput(const std::string& path, std::int64_t offset)
    : path_(path),
      file_(Adopt(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr))) {
  LARGE_INTEGER to;
  to.QuadPart = offset;
  if (!file_ || !SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) Fail();
}

std::string PayloadFileInput::OwnExecutablePath() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD len = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (len == 0) RaiseLastOSError();
    if (len < path.size()) return std::string(path.data(), len);
    path.resize(path.size() * 2);  // truncated: try again with more room
  }
}

void PayloadFileInput::Fail() const {
  const DWORD code = GetLastError();
  throw EFileError(EFileError::Access::Read, path_, code);
}

PayloadFileInput PayloadFileInput::OpenOwnPayload() {
  return PayloadFileInput(OwnExecutablePath(), PayloadLayout::Offset);
}

std::size_t PayloadFileInput::Read(void* buffer, std::size_t n) {
  auto* p = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file_.get(), p + done, want, &got, nullptr)) Fail();
    if (got == 0) break;  // end of file
    done += got;
  }
  return done;
}

void WriteRecordToFile(const std::vector<std::uint8_t>& compressed, const std::string& targetPath,
                       const PayloadExtraWrite& extraWrite) {
  TargetFile target(targetPath);
  InflatePayloadRecord(compressed, target, extraWrite);
  target.Close();
}

void ExtractRecordToFile(PayloadInput& input, const std::string& targetPath, const PayloadExtraWrite& extraWrite) {
  WriteRecordToFile(ReadPayloadRecord(input), targetPath, extraWrite);
}
