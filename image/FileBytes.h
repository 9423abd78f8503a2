// Reading a whole file through C stdio. The installer reads files this way rather than
// through file streams: those bring the stream and locale machinery of the C++ library into
// the shipped image, several hundred kilobytes of it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The whole file; nothing when it cannot be opened or a read fails. The name is in the
// system code page, as fopen takes it.
std::optional<std::vector<uint8_t>> TryReadFile(const std::string& path);
// The same for a path object (its native form: wide on Windows).
std::optional<std::vector<uint8_t>> TryReadFile(const std::filesystem::path& path);
