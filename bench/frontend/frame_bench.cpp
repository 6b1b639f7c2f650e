// Speed of the frame packet: a busy frame's items queued and released.
#include <benchmark/benchmark.h>

#include "scene3d/pcframe.h"

namespace {

struct Pools {
  Pools() { pcframe_Init(); }
  ~Pools() { pcframe_Shutdown(); }
};

// 400 boxes and lines over 40 priorities and 100 short texts, as a screen
// full of lists and panels queues them; then the next frame's release.
void BM_BusyFrame(benchmark::State& state) {
  static Pools pools;
  for (auto _ : state) {
    pcframe_Begin();
    for (int i = 0; i < 400; ++i) {
      if (i & 1) pcframe_AddBox(i, i, i + 10, i + 10, (i * 7) % 40, 1, 2, 3, 255, 1);
      else pcframe_AddLine(0, i, 100, i, (i * 13) % 40, 4, 5, 6, 0);
    }
    for (int i = 0; i < 100; ++i) pcframe_AddText(10, i * 4, 1 + i % 5, 255, 255, 255, "Player name 23", 0, 1, 0);
    benchmark::DoNotOptimize(pcframe_poCurrent->poFirstLayer);
  }
  pcframe_Begin();
  state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(BM_BusyFrame);

}  // namespace
