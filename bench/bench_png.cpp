// PNG decoding speed: our decoder against libpng on the same bytes, for the
// skin's small glow images and for a 1024 x 1024 RGBA image. Both produce a
// 32-bit BGRA image. The ratios (ours / libpng, below 1 is faster) are printed
// at the end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "image/acPNG.h"
#include "tests/native/test_acPNGSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A glow: a soft garnet blob with a bright core, alpha falling off from the centre.
Bytes MakeGlow(uint32_t w, uint32_t h, int gamma = 45454) {
  pngref::Image img;
  img.width = w, img.height = h, img.colorType = PNG_COLOR_TYPE_RGB_ALPHA, img.depth = 8;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x) {
      const double dx = (x - w / 2.0) / (w / 2.0), dy = (y - h / 2.0) / (h / 2.0);
      const double d = std::min(1.0, std::sqrt(dx * dx + dy * dy));
      const double a = std::pow(1.0 - d, 2.0);
      img.samples.insert(img.samples.end(), {uint16_t(180 + 75 * a), uint16_t(40 + 120 * a * a),
                                             uint16_t(60 + 100 * a * a), uint16_t(255 * a)});
    }
  return pngref::Write(img, 0, gamma, 9);
}

// A photo-like 1024 x 1024 RGBA picture: smooth gradients, texture and noise.
Bytes MakeLarge() {
  pngref::Image img;
  img.width = img.height = 1024, img.colorType = PNG_COLOR_TYPE_RGB_ALPHA, img.depth = 8;
  std::mt19937 rng(1);
  img.samples.reserve(1024 * 1024 * 4);
  for (uint32_t y = 0; y < 1024; ++y)
    for (uint32_t x = 0; x < 1024; ++x) {
      const double t = std::sin(x * 0.02) * std::cos(y * 0.015);
      const int n = int(rng() % 9) - 4;
      auto clamp = [](double v) { return uint16_t(std::lround(std::min(255.0, std::max(0.0, v)))); };
      img.samples.insert(img.samples.end(), {clamp(128 + 100 * t + n), clamp(x / 4.0 + n), clamp(y / 4.0 - n),
                                             clamp(200 + 55 * std::sin((x + y) * 0.01))});
    }
  return pngref::Write(img, 0, 45454, 6);
}

std::vector<Bytes> GlowImages() {
  std::vector<Bytes> out;
  const std::filesystem::path skin = std::filesystem::path(KESTAMOR_BINARY_DIR) / "resources" / "Garnet";
  if (std::filesystem::is_directory(skin))
    for (const auto& e : std::filesystem::directory_iterator(skin))
      if (e.path().extension() == ".png") {
        std::ifstream f(e.path(), std::ios::binary);
        out.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
      }
  if (out.empty())
    for (uint32_t w : {47u, 47u, 43u, 43u, 44u}) out.push_back(MakeGlow(w, 37));
  return out;
}

const std::vector<Bytes>& Glows() {
  static const std::vector<Bytes> glows = GlowImages();
  return glows;
}
// Glows whose gAMA 45000 makes our decoder correct every colour sample (libpng
// is not asked to correct: it decodes the same bytes without gamma).
const std::vector<Bytes>& GammaGlows() {
  static const std::vector<Bytes> glows = [] {
    std::vector<Bytes> out;
    for (uint32_t w : {47u, 47u, 43u, 43u, 44u}) out.push_back(MakeGlow(w, 37, 45000));
    return out;
  }();
  return glows;
}
const Bytes& Large() {
  static const Bytes large = MakeLarge();
  return large;
}

Bitmap32 DecodeOurs(const Bytes& png) {
  TPNGGraphic g;
  g.LoadFromMemory(png.data(), png.size());
  return g.ToBitmap32();
}

Bitmap32 DecodeLibpng(const Bytes& png) {
  pngref::detail::Reader reader{png.data(), png.size(), 0};
  png_structp p = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngref::detail::Fail, pngref::detail::Warn);
  png_infop info = png_create_info_struct(p);
  png_set_read_fn(p, &reader, pngref::detail::ReadFn);
  png_read_info(p, info);
  const int w = int(png_get_image_width(p, info)), h = int(png_get_image_height(p, info));
  png_set_bgr(p);
  png_read_update_info(p, info);
  Bitmap32 out(w, h);
  std::vector<png_bytep> rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) rows[size_t(y)] = reinterpret_cast<png_bytep>(out.Row(y));
  png_read_image(p, rows.data());
  png_read_end(p, nullptr);
  png_destroy_read_struct(&p, &info, nullptr);
  return out;
}

template <Bitmap32 (*Decode)(const Bytes&), const std::vector<Bytes>& (*Images)()>
void BM_Glows(benchmark::State& state) {
  for (auto _ : state)
    for (const Bytes& png : Images()) benchmark::DoNotOptimize(Decode(png));
  state.SetItemsProcessed(int64_t(state.iterations() * Images().size()));
}

template <Bitmap32 (*Decode)(const Bytes&)>
void BM_Large(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Decode(Large()));
  state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 1024 * 4);
}

BENCHMARK(BM_Glows<DecodeOurs, Glows>)->Name("Glow5/ours");
BENCHMARK(BM_Glows<DecodeLibpng, Glows>)->Name("Glow5/libpng");
BENCHMARK(BM_Glows<DecodeOurs, GammaGlows>)->Name("Glow5Gamma/ours");
BENCHMARK(BM_Glows<DecodeLibpng, GammaGlows>)->Name("Glow5Gamma/libpng");
BENCHMARK(BM_Large<DecodeOurs>)->Name("RGBA1024/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Large<DecodeLibpng>)->Name("RGBA1024/libpng")->Unit(benchmark::kMillisecond);

// Console output plus the time per iteration of every run, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // CPU time: the machines this runs on are shared, wall time is noisy. With
    // --benchmark_repetitions the median wins over single runs.
    for (const Run& r : runs) {
      const std::string name = r.run_name.str();
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
        seconds_[name] = r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
        medians_.insert(name);
      } else if (r.run_type == Run::RT_Iteration && r.iterations > 0 && !medians_.count(name)) {
        seconds_[name] = r.cpu_accumulated_time / double(r.iterations);
      }
    }
  }
  void PrintRatios() const {
    for (const char* name : {"Glow5", "Glow5Gamma", "RGBA1024"}) {
      const auto ours = seconds_.find(std::string(name) + "/ours"), lib = seconds_.find(std::string(name) + "/libpng");
      if (ours != seconds_.end() && lib != seconds_.end())
        std::printf("%-10s ours / libpng = %.2f (CPU time)\n", name, ours->second / lib->second);
    }
  }

 private:
  std::map<std::string, double> seconds_;
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // Both decoders must agree before their speed means anything.
  for (const Bytes& png : Glows())
    if (DecodeOurs(png).Width() != DecodeLibpng(png).Width()) return 1;
  const Bitmap32 a = DecodeOurs(Large()), b = DecodeLibpng(Large());
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) {
        std::fprintf(stderr, "decoders disagree at %d,%d\n", x, y);
        return 1;
      }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
