// The goalkeepers: both keepers' tick (the joint walk and the state machine)
// while shots come in at one of them, and the body-against-ball test.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "engine/ball.h"
#include "engine/colmodl.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/player.h"
#include "engine_env.h"
#include "shell/global.h"

namespace {

// A new shot every 60 ticks from a point that moves round the box.
void Shoot(std::uint32_t& s) {
  s = s * 1664525u + 1013904223u;
  const std::int32_t sx = 5000 + static_cast<std::int32_t>((s >> 8) % 3000);
  const std::int32_t sy = static_cast<std::int32_t>((s >> 12) % 3000) - 1500;
  const std::int32_t ty = static_cast<std::int32_t>((s >> 16) % 900) - 450;
  const std::int32_t th = static_cast<std::int32_t>((s >> 20) % 340);
  ball_PlaceAt(&ball_oBall, sx, 0, sy);
  newballA_OwnerSet(EnginePlayer(9), 1);
  ball_ShotLaunch(9700, th, ty, 70 + static_cast<std::int32_t>((s >> 24) % 50));
  newgoal_KeeperCountSet();
}

void BM_KeepersTick(benchmark::State& state) {
  EngineMatchSetup();
  global_SetGameMode(GAME_MODE_PLAY);
  Player* ph = EnginePlayer(0);
  Player* pa = EnginePlayer(11);
  std::uint32_t s = 1;
  std::int32_t t = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (t++ % 60 == 0) Shoot(s);
    ball_Update();
    state.ResumeTiming();
    newgoal_StateMachineRun(ph);
    newgoal_StateMachineRun(pa);
    benchmark::DoNotOptimize(colmodl_aiAwayKeeperJoints[10][1]);
  }
}
BENCHMARK(BM_KeepersTick);

void BM_KeeperBallHit(benchmark::State& state) {
  EngineMatchSetup();
  Player* pk = EnginePlayer(11);
  colmodl_JointsUpdate(pk);
  std::int32_t p[3] = {pk->x + 40, 150, pk->y + 60};
  std::int32_t iOut = 0, i = 0;
  for (auto _ : state) {
    p[2] = pk->y + (i++ & 127);
    benchmark::DoNotOptimize(colmodl_KeeperBallHit(&iOut, pk, p, 36));
  }
}
BENCHMARK(BM_KeeperBallHit);

}  // namespace
