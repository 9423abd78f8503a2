// Compiled HTML help ("ITSF") container writer: one directory listing chunk,
// the data-space files a reader needs, and the help files themselves in the
// LZX section (stored blocks).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ChmEntry {
  std::string name;  // "/index.html": absolute, "/"-separated
  std::vector<std::uint8_t> data;
};

// The "/#SYSTEM" file: which topic opens first and the window title.
std::vector<std::uint8_t> ChmSystemFile(const std::string& defaultTopic, const std::string& title,
                                        std::uint32_t lcid);

// The whole container. Throws std::invalid_argument when the names do not fit
// one listing chunk or the content does not fit one LZX frame.
std::vector<std::uint8_t> BuildChm(const std::vector<ChmEntry>& files, std::uint32_t lcid);
