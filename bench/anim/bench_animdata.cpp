// The animation generator's whole run (read, build, check every clip) and
// the skeleton walk per call; the counters give the pose data's size.
#include <benchmark/benchmark.h>

#include <set>

#include "anim/animgen.h"
#include "engine/anim_data.h"
#include "engine/anim_pose.h"

namespace {

void BM_AnimgenBuildAndCheck(benchmark::State& state) {
  for (auto _ : state) {
    animgen::Loaded data;
    animgen::LoadAndBuild(KORVENA_SOURCE_DIR "/assets/anim", data);
    benchmark::DoNotOptimize(data.built.clips.size());
  }
}
BENCHMARK(BM_AnimgenBuildAndCheck)->Unit(benchmark::kMillisecond);

void BM_JointsWorld(benchmark::State& state) {
  std::int32_t out[17][3];
  std::uint16_t angle = 0;
  const AnimGenRow& r = anim_aGenRows[100];
  int frame = 0;
  for (auto _ : state) {
    animpose_JointsWorld(r.pfPose + frame * ANIM_POSE_FLOATS, r.mirror, angle, 1000, 0, -2000, out);
    benchmark::DoNotOptimize(out);
    angle = static_cast<std::uint16_t>(angle + 977);
    frame = (frame + 1) % r.cFrames;
  }
  // The data: distinct pose blocks and ball tracks.
  std::set<const float*> poses, tracks;
  double poseBytes = 0, trackBytes = 0, frames = 0;
  for (const AnimGenRow& g : anim_aGenRows) {
    if (poses.insert(g.pfPose).second) {
      poseBytes += g.cFrames * ANIM_POSE_FLOATS * 4.0;
      frames += g.cFrames;
    }
    if (g.pfTrack && tracks.insert(g.pfTrack).second) trackBytes += g.cFrames * ANIM_TRACK_FLOATS * 4.0;
  }
  state.counters["clips"] = static_cast<double>(poses.size());
  state.counters["frames"] = frames;
  state.counters["pose_bytes"] = poseBytes;
  state.counters["track_bytes"] = trackBytes;
}
BENCHMARK(BM_JointsWorld);

}  // namespace
