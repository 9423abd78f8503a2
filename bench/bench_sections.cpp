// Section painting with the product's skin: a push button's cache (75 x 25, BUTTON, over its
// parent) and a whole wizard window's background (476 x 428, FORM). Pixels per second are
// reported as items per second.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "skin/data/sSkinManager.h"
#include "skin/render/sStyleSimply.h"
#include "tests/native/BuiltGarnet.h"

namespace {


void PaintSectionBench(benchmark::State& state, const char* section, int w, int h, bool overParent) {
  const TsSkinModel* m = Garnet();
  if (!m) {
    state.SkipWithError("Garnet.asz is made by the garnet_skin target");
    return;
  }
  const TsSectionBinding b = BindSection(*m, section);
  Bitmap32 parent(w + 40, h + 40);
  parent.Fill(Pixel32{0x2D, 0x25, 0x25, 255});
  const BackgroundSource bg = overParent ? MakeBgInfo(&parent, 0, 0) : BackgroundSource{};
  Bitmap32 cache(w, h);
  const int paintState = static_cast<int>(state.range(0));
  for (auto _ : state) {
    PaintSection(b, bg, true, cache, TsPoint{12, 9}, TsRect{0, 0, w, h}, paintState);
    benchmark::DoNotOptimize(cache.At(w / 2, h / 2));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(w) * h);
}

void BM_Button75x25(benchmark::State& state) { PaintSectionBench(state, "BUTTON", 75, 25, true); }
void BM_Form476x428(benchmark::State& state) { PaintSectionBench(state, "FORM", 476, 428, false); }

BENCHMARK(BM_Button75x25)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Form476x428)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
