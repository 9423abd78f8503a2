// wavgen <folder>: writes the demo product's four sounds into the folder.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "tools/wavgen/Jingles.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wavgen <folder>\n");
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const Jingle& jingle : ProductJingles()) {
      const auto bytes = RenderJingle(jingle);
      const auto path = folder / jingle.fileName;
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      out.close();
      if (!out) throw std::runtime_error("cannot write " + path.string());
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "wavgen: %s\n", e.what());
    return 1;
  }
}
