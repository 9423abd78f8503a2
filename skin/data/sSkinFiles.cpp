#include "skin/data/sSkinFiles.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef _WIN32
#include <filesystem>
#include <system_error>
#endif

#include "image/FileBytes.h"
#include "skin/data/acntUtils.h"

void TsMemoryFiles::Add(std::string name, std::span<const uint8_t> bytes) {
  entries_.push_back(Entry{UpperCase(name), bytes});
}

std::optional<std::span<const uint8_t>> TsMemoryFiles::Find(std::string_view name) {
  for (const auto& e : entries_)
    if (e.UpperName == name) return e.Bytes;
  return std::nullopt;
}

#ifdef _WIN32

// Windows finds names whatever their letter case; the file system library stays out of the
// shipped program, which has a size budget.
std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return TryReadFile(path);
}

#else

namespace {

std::optional<std::vector<uint8_t>> ReadExact(const std::filesystem::path& p) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
  return TryReadFile(p.string());
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& path) {
  std::string normal = path;
  // Skin paths are written the Windows way; here the separator is "/".
  for (char& c : normal)
    if (c == '\\') c = '/';
  const std::filesystem::path p(normal);
  if (auto bytes = ReadExact(p)) return bytes;
  // The names in skins are upper-cased while files on disk keep their own case: look for a
  // name that differs only in ASCII letter case.
  std::error_code ec;
  const auto parent = p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
  const std::string wanted = p.filename().string();
  for (std::filesystem::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
    if (SameTextAscii(it->path().filename().string(), wanted)) return ReadExact(it->path());
  }
  return std::nullopt;
}

#endif

std::optional<std::span<const uint8_t>> TsFolderFiles::Find(std::string_view name) {
  if (name.empty()) return std::nullopt;
  const std::string path = Contains(name, ":") ? std::string(name) : folder_ + std::string(name);
  auto bytes = ReadSkinFile(path);
  if (!bytes) return std::nullopt;
  buffer_ = std::move(*bytes);
  return std::span<const uint8_t>(buffer_);
}
