// artgen <out.bmp> [--preview <out.png>]: draws the installer's background
// picture as a 24-bit BMP file, and optionally a PNG copy for viewing.
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/PngWrite.h"
#include "tools/artgen/Artwork.h"

namespace {

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string bmpPath, pngPath;
    for (int i = 1; i < argc; ++i) {
      std::string arg = argv[i];
      if (arg == "--preview" && i + 1 < argc) {
        pngPath = argv[++i];
      } else if (bmpPath.empty() && !arg.starts_with("--")) {
        bmpPath = arg;
      } else {
        bmpPath.clear();
        break;
      }
    }
    if (bmpPath.empty()) {
      std::fprintf(stderr, "usage: artgen <out.bmp> [--preview <out.png>]\n");
      return 2;
    }
    Bitmap32 art = artgen::RenderBackground();
    WriteFile(bmpPath, WriteBmp24(art));
    if (!pngPath.empty()) WriteFile(pngPath, EncodePng(art, false));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artgen: %s\n", e.what());
    return 1;
  }
}
