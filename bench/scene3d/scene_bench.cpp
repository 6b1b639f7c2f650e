// The match scene on both renderer libraries in a headless display: the
// whole loading sequence (every step, one after the other, without the rate
// gate between frames), an overlay-only match frame, a match frame of the
// ground without players, the ground's loading work, and the resident
// memory once a match has loaded.
#include <benchmark/benchmark.h>

#include "scene_device.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "framework/qdx_window.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "matchflow/environ.h"
#include "scene3d/ball3d.h"
#include "scene3d/goals3d.h"
#include "scene3d/loading.h"
#include "scene3d/pitch3d.h"
#include "scene3d/stadium3d.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "shell/pcinstall.h"

namespace {

Q3DDevice* OpenDevice(const char* dll, QDLContext* ctx, std::string* why) {
  return bench_SceneDeviceOpen(dll, ctx, "korvena-bench-scene3d", nullptr, why);
}

void Close(Q3DDevice* d) { bench_SceneDeviceClose(d); }

long ResidentKb() {
  long pages = 0, resident = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (f == nullptr) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return resident * 4;
}

void BM_LoadingSequence(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  int frames = 0;
  for (auto _ : state) {
    loading_bRunStep(0);
    frames = 0;
    while (!loading_bRunStep(1)) ++frames;
  }
  state.counters["frames"] = frames + 1;
  state.counters["resident_kb"] = static_cast<double>(ResidentKb());
  state.SetLabel(dll);
  Close(d);
}
BENCHMARK(BM_LoadingSequence)->ArgName("zbuffer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OverlayFrame(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  scene3d_FontsLoad();
  scene3d_bSpriteSheetCreate();
  auto fill = [] {
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    p->aiSnapshotCounts[PCFRAME_COUNT_CAMERA] = 1;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) p->oCamera.aafRotation[r][c] = r == c ? 1.0f : 0.0f;
    // A match's usual overlay: score and clock boxes, texts, a radar's
    // triangles and two shoot-out marks.
    pcframe_AddBox(20, 20, 220, 52, 10, 0, 0, 60, 160, 0);
    pcframe_AddShadedBox(420, 20, 620, 52, 10, pcframe_uCornerColour(0, 0, 90, 200), pcframe_uCornerColour(0, 0, 90, 200),
                         pcframe_uCornerColour(0, 0, 20, 200), pcframe_uCornerColour(0, 0, 20, 200), 0);
    pcframe_AddText(30, 26, 5, 255, 255, 255, "BRENNA 2 - 1 ORLAND", 0, 0, 0);
    pcframe_AddText(600, 26, 5, 255, 255, 0, "67:12", 0, 0, 1);
    for (int i = 0; i < 22; ++i)
      pcframe_AddTriangle(500 + i * 5, 400, 504 + i * 5, 400, 502 + i * 5, 396, 4, 255, i < 11 ? 0 : 255, 0, 255, 0);
    pcframe_AddSheetSprite(300, 440, 3, 0);
    pcframe_AddSheetSprite(330, 440, 3, 1);
  };
  fill();
  scene3d_DrawFrame();  // the first frame only sets the background
  for (auto _ : state) {
    fill();
    benchmark::DoNotOptimize(scene3d_DrawFrame());
  }
  state.SetLabel(dll);
  Close(d);
}
BENCHMARK(BM_OverlayFrame)->ArgName("zbuffer")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A match frame without players: pitch, markings, a stadium at night with
// its hoardings and floodlights, both goals, the ball and markers, from the
// broadcast camera; the faces handed to the device per frame.
void BM_GroundFrame(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  environ_oEnvironment.iPitchType = 1;
  environ_oEnvironment.iLook = 17;
  environ_oEnvironment.bNight = 1;
  loading_bRunStep(0);
  while (!loading_bRunStep(1)) {
  }
  auto fill = [] {
    pcframe_Begin();
    FramePacket* p = pcframe_poCurrent;
    bench_MainStandCameraSet(p);
    p->oBall.iX = 800;
    p->oBall.iY = -400;
    pcframe_AddSpotMarker(1200, 300, 0);
    pcframe_AddArrowMarker(800, -400, 1.0, 0);
    pcframe_AddUserMarker(800, -400, 1);
  };
  fill();
  scene3d_DrawFrame();  // the first frame only sets the background
  // What the objects hand to the device at most (the stadium's groups, the
  // boards, the ground and its markings, the nets and frames, the ball).
  double faces = 0;
  const Scene3D* s = scene3d_poScene;
  if (s->poStadium != nullptr)
    for (int32_t g = 0; g < s->poStadium->cGroups; ++g) faces += s->poStadium->aoGroups[g].uCount;
  faces += 40 * 2;
  if (s->poPitch != nullptr) faces += s->poPitch->oGrass.uCount * 2 + s->poPitch->oShading.uCount * 2 + 16 + 300;
  for (GoalNet* g : goals_apoNets)
    if (g != nullptr) {
      faces += g->aNetFaces.size();
      for (const Q3DFaceList& f : g->aoFrame) faces += f.uCount;
    }
  faces += 24 * 2 + 2;
  for (auto _ : state) {
    fill();
    benchmark::DoNotOptimize(scene3d_DrawFrame());
  }
  state.counters["triangles"] = faces;
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(dll);
  Close(d);
}
BENCHMARK(BM_GroundFrame)->ArgName("zbuffer")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The work of the ground's loading steps: pitch, stadium at night, markers,
// goals and ball built and freed again.
void BM_GroundLoad(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  Scene3D* s = scene3d_poScene;
  s->bNight = 1;
  s->uStadiumLook = 17;
  s->cLights = 4;
  for (int i = 0; i < 4; ++i) s->apoLights[i] = new SceneLight(0);
  for (auto _ : state) {
    s->poPitch = new Pitch3D(1);
    s->poStadium = new Stadium3D();
    s->MarkersCreate();
    goals_Load(3);
    s->BallCreate();
    delete s->poPitch;
    s->poPitch = nullptr;
    delete s->poStadium;
    s->poStadium = nullptr;
    s->MarkersFree();
    goals_Free();
    delete s->poBall;
    s->poBall = nullptr;
  }
  state.SetLabel(dll);
  Close(d);
}
BENCHMARK(BM_GroundLoad)->ArgName("zbuffer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
