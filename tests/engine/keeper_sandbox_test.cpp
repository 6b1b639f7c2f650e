// The keepers in open play between two real squads: they go down to save,
// catch and parry, get up and take up their positions again, and never
// wander far from their goal lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine_env.h"
#include "sandbox.h"

namespace {

constexpr std::int32_t kTicks = 12 * SANDBOX_TICKS_PER_MINUTE;

struct KeeperCounts {
  std::int32_t saves = 0;     // save moves started
  std::int32_t catches = 0;
  std::int32_t ends = 0;      // saves played out without a catch
  std::int32_t backs = 0;     // back to his decisions after a save
  std::int32_t farthest = 0;  // farthest off his goal line
};

// One seed's open play: the keepers' counts added to k.
void Play(std::uint32_t uSeed, SandboxStats* pStats, KeeperCounts* pk) {
  SandboxStart(uSeed);
  SandboxStats stats;
  KeeperCounts k[2];
  std::int32_t ePrev[2] = {GOALIE_STATE_DECIDE, GOALIE_STATE_DECIDE};
  bool bInSave[2] = {false, false};
  for (std::int32_t t = 0; t < kTicks; t++) {
    SandboxTick(&stats);
    for (int i = 0; i < 2; i++) {
      const Player* pk = EnginePlayer(i == 0 ? 0 : PLAYER_TEAM_SIZE);
      const GoalieObject* g = pk->pGoalie;
      ASSERT_NE(g, nullptr);
      const std::int32_t e = g->eState;
      if (e != ePrev[i]) {
        if (e == GOALIE_STATE_SAVE_MOVE) {
          k[i].saves++;
          bInSave[i] = true;
        }
        if (e == GOALIE_STATE_CATCH) k[i].catches++;
        if (e == GOALIE_STATE_SAVE_END) k[i].ends++;
        if (e == GOALIE_STATE_DECIDE && bInSave[i]) {
          k[i].backs++;
          bInSave[i] = false;
        }
        ePrev[i] = e;
      }
      const std::int32_t line = g->iSide == 2 ? 9360 : -9360;
      const std::int32_t off = std::abs(line - pk->x);
      if (off > k[i].farthest) k[i].farthest = off;
    }
  }
  std::printf("seed %u: shots %d, goals %d-%d; keepers' saves %d / %d, catches %d / %d, other ends %d / %d, "
              "back %d / %d, farthest off the line %d / %d\n",
              uSeed, stats.shots, stats.goals[0], stats.goals[1], k[0].saves, k[1].saves, k[0].catches,
              k[1].catches, k[0].ends, k[1].ends, k[0].backs, k[1].backs, k[0].farthest, k[1].farthest);
  // Near their goals whether or not anybody shoots.
  for (int i = 0; i < 2; i++) EXPECT_LT(k[i].farthest, 2500) << "seed " << uSeed << ", keeper " << i;
  pStats->shots += stats.shots;
  for (int i = 0; i < 2; i++) {
    pk->saves += k[i].saves;
    pk->catches += k[i].catches;
    pk->backs += k[i].backs;
  }
}

// The first six seeds in a row: not every seed's sides shoot, nor does
// every keeper catch, but over the run the keepers have saves to make and
// catch some (24 shots, 26 saves and 3 catches with the present data).
TEST(KeeperSandbox, KeepersSaveRecoverAndStayNearTheirGoals) {
  SandboxStats stats;
  KeeperCounts k;
  for (std::uint32_t uSeed = 1; uSeed <= 6; uSeed++) Play(uSeed, &stats, &k);
  ASSERT_GT(stats.shots, 0);
  EXPECT_GT(k.saves, 0);
  EXPECT_GT(k.catches, 0);
  EXPECT_GT(k.backs, 0);
}

}  // namespace
