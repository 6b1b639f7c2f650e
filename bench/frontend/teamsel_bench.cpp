// Team selection and the team sheet: the screen's entry (its six table sorts
// by folded names) and one frame of two sheets side by side (list fill and
// drawing into the frame packet), in microseconds.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/player.h"
#include "frontend/mtatics.h"
#include "frontend/mteam.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "scene3d/pcframe.h"
#include "shell/global.h"
#include "shell/input.h"
#include "shell/user.h"
#include "support/match_harness.h"

namespace {

namespace mh = match_harness;

bool Ready(benchmark::State& state) {
  std::string why;
  if (mh::Setup(&why)) return true;
  state.SkipWithError(why.c_str());
  return false;
}

void BM_TeamSelectionEnter(benchmark::State& state) {
  if (!Ready(state)) return;
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  for (auto _ : state) mteam_Enter();
}
BENCHMARK(BM_TeamSelectionEnter)->Unit(benchmark::kMicrosecond);

void BM_TeamSheetTwoSheetFrame(benchmark::State& state) {
  if (!Ready(state)) return;
  match_SquadBuffersPoint();
  if (!matchflow_SideLoad(player_PlaysFor_Home, 144, 10) || !matchflow_SideLoad(player_PlaysFor_Away, 72, 2)) {
    state.SkipWithError("no squads");
    return;
  }
  for (int i = 0; i < 2; i++) {
    user_aUsers[i].pip = input_poGetPort(i);
    user_aUsers[i].bActive = 1;
    user_aUsers[i].MyTeam = i + 1;
  }
  global_SetHomeUser(&user_aUsers[0]);
  global_SetAwayUser(&user_aUsers[1]);
  global_SetExtendedGameMode(GAME_MODE_START_FRIENDLY);
  mtatdisp_Enter();
  for (auto _ : state) {
    pcframe_Begin();
    mtatdisp_Draw();
  }
}
BENCHMARK(BM_TeamSheetTwoSheetFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
