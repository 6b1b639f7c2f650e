// The computer's open play: the action pass of one tick (the steering
// refresh, the keepers' machines, the holder's program and the director's
// seven players) and a whole sandbox tick, each also as a multiple of real
// time (a tick is a thirtieth of a second; the whole engine aims at 1000x,
// 33 us a tick).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "engine/action.h"
#include "engine/move.h"
#include "engine/player.h"
#include "sandbox.h"
#include "shell/global.h"

namespace {

constexpr double kTickMicros = 1e6 / 30;
constexpr std::int32_t kWarmUp = 600;  // into open play before timing

// The sandbox reads the player database of the bench tree.
void Start() {
  setenv("KORVENA_BUILD_DIR", KORVENA_BENCH_BUILD_DIR, 0);
  SandboxStart(1);
  for (std::int32_t t = 0; t < kWarmUp; t++) SandboxTick(nullptr);
}

void Report(benchmark::State& state, double micros, std::int64_t ticks) {
  double per = ticks ? micros / static_cast<double>(ticks) : 0;
  state.counters["us_per_tick"] = per;
  state.counters["x_real_time"] = per > 0 ? kTickMicros / per : 0;
}

void BM_ActionPass(benchmark::State& state) {
  Start();
  double micros = 0;
  std::int64_t ticks = 0;
  for (auto _ : state) {
    SandboxTickStart();
    closedown_PlayerChoose();
    move_FrameUpdate();
    auto t0 = std::chrono::steady_clock::now();
    action_FramePass(global_eGetGameMode());
    auto t1 = std::chrono::steady_clock::now();
    SandboxTickEnd(nullptr);
    double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
    state.SetIterationTime(us * 1e-6);
    micros += us;
    ticks++;
  }
  Report(state, micros, ticks);
}
BENCHMARK(BM_ActionPass)->UseManualTime()->Iterations(20000);

void BM_SandboxTick(benchmark::State& state) {
  Start();
  double micros = 0;
  std::int64_t ticks = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    SandboxTick(nullptr);
    auto t1 = std::chrono::steady_clock::now();
    double us = std::chrono::duration<double, std::micro>(t1 - t0).count();
    state.SetIterationTime(us * 1e-6);
    micros += us;
    ticks++;
  }
  Report(state, micros, ticks);
}
BENCHMARK(BM_SandboxTick)->UseManualTime()->Iterations(20000);

}  // namespace
