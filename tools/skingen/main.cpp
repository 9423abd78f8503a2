// skingen: draws the Garnet skin's pictures where its options text says they lie.
//
//   skingen <outdir> [--options <Options.dat>] [--sheet <contact-sheet.png>]
//
// Writes Master.bmp, Huge.bmp and the five glow PNGs into <outdir>, and a contact sheet
// (by default <outdir>/contact-sheet.png; a build that packs <outdir> puts it elsewhere).
// The options text defaults to the one in the source tree. The output depends on nothing
// but the options text, so builds are reproducible byte for byte.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/PngWrite.h"
#include "tools/skingen/ContactSheet.h"
#include "tools/skingen/GarnetArt.h"
#include "tools/skingen/SkinLayout.h"

namespace {

using namespace skingen;

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void PutLE32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The skin's master bitmap carries two zero bytes after its pixel rows, counted in the
// file and image sizes, as some image editors write 24-bit files.
std::vector<uint8_t> MasterBmpBytes(const Bitmap32& master) {
  std::vector<uint8_t> b = WriteBmp24(master);
  const uint32_t offBits = b[10] | b[11] << 8 | b[12] << 16 | static_cast<uint32_t>(b[13]) << 24;
  b.push_back(0);
  b.push_back(0);
  PutLE32(b, 2, static_cast<uint32_t>(b.size()));
  PutLE32(b, 34, static_cast<uint32_t>(b.size() - offBits));
  return b;
}

// The file names the archive stores, in the letter case the engine's lookup ignores.
const char* const kGlowFiles[] = {"CloseAG.png", "CloseG.png", "MaxG.png", "MinG.png", "NormG.png"};

int Run(int argc, char** argv) {
  std::string outdir, optionsPath = std::string(KESTAMOR_SOURCE_DIR) + "/resources/skins/Garnet/Options.dat";
  std::string sheetPath;
  bool usage = false;
  for (int i = 1; i < argc && !usage; ++i) {
    const std::string a = argv[i];
    if ((a == "--options" || a == "--sheet") && i + 1 < argc)
      (a == "--options" ? optionsPath : sheetPath) = argv[++i];
    else if (outdir.empty() && !a.empty() && a[0] != '-')
      outdir = a;
    else
      usage = true;
  }
  if (usage || outdir.empty()) {
    std::fprintf(stderr, "usage: skingen <outdir> [--options <Options.dat>] [--sheet <contact-sheet.png>]\n");
    return 2;
  }
  if (sheetPath.empty()) sheetPath = outdir + "/contact-sheet.png";
  const SkinLayout layout = ParseSkinLayout(ReadFile(optionsPath));

  if (Upper(layout.Global("MASTERBITMAP")) != "MASTER.BMP")
    throw std::runtime_error("GLOBALINFO MASTERBITMAP must name MASTER.BMP");
  const Bitmap32 master = DrawMaster(layout);
  WriteFile(outdir + "/Master.bmp", MasterBmpBytes(master));

  Bitmap32 huge;
  std::deque<Bitmap32> glows;  // stable addresses for the views below
  std::vector<NamedImage> glowViews;
  for (const ImageDesc& d : layout.images) {
    if (!d.IsFile()) continue;
    if (d.file == "HUGE.BMP") {
      huge = DrawHugeButton(d);
      WriteFile(outdir + "/Huge.bmp", WriteBmp24(huge));
      continue;
    }
    const std::string suffix = "GLOW0";
    const char* const* name = std::find_if(std::begin(kGlowFiles), std::end(kGlowFiles),
                                           [&](const char* f) { return Upper(f) == d.file; });
    if (name == std::end(kGlowFiles) || d.section != "GLOBALINFO" || d.key.size() <= suffix.size() ||
        d.key.compare(d.key.size() - suffix.size(), suffix.size(), suffix) != 0)
      throw std::runtime_error(d.Name() + ": no picture is made for " + d.file);
    const std::string buttonKey = d.key.substr(0, d.key.size() - suffix.size());
    const ImageDesc* button = layout.Find("GLOBALINFO", buttonKey);
    if (!button) throw std::runtime_error(d.Name() + ": no button image " + buttonKey);
    const int margin = std::stoi(layout.Global(buttonKey + "GLOWMARGIN"));
    glows.push_back(DrawGlow(master, *button, margin, buttonKey.find("CLOSE") != std::string::npos));
    // Like the skin's original glow images: gamma 1/2.2 (decoded unchanged),
    // chromaticities, 96 dpi and a tag, all of which the engine's decoder skips or reads.
    PngChunks chunks;
    chunks.Gamma = 45454;
    chunks.SrgbChromaticities = true;
    chunks.PixelsPerMetre = 3780;
    chunks.Texts = {{"Software", "Kestamor skingen"}};
    WriteFile(outdir + "/" + *name, EncodePng(glows.back(), true, chunks));
    glowViews.push_back({*name, &glows.back()});
  }
  if (huge.Empty() || glows.size() != std::size(kGlowFiles))
    throw std::runtime_error("the options must name HUGE.BMP and the five glow pictures");
  std::sort(glowViews.begin(), glowViews.end(), [](const NamedImage& a, const NamedImage& b) { return a.name < b.name; });
  WriteFile(sheetPath, EncodePng(BuildContactSheet(layout, master, huge, glowViews), false));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
