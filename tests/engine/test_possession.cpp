// Ball possession: owner changes as a property over random sequences, and
// the cases the rules single out.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "e2_fixture.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/newballA.h"
#include "engine/team.h"
#include "engine/player.h"
#include "shell/global.h"

namespace {

using Possession = EngineSides;

TEST_F(Possession, RandomOwnerChangesKeepTheRecordConsistent) {
  std::mt19937 oRng(2024);
  Ball* pb = &ball_oBall;
  int cFrees = 0, cSwitches = 0;
  for (int iStep = 0; iStep < 4000; iStep++) {
    int iPick = std::uniform_int_distribution<int>(-6, PLAYER_MAX - 1)(oRng);
    Player* pp = iPick < 0 ? nullptr : ById(iPick);
    int bForce = std::uniform_int_distribution<int>(0, 1)(oRng);
    Player* poOwner = pb->poOwner;
    Player* poPrev = pb->poPrevOwner;
    Player* poKicked = pb->pplyrWhoKicked;
    int iHome = match_HomeClubStateGet();
    int iAway = match_AwayClubStateGet();
    // Chasers exist only while the ball is loose.
    if (poOwner == nullptr) chaser_PlayerSet(Home(3));
    newballA_OwnerSet(pp, bForce);
    if (pp == nullptr && poOwner == nullptr) {
      EXPECT_EQ(pb->poPrevOwner, poPrev);
      EXPECT_EQ(pb->pplyrWhoKicked, poKicked);
      chaser_Clear();
      continue;
    }
    EXPECT_EQ(pb->poOwner, pp);
    if (pp != poOwner) {
      EXPECT_EQ(pb->poPrevOwner, poOwner) << "step " << iStep;
      EXPECT_EQ(chaser_poGet(1), nullptr);
    } else {
      EXPECT_EQ(pb->poPrevOwner, poPrev);
    }
    if (pp == nullptr) {
      cFrees++;
      ASSERT_NE(pb->pplyrWhoKicked, nullptr);
      EXPECT_EQ(pb->pplyrWhoKicked, poOwner);
      EXPECT_EQ(pb->iFramesWithoutOwner, 0);
    } else {
      EXPECT_EQ(pb->iState, BALL_STATE_HELD);
      EXPECT_EQ(pb->poTargetPlayer, nullptr);
    }
    if (pp != nullptr && bForce && pp != poOwner) {
      cSwitches++;
      int iWant = pp->MyTeam == player_PlaysFor_Home ? 0 : 1;
      EXPECT_EQ(match_HomeClubStateGet(), iWant);
      EXPECT_EQ(match_AwayClubStateGet(), 1 - iWant);
    } else {
      EXPECT_EQ(match_HomeClubStateGet(), iHome);
      EXPECT_EQ(match_AwayClubStateGet(), iAway);
    }
    chaser_Clear();
  }
  EXPECT_GT(cFrees, 300);
  EXPECT_GT(cSwitches, 300);
}

TEST_F(Possession, SingledOutCases) {
  Ball* pb = &ball_oBall;
  // Freeing a ball nobody owns changes nothing.
  newballA_OwnerSet(nullptr, 0);
  EXPECT_EQ(pb->pplyrWhoKicked, nullptr);
  EXPECT_EQ(pb->poPrevOwner, nullptr);

  // A keeper without force is not the last player; with force he is.
  newballA_OwnerSet(Home(5), 0);
  newballA_OwnerSet(Home(0), 0);
  EXPECT_EQ(pb->poLastPlayer, Home(5));
  newballA_OwnerSet(Away(0), 1);
  EXPECT_EQ(pb->poLastPlayer, Away(0));
  EXPECT_EQ(match_AwayClubStateGet(), 0);

  // The same owner again: previous owner and possession stay.
  newballA_OwnerSet(Away(4), 1);
  Player* poPrev = pb->poPrevOwner;
  pb->iState = BALL_STATE_FREE;
  newballA_OwnerSet(Away(4), 1);
  EXPECT_EQ(pb->poPrevOwner, poPrev);
  EXPECT_EQ(pb->iState, BALL_STATE_HELD);

  // The ball state by game mode.
  struct {
    GameMode eMode;
    int iState;
  } aModes[] = {{GAME_MODE_PLAY, 2}, {GAME_MODE_PLAY_ON, 2}, {GAME_MODE_SET_PIECE_SCRIPT, 2}, {GAME_MODE_THROW_IN, 0}};
  for (auto c : aModes) {
    global_SetGameMode(c.eMode);
    newballA_OwnerSet(nullptr, 0);
    pb->iState = BALL_STATE_FREE;
    newballA_OwnerSet(Home(7), 0);
    EXPECT_EQ(pb->iState, c.iState) << c.eMode;
  }
  global_SetGameMode(GAME_MODE_PLAY);

  // Who kicked: the owner, else the previous owner.
  newballA_OwnerSet(Home(2), 0);
  newballA_OwnerSet(nullptr, 0);
  EXPECT_EQ(pb->pplyrWhoKicked, Home(2));

  // Target point and its direction; the just-released window.
  ball_PlaceAt(pb, 100, 0, 100);
  EXPECT_EQ(newballA_TargetSet(pb, 1100, 100), 0);
  EXPECT_EQ(newballA_TargetSet(pb, 100, 1100), 200);
  EXPECT_EQ(newballA_TargetXGet(pb), 100);
  EXPECT_EQ(newballA_TargetYGet(pb), 1100);
  for (int f = 0; f < 12; f++) {
    pb->iFramesWithoutOwner = f;
    EXPECT_EQ(ball_IsJustReleasedBy(Home(2)), f >= 2 && f <= 9) << f;
    EXPECT_EQ(ball_IsJustReleasedBy(Home(3)), 0);
  }

  // In training a side without opponents can take the ball.
  global.eExtendedGameMode = GAME_MODE_START_TRAINING;
  match_AwayTeamGet()->poPlayers = nullptr;
  newballA_OwnerSet(Home(9), 1);
  EXPECT_EQ(pb->poOwner, Home(9));
}

TEST_F(Possession, ClosingDownDelay) {
  struct {
    int iRating, iLo, iHi;
  } aCases[] = {{0, 150, 300}, {4, 93, 186}, {10, 7, 14}, {15, 7, 14}, {-3, 150, 300}};
  for (auto c : aCases) {
    int iMin = 1 << 30, iMax = -1;
    for (int k = 0; k < 2000; k++) {
      int v = newballA_CloseDownDelayGet(c.iRating);
      iMin = std::min(iMin, v);
      iMax = std::max(iMax, v);
    }
    EXPECT_EQ(iMin, c.iLo) << c.iRating;
    EXPECT_EQ(iMax, c.iHi) << c.iRating;
  }
}

}  // namespace
