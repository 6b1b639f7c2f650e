// The ball's path prediction, the chaser choice and one flight step.
#include <benchmark/benchmark.h>

#include <cstring>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/player.h"
#include "engine/team.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

namespace {

DBPlayer s_aoDb[PLAYER_MAX];

// Two sides spread over the pitch and a ball lofted across it.
void SetUpPitch() {
  static bool s_bDone;
  if (!s_bDone) {
    for (std::uint32_t id = 0; id < ANIM_MAX; id++) {
      AnimRecord& r = anim_aTable[id];
      r = AnimRecord{};
      r.id = id;
      r.end = 10;
      r.followFrame = 255;
      r.contact = -1;
      r.followId = ANIM_NONE;
    }
    s_bDone = true;
  }
  global_SetGameMode(GAME_MODE_PLAY);
  match_HomeTeamGet()->poPlayers = &player_aHome[0];
  match_AwayTeamGet()->poPlayers = &player_aAway[0];
  for (int i = 0; i < PLAYER_MAX; i++) {
    Player* pp = i < PLAYER_TEAM_SIZE ? &player_aHome[i] : &player_aAway[i - PLAYER_TEAM_SIZE];
    *pp = Player{};
    std::memset(&s_aoDb[i], 0, sizeof(DBPlayer));
    s_aoDb[i].uAwareness = 60;
    pp->ID = static_cast<std::uint8_t>(i);
    pp->MyTeam = i < PLAYER_TEAM_SIZE ? player_PlaysFor_Home : player_PlaysFor_Away;
    pp->Control = PLAYER_CONTROL_COMPUTER;
    pp->pDBPlayer = &s_aoDb[i];
    int k = i % PLAYER_TEAM_SIZE;
    pp->pNext = k + 1 < PLAYER_TEAM_SIZE ? pp + 1 : nullptr;
    pp->oTouch.iState = 1;
    pp->x = static_cast<std::int16_t>((i < PLAYER_TEAM_SIZE ? -1 : 1) * (500 + 800 * k));
    pp->y = static_cast<std::int16_t>(-4000 + 750 * k);
  }
  match_HomeClubStateSet(0);
  match_AwayClubStateSet(1);
  ball_Init(&ball_oBall);
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, -2000, 0, -1000);
  ball_LoftLaunch(3000, 1500, 30, 200);
}

void BM_PredictPath(benchmark::State& state) {
  SetUpPitch();
  for (auto _ : state) {
    ball_iStepCounter = 0;
    ball_PredictPath(&ball_oBall);
    benchmark::DoNotOptimize(ball_aPath[BALL_PATH_MAX - 1]);
  }
}
BENCHMARK(BM_PredictPath);

void BM_ChaserChoose(benchmark::State& state) {
  SetUpPitch();
  for (auto _ : state) {
    chaser_Clear();
    chaser_Choose();
    benchmark::DoNotOptimize(chaser_poGet(1));
  }
}
BENCHMARK(BM_ChaserChoose);

void BM_FlightStep(benchmark::State& state) {
  SetUpPitch();
  Ball oStart = ball_oBall;
  Ball oCopy = oStart;
  int i = 0;
  for (auto _ : state) {
    if (++i == 200) {
      oCopy = oStart;
      i = 0;
    }
    benchmark::DoNotOptimize(ball_FlightStep(&oCopy, 0));
  }
}
BENCHMARK(BM_FlightStep);

}  // namespace
