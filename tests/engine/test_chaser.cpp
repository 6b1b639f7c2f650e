// Ball chasers and reaction delays.
#include <gtest/gtest.h>

#include <random>

#include "e2_fixture.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/newballA.h"
#include "engine/player.h"

namespace {

using Chasers = EngineSides;

bool OnSide(const Player* pp, int iSide) { return pp == nullptr || pp->MyTeam == iSide; }

TEST_F(Chasers, OnePerSideWhileTheBallIsLoose) {
  std::mt19937 oRng(31);
  auto R = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(oRng); };
  int cWithChaser = 0;
  for (int i = 0; i < 120; i++) {
    SetUp();
    Player* poKicker = ById(R(1, 10) + (R(0, 1) ? 11 : 0));
    ball_PlaceAt(&ball_oBall, PlayerO_XGet(poKicker), 0, PlayerO_YGet(poKicker));
    newballA_OwnerSet(poKicker, 1);
    int tx = R(-6000, 6000), ty = R(-4000, 4000);
    switch (i % 4) {
      case 0: ball_GroundPassLaunch(tx, ty); break;
      case 1: ball_LoftLaunch(tx, ty, R(15, 45), 100); break;
      case 2: ball_HeaderLaunch(tx, ty); break;
      case 3: ball_LobLaunch(tx, ty, 40, -100); break;
    }
    Player* poHome = chaser_poGet(player_PlaysFor_Home);
    Player* poAway = chaser_poGet(player_PlaysFor_Away);
    EXPECT_TRUE(OnSide(poHome, player_PlaysFor_Home));
    EXPECT_TRUE(OnSide(poAway, player_PlaysFor_Away));
    for (Player* pp : {poHome, poAway}) {
      if (pp == nullptr) continue;
      cWithChaser++;
      ASSERT_GE(pp->iInterceptEntry, 0);
      ASSERT_LT(pp->iInterceptEntry, ball_PathLengthGet());
      EXPECT_EQ(chaser_PlayerGet(pp), pp);
      // His interception point is a point of the path, or the pass's target.
      const BallPathEntry* pe = ball_PathEntryPtrGet(pp->iInterceptEntry);
      bool bOnPath = pe->iX == pp->iInterceptX && pe->iY == pp->iInterceptY;
      EXPECT_TRUE(bOnPath || ball_oBall.poTargetPlayer == pp);
      EXPECT_FALSE(player_IsGoalkeeper(pp));
    }
    // Somebody takes the ball: no chasers, and the chase action takes nobody.
    newballA_OwnerSet(Home(4), 1);
    EXPECT_EQ(chaser_poGet(player_PlaysFor_Home), nullptr);
    EXPECT_EQ(chaser_poGet(player_PlaysFor_Away), nullptr);
    Player* apoList[2] = {Home(4), Away(4)};
    EXPECT_EQ(chaser_ChaseTake(apoList, 2), nullptr);
  }
  EXPECT_GT(cWithChaser, 120);
}

TEST_F(Chasers, PassReceiverAndDefender) {
  Player* poPasser = Home(5);
  Player* poReceiver = Home(6);
  ball_PlaceAt(&ball_oBall, PlayerO_XGet(poPasser), 0, PlayerO_YGet(poPasser));
  newballA_OwnerSet(poPasser, 1);
  // A receiver already touching the ball: no chaser at all.
  newballA_TargetPlayerSet(&ball_oBall, poReceiver);
  newballA_TargetSet(&ball_oBall, PlayerO_XGet(poReceiver), PlayerO_YGet(poReceiver));
  ball_GroundPassLaunch(PlayerO_XGet(poReceiver), PlayerO_YGet(poReceiver));
  // The launch freed the ball, which clears the target player and sends
  // everybody back to deciding; set both again.
  poReceiver->oTouch.iState = 4;
  chaser_Clear();
  newballA_TargetPlayerSet(&ball_oBall, poReceiver);
  chaser_Choose();
  EXPECT_EQ(chaser_poGet(player_PlaysFor_Home), nullptr);
  EXPECT_EQ(chaser_poGet(player_PlaysFor_Away), nullptr);
  // A receiver free to take it: he chases, a defender goes for a nearby entry.
  poReceiver->oTouch.iState = 1;
  chaser_Choose();
  EXPECT_EQ(chaser_poGet(player_PlaysFor_Home), poReceiver);
  Player* poDefender = chaser_poGet(player_PlaysFor_Away);
  ASSERT_NE(poDefender, nullptr);
  EXPECT_GE(poDefender->iInterceptEntry, 0);
  EXPECT_LE(poDefender->iInterceptEntry, BALL_PATH_MAX - 1);
  EXPECT_EQ(poReceiver->iInterceptX, ball_oBall.iTargetPointX);
}

TEST_F(Chasers, ChaseActionWalksOutTheDelayAndExpires) {
  Player* pp = Home(8);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  newballA_OwnerSet(Away(3), 1);
  ball_LoftLaunch(2000, 500, 30, 100);
  chaser_Clear();
  chaser_PlayerSet(pp);
  pp->iInterceptEntry = 60;
  pp->iInterceptX = PlayerO_XGet(pp) + 3000;
  pp->iInterceptY = PlayerO_YGet(pp);
  pp->iReactionDelay = 2;
  Player* apoList[1] = {pp};
  for (int k = 0; k < 4; k++) {
    ASSERT_EQ(chaser_ChaseTake(apoList, 1), pp);
    EXPECT_EQ(pp->oAIInfo.eAction, 2);
    // Walking while the delay lasts (it is read before counting down).
    EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), k < 2 ? ANIM_WALK : ANIM_RUN) << k;
  }
  EXPECT_EQ(pp->iReactionDelay, 0);
  // Within 144 of the point he stands.
  pp->iInterceptX = PlayerO_XGet(pp) + 100;
  chaser_ChaseTake(apoList, 1);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), ANIM_STAND);
  // An entry 30 ticks stale: the chasers are chosen again and he is not taken.
  ball_iPathIndex = 90;
  EXPECT_EQ(chaser_ChaseTake(apoList, 1), nullptr);
  // Not his side's chaser: nobody taken.
  chaser_Clear();
  chaser_PlayerSet(Home(9));
  ball_iPathIndex = 0;
  EXPECT_EQ(chaser_ChaseTake(apoList, 1), nullptr);
}

TEST_F(Chasers, ReactionDelays) {
  for (int k = 0; k < 20; k++) {
    chaser_ReactionDelaysSet();
    for (int i = 0; i < PLAYER_MAX; i++) {
      Player* pp = ById(i);
      int v = 150 - PlayerO_Attr60Get(pp) * 147 / 100;
      EXPECT_LE(pp->iReactionDelay, v);
      EXPECT_GE(pp->iReactionDelay, v - v / 2);
    }
  }
  chaser_ReactionDelaysShortSet();
  for (int i = 0; i < PLAYER_MAX; i++) {
    Player* pp = ById(i);
    EXPECT_EQ(pp->iReactionDelay, 30 - PlayerO_Attr60Get(pp) * 30 / 100);
  }
}

}  // namespace
