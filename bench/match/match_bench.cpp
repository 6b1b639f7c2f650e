// Whole matches: ticks per second from the first kick-off as a multiple of
// real time, the wall time of a 10-minute match, cost per tick by game
// mode, and heap allocations per match tick.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <new>

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
  std::map<std::int32_t, std::pair<double, std::int64_t>> mapCost;  // mode -> seconds, ticks
};

void OnTick(std::int32_t iTick, void* pv) {
  Watch& w = *static_cast<Watch*>(pv);
  const Clock::time_point t = Clock::now();
  auto& e = w.mapCost[w.eMode];
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
}

void BM_TenMinuteMatch(benchmark::State& state) {
  std::string why;
  if (!mh::Setup(&why)) {
    state.SkipWithError(why.c_str());
    return;
  }
  double dTicksPerSecond = 0, dAllocsPerTick = 0;
  std::map<std::int32_t, std::pair<double, std::int64_t>> mapCost;
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
    dAllocsPerTick = cTicks > 0 ? static_cast<double>(g_cAllocations - w.cAllocAtKickOff) / cTicks : 0;
    mapCost = w.mapCost;
    state.counters["ticks"] = r.cTicks;
  }
  state.counters["ticks_per_s"] = dTicksPerSecond;
  state.counters["x_real_time"] = dTicksPerSecond / 30.0;
  state.counters["allocs_per_tick"] = dAllocsPerTick;
  for (const auto& [eMode, e] : mapCost)
    if (e.second > 0) state.counters["us_per_tick_mode_" + std::to_string(eMode)] = 1e6 * e.first / static_cast<double>(e.second);
}
BENCHMARK(BM_TenMinuteMatch)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
