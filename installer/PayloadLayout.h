// Where the payload sits in the installer's own executable and which file each
// record becomes. Both are fixed when the installer is built; nothing in the
// file says so (no signature, count or table of contents).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace PayloadLayout {

// File offset of the first record: the size of the executable image, which the
// build pads to exactly this length before appending the records.
inline constexpr std::int32_t Offset = 2329600;

// Target of each record, relative to the install directory, in record order.
// Separators are Windows ones: the installer joins these to its install path.
inline constexpr std::array<const char*, 8> Targets = {
    "kestamor.exe",
    "help.chm",
    "uninstall.exe",
    "kestamor.ini",
    "sounds\\endgame.wav",
    "sounds\\free.wav",
    "sounds\\newnews.wav",
    "sounds\\wingame.wav",
};

inline constexpr std::size_t RecordCount = Targets.size();

// The record whose file gets the instance identifier appended.
inline constexpr std::size_t MainExecutableRecord = 0;

}  // namespace PayloadLayout
