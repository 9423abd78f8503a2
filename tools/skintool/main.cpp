// skintool: packs skin folders into ".asz" archives and back, reports what a skin
// holds and what is wrong with it, and turns PNG pictures into 32-bit BMP files.
#include <iostream>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/acPNG.h"
#include "skin/data/acSkinPack.h"
#include "tools/skintool/SectionPreview.h"
#include "tools/skintool/SkinFolder.h"
#include "tools/skintool/SkinInfo.h"

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] =
    "Usage:\n"
    "  skintool pack <folder> <out.asz>    pack a skin folder: the options file first, then the\n"
    "                                      files listed in <folder>/ORDER (one name per line),\n"
    "                                      then the rest sorted by name\n"
    "  skintool unpack <in.asz> <folder>   write every entry into <folder>, with an ORDER file\n"
    "  skintool info <in.asz|folder>       list entries, sections and images and check the skin;\n"
    "                                      exits with 1 when it finds problems\n"
    "  skintool png2bmp <in.png> <out.bmp> convert a PNG picture to a 32-bit BMP (alpha kept)\n"
    "  skintool preview <in.asz|folder> <out.png>\n"
    "                                      paint every section in states 0, 1 and 2 at three\n"
    "                                      sizes over a checker board, into one PNG sheet\n";

int Pack(const fs::path& folder, const fs::path& out) {
  std::vector<std::string> notes;
  const std::vector<TacArchiveFile> files = CollectSkinFolder(folder, &notes);
  for (const std::string& n : notes) std::cerr << "skintool: note: " << n << '\n';
  const std::vector<uint8_t> archive = WriteSkinArchive(files);
  WriteFileBytes(out, archive);
  std::cout << "Packed " << files.size() << " files into " << out.string() << " (" << archive.size() << " bytes)\n";
  return 0;
}

int Unpack(const fs::path& in, const fs::path& folder) {
  if (!fs::is_regular_file(in)) throw ToolError(in.string() + " does not exist");
  std::unique_ptr<TacSkinConvertor> reader;
  LoadArchiveFile(reader, in.string(), true);
  if (!reader) throw ToolError(in.string() + " does not exist");
  const std::vector<std::string> names = UnpackToFolder(*reader, folder);
  if (!reader->Options) std::cerr << "skintool: note: the archive has no options entry\n";
  std::cout << "Unpacked " << names.size() << " files into " << folder.string() << '\n';
  return 0;
}

int Png2Bmp(const fs::path& in, const fs::path& out) {
  const std::vector<uint8_t> bytes = ReadFileBytes(in);
  TPNGGraphic png;
  try {
    png.LoadFromMemory(bytes.data(), bytes.size());
  } catch (const std::exception& e) {
    throw ToolError(in.string() + ": " + e.what());
  }
  const Bitmap32 bmp = png.ToBitmap32();
  WriteFileBytes(out, WriteBmp32(bmp));
  std::cout << "Wrote " << out.string() << " (" << bmp.Width() << " x " << bmp.Height() << ", 32 bits)\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
    std::cout << kUsage;
    return 0;
  }
  const std::string& cmd = args[0];
  const bool known = cmd == "pack" || cmd == "unpack" || cmd == "info" || cmd == "png2bmp" || cmd == "preview";
  const size_t want = cmd == "info" ? 2 : 3;
  if (!known || args.size() != want) {
    std::cerr << (known ? "skintool: wrong number of arguments for " + cmd + "\n" : "skintool: unknown command " + cmd + "\n")
              << kUsage;
    return 2;
  }
  try {
    if (cmd == "pack") return Pack(args[1], args[2]);
    if (cmd == "unpack") return Unpack(args[1], args[2]);
    if (cmd == "png2bmp") return Png2Bmp(args[1], args[2]);
    if (cmd == "preview") return preview::SectionPreview(args[1], args[2], std::cout);
    return SkinInfo(args[1], std::cout) ? 1 : 0;
  } catch (const std::exception& e) {
    std::cerr << "skintool: " << e.what() << '\n';
    return 1;
  }
}
