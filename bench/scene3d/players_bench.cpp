// The people of the match on both renderer libraries in a headless display:
// a kick-off frame from the broadcast camera with 22 players and the
// referee in their textured kits (by day, and at night with four shadows
// each), against the same frame without them: the difference is what the
// people cost per frame.
#include <benchmark/benchmark.h>

#include "scene_device.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "display/qdl.h"
#include "display/qdl_context.h"
#include "display/qdl_device.h"
#include "engine/anim.h"
#include "engine/player.h"
#include "framework/qdx_window.h"
#include "matchflow/environ.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "render3d/q3d_imagefile.h"
#include "render3d/vidselect.h"
#include "scene3d/kits3d.h"
#include "scene3d/loading.h"
#include "scene3d/pcframe.h"
#include "scene3d/scene3d.h"
#include "scene3d/scene3d_state.h"
#include "shell/pcinstall.h"
#include "tournament/dbplayer.h"

namespace {

Q3DDevice* OpenDevice(const char* dll, QDLContext* ctx, std::string* why) {
  return bench_SceneDeviceOpen(dll, ctx, "korvena-bench-players3d", anim_TableInit, why);
}

void Close(Q3DDevice* d) { bench_SceneDeviceClose(d); }

// A kick-off line-up: keeper, four, four, two a side, every third running.
struct LineUp {
  Player aoPlayers[23];
  DBPlayer aoDb[22];
  LineUp() {
    static const float kSpots[11][2] = {{-30, 0},  {-22, -16}, {-24, -6}, {-24, 6},  {-22, 16}, {-13, -18},
                                        {-14, -6}, {-14, 6},   {-13, 18}, {-3, -10}, {-1, 4}};
    std::memset(aoPlayers, 0, sizeof aoPlayers);
    std::memset(aoDb, 0, sizeof aoDb);
    for (int i = 0; i < 22; ++i) {
      const bool home = i < 11;
      const int k = i % 11;
      Player& p = aoPlayers[i];
      p.MyTeam = home ? player_PlaysFor_Home : 0;
      p.PositionCode = k;
      aoDb[i].uField88 = static_cast<uint32_t>(k + 1);
      aoDb[i].uAppearance = static_cast<uint16_t>(((i % 8) << 3) | 0x100 | 0x800);
      p.pDBPlayer = &aoDb[i];
      p.x = static_cast<int32_t>((home ? kSpots[k][0] : -kSpots[k][0]) / SCENE3D_METRES_PER_UNIT);
      p.y = static_cast<int32_t>((home ? kSpots[k][1] : -kSpots[k][1]) / SCENE3D_METRES_PER_UNIT);
    }
    aoPlayers[22].x = static_cast<int32_t>(-6.0 / SCENE3D_METRES_PER_UNIT);
    aoPlayers[22].y = static_cast<int32_t>(-12.0 / SCENE3D_METRES_PER_UNIT);
  }
  void Entry(PacketPlayer* e, int i, uint16_t facing, uint32_t anim, uint32_t frame) {
    std::memset(e, 0, sizeof *e);
    e->uAngles = facing;
    e->iX = aoPlayers[i].x;
    e->iY = aoPlayers[i].y;
    e->pAnimation = anim_RecordGet(anim)->pfPose;
    e->poPlayer = &aoPlayers[i];
    e->uFramePosition = frame * 64;
    e->uMirror = static_cast<uint32_t>(i % 2);
  }
  void Fill(FramePacket* p) {
    for (int i = 0; i < 22; ++i) {
      const bool run = i % 3 == 1;
      Entry(i < 11 ? &p->aoHome[i] : &p->aoAway[i - 11], i, static_cast<uint16_t>((i < 11 ? 0 : 32768) + i * 1500 % 9000),
            run ? ANIM_RUN : ANIM_STAND, run ? static_cast<uint32_t>(i % 8) : 0);
    }
    p->aiSnapshotCounts[PCFRAME_COUNT_HOME] = 11;
    p->aiSnapshotCounts[PCFRAME_COUNT_AWAY] = 11;
    Entry(&p->oReferee, 22, 16384, ANIM_STAND, 0);
    p->aiSnapshotCounts[PCFRAME_COUNT_REFEREE] = 1;
  }
};

void Camera(FramePacket* p) { bench_MainStandCameraSet(p); }

// Args: z-buffered device, night, people drawn.
void BM_KickOffFrame(benchmark::State& state) {
  const char* dll = bench_RendererName(state);
  QDLContext ctx;
  Q3DDevice* d = bench_RendererOrSkip(state, &ctx, OpenDevice);
  if (d == nullptr) return;
  static LineUp lineUp;
  scene3d_eColourMode = SCENE3D_COLOUR;
  kits_Choose("BRA", 9, "ITA", 9);
  environ_oEnvironment.iPitchType = 1;
  environ_oEnvironment.iLook = 17;
  environ_oEnvironment.bNight = static_cast<int32_t>(state.range(1));
  loading_bRunStep(0);
  while (!loading_bRunStep(1)) {
  }
  const bool people = state.range(2) != 0;
  auto fill = [&] {
    pcframe_Begin();
    Camera(pcframe_poCurrent);
    if (people) lineUp.Fill(pcframe_poCurrent);
  };
  fill();
  scene3d_DrawFrame();  // the first frame only sets the background
  for (auto _ : state) {
    fill();
    benchmark::DoNotOptimize(scene3d_DrawFrame());
  }
  int32_t placed = 0;
  for (int32_t c : scene3d_aiDetailCount) placed += c;
  state.counters["people"] = placed;
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.SetLabel(std::string(dll) + (state.range(1) ? " night" : " day") + (people ? " with people" : " without"));
  Close(d);
}
BENCHMARK(BM_KickOffFrame)
    ->ArgNames({"zbuffer", "night", "people"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

