// A throw-in is always taken: a monkey's match (the carry soak's set-up) had
// a throw whose clip was cut off before the ball left the thrower's hands;
// he stood holding it, the release still waiting, and the match stood in the
// throw-in until the tick cap. Now the throw is started again, every
// throw-in ends within a short while and the match finishes. In seed 433's
// match the monkey's player switch hands him the thrower during a throw-in;
// his throw is left alone and the ball leaves the thrower's hands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/player.h"
#include "engine/setp.h"
#include "shell/global.h"
#include "support/match_harness.h"
#include "support/match_soak.h"
#include "support/match_watch.h"

namespace mh = match_harness;

namespace {

struct ThrowInWatch {
  std::int32_t iStart = -1;   // the tick the throw-in going on began
  std::int32_t cThrowIns = 0;
  std::int32_t iLongest = 0;  // ticks, the longest throw-in
  static void Observe(std::int32_t iTick, void* pv) {
    ThrowInWatch& o = *static_cast<ThrowInWatch*>(pv);
    if (global.eGameMode == GAME_MODE_THROW_IN) {
      if (o.iStart < 0) {
        o.iStart = iTick;
        o.cThrowIns++;
      }
      o.iLongest = std::max(o.iLongest, iTick - o.iStart);
    } else {
      o.iStart = -1;
    }
  }
};

TEST(ThrowInStand, AThrowCutOffBeforeTheReleaseIsThrownAgainAndTheMatchEnds) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mh::Config c = mh::CarryConfig(234, mh::SideKind::Monkey);
  c.cTickCap = 60000;
  ThrowInWatch o;
  mh::MatchWatch w(c);
  const mh::Result r = mh::RunWatched(c, &w, ThrowInWatch::Observe, &o);
  std::printf("%s\n  throw-ins %d, the longest %d ticks\n", r.Describe(c).c_str(), o.cThrowIns, o.iLongest);
  EXPECT_FALSE(r.bAsserted) << r.Describe(c);
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
  EXPECT_EQ(w.Faults(r), "") << r.Describe(c);
  ASSERT_GE(o.cThrowIns, 4);
  // Walking to the line, the aim and the flight: no throw-in stands.
  EXPECT_LE(o.iLongest, 1500);
}

// The same cut made on purpose: at a computer match's first throw-in, once
// the thrower has started his throw (the throw-in's state 11) and still holds
// the ball with its release waiting, his throw clip is replaced by the
// throw-in stance, as another part of the game setting his animation would.
// He starts the throw again, the ball leaves his hands and the throw-in ends.
struct CutThrow {
  Player* poThrower = nullptr;
  std::int32_t iCut = -1;        // the tick his clip was cut off
  std::int32_t iRestarted = -1;  // he was seen throwing again, the ball in his hands
  std::int32_t iThrown = -1;     // the ball left his hands
  std::int32_t iEnded = -1;      // the throw-in ended
  static bool Throwing(const Player* pp) {
    return pp->oAnimData.eActionAnim == 147 || pp->oAnimData.eActionAnim == 148;
  }
  static void Observe(std::int32_t iTick, void* pv) {
    CutThrow& o = *static_cast<CutThrow*>(pv);
    if (o.iCut < 0) {
      Player* pp = global.eGameMode == GAME_MODE_THROW_IN ? setp_poGetKickTaker() : nullptr;
      if (pp && pp->oSetPiece.iEnterState == 11 && pp->oSetPiece.iPosState == SETP_POS_KICKING &&
          pp->oAnimData.pfnContact && ball_oBall.poOwner == pp && Throwing(pp)) {
        anim_RequestSet(&pp->oAnimInfo, 152);
        anim_ActionAnimSet(&pp->oAnimData, 152);
        o.poThrower = pp;
        o.iCut = iTick;
      }
      return;
    }
    if (o.iEnded >= 0) return;
    if (o.iRestarted < 0 && ball_oBall.poOwner == o.poThrower && Throwing(o.poThrower)) o.iRestarted = iTick;
    if (o.iThrown < 0 && o.iRestarted >= 0 && ball_oBall.poOwner != o.poThrower) o.iThrown = iTick;
    if (global.eGameMode != GAME_MODE_THROW_IN) o.iEnded = iTick;
  }
};

TEST(ThrowInStand, AThrowWhoseClipIsReplacedBeforeTheReleaseIsStartedAgainAndThrown) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mh::Config c;
  c.uSeed = 3;
  c.cTickCap = 40000;
  CutThrow o;
  const mh::Result r = mh::Run(c, nullptr, CutThrow::Observe, &o);
  ASSERT_GE(o.iCut, 0) << "no throw-in reached its throw: " << r.Describe(c);
  EXPECT_GT(o.iRestarted, o.iCut) << "the throw was not started again";
  EXPECT_GT(o.iThrown, o.iRestarted) << "the ball never left his hands";
  EXPECT_GT(o.iEnded, o.iCut) << "the throw-in stood: " << r.Describe(c);
  EXPECT_LE(o.iEnded - o.iCut, 300);
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
}

// A person's player switch at a throw-in can pick the thrower himself: in
// seed 433's match the monkey's switch at tick 14381 hands him his own side's
// thrower, who holds the ball and is still choosing his throw. The person who
// has him does not steer him: his throw is never cut off while he holds the
// ball, and it leaves his hands at once.
struct PersonsThrower {
  std::int32_t iStart = -1;   // the tick the throw-in going on began
  std::int32_t iTaken = -1;   // the first tick a person had the thrower
  std::int32_t iLasted = -1;  // ticks, the throw-in in which he had him
  std::int32_t cCut = 0;      // ticks the thrower's throw was seen cut off
  static void Observe(std::int32_t iTick, void* pv) {
    PersonsThrower& o = *static_cast<PersonsThrower*>(pv);
    if (global.eGameMode != GAME_MODE_THROW_IN) {
      if (o.iStart >= 0 && o.iTaken >= o.iStart && o.iLasted < 0) o.iLasted = iTick - o.iStart;
      o.iStart = -1;
      return;
    }
    if (o.iStart < 0) o.iStart = iTick;
    const Player* pp = setp_poGetKickTaker();
    if (pp == nullptr) return;
    if (pp->Control == PLAYER_CONTROL_USER && o.iTaken < 0) o.iTaken = iTick;
    if (pp->oSetPiece.iPosState == SETP_POS_KICKING && pp->oAnimData.pfnContact && ball_oBall.poOwner == pp &&
        !CutThrow::Throwing(pp))
      o.cCut++;
  }
};

TEST(ThrowInStand, APersonsSwitchToTheThrowerLeavesHisThrowAlone) {
  std::string why;
  ASSERT_TRUE(mh::Setup(&why)) << why;
  mh::Config c = mh::CarryConfig(433, mh::SideKind::Monkey);
  c.cTickCap = 60000;
  PersonsThrower o;
  const mh::Result r = mh::Run(c, nullptr, PersonsThrower::Observe, &o);
  EXPECT_TRUE(r.bFinished) << r.Describe(c);
  ASSERT_EQ(o.iTaken, 14381) << "the person never had the thrower: " << r.Describe(c);
  EXPECT_EQ(o.cCut, 0);
  // The throw-in began at tick 14191 and ends 55 ticks after the switch;
  // steered, his throw was cut off on 136 ticks and the throw-in ran on
  // some 270 ticks longer.
  EXPECT_EQ(o.iLasted, 245);
}

}  // namespace
