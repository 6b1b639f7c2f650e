// Per-tick cost of the broadcast camera, a camera path and the replay recorder.
#include <benchmark/benchmark.h>

#include "engine/ball.h"
#include "engine/player.h"
#include "engine/team.h"
#include "matchflow/camera.h"
#include "matchflow/replay.h"
#include "matchflow/virtdir.h"

namespace {

void BM_CameraBroadcastUpdate(benchmark::State& state) {
  camera_TypesRegister();
  camera_Init();
  Ball* b = ball_Get();
  std::int32_t t = 0;
  for (auto _ : state) {
    b->iX128 = ((t * 37) % 18000 - 9000) * 128;
    b->iY128 = ((t * 23) % 11000 - 5500) * 128;
    b->iHeading = (t * 7) % 802;
    camera_Update();
    benchmark::DoNotOptimize(camera_poViewGet()->aiEye[0]);
    t++;
  }
}
BENCHMARK(BM_CameraBroadcastUpdate);

void BM_CameraPathUpdate(benchmark::State& state) {
  camera_TypesRegister();
  camera_Init();
  virtdir_PathSet(2);
  std::int32_t t = 0;
  for (auto _ : state) {
    if (++t % 1200 == 0) {
      camera_Reset();
      virtdir_PathSet(2);
    }
    camera_Update();
    benchmark::DoNotOptimize(camera_poViewGet()->aiEye[0]);
  }
}
BENCHMARK(BM_CameraPathUpdate);

void BM_ReplayRecordFrame(benchmark::State& state) {
  team_PlayersInit();
  camera_TypesRegister();
  camera_Init();
  replay_Reset();
  replay_StartRecording();
  for (auto _ : state) {
    replay_RecordFrame();
    benchmark::DoNotOptimize(replay_oState.iIndex);
  }
  replay_Reset();
}
BENCHMARK(BM_ReplayRecordFrame);

}  // namespace
