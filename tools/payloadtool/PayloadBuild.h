// The build side of the payload: the installer itself only reads records.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <vector>

// A failure the tool reports and exits with status 1.
class PayloadToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One record: the length field and one zlib stream (level 9, so it starts 78 DA).
std::vector<std::uint8_t> PackRecord(const std::vector<std::uint8_t>& content);

// Writes the records of `files`, which must be one per target in record order.
void PackPayload(const std::filesystem::path& out, const std::vector<std::filesystem::path>& files);

// Writes `image`, zero bytes up to the payload offset, then `payload`.
void AppendPayload(const std::filesystem::path& image, const std::filesystem::path& payload,
                   const std::filesystem::path& out);

// Walks the records from the payload offset of `exe`: there must be one per
// target, each a complete zlib stream, the last ending at the end of the file.
// Writes one line per record to `report`; throws on the first fault.
void VerifyInstaller(const std::filesystem::path& exe, std::ostream& report);

// Inflates every record of `exe` into `dir`, under its target name.
void ExtractInstaller(const std::filesystem::path& exe, const std::filesystem::path& dir);
