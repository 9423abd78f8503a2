// Full load of a packed skin (archive reading + model build) against its floor, reading
// and inflating the archive alone. Uses the built Garnet archive when there is one, else a
// synthetic skin of the same shape. Prints the ratio full / floor at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "image/BmpFile.h"
#include "image/PngWrite.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/sSkinManager.h"

namespace {

std::vector<uint8_t> SyntheticSkin() {
  std::string options = "[GLOBALINFO]\r\nMASTERBITMAP=MASTER.BMP\r\nVERSION=7.00\r\nCOLOR=1907997\r\n";
  options += "BOXCHECKED=@0128@0074@0173@0089@3@0\r\nBICONCLOSEGLOW0=!CLOSEG.PNG!1!0!4!0000!0000!0000!0000!0\r\n";
  for (int i = 0; i < 61; ++i) {
    options += "[SECTION" + std::to_string(i) + "]\r\n";
    // Parents one or two levels up, as real skins have them.
    if (i % 4 != 0) options += "PARENTCLASS=SECTION" + std::to_string(i - i % 4) + "\r\n";
    options += "STATES=3\r\nCOLOR=2434349\r\nFONTCOLOR=9013657\r\nHOTCOLOR=2\r\nHOTFONTCOLOR=12632319\r\n"
               "TRANSPARENCY=100\r\nGRADIENTDATA=16777215;2894936;34;0;0;2894936;0;2;0;0\r\nFADINGENABLED=1\r\n"
               "BORDERSMASK=^0000^0091^0240^0117^0004^0011^0004^0004^3^0^5^1\r\n"
               "GLYPHMASK=@0601@0039@0628@0044@3@0\r\n";
  }
  Bitmap32 master(634, 117), huge(192, 64), glow(47, 37);
  master.Fill(Pixel32{40, 30, 90, 255});
  huge.Fill(Pixel32{10, 10, 60, 255});
  glow.Fill(Pixel32{50, 50, 200, 128});
  std::vector<TacArchiveFile> files{{"Options.dat", std::vector<uint8_t>(options.begin(), options.end())},
                                    {"Huge.bmp", WriteBmp24(huge)},
                                    {"Master.bmp", WriteBmp24(master)}};
  for (const char* n : {"CloseAG.png", "CloseG.png", "MaxG.png", "MinG.png", "NormG.png"})
    files.push_back({n, EncodePng(glow)});
  return WriteSkinArchive(files);
}

const std::vector<uint8_t>& Archive() {
  static const std::vector<uint8_t> bytes = [] {
    std::ifstream f(KESTAMOR_BINARY_DIR "/resources/Garnet.asz", std::ios::binary);
    if (f) {
      std::vector<uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
      if (!b.empty()) {
        std::printf("Skin: Garnet.asz (%zu bytes)\n", b.size());
        return b;
      }
    }
    auto b = SyntheticSkin();
    std::printf("Skin: synthetic (%zu bytes)\n", b.size());
    return b;
  }();
  return bytes;
}

void BM_InflateArchive(benchmark::State& state) {
  const auto& bytes = Archive();
  for (auto _ : state) {
    TacMemoryStream source(bytes);
    auto reader = std::make_unique<TacSkinConvertor>();
    reader->SetSourceStream(&source);
    ReadArchive(reader);
    reader->SetSourceStream(nullptr);
    benchmark::DoNotOptimize(reader->Files.data());
  }
}
BENCHMARK(BM_InflateArchive)->Unit(benchmark::kMicrosecond);

void BM_FullSkinLoad(benchmark::State& state) {
  const auto& bytes = Archive();
  for (auto _ : state) {
    TsSkinModel model;
    LoadPackedSkin(model, bytes, {}, "");
    benchmark::DoNotOptimize(model.Images.data());
  }
}
BENCHMARK(BM_FullSkinLoad)->Unit(benchmark::kMicrosecond);

// Keeps the per-iteration times to print the ratio after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs)
      if (r.run_type == Run::RT_Iteration) times[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto full = reporter.times.find("BM_FullSkinLoad");
  const auto floor = reporter.times.find("BM_InflateArchive");
  if (full != reporter.times.end() && floor != reporter.times.end() && floor->second > 0)
    std::printf("Full load / inflate floor: %.2f\n", full->second / floor->second);
  benchmark::Shutdown();
  return 0;
}
