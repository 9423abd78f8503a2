#include "skin/data/acPreviewRecord.h"

#include <algorithm>
#include <cstring>

namespace {

std::string Field(std::span<const uint8_t> data, size_t offset, size_t size) {
  if (offset >= data.size()) return {};
  const auto field = data.subspan(offset, std::min(size, data.size() - offset));
  const auto end = std::find(field.begin(), field.end(), uint8_t{0});
  return std::string(field.begin(), end);
}

void PutField(std::vector<uint8_t>& block, size_t offset, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(block.data() + offset, text.data(), n);
}

}  // namespace

std::optional<TacPreviewRecord> ParsePreviewRecord(std::span<const uint8_t> data) {
  if (data.size() < kPreviewOptionsOffset) return std::nullopt;
  const uint32_t marker = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                          static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
  if (marker != kPreviewMarker) return std::nullopt;
  return TacPreviewRecord{Field(data, kPreviewNameOffset, kPreviewNameSize),
                          Field(data, kPreviewFolderOffset, kPreviewFolderSize),
                          Field(data, kPreviewOptionsOffset, kPreviewOptionsSize)};
}

std::vector<uint8_t> MakePreviewRecord(const TacPreviewRecord& record) {
  std::vector<uint8_t> block(kPreviewRecordSize, 0);
  block[0] = kPreviewMarker & 0xFF;
  block[1] = (kPreviewMarker >> 8) & 0xFF;
  PutField(block, kPreviewNameOffset, kPreviewNameSize, record.SkinName);
  PutField(block, kPreviewFolderOffset, kPreviewFolderSize, record.SkinFolder);
  PutField(block, kPreviewOptionsOffset, kPreviewOptionsSize, record.Options);
  return block;
}
