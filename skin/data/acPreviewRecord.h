// The record a skin editor sends (by WM_COPYDATA) to a program running in skin preview mode:
// the skin's name, its folder and the whole text of its options file, each in a fixed field
// of a 30 646-byte block that starts with the marker 0xA400.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr uint32_t kPreviewMarker = 0xA400;
inline constexpr uintptr_t kPreviewCopyKind = 7;  // COPYDATASTRUCT.dwData
inline constexpr size_t kPreviewNameOffset = 4, kPreviewNameSize = 128;
inline constexpr size_t kPreviewFolderOffset = 132, kPreviewFolderSize = 513;
inline constexpr size_t kPreviewOptionsOffset = 645, kPreviewOptionsSize = 30001;
inline constexpr size_t kPreviewRecordSize = kPreviewOptionsOffset + kPreviewOptionsSize;

struct TacPreviewRecord {
  std::string SkinName;
  std::string SkinFolder;
  std::string Options;
};

// The record in `data`, or nothing when it does not start with the marker or is too short to
// hold the name and the folder. Each field ends at its first zero byte, at the end of its
// field, or at the end of the data, whichever comes first: nothing is read beyond any of them.
std::optional<TacPreviewRecord> ParsePreviewRecord(std::span<const uint8_t> data);

// The block an editor sends; fields longer than theirs are cut so that a zero still ends them.
std::vector<uint8_t> MakePreviewRecord(const TacPreviewRecord& record);
