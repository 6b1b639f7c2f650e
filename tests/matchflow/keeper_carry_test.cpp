// A person's keeper who holds the ball in his hands in open play, having
// caught it while the ball stayed free (at a free kick), and walks with it
// over his own goal line: the referee sees the ball out as he carries it
// over, between the posts a goal to the other side, outside them a corner.
// Nothing waits for the person to kick it away first. The same for a back
// pass his keeper takes at his feet in ordinary open play.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/ball.h"
#include "engine/newballA.h"
#include "engine/newgoal.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "framework/qdx_input.h"
#include "matchflow/matcha.h"
#include "platform/input_headless.h"
#include "shell/global.h"
#include "shell/user.h"
#include "shell/usrmark.h"
#include "support/match_harness.h"

namespace mh = match_harness;

namespace {

constexpr std::uint8_t kKeyLeft = 0xCB, kKeyRight = 0xCD, kKeyUp = 0xC8;
constexpr std::uint8_t kKeyPass = 0x24;  // J: Pass on the first keyboard layout

struct CarryingKeeper {
  bool bWide = false;           // walk out beyond a post first
  std::int32_t iPhase = 0;      // 0 waiting for open play, 1 walking, 2 over the line
  std::int32_t iOverTick = -1;  // the first tick the ball lay over the goal line
  std::int32_t iDecisionTick = -1;
  std::int32_t iDecision = -1;
  std::int32_t aiGoalsAtDecision[2] = {-1, -1};
  std::int32_t aiGoals[2] = {0, 0};
  std::uint8_t cKeyHeld = 0;

  void Key(std::uint8_t c, bool bDown) {
    platform::headlessKey(c, bDown);
    QKeyboardPoll();
  }
  void Hold(std::uint8_t c) {
    if (cKeyHeld == c) return;
    if (cKeyHeld) Key(cKeyHeld, false);
    if (c) Key(c, true);
    cKeyHeld = c;
  }

  void Tick(std::int32_t iTick) {
    Player* k = &player_aHome[0];
    aiGoals[0] = match.HomeGoals;
    aiGoals[1] = match.AwayGoals;
    if (iPhase == 0) {
      if (global.eGameMode != GAME_MODE_PLAY || iTick < 600) return;
      // He takes the ball as at a free kick, where the take leaves it free.
      ball_PlaceAt(&ball_oBall, k->x, 0, k->y);
      global.eGameMode = GAME_MODE_FREE_KICK;
      newballA_OwnerSet(k, 1);
      global.eGameMode = GAME_MODE_PLAY;
      user_PlayerSet(&user_aUsers[0], k);
      iPhase = 1;
    }
    const std::int32_t bx = ball_CurXGet(), by = ball_CurYGet();
    if (iPhase == 1) {
      // Toward his own goal line (the keys move him along x as the pitch
      // lies), beyond a post first when asked.
      if (bWide && std::abs(k->y) < 1000) {
        Hold(kKeyUp);
      } else {
        Hold(k->x < 0 ? kKeyLeft : kKeyRight);
      }
      if (std::abs(bx) >= 9385) {
        iPhase = 2;
        iOverTick = iTick;
      }
    }
    if (iPhase == 2) {
      // The person lets go and, a second later, presses Pass.
      Hold(0);
      if (iTick - iOverTick > 30) Key(kKeyPass, (iTick - iOverTick) % 20 < 3);
    }
    if (iDecisionTick < 0 && iPhase >= 1 && referee_DecisionGet() != 0) {
      iDecisionTick = iTick;
      iDecision = referee_DecisionGet();
      aiGoalsAtDecision[0] = match.HomeGoals;
      aiGoalsAtDecision[1] = match.AwayGoals;
    }
    (void)by;
  }
  static void Observe(std::int32_t iTick, void* pv) { static_cast<CarryingKeeper*>(pv)->Tick(iTick); }
};

// A back pass reaches a person's keeper in ordinary open play: he has it at
// his feet (the held ball of open play, his own machine deciding, not
// saving), and the person has him; the person then walks his keeper with it
// over his own goal line, beyond a post first when asked.
struct BackPass {
  CarryingKeeper oKeys;  // the keys, and what the referee decided
  bool bWide = false;
  std::int32_t iPhase = 0;  // 0 waiting for open play, 2 walking, 3 over the line
  std::int32_t iReceivedTick = -1;
  std::int32_t iGoalieStateAtFeet = -1;  // the keeper's machine as he walks with it
  std::int32_t iBallStateAtFeet = -1;
  bool bUserHadKeeper = false;

  void Tick(std::int32_t iTick) {
    Player* k = &player_aHome[0];
    oKeys.aiGoals[0] = match.HomeGoals;
    oKeys.aiGoals[1] = match.AwayGoals;
    if (iPhase == 0) {
      if (global.eGameMode != GAME_MODE_PLAY || iTick < 600) return;
      // The pass arrives at his feet, as any player takes one in open play.
      ball_PlaceAt(&ball_oBall, k->x + (k->x < 0 ? 48 : -48), 0, k->y);
      newballA_OwnerSet(k, 1);
      user_PlayerSet(&user_aUsers[0], k);
      iPhase = 2;
      iReceivedTick = iTick;
      bUserHadKeeper = user_aUsers[0].phl && user_aUsers[0].phl->pplyr == k;
    }
    const std::int32_t bx = ball_CurXGet();
    if (iPhase == 2) {
      if (bWide && std::abs(k->y) < 1000) {
        oKeys.Hold(kKeyUp);
      } else {
        oKeys.Hold(k->x < 0 ? kKeyLeft : kKeyRight);
      }
      if (ball_oBall.poOwner == k) {
        iGoalieStateAtFeet = newgoal_StateGet(k);
        iBallStateAtFeet = ball_oBall.iState;
      }
      if (std::abs(bx) >= 9385) {
        iPhase = 3;
        oKeys.iOverTick = iTick;
      }
    }
    if (iPhase == 3) oKeys.Hold(0);
    if (oKeys.iDecisionTick < 0 && iPhase >= 2 && referee_DecisionGet() != 0) {
      oKeys.iDecisionTick = iTick;
      oKeys.iDecision = referee_DecisionGet();
      oKeys.aiGoalsAtDecision[0] = match.HomeGoals;
      oKeys.aiGoalsAtDecision[1] = match.AwayGoals;
    }
  }
  static void Observe(std::int32_t iTick, void* pv) { static_cast<BackPass*>(pv)->Tick(iTick); }
};

class KeeperCarry : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(mh::Setup(&why)) << why;
  }
  static mh::Config Cfg() {
    mh::Config c;
    c.uSeed = 5;
    c.iLength = 5;
    c.aeSide[0] = mh::SideKind::User;
    c.cTickCap = 1400;
    return c;
  }
};

TEST_F(KeeperCarry, OverHisGoalLineBetweenThePostsIsAGoalForTheOtherSide) {
  CarryingKeeper k;
  mh::Run(Cfg(), nullptr, CarryingKeeper::Observe, &k);
  k.Hold(0);
  ASSERT_GE(k.iOverTick, 0) << "the keeper never reached his goal line";
  ASSERT_GE(k.iDecisionTick, 0) << "the referee saw nothing";
  EXPECT_LE(k.iDecisionTick, k.iOverTick + 1);
  EXPECT_EQ(k.iDecision, 6);
  EXPECT_EQ(k.aiGoalsAtDecision[0], 0);
  EXPECT_EQ(k.aiGoalsAtDecision[1], 1);
  EXPECT_EQ(k.aiGoals[0], 0);
  EXPECT_EQ(k.aiGoals[1], 1);
}

TEST_F(KeeperCarry, OverHisGoalLineOutsideThePostsIsACornerForTheOtherSide) {
  CarryingKeeper k;
  k.bWide = true;
  mh::Run(Cfg(), nullptr, CarryingKeeper::Observe, &k);
  k.Hold(0);
  ASSERT_GE(k.iOverTick, 0) << "the keeper never reached his goal line";
  ASSERT_GE(k.iDecisionTick, 0) << "the referee saw nothing";
  EXPECT_LE(k.iDecisionTick, k.iOverTick + 1);
  EXPECT_EQ(k.iDecision, 7);
  EXPECT_EQ(k.aiGoals[0], 0);
  EXPECT_EQ(k.aiGoals[1], 0);
}

}  // namespace

namespace {

// The back pass, taken and walked over the line: the ball at his feet is
// the ordinary held ball of open play (the state any player's ball has),
// his own machine has it not; the referee sees it out as he carries it over.
void BackPassCheck(const BackPass& b) {
  ASSERT_GE(b.iReceivedTick, 0) << "open play never came";
  EXPECT_TRUE(b.bUserHadKeeper);
  EXPECT_EQ(b.iBallStateAtFeet, BALL_STATE_HELD);
  EXPECT_EQ(b.iGoalieStateAtFeet, GOALIE_STATE_DECIDE);
  ASSERT_GE(b.oKeys.iOverTick, 0) << "the keeper never reached his goal line";
  ASSERT_GE(b.oKeys.iDecisionTick, 0) << "the referee saw nothing";
  EXPECT_LE(b.oKeys.iDecisionTick, b.oKeys.iOverTick + 1);
}

}  // namespace

TEST_F(KeeperCarry, ABackPassWalkedOverHisGoalLineBetweenThePostsIsAGoalForTheOtherSide) {
  BackPass b;
  mh::Run(Cfg(), nullptr, BackPass::Observe, &b);
  b.oKeys.Hold(0);
  BackPassCheck(b);
  EXPECT_EQ(b.oKeys.iDecision, 6);
  EXPECT_EQ(b.oKeys.aiGoalsAtDecision[0], 0);
  EXPECT_EQ(b.oKeys.aiGoalsAtDecision[1], 1);
}

TEST_F(KeeperCarry, ABackPassWalkedOverHisGoalLineOutsideThePostsIsACornerForTheOtherSide) {
  BackPass b;
  b.bWide = true;
  mh::Run(Cfg(), nullptr, BackPass::Observe, &b);
  b.oKeys.Hold(0);
  BackPassCheck(b);
  EXPECT_EQ(b.oKeys.iDecision, 7);
  EXPECT_EQ(b.oKeys.aiGoals[1], 0);
}
