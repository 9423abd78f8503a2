// The files of a skin folder in the order a packed archive stores them, and the
// small file helpers the tool's commands share.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/data/acSkinPack.h"

// A failure the tool reports as "skintool: <message>" with a non-zero exit.
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Name of the optional file in a skin folder that lists the image files in the
// order they are packed, one name per line.
inline constexpr char kOrderFileName[] = "ORDER";

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The skin folder's files in packing order: the options file first (whatever its
// letter case), then the names listed in ORDER in that order, then files ORDER
// does not list, sorted by name (each noted in `notes`). Without ORDER all
// other files are sorted by name. ORDER itself and names starting with "." are
// not packed; sub-folders are ignored. Throws ToolError when the folder has no
// options file or two of them, or ORDER names a missing file or a file twice.
std::vector<TacArchiveFile> CollectSkinFolder(const std::filesystem::path& folder,
                                              std::vector<std::string>* notes = nullptr);

// Writes the entries of an archive into `folder` (created if needed) under their
// stored names, plus an ORDER file that packs them back in the same order.
// Returns the names written. Throws ToolError for names that are not plain file
// names (empty, ".", "..", holding "/", "\" or ":") or that repeat (letter case
// ignored, as on Windows), and for an entry named like the ORDER file.
std::vector<std::string> UnpackToFolder(const TacSkinConvertor& reader, const std::filesystem::path& folder);
