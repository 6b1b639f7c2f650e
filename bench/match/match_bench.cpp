// Whole matches: ticks per second from the first kick-off as a multiple of
// real time, the wall time of a 10-minute match, cost per tick by game
// mode, and heap allocations per match tick.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <new>
#include <utility>

#include "shell/global.h"
#include "support/match_harness.h"

namespace {

std::size_t g_cAllocations = 0;

}  // namespace

void* operator new(std::size_t n) {
  g_cAllocations++;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

namespace mh = match_harness;
using Clock = std::chrono::steady_clock;

struct Watch {
  Clock::time_point tLast;
  std::int32_t eMode = 0;
  bool bKickedOff = false;
  std::int32_t iKickOffTick = 0;
  Clock::time_point tKickOff;
  std::size_t cAllocAtKickOff = 0;
  std::size_t cAllocAtEnd = 0;
  // Per mode: seconds, ticks (fixed room: the watch allocates nothing while it counts).
  std::array<std::pair<double, std::int64_t>, GAME_MODE_LAST + 1> aCost{};
};

void OnTick(std::int32_t iTick, void* pv) {
  Watch& w = *static_cast<Watch*>(pv);
  const Clock::time_point t = Clock::now();
  auto& e = w.aCost[static_cast<std::size_t>(w.eMode >= 0 && w.eMode <= GAME_MODE_LAST ? w.eMode : 0)];
  e.first += std::chrono::duration<double>(t - w.tLast).count();
  e.second++;
  w.tLast = t;
  w.eMode = global.eGameMode;
  if (!w.bKickedOff && w.eMode == GAME_MODE_PLAY) {
    w.bKickedOff = true;
    w.iKickOffTick = iTick;
    w.tKickOff = t;
    w.cAllocAtKickOff = g_cAllocations;
  }
  // The end of the match: what the harness does after it is not a tick's.
  if (w.eMode == GAME_MODE_MATCH_END && w.cAllocAtEnd == 0) w.cAllocAtEnd = g_cAllocations;
}

void BM_TenMinuteMatch(benchmark::State& state) {
  std::string why;
  if (!mh::Setup(&why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  double dTicksPerSecond = 0, dAllocsPerTick = 0;
  std::array<std::pair<double, std::int64_t>, GAME_MODE_LAST + 1> aCost{};
  std::uint32_t uSeed = 1;
  for (auto _ : state) {
    mh::Config c;
    c.uSeed = uSeed++;
    c.iLength = 10;
    Watch w;
    w.tLast = Clock::now();
    w.eMode = GAME_MODE_IN_MATCH_SETUP;
    const mh::Result r = mh::Run(c, nullptr, OnTick, &w);
    const double dRun = std::chrono::duration<double>(Clock::now() - w.tKickOff).count();
    const double cTicks = static_cast<double>(r.cTicks - w.iKickOffTick);
    dTicksPerSecond = dRun > 0 ? cTicks / dRun : 0;
    const std::size_t cAllocAtEnd = w.cAllocAtEnd ? w.cAllocAtEnd : g_cAllocations;
    dAllocsPerTick = cTicks > 0 ? static_cast<double>(cAllocAtEnd - w.cAllocAtKickOff) / cTicks : 0;
    aCost = w.aCost;
    state.counters["ticks"] = r.cTicks;
  }
  state.counters["ticks_per_s"] = dTicksPerSecond;
  state.counters["x_real_time"] = dTicksPerSecond / 30.0;
  state.counters["allocs_per_tick"] = dAllocsPerTick;
  for (std::size_t eMode = 0; eMode < aCost.size(); eMode++) {
    const auto& e = aCost[eMode];
    if (e.second > 0) state.counters["us_per_tick_mode_" + std::to_string(eMode)] = 1e6 * e.first / static_cast<double>(e.second);
  }
}
BENCHMARK(BM_TenMinuteMatch)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
