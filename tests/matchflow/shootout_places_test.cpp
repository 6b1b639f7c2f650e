// Both keepers are put at their places for every kick of a penalty
// shoot-out: the one facing the kick on his line, the other at the centre
// spot. Each stands there on the ground, whatever height his last save left
// him at: the ticks before each kick's set-up leave both in the air, as a
// dive would.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/player.h"
#include "matchflow/matcha.h"
#include "matchflow/matchflow.h"
#include "shell/global.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

constexpr std::int16_t kInTheAir = 150;

struct Watch {
  bool bInPeriodEnd = false;
  bool bShootOut = false;
  std::int32_t bPending = 0;  // the last tick's mpenso_oState.bKickPending
  std::int32_t cSetUps = 0;   // kicks set up after ticks that left the keepers in the air
  bool bUpset = false;        // the last tick left them so
  std::vector<std::string> asFaults;
};

void Observe(std::int32_t iTick, void* pv) {
  Watch& w = *static_cast<Watch*>(pv);
  const std::int32_t e = global.eGameMode;
  // Every period before the shoot-out ends level: extra time, then the
  // shoot-out (whose kicks end in the period-end mode too).
  w.bShootOut = w.bShootOut || e == GAME_MODE_SHOOTOUT;
  const bool bInPeriodEnd = e == GAME_MODE_PERIOD_END;
  if (bInPeriodEnd && !w.bInPeriodEnd && !w.bShootOut) match.AwayGoals = match.HomeGoals;
  w.bInPeriodEnd = bInPeriodEnd;
  const MPensoState& m = mpenso_oState;
  // A kick set up on this tick.
  if (e == GAME_MODE_SHOOTOUT && m.bKickPending && !w.bPending && w.bUpset) {
    w.cSetUps++;
    for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
      if (player_IsGoalkeeper(pp) && pp->height != 0)
        w.asFaults.push_back("tick " + std::to_string(iTick) + ", kick " + std::to_string(m.cTotal + 1) +
                             ": keeper " + std::to_string(pp->ID) + " at (" + std::to_string(pp->x) + ", " +
                             std::to_string(pp->y) + ") at height " + std::to_string(pp->height));
  }
  w.bPending = m.bKickPending;
  // Between kicks (the kick's celebration, replay and end included) and at
  // the period's end before the first, both keepers are left in the air.
  const bool bBetween = e == GAME_MODE_SHOOTOUT || e == GAME_MODE_GOAL_CELEBRATION || e == GAME_MODE_REPLAY;
  w.bUpset = !m.bKickPending && (bInPeriodEnd || (w.bShootOut && bBetween));
  if (w.bUpset)
    for (Player* pp = match_HomeFirstPlayerGet(); pp; pp = match_NextPlayerGet(pp))
      if (player_IsGoalkeeper(pp)) pp->height = kInTheAir;
}

TEST(ShootOutPlaces, BothKeepersStandOnTheGroundAtEveryKick) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  // Any seed: the shoot-out and the keepers in the air are brought about.
  mh::Config c;
  c.uSeed = 1;
  c.iLength = 1;
  c.iExtraTime = 1;
  c.bPenalties = 1;
  Watch w;
  const mh::Result r = mh::Run(c, nullptr, Observe, &w);
  ASSERT_TRUE(r.bFinished) << r.Describe(c);
  // Five kicks a side at least, each set up after the keepers were left in
  // the air.
  EXPECT_GE(w.cSetUps, 10);
  for (const std::string& s : w.asFaults) ADD_FAILURE() << s;
}

}  // namespace
