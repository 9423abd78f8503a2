// Feeds arbitrary bytes to the packed skin archive reader.
#include "skin/data/acSkinPack.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TacMemoryStream src(std::vector<uint8_t>(data, data + size));
  auto reader = std::make_unique<TacSkinConvertor>();
  reader->SetSourceStream(&src);
  try {
    ReadArchive(reader);
  } catch (const ESkinPackError&) {
    if (reader) __builtin_trap();  // data that is no archive must free the reader
    return 0;
  } catch (const std::runtime_error&) {
  }
  if (!reader) return 0;
  // Whatever was read stays consistent: one record per entry, in order.
  size_t images = 0, options = 0;
  for (const TacEntryInfo& e : reader->Entries) (e.IsOptions ? options : images)++;
  if (images != reader->Files.size() || (options > 0) != (reader->Options != nullptr)) __builtin_trap();
  reader->SetSourceStream(nullptr);
  return 0;
}
