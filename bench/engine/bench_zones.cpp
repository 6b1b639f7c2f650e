// The zone class lookup, the option search, the pass choice, and one tick's
// share of them: 22 class refreshes (the player's and the ball's point),
// seven option searches and one pass choice.
#include <benchmark/benchmark.h>

#include "engine/aiopt.h"
#include "engine/ball.h"
#include "engine/cover.h"
#include "engine/player.h"
#include "engine/shtpass.h"
#include "engine/zone.h"
#include "engine_env.h"

namespace {

void SetUp() {
  EngineMatchSetup();
  for (std::int32_t i = 0; i < PLAYER_MAX; i++) {
    Player* pp = EnginePlayer(i);
    pp->oAIInfo.bIsAttacking = i < PLAYER_TEAM_SIZE;
    pp->oAIInfo.poZoneBoxList = &zone_aBoxes[i < PLAYER_TEAM_SIZE ? pp->oRole.iAttackTree : pp->oRole.iDefendTree];
    pp->oAIInfo.abParams[0] = 4;
    pp->oAIInfo.abParams[1] = 10;
  }
  ball_PlaceAt(&ball_oBall, 500, 0, 300);
}

void Classes(Player* pp) {
  std::int32_t out[4];
  QMathPoint a{pp->x, pp->y}, b{ball_CurXGet(), ball_CurYGet()};
  benchmark::DoNotOptimize(zone_ClassesAtPoint(pp, &a, out));
  benchmark::DoNotOptimize(zone_ClassesAtPoint(pp, &b, out));
}

void Option(Player* pp) {
  AIInfo& ai = pp->oAIInfo;
  std::int32_t c = cover_ColumnOf(pp->x), r = cover_RowOf(pp->y);
  cover_Clear(pp->aiCover);
  player_OpponentGridBuild(pp);
  for (std::uint16_t& u : pp->auOccupancy) u = 0;
  zone_GridMark(pp, 4);
  ai.iWinMinCol = c > 7 ? c - 7 : 0;
  ai.iWinMaxCol = c + 7 < 155 ? c + 7 : 155;
  ai.iWinMinRow = r > 7 ? r - 7 : 0;
  ai.iWinMaxRow = r + 7 < 95 ? r + 7 : 95;
  ai.iLowerBound = -255;
  ai.iUpperBound = 255;
  ai.iWantedValue = 140;
  benchmark::DoNotOptimize(aiopt_Search(pp));
}

void BM_ClassesAtPoint(benchmark::State& state) {
  SetUp();
  Player* pp = EnginePlayer(5);
  std::int32_t out[4];
  QMathPoint pt{1234, -777};
  for (auto _ : state) benchmark::DoNotOptimize(zone_ClassesAtPoint(pp, &pt, out));
}
BENCHMARK(BM_ClassesAtPoint);

void BM_OptionSearch(benchmark::State& state) {
  SetUp();
  Player* pp = EnginePlayer(5);
  for (auto _ : state) Option(pp);
}
BENCHMARK(BM_OptionSearch);

void BM_PassChoose(benchmark::State& state) {
  SetUp();
  Player* pp = EnginePlayer(6);
  ReceiverRecord rec{};
  std::int32_t dir = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(shtpass_PassChoose(pp, &rec, dir));
    dir = (dir + 37) % 802;
  }
}
BENCHMARK(BM_PassChoose);

// A tick's share; the budget is a third of the 33 us a tick may cost at
// 1000x real time.
void BM_TickShare(benchmark::State& state) {
  SetUp();
  ReceiverRecord rec{};
  for (auto _ : state) {
    for (std::int32_t i = 0; i < 11; i++) Classes(EnginePlayer(i == 0 ? 1 : i));
    for (std::int32_t i = 11; i < 22; i++) Classes(EnginePlayer(i == 11 ? 12 : i));
    for (std::int32_t i = 1; i <= 7; i++) Option(EnginePlayer(i));
    benchmark::DoNotOptimize(shtpass_PassChoose(EnginePlayer(6), &rec, 100));
  }
}
BENCHMARK(BM_TickShare);

}  // namespace
