// helpgen <out.chm> <title> <page.html>...: packs the pages into a compiled
// help file; the first page is the one that opens.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tools/helpgen/ChmWriter.h"

namespace {

constexpr std::uint32_t kEnglishUs = 0x0409;

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: helpgen <out.chm> <title> <page.html>...\n");
    return 2;
  }
  try {
    std::vector<ChmEntry> files;
    const std::string firstPage = std::filesystem::path(argv[3]).filename().string();
    files.push_back({"/#SYSTEM", ChmSystemFile(firstPage, argv[2], kEnglishUs)});
    for (int i = 3; i < argc; ++i)
      files.push_back({"/" + std::filesystem::path(argv[i]).filename().string(), ReadFile(argv[i])});
    const auto chm = BuildChm(files, kEnglishUs);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(chm.data()), static_cast<std::streamsize>(chm.size()));
    out.close();
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "helpgen: %s\n", e.what());
    return 1;
  }
}
