// A person's keeper at his keeper's ball in whole matches: a person who
// presses Pass only for his kick-offs leaves his keeper waiting with the
// ball. The ball stays in his hands on every tick he waits; when the person
// then throws it, the keeper's ball ends as soon as the ball has left him
// (the others long back in their places) and play goes on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/ball.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "support/match_soak.h"

namespace mh = match_harness;

namespace {

// How long the person leaves his keeper waiting: a minute.
constexpr std::int32_t kWaitTicks = 1800;
// The ball in his hands: the clips hold it within a stride of him.
constexpr std::int32_t kHandsReach = 100;

struct Waits {
  mh::Config* pc = nullptr;      // the match's person: his taps at the keeper's ball are held back
  std::int32_t cBalls = 0;        // the person's keeper's balls seen
  std::int32_t cWaitedOut = 0;    // ... waited out whole and then thrown
  std::int32_t cOutOfHands = 0;   // ticks of a wait with the ball not in his hands
  std::int32_t iFarthest = 0;     // the farthest the ball was from him while he waited
  std::int32_t iEndWorst = 0;     // the most ticks from the ball leaving him to the end of the keeper's ball
  // The keeper's ball going on.
  bool bIn = false;
  std::int32_t cWaited = 0, iThrown = -1, iLeft = -1;
};

std::int32_t Apart(const Player* pp) {
  const std::int32_t dx = ball_CurXGet() - pp->x, dy = ball_CurYGet() - pp->y;
  return static_cast<std::int32_t>(std::abs(dx) > std::abs(dy) ? std::abs(dx) : std::abs(dy));
}

void WaitTick(std::int32_t iTick, void* pv) {
  Waits& w = *static_cast<Waits*>(pv);
  Player* pk = setp_poGetKickTaker();
  if (global_eGetGameMode() != GAME_MODE_KEEPER_HANDS || pk == nullptr || pk->Control != PLAYER_CONTROL_USER) {
    if (w.bIn && w.iLeft >= 0) w.iEndWorst = std::max(w.iEndWorst, iTick - w.iLeft);
    w.bIn = false;
    return;
  }
  if (!w.bIn) {
    w = Waits{w.pc, w.cBalls + 1, w.cWaitedOut, w.cOutOfHands, w.iFarthest, w.iEndWorst, true, 0, -1, -1};
    // The person taps Pass no more until his keeper has waited the minute
    // out (a tap already made still lets go in it).
    for (mh::Command& o : w.pc->aoCommands[pk->MyTeam == player_PlaysFor_Home ? 0 : 1])
      if (o.iTick > iTick && o.iTick <= iTick + kWaitTicks + 1 && o.iMagnitude != 0) o.iTick = -1;
  }
  // Until the person plays it (a press carried over from the catch may be
  // played at once).
  const std::int32_t eState = pk->oSetPiece.iEnterState;
  const bool bWaiting = eState == 29 || eState == 30 || eState == 13;
  if (w.iThrown < 0 && bWaiting) {
    const std::int32_t d = Apart(pk);
    w.iFarthest = std::max(w.iFarthest, d);
    if (ball_OwnerGet() != pk || d > kHandsReach) w.cOutOfHands++;
    if (++w.cWaited == kWaitTicks) {
      // The person lets go of Chip, charged half-way: his keeper throws.
      setp_PowerSet(50);
      setp_CommandSet(SETP_CMD_READY);
      w.iThrown = iTick;
      w.cWaitedOut++;
    }
  } else if (w.iThrown >= 0 && w.iLeft < 0 && ball_OwnerGet() != pk) {
    w.iLeft = iTick;
  }
}

TEST(KeeperHandsMatch, APersonsKeeperWaitingAMinuteKeepsTheBallInHisHands) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  Waits w;
  // Pass-tappers (Pass every three seconds, the stick never moved; the even
  // seeds) whose keeper has catches to hold: the first ones from seed 2,
  // in a row, that bring six keeper's balls waited out (2 to 8 with the
  // present data).
  std::uint32_t uLast = 0;
  for (std::uint32_t uSeed = 2; uSeed <= 60 && w.cWaitedOut < 6; uSeed += 2) {
    mh::Config c = mh::PersonConfig(uSeed, false);
    w.pc = &c;
    const mh::Result r = mh::Run(c, nullptr, WaitTick, &w);
    EXPECT_TRUE(r.bFinished) << r.Describe(c);
    uLast = uSeed;
  }
  ASSERT_GE(w.cWaitedOut, 6) << w.cBalls << " keeper's balls in seeds 2 to " << uLast;
  EXPECT_EQ(w.cOutOfHands, 0) << "the ball as far as " << w.iFarthest << " from him";
  // The tick the ball leaves and the next, when open play takes over.
  EXPECT_LE(w.iEndWorst, 2) << w.cWaitedOut << " throws";
}

}  // namespace
