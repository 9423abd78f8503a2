// TPNGGraphic's stream reader, apart from the rest so that only its callers link iostreams.
#include <istream>
#include <iterator>
#include <vector>

#include "image/acPNG.h"

void TPNGGraphic::LoadFromStream(std::istream& stream) {
  const std::istream::pos_type start = stream.tellg();
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  const std::size_t used = LoadPrefix(bytes.data(), bytes.size());
  // Leave the stream just past the PNG, as a reader of a larger stream expects.
  if (start != std::istream::pos_type(-1)) {
    stream.clear();
    stream.seekg(start + static_cast<std::streamoff>(used));
  }
}
