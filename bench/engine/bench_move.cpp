// The movement pass for 23 people a tick, with everybody running to points
// that change every 30 ticks, and the world skeleton of one player.
#include <benchmark/benchmark.h>

#include "engine/anim.h"
#include "engine/move.h"
#include "engine/player.h"
#include "engine_env.h"

static void Retarget(std::uint32_t& s) {
  for (std::int32_t i = 1; i < PLAYER_MAX; i++) {
    if (i == PLAYER_TEAM_SIZE) continue;
    s = s * 1664525u + 1013904223u;
    std::int32_t x = static_cast<std::int32_t>((s >> 8) % 16000) - 8000;
    s = s * 1664525u + 1013904223u;
    std::int32_t y = static_cast<std::int32_t>((s >> 8) % 10000) - 5000;
    PlayerO_MoveToSet(EnginePlayer(i), x, y, ANIM_RUN);
  }
}

static void BM_MovementPass(benchmark::State& state) {
  EngineMatchSetup();
  std::uint32_t s = 1;
  std::int32_t t = 0;
  for (auto _ : state) {
    if (t++ % 30 == 0) {
      state.PauseTiming();
      Retarget(s);
      state.ResumeTiming();
    }
    move_FrameUpdate();
  }
  state.SetLabel("23 people a tick");
}
BENCHMARK(BM_MovementPass);

static void BM_JointsGet(benchmark::State& state) {
  EngineMatchSetup();
  Player* pp = EnginePlayer(7);
  move_Play(pp, 20);
  std::int32_t aiOut[ANIM_SEGMENTS][3];
  std::int32_t f = 0;
  for (auto _ : state) {
    pp->oAnimData.uPos = static_cast<std::uint16_t>((f++ % 23) << 6);
    pp->iDisplayFacing = static_cast<std::int16_t>(f % 802);
    anim_JointsGet(pp, aiOut);
    benchmark::DoNotOptimize(aiOut);
  }
}
BENCHMARK(BM_JointsGet);

// The size of the compiled pose data (reported, not timed).
static void BM_PoseDataSize(benchmark::State& state) {
  std::size_t cBytes = 0;
  const float* apfSeen[ANIM_GEN_ROWS];
  std::int32_t cSeen = 0;
  for (const AnimGenRow& g : anim_aGenRows) {
    bool bShared = false;
    for (std::int32_t i = 0; i < cSeen; i++) bShared |= apfSeen[i] == g.pfPose;
    if (bShared) continue;
    apfSeen[cSeen++] = g.pfPose;
    cBytes += static_cast<std::size_t>(g.cFrames) * (ANIM_POSE_FLOATS + (g.pfTrack ? ANIM_TRACK_FLOATS : 0)) * sizeof(float);
  }
  for (auto _ : state) benchmark::DoNotOptimize(cBytes);
  state.counters["pose_bytes"] = static_cast<double>(cBytes);
  state.counters["clips"] = cSeen;
}
BENCHMARK(BM_PoseDataSize)->Iterations(1);
