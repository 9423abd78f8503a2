// Pixel layer speed on a 476 x 428 bitmap (the installer's wizard window): BlendBitmaps and
// FillRect32 beside memcpy of the same bytes. The ratios (routine / memcpy; goal for the blend:
// within 3x) are printed at the end, from CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "skin/render/sAlphaGraph.h"
#include "skin/render/sGraphUtils.h"

namespace {

constexpr int kW = 476, kH = 428;
std::map<std::string, double> g_nsPerIter;

Bitmap32 Noise(uint32_t seed) {
  Bitmap32 b(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      seed = seed * 1664525u + 1013904223u;
      b.At(x, y) = Pixel32{uint8_t(seed), uint8_t(seed >> 8), uint8_t(seed >> 16), uint8_t(seed >> 24)};
    }
  return b;
}

void Record(benchmark::State& state, const char* name) {
  state.SetBytesProcessed(int64_t(state.iterations()) * kW * kH * 4);
  g_nsPerIter[name] = 0;  // filled from the reporter
}

void BM_Memcpy(benchmark::State& state) {
  const Bitmap32 src = Noise(1);
  Bitmap32 dst = Noise(2);
  for (auto _ : state) {
    std::memcpy(dst.Row(0), src.Row(0), std::size_t{kW} * kH * 4);
    benchmark::ClobberMemory();
  }
  Record(state, "memcpy");
}
BENCHMARK(BM_Memcpy);

void BM_BlendBitmaps(benchmark::State& state) {
  const Bitmap32 src = Noise(1);
  Bitmap32 dst = Noise(2);
  for (auto _ : state) {
    BlendBitmaps(dst, src, 76);
    benchmark::ClobberMemory();
  }
  Record(state, "BlendBitmaps");
}
BENCHMARK(BM_BlendBitmaps);

void BM_FillRect32(benchmark::State& state) {
  Bitmap32 dst = Noise(2);
  for (auto _ : state) {
    FillRect32(dst, TsRect{0, 0, kW, kH}, 0x2C2C58);
    benchmark::ClobberMemory();
  }
  Record(state, "FillRect32");
}
BENCHMARK(BM_FillRect32);

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      const std::string n = r.benchmark_name();
      const double ns = r.GetAdjustedCPUTime();  // the build machine is shared: CPU time is steadier
      if (n == "BM_Memcpy") g_nsPerIter["memcpy"] = ns;
      if (n == "BM_BlendBitmaps") g_nsPerIter["BlendBitmaps"] = ns;
      if (n == "BM_FillRect32") g_nsPerIter["FillRect32"] = ns;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double base = g_nsPerIter["memcpy"];
  if (base > 0)
    for (const char* name : {"BlendBitmaps", "FillRect32"})
      if (g_nsPerIter[name] > 0)
        std::printf("%s / memcpy on %d x %d: %.2fx\n", name, kW, kH, g_nsPerIter[name] / base);
  benchmark::Shutdown();
  return 0;
}
