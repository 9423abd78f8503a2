// resdeflate <in> <out>: writes <in> as one zlib stream (level 9). The output depends on
// the input bytes alone, so the same picture always gives the same resource.
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "image/FileBytes.h"

namespace {

bool Write(const char* path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: resdeflate <in> <out>\n");
    return 2;
  }
  const auto in = TryReadFile(std::string(argv[1]));
  if (!in) {
    std::fprintf(stderr, "resdeflate: cannot read %s\n", argv[1]);
    return 1;
  }
  uLongf size = in->size() > 0x7FFFFFFFu ? 0 : compressBound(static_cast<uLong>(in->size()));
  std::vector<uint8_t> out(size);
  if (size == 0 || compress2(out.data(), &size, in->data(), static_cast<uLong>(in->size()), 9) != Z_OK) {
    std::fprintf(stderr, "resdeflate: cannot compress %s\n", argv[1]);
    return 1;
  }
  out.resize(size);
  if (!Write(argv[2], out)) {
    std::fprintf(stderr, "resdeflate: cannot write %s\n", argv[2]);
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
