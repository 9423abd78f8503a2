#include "installer/PayloadRecord_win.h"

#include "installer/PayloadLayout.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

std::string SystemErrorText(DWORD code) {
  char* text = nullptr;
  const DWORD len = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string s = len ? std::string(text, len) : "error " + std::to_string(code);
  if (text) LocalFree(text);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ' || s.back() == '.')) s.pop_back();
  return s;
}

UniqueKernelHandle Adopt(HANDLE h) { return UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h); }

// The target file: created anew, not shared while open. Chunks are gathered
// before they reach the file; whatever was written before a failure is
// flushed when the file is closed, so the partial file holds it.
class TargetFile : public BufferedPayloadOutput {
 public:
  explicit TargetFile(const std::string& path)
      : path_(path),
        file_(Adopt(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr))) {
    if (!file_) {
      throw EPayloadRecordError("Cannot create file \"" + path + "\": " + SystemErrorText(GetLastError()));
    }
  }
  ~TargetFile() override {
    try {
      Flush();
    } catch (const EPayloadRecordError&) {
      // Closing after a failure: the failure already on its way is the one reported.
    }
  }

 protected:
  void WriteThrough(const void* data, std::size_t n) override {
    const auto* p = static_cast<const char*>(data);
    while (n > 0) {
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.get(), p, want, &written, nullptr) || written == 0) {
        throw EPayloadRecordError("Cannot write file \"" + path_ + "\": " + SystemErrorText(GetLastError()));
      }
      p += written;
      n -= written;
    }
  }

 private:
  std::string path_;
  UniqueKernelHandle file_;
};

}  // namespace

PayloadFileInput::PayloadFileInput(const std::string& path, std::int64_t offset)
    : file_(Adopt(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr))) {
  if (!file_) throw EPayloadRecordError("Cannot open \"" + path + "\": " + SystemErrorText(GetLastError()));
  LARGE_INTEGER to;
  to.QuadPart = offset;
  if (!SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
    throw EPayloadRecordError("Cannot seek in \"" + path + "\": " + SystemErrorText(GetLastError()));
  }
}

std::string PayloadFileInput::OwnExecutablePath() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD len = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (len == 0) throw EPayloadRecordError("Cannot find the installer's own file: " + SystemErrorText(GetLastError()));
    if (len < path.size()) return std::string(path.data(), len);
    path.resize(path.size() * 2);  // truncated: try again with more room
  }
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
    if (!ReadFile(file_.get(), p + done, want, &got, nullptr)) {
      throw EPayloadRecordError("Cannot read the payload: " + SystemErrorText(GetLastError()));
    }
    if (got == 0) break;  // end of file
    done += got;
  }
  return done;
}

void ExtractRecordToFile(PayloadInput& input, const std::string& targetPath, const PayloadExtraWrite& extraWrite) {
  const std::vector<std::uint8_t> compressed = ReadPayloadRecord(input);
  TargetFile target(targetPath);
  InflatePayloadRecord(compressed, target, extraWrite);
  target.Flush();
}
