#include "image/FileBytes.h"

#include <cstdio>

namespace {

std::optional<std::vector<uint8_t>> ReadAndClose(std::FILE* f) {
  if (!f) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t buf[64 * 1024];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> TryReadFile(const std::string& path) {
  return ReadAndClose(std::fopen(path.c_str(), "rb"));
}

std::optional<std::vector<uint8_t>> TryReadFile(const std::filesystem::path& path) {
#ifdef _WIN32
  return ReadAndClose(_wfopen(path.c_str(), L"rb"));
#else
  return ReadAndClose(std::fopen(path.c_str(), "rb"));
#endif
}
