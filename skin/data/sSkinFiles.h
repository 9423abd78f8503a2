// Where the picture files of a skin come from: the image entries of a packed archive, or
// the skin's folder. The loader asks by file name and gets the file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TsSkinFiles {
 public:
  virtual ~TsSkinFiles() = default;
  // The bytes of the named file, or nothing when the skin has no such file. The bytes stay
  // valid until the next call.
  virtual std::optional<std::span<const uint8_t>> Find(std::string_view name) = 0;
};

// A skin without files.
class TsNoFiles final : public TsSkinFiles {
 public:
  std::optional<std::span<const uint8_t>> Find(std::string_view) override { return std::nullopt; }
};

// Named byte blocks held elsewhere (a packed archive's image entries, in stored order). A
// name matches the first entry whose upper-cased (ASCII) name equals it as asked, so
// "CLOSEG.PNG" finds "CloseG.png" and "closeg.png" finds nothing.
class TsMemoryFiles final : public TsSkinFiles {
 public:
  void Add(std::string name, std::span<const uint8_t> bytes);
  std::optional<std::span<const uint8_t>> Find(std::string_view name) override;

 private:
  struct Entry {
    std::string UpperName;
    std::span<const uint8_t> Bytes;
  };
  std::vector<Entry> entries_;
};

// Files of a skin folder. A name holding ":" is a full path; any other name is appended to
// the folder (which ends in "\" or "/"). Names are matched without regard to ASCII letter
// case, as the Windows file system does, also where the file system itself is
// case-sensitive.
class TsFolderFiles final : public TsSkinFiles {
 public:
  explicit TsFolderFiles(std::string folder) : folder_(std::move(folder)) {}
  std::optional<std::span<const uint8_t>> Find(std::string_view name) override;

 private:
  std::string folder_;
  std::vector<uint8_t> buffer_;
};

// Reads a whole file; nothing when it cannot be opened. On a case-sensitive file system a
// missing name is looked up again without regard to letter case in its folder.
std::optional<std::vector<uint8_t>> ReadSkinFile(const std::string& path);
