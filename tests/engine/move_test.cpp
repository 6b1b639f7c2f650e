// Movement: run events and arrival, turning and turn-abouts, stopping, the
// priority dispatch of running with the ball, stamina and power, challenges,
// falls and the keeper's stance.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newgoalo.h"
#include "engine/player.h"
#include "engine/referee.h"
#include "engine/spscript.h"
#include "engine_env.h"
#include "framework/math/qmath.h"
#include "shell/debuglog.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "support/temp_dir.h"
#include "tournament/dbplayer.h"

namespace {

class MoveTest : public ::testing::Test {
 protected:
  void SetUp() override { EngineMatchSetup(); }
};

// A computer player asked to run 2000 units along +x: the run clip starts on
// the first tick, he accelerates by 7 a tick to his wanted speed, runs
// straight and stands within 48 of the target.
TEST_F(MoveTest, RunToTargetAccelerateArriveAndStand) {
  Player* pp = EnginePlayer(6);
  EnginePlace(pp, -2000, 0, 0);
  std::int32_t iWanted = PlayerO_Attr52Get(pp) * 10 / 65 + 34;
  PlayerO_MoveToSet(pp, 0, 0, ANIM_RUN);
  EngineTick();
  EXPECT_EQ(pp->oAnimData.eActionAnim, ANIM_RUN);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_RUN);
  EXPECT_EQ(pp->iSpeed, 0);
  EXPECT_EQ(pp->iWantedSpeed, iWanted);
  EXPECT_EQ(pp->uStamina, 698);
  std::int32_t x = pp->x;
  std::int32_t iExpectSpeed = 0;
  std::int32_t iTick = 1;
  while (pp->oAnimData.eActionAnim == ANIM_RUN && iTick < 200) {
    EngineTick();
    iTick++;
    if (pp->oAnimData.eActionAnim != ANIM_RUN) break;
    iExpectSpeed = std::min(iExpectSpeed + 7, iWanted);
    ASSERT_EQ(pp->iSpeed, iExpectSpeed) << "tick " << iTick;
    ASSERT_EQ(pp->x, x + imath_CosScale(iExpectSpeed, 0)) << "tick " << iTick;
    ASSERT_EQ(pp->y, 0);
    x = pp->x;
  }
  EXPECT_LT(iTick, 200);
  EXPECT_EQ(pp->oAnimData.eActionAnim, ANIM_STAND);
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_STAND);
  EXPECT_TRUE(anim_IsAtTarget(&pp->oAnimData));
  EXPECT_EQ(pp->iSpeed, 0);
  EXPECT_LE(std::abs(pp->x), 48);
  // Standing: the idle of an attacking side, facing the ball.
  for (int i = 0; i < 3; i++) EngineTick();
  EXPECT_EQ(pp->oAnimData.eActionAnim, ANIM_OFFENCE_IDLE);
  EXPECT_EQ(pp->iSpeed, 0);
}

TEST_F(MoveTest, TurnAboutStartsBetween256And544) {
  struct Case {
    std::int32_t t;
    bool bHolder;
    std::int32_t iSpeed;
    std::uint32_t eReq;
    std::uint32_t wantAnim;
    std::int32_t wantState;
  } cases[] = {
      {255, false, 0, ANIM_RUN, ANIM_RUN, MOVE_STATE_RUN}, {256, false, 0, ANIM_RUN, 2, MOVE_STATE_TURN_ABOUT},
      {544, false, 0, ANIM_RUN, 2, MOVE_STATE_TURN_ABOUT}, {545, false, 0, ANIM_RUN, ANIM_RUN, MOVE_STATE_RUN},
      {400, true, 20, ANIM_RUN, 4, MOVE_STATE_TURN_ABOUT}, {400, true, 0, ANIM_RUN, 5, MOVE_STATE_TURN_ABOUT},
      {400, true, 0, ANIM_WALK, 3, MOVE_STATE_TURN_ABOUT}, {-300, false, 10, ANIM_RUN, 2, MOVE_STATE_TURN_ABOUT},
  };
  for (const Case& c : cases) {
    EngineMatchSetup();
    Player* pp = EnginePlayer(7);
    EnginePlace(pp, 0, 0, 100);
    if (c.t < 0) EnginePlace(pp, 0, 0, 700);
    pp->iSpeed = static_cast<std::int16_t>(c.iSpeed);
    ball_oBall.poOwner = c.bHolder ? pp : nullptr;
    anim_RequestSet(&pp->oAnimInfo, c.eReq);
    pp->oAnimInfo.uHeading = static_cast<std::uint32_t>(pp->iFacing + c.t);
    PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
    std::uint32_t eAnim = ANIM_RUN;
    move_TurnToTarget(pp, &eAnim);
    EXPECT_EQ(eAnim, c.wantAnim) << c.t;
    EXPECT_EQ(pp->MoveState, c.wantState) << c.t;
    if (c.wantState == MOVE_STATE_RUN) {
      EXPECT_NE(pp->iFacing, 100) << "turned a step";
    }
  }
}

// A computer runner whose target lies more than 135 degrees from his facing,
// measured the short way round, asks for the turn clip.
TEST_F(MoveTest, TurnClipOnlyForTargetsWellBehind) {
  struct Case {
    std::int32_t iFacing, dx, dy;
    bool bTurn;
  } cases[] = {
      {801, 1000, 10, false}, {802, 1000, 10, false}, {1, 1000, -10, false}, {0, -1000, 0, true},
      {200, 0, -1000, true},  {200, -1000, 0, false}, {401, 1000, 300, true}, {401, -1000, 0, false},
  };
  for (const Case& c : cases) {
    EngineMatchSetup();
    Player* pp = EnginePlayer(6);
    EnginePlace(pp, 0, 0, c.iFacing);
    PlayerO_MoveToSet(pp, c.dx, c.dy, ANIM_RUN);
    move_RunEvent(pp, ANIM_RUN);
    EXPECT_EQ(pp->oAnimInfo.eActionAnim == ANIM_TURN, c.bTurn) << c.iFacing << " " << c.dx << "," << c.dy;
  }
}

TEST_F(MoveTest, TurnAboutUnwindsToTheWantedFacing) {
  Player* pp = EnginePlayer(7);
  EnginePlace(pp, 0, 0, 0);
  pp->uWantedFacing = 401;
  pp->oAnimInfo.uHeading = 401;
  anim_RequestSet(&pp->oAnimInfo, ANIM_RUN);
  pp->iSpeed = 0;
  std::uint32_t eAnim = ANIM_RUN;
  move_TurnToTarget(pp, &eAnim);
  ASSERT_EQ(pp->MoveState, MOVE_STATE_TURN_ABOUT);
  move_Play(pp, eAnim);
  pp->uWantedFacing = 300;  // the turn ends 101 short of a full half turn
  std::int32_t iTicks = 0;
  std::int32_t iPrevDisplay = -1;
  while (pp->MoveState == MOVE_STATE_TURN_ABOUT && iTicks < 40) {
    anim_Advance(pp, &pp->oAnimData);
    move_apfnStates[pp->MoveState](pp);
    iTicks++;
    if (iTicks == 1) {
      // Flipped with the clip (401, 180 degrees), then a seventh of the 46
      // degrees left to 300 (134 degrees) unwound.
      EXPECT_EQ(pp->iTurnAboutAngle, 174);
      EXPECT_EQ(pp->iDisplayFacing, 388);
    }
    if (iTicks > 1 && pp->MoveState == MOVE_STATE_TURN_ABOUT) {
      // Unwinding toward 300 (134 degrees), never past it.
      EXPECT_LE(pp->iDisplayFacing, iPrevDisplay);
      EXPECT_GE(pp->iDisplayFacing, 290);
    }
    iPrevDisplay = pp->iDisplayFacing;
  }
  EXPECT_EQ(iTicks, 8);  // clip 2 runs 0-8 and holds at 7
  EXPECT_EQ(pp->iFacing, 300);
  EXPECT_EQ(pp->iDisplayFacing, 300);
  EXPECT_EQ(pp->iWantedSpeed, 30);
}

TEST_F(MoveTest, StoppingAndSlowing) {
  Player* pp = EnginePlayer(8);
  struct Case {
    bool bHolder;
    std::int16_t iSpeed;
    std::uint32_t wantAnim;
    std::int32_t wantState;
    std::int16_t wantSpeed;
  } cases[] = {
      {true, 30, 137, MOVE_STATE_STOP, 30}, {true, 29, ANIM_RUN, MOVE_STATE_RUN, 21},
      {false, 40, ANIM_RUN, MOVE_STATE_RUN, 32}, {false, 8, ANIM_STAND, MOVE_STATE_STOP, 0},
  };
  for (const Case& c : cases) {
    EnginePlace(pp, 0, 0, 0);
    move_Play(pp, ANIM_RUN);
    PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
    ball_oBall.poOwner = c.bHolder ? pp : nullptr;
    pp->iSpeed = c.iSpeed;
    pp->iWantedSpeed = 0;
    move_Steer(pp, 0, 7);
    EXPECT_EQ(pp->oAnimData.eActionAnim, c.wantAnim) << c.iSpeed;
    EXPECT_EQ(pp->MoveState, c.wantState) << c.iSpeed;
    EXPECT_EQ(pp->iSpeed, c.wantSpeed) << c.iSpeed;
  }
}

// Running with the ball: raised events wait for a frame whose row lists
// them; the last listed runs first, one a tick.
TEST_F(MoveTest, PriorityDispatchWhileRunningWithTheBall) {
  Player* pp = EnginePlayer(9);
  ball_oBall.poOwner = pp;
  struct Step {
    std::int32_t iFrame;
    std::int32_t iRaise;  // event raised this tick, 0 none
    std::uint32_t eReq;
    std::int32_t wantState;
    bool bStopPending;
    bool bTacklePending;
  } steps[] = {
      {0, MOVE_EVENT_STOP, 153, MOVE_STATE_RUN, true, false},
      {1, 0, 153, MOVE_STATE_RUN, true, false},
      {2, 0, 153, MOVE_STATE_STOP, false, false},
  };
  EnginePlace(pp, 0, 0, 0);
  move_Play(pp, 129);
  PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
  for (const Step& s : steps) {
    pp->oAnimData.uPos = static_cast<std::uint16_t>(s.iFrame << 6);
    if (s.iRaise) move_EventRaise(pp, s.iRaise);
    move_EventDispatchRun(pp, s.eReq, &pp->oAnimData);
    EXPECT_EQ(pp->MoveState, s.wantState) << "frame " << s.iFrame;
    EXPECT_EQ(pp->abPendingEvents[MOVE_EVENT_STOP] != 0, s.bStopPending) << "frame " << s.iFrame;
    for (std::int32_t e = 1; e < MOVE_EVENT_MAX; e++) EXPECT_EQ(pp->abMoveEvents[e], 0);
  }
  // Stop and tackle pending at frame 13: the stop runs first, the tackle waits.
  EngineMatchSetup();
  pp = EnginePlayer(9);
  ball_oBall.poOwner = pp;
  EnginePlace(pp, 0, 0, 0);
  move_Play(pp, 129);
  pp->abPendingEvents[MOVE_EVENT_TACKLE] = 1;
  pp->aePendingAnims[MOVE_EVENT_TACKLE] = 143;
  pp->abPendingEvents[MOVE_EVENT_STOP] = 1;
  pp->aePendingAnims[MOVE_EVENT_STOP] = 153;
  pp->abPendingEvents[MOVE_EVENT_RUN_ANIM] = 1;  // not listed at 13: stays pending
  pp->oAnimData.uPos = 13 << 6;
  move_EventDispatchRun(pp, 129, &pp->oAnimData);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_STOP);
  EXPECT_EQ(pp->abPendingEvents[MOVE_EVENT_TACKLE], 1);
  EXPECT_EQ(pp->abPendingEvents[MOVE_EVENT_RUN_ANIM], 1);
  move_Play(pp, 129);
  pp->oAnimData.uPos = 14 << 6;
  move_EventDispatchRun(pp, 129, &pp->oAnimData);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_TACKLE);
  EXPECT_EQ(pp->abPendingEvents[MOVE_EVENT_TACKLE], 0);
  // A stand request stops at once with 137.
  move_Play(pp, 129);
  PlayerO_MoveStateSet(pp, MOVE_STATE_RUN);
  pp->iWantedSpeed = 30;
  move_EventDispatchRun(pp, ANIM_STAND, &pp->oAnimData);
  EXPECT_EQ(pp->oAnimData.eActionAnim, 137u);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_STOP);
  EXPECT_EQ(pp->iWantedSpeed, 0);
  // The priority table: entries 0 never name an event.
  std::int32_t cRows3 = 0;
  for (const auto& row : move_aEventPriority) {
    EXPECT_TRUE(row[0] == 3 || row[0] == 5);
    cRows3 += row[0] == 3;
  }
  EXPECT_EQ(cRows3, 2 + 5 + 7 + 11 + 6);
}

std::int32_t s_cKicks;
void CountKick(Player*) { s_cKicks++; }

// A holder asked for a kick where he stands: tick by tick state, clip,
// frame and the contact callback.
TEST_F(MoveTest, KickInPlaceTickByTick) {
  Player* pp = EnginePlayer(9);
  EnginePlace(pp, 500, 300, 0);
  newballA_OwnerSet(pp, 1);
  s_cKicks = 0;
  PlayerO_MoveToSet(pp, pp->x, pp->y, 6);  // 0-18, contact 3
  struct Row {
    std::int32_t iTick;
    std::int32_t wantState;
    std::uint32_t wantAnim;
    std::int32_t wantFrame;
    std::int32_t wantKicks;
  } rows[] = {
      {1, MOVE_STATE_ANIM_WAIT, 6, 0, 0}, {2, MOVE_STATE_ANIM_WAIT, 6, 1, 0},  {4, MOVE_STATE_ANIM_WAIT, 6, 3, 0},
      {5, MOVE_STATE_ANIM_WAIT, 6, 4, 1}, {18, MOVE_STATE_ANIM_WAIT, 6, 17, 1},
      // The end: the stand is played at once; the play event the kick's
      // hook raised earlier that tick went with the kick it was raised for.
      {19, MOVE_STATE_STAND, ANIM_STAND, 0, 1},
  };
  std::int32_t iTick = 0;
  for (const Row& r : rows) {
    while (iTick < r.iTick) {
      if (iTick == 1) anim_CallbackSet(&pp->oAnimData, CountKick);
      EngineTick();
      iTick++;
    }
    EXPECT_EQ(pp->MoveState, r.wantState) << "tick " << r.iTick;
    EXPECT_EQ(pp->oAnimData.eActionAnim, r.wantAnim) << "tick " << r.iTick;
    EXPECT_EQ(anim_FrameGet(&pp->oAnimData), r.wantFrame) << "tick " << r.iTick;
    EXPECT_EQ(s_cKicks, r.wantKicks) << "tick " << r.iTick;
    EXPECT_EQ(pp->iSpeed, 0);
  }
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_STAND);
}

TEST_F(MoveTest, StaminaAndExhaustion) {
  Player* pp = EnginePlayer(4);
  struct Case {
    bool bHolder;
    std::uint16_t uStamina;
    std::int32_t iMinute;
    std::uint16_t wantStamina;
    std::uint16_t wantPower;
  } cases[] = {
      {false, 700, 10, 698, 8000}, {true, 700, 10, 692, 8000}, {false, 1, 10, 0, 8000},
      {false, 2, 31, 0, 7996},     {true, 5, 31, 0, 7996},     {true, 9, 31, 1, 8000},
  };
  for (const Case& c : cases) {
    engine_MatchClockSet(c.iMinute * 1800);
    pp->uStamina = c.uStamina;
    pp->uPower = 8000;
    ball_oBall.poOwner = c.bHolder ? pp : nullptr;
    std::uint32_t eAnim = ANIM_RUN;
    move_RunSpeedChoose(pp, &eAnim);
    EXPECT_EQ(pp->uStamina, c.wantStamina) << c.uStamina << " " << c.iMinute;
    EXPECT_EQ(pp->uPower, c.wantPower) << c.uStamina << " " << c.iMinute;
    EXPECT_EQ(pp->iTurnRateMag, 13);
    if (c.wantStamina == 0) {
      // Exhausted: the wanted speed is scaled by power.
      std::int32_t w = PlayerO_Attr52Get(pp) * 10 / (c.bHolder ? 120 : 65) + 34;
      w = w * c.wantPower / 10000;
      std::int32_t iWant = c.bHolder ? (w >= 30 ? w : 34) : (w >= 31 ? w : 31);
      EXPECT_EQ(pp->iWantedSpeed, iWant);
    }
  }
  // Stamina grows back by 2 a tick unless running is requested.
  EngineMatchSetup();
  pp = EnginePlayer(4);
  pp->uStamina = 100;
  anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
  EngineTick();
  EXPECT_EQ(pp->uStamina, 102);
  pp->uStamina = 699;
  EngineTick();
  EXPECT_EQ(pp->uStamina, 700);
  // Facing the target, so that no turn clip is asked for first.
  EnginePlace(pp, pp->x, pp->y, 0);
  PlayerO_MoveToSet(pp, pp->x + 3000, pp->y, ANIM_RUN);
  pp->uStamina = 100;
  EngineTick();
  EngineTick();
  EXPECT_EQ(pp->oAnimInfo.eActionAnim, ANIM_RUN);
  EXPECT_EQ(pp->uStamina, 96);
}

TEST_F(MoveTest, ChallengeFoulFloorsTheVictim) {
  Player* pp = EnginePlayer(14);  // away, challenging
  Player* po = EnginePlayer(8);   // home, on the ball
  EnginePlace(po, 1000, 0, 0);
  EnginePlace(pp, 940, 0, 0);
  pp->Control = PLAYER_CONTROL_USER;  // a computer challenger would start a new challenge on contact
  ball_oBall.poOwner = po;
  ball_oBall.iX128 = 1040 * 128;
  ball_oBall.iHeight128 = 100 * 128;  // out of reach: no contact
  move_TackleEvent(pp, 143);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_TACKLE);
  EXPECT_EQ(pp->oAnimData.eActionAnim, 154u);  // from behind: the shoulder charge
  EXPECT_EQ(pp->iSpeed, 31);
  move_oTackle.bFoulLatch = 1;
  move_oTackle.bFoulJudged = 1;
  move_apfnStates[MOVE_STATE_TACKLE](pp);
  EXPECT_EQ(po->oAnimData.eActionAnim, 35u);
  EXPECT_EQ(po->MoveState, MOVE_STATE_ON_GROUND);
  EXPECT_EQ(po->bFouled, 1);
  EXPECT_EQ(ball_oBall.poOwner, nullptr);
  // On the ground: up with 155 once the fall has ended, or 100 after too many knocks.
  struct Case {
    std::int16_t knocks;
    std::uint32_t want;
    std::int32_t wantState;
  } cases[] = {{100, 155, MOVE_STATE_ANIM_END}, {101, 100, MOVE_STATE_CELEBRATE_14}};
  for (const Case& c : cases) {
    move_RequestPlay(po, 170);
    move_RequestPlay(po, 35);
    PlayerO_MoveStateSet(po, MOVE_STATE_ON_GROUND);
    po->iKnocks = c.knocks;
    po->height = 5;
    for (int i = 0; i < 60; i++) {
      anim_Advance(po, &po->oAnimData);
      move_apfnStates[po->MoveState](po);
      if (po->MoveState != MOVE_STATE_ON_GROUND) break;
    }
    EXPECT_EQ(po->oAnimData.eActionAnim, c.want);
    EXPECT_EQ(po->MoveState, c.wantState);
    EXPECT_EQ(po->height, 0);
  }
}

// Once the referee has called a foul in open play he calls no other until the
// restart's script resets his latch: a challenge that starts meanwhile leaves
// the latch set and is never called. After the reset the same challenge from
// behind is called about as often as the strictness says.
TEST_F(MoveTest, NoFoulIsCalledAfterACalledOneUntilTheRestartResetsTheReferee) {
  std::int32_t cFouls = 0;
  for (std::int32_t iSeed = 0; iSeed < 40; iSeed++) {
    for (const bool bReset : {false, true}) {
      EngineMatchSetup();
      global_SetGameMode(GAME_MODE_PLAY);
      referee_FoulLatchClear();
      for (std::int32_t i = 0; i < iSeed; i++) QMathRandNext();
      // The called foul, elsewhere on the pitch.
      ASSERT_EQ(referee_ChallengeJudge(EnginePlayer(17), EnginePlayer(4)), 1);
      ASSERT_TRUE(referee_bFoulLatchGet());
      if (bReset) {
        spscript_Reset();
        ASSERT_FALSE(referee_bFoulLatchGet());
      }
      Player* pp = EnginePlayer(14);
      Player* po = EnginePlayer(8);
      EnginePlace(po, 1000, 0, 0);
      EnginePlace(pp, 940, 0, 0);
      pp->Control = PLAYER_CONTROL_USER;
      po->bFouled = 0;
      ball_oBall.poOwner = po;
      ball_oBall.iX128 = 1040 * 128;
      ball_oBall.iY128 = 0;
      ball_oBall.iHeight128 = 100 * 128;
      move_TackleEvent(pp, 143);
      EXPECT_EQ(referee_bFoulLatchGet(), bReset ? 0 : 1) << iSeed;
      move_apfnStates[MOVE_STATE_TACKLE](pp);
      if (!bReset) {
        EXPECT_EQ(po->bFouled, 0) << iSeed;
        EXPECT_TRUE(referee_bFoulLatchGet()) << iSeed;
      } else if (po->bFouled) {
        cFouls++;
        EXPECT_EQ(po->MoveState, MOVE_STATE_ON_GROUND) << iSeed;
        EXPECT_EQ(ball_oBall.poOwner, nullptr) << iSeed;
        EXPECT_TRUE(referee_bFoulLatchGet()) << iSeed;
      }
    }
  }
  // From straight behind the score is 100: called as often as the default
  // strictness of 50 in 100.
  EXPECT_GT(cFouls, 10);
  EXPECT_LT(cFouls, 30);
}

TEST_F(MoveTest, SlidingTackleWinsOrLosesTheBallDeterministically) {
  // The same challenge from the same random state ends the same way; over
  // many starting states both outcomes occur and a winner always holds the ball.
  std::int32_t cWon = 0, cKept = 0, cLoose = 0;
  for (std::int32_t iSeed = 0; iSeed < 60; iSeed++) {
    EngineMatchSetup();
    for (std::int32_t i = 0; i < iSeed; i++) QMathRandNext();
    Player* pp = EnginePlayer(15);
    Player* po = EnginePlayer(9);
    EnginePlace(po, 0, 0, 0);
    EnginePlace(pp, 200, 20, 401);
    ball_oBall.poOwner = po;
    ball_oBall.iX128 = 40 * 128;
    ball_oBall.iY128 = 0;
    ball_oBall.iHeight128 = 0;
    pp->iSpeed = 20;
    move_TackleEvent(pp, 78);
    for (int i = 0; i < 30; i++) {
      anim_Advance(pp, &pp->oAnimData);
      move_apfnStates[pp->MoveState](pp);
    }
    if (ball_oBall.poOwner == pp) cWon++;
    else if (ball_oBall.poOwner == po) cKept++;
    else cLoose++;
    if (ball_oBall.poOwner != po) {
      EXPECT_TRUE(po->oAnimInfo.eActionAnim == 35u || po->oAnimInfo.eActionAnim == 142u) << iSeed;
    }
  }
  EXPECT_GT(cWon + cLoose, 0);
  EXPECT_GT(cKept + cLoose, 0);
}

// A keeper with the ball in his hands while diving or saving cannot be
// tackled; standing or running with it he can.
TEST_F(MoveTest, KeeperOnTheBallIsSafeWhileDiving) {
  struct Case {
    std::uint32_t eKeeperAnim;
    bool bSafe;
  } cases[] = {{38, true}, {45, true}, {58, true}, {136, false}, {129, false}};
  for (const Case& c : cases) {
    std::int32_t cLost = 0;
    for (std::int32_t iSeed = 0; iSeed < 20; iSeed++) {
      EngineMatchSetup();
      for (std::int32_t i = 0; i < iSeed; i++) QMathRandNext();
      Player* pk = EnginePlayer(11);  // away keeper
      Player* pp = EnginePlayer(9);
      EnginePlace(pk, 8000, 0, 401);
      EnginePlace(pp, 8150, 0, 401);
      newballA_OwnerSet(pk, 1);
      move_Play(pk, 170);
      move_Play(pk, c.eKeeperAnim);
      ball_oBall.iX128 = 8060 * 128;
      ball_oBall.iY128 = 0;
      ball_oBall.iHeight128 = 0;
      pp->iSpeed = 20;
      move_TackleEvent(pp, 8);
      for (int f = 0; f < 8; f++) {
        anim_Advance(pp, &pp->oAnimData);
        move_apfnStates[pp->MoveState](pp);
      }
      cLost += ball_oBall.poOwner != pk;
    }
    if (c.bSafe) {
      EXPECT_EQ(cLost, 0) << c.eKeeperAnim;
    } else {
      EXPECT_GT(cLost, 0) << c.eKeeperAnim;
    }
  }
}

// A shoulder challenge started from a standstill steps in toward the ball at
// the challenge's pace and meets a holder who stands 250 away; a block
// tackle from a standstill is made where the challenger stands.
TEST_F(MoveTest, ShoulderChallengeFromAStandstillStepsIn) {
  struct Case {
    std::uint32_t eAnim;
    std::int16_t iSpeed;   // at the start of the challenge
    std::int32_t iTravel;  // ground covered by frame 9
    bool bContact;
  } cases[] = {{8, 10, 80, true}, {9, 0, 0, false}};
  for (const Case& c : cases) {
    EngineMatchSetup();
    Player* pp = EnginePlayer(14);  // away, challenging
    Player* po = EnginePlayer(8);   // home, standing on the ball
    EnginePlace(po, 1000, 0, 0);
    EnginePlace(pp, 1290, 0, 401);
    pp->Control = PLAYER_CONTROL_USER;  // no challenge of its own on running into him
    ball_oBall.poOwner = po;
    ball_oBall.iX128 = 1040 * 128;
    ball_oBall.iY128 = 0;
    ball_oBall.iHeight128 = 0;
    move_TackleEvent(pp, c.eAnim);
    EXPECT_EQ(pp->iSpeed, c.iSpeed) << c.eAnim;
    EXPECT_EQ(pp->iFacing, 401) << c.eAnim;  // toward the ball
    for (int f = 0; f < 8; f++) {
      anim_Advance(pp, &pp->oAnimData);
      move_apfnStates[pp->MoveState](pp);
    }
    EXPECT_EQ(1290 - pp->x, c.iTravel) << c.eAnim;
    EXPECT_EQ(move_oTackle.bContact, c.bContact ? 1 : 0) << c.eAnim;
  }
}

TEST_F(MoveTest, TakingTheBallBringsDownWhoeverIsInTheWay) {
  Player* pp = EnginePlayer(3);
  Player* po = EnginePlayer(20);
  EnginePlace(pp, 0, 0, 0);
  EnginePlace(po, 60, 0, 401);
  move_TakeEvent(pp, 33);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_BALL_TAKE);
  pp->iSpeed = 0;
  for (int f = 0; f < 6; f++) {
    anim_Advance(pp, &pp->oAnimData);
  }
  EXPECT_EQ(anim_FrameGet(&pp->oAnimData), 6);
  po->height = 7;
  move_apfnStates[MOVE_STATE_BALL_TAKE](pp);
  EXPECT_EQ(po->height, 0);
  EXPECT_EQ(po->oAnimData.eActionAnim, 35u);
  EXPECT_EQ(po->MoveState, MOVE_STATE_ON_GROUND);
}

// Script actors: a floored player gets up through 36, 100 and 101 into 67
// turned half round; gestures chain and set the gesture-done bit.
TEST_F(MoveTest, ScriptActorChains) {
  Player* pp = EnginePlayer(4);
  EnginePlace(pp, 0, 0, 100);
  move_RequestPlay(pp, 35);
  PlayerO_MoveStateSet(pp, MOVE_STATE_SCRIPT);
  std::vector<std::uint32_t> seen{35};
  for (int i = 0; i < 400 && seen.back() != 67; i++) {
    EngineTick();
    if (pp->oAnimData.eActionAnim != seen.back()) seen.push_back(pp->oAnimData.eActionAnim);
  }
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{35, 36, 100, 101, 67}));
  EXPECT_EQ(pp->iFacing, 501);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_SCRIPT);
  EXPECT_FALSE(anim_IsInUseFlag(&pp->oAnimData));
  // 123 into 125; 125 at its 15th tick sets the bit and plays 124.
  move_RequestPlay(pp, 123);
  seen = {123};
  bool bBitAt124 = false;
  for (int i = 0; i < 200 && seen.back() != 124; i++) {
    EngineTick();
    if (pp->oAnimData.eActionAnim != seen.back()) seen.push_back(pp->oAnimData.eActionAnim);
    if (seen.back() == 124) bBitAt124 = anim_IsInUseFlag(&pp->oAnimData);
  }
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{123, 125, 124}));
  EXPECT_TRUE(bBitAt124);
  // Anything else ends into the stand.
  anim_InUseFlagClear(&pp->oAnimData);
  move_RequestPlay(pp, 173);
  for (int i = 0; i < 100 && pp->oAnimData.eActionAnim == 173; i++) EngineTick();
  EXPECT_EQ(pp->oAnimData.eActionAnim, ANIM_STAND);
  EXPECT_TRUE(anim_IsInUseFlag(&pp->oAnimData));
}

// Set-piece gestures hold their last frame until two seconds have passed,
// then play back to the start, then stand.
TEST_F(MoveTest, SetPieceGestureHoldsThenReturns) {
  struct Case {
    std::int32_t iState;
    std::uint32_t eFirst, eBack;
    std::int32_t iFirstEnd;
  } cases[] = {{MOVE_STATE_SETPIECE_A, 138, 140, 47}, {MOVE_STATE_SETPIECE_A, 139, 141, 47},
               {MOVE_STATE_SETPIECE_B, 121, 119, 44}, {MOVE_STATE_SETPIECE_B, 122, 120, 44}};
  for (const Case& c : cases) {
    EngineMatchSetup();
    Player* pp = EnginePlayer(4);
    EnginePlace(pp, 0, 0, 0);
    move_RequestPlay(pp, c.eFirst);
    PlayerO_MoveStateSet(pp, c.iState);
    std::int32_t iTick = 0;
    while (pp->oAnimData.eActionAnim == c.eFirst && iTick < 200) {
      anim_Advance(pp, &pp->oAnimData);
      move_apfnStates[pp->MoveState](pp);
      iTick++;
    }
    EXPECT_EQ(iTick, 60) << c.eFirst;  // held from frame end - 1 until the 60th tick
    EXPECT_EQ(pp->oAnimData.eActionAnim, c.eBack);
    EXPECT_EQ(anim_FrameGet(&pp->oAnimData), c.iFirstEnd - 1);
    while (pp->oAnimData.eActionAnim == c.eBack && iTick < 400) {
      anim_Advance(pp, &pp->oAnimData);
      move_apfnStates[pp->MoveState](pp);
      iTick++;
    }
    EXPECT_EQ(pp->oAnimData.eActionAnim, ANIM_STAND) << c.eFirst;
    EXPECT_EQ(pp->MoveState, MOVE_STATE_STOP);
  }
}

// When each dispatcher lets raised events run.
TEST_F(MoveTest, DispatchersRunDropOrKeepRaisedEvents) {
  struct Case {
    std::uint32_t ePlaying;
    bool bEnded;
    std::vector<std::int32_t> raise;
    std::uint32_t eReq;
    std::int32_t wantState;            // after the dispatch
    std::vector<std::int32_t> left;    // events still raised
  } cases[] = {
      {35, false, {1, 3}, 8, MOVE_STATE_ON_GROUND, {1, 3}},               // fall: wait
      {35, true, {3}, 8, MOVE_STATE_TACKLE, {}},                           // fall ended: run
      {35, false, {2}, 6, MOVE_STATE_ANIM_WAIT, {}},                       // a kick runs alone
      {12, false, {1, 6}, 13, MOVE_STATE_ANIM_WAIT, {1}},                  // celebrate: only 6
      {6, false, {1}, ANIM_RUN, MOVE_STATE_ON_GROUND, {}},                 // general: dropped
      {121, false, {5}, 153, MOVE_STATE_STOP, {}},                         // gesture: at once
      {ANIM_RUN, false, {2, 1}, 20, MOVE_STATE_ANIM_WAIT, {1}},            // now: 2 alone
      {ANIM_RUN, false, {5, 3}, 143, MOVE_STATE_TACKLE, {}},               // now: 5, then 3 last
  };
  for (const Case& c : cases) {
    EngineMatchSetup();
    Player* pp = EnginePlayer(8);
    EnginePlace(pp, 0, 0, 0);
    move_Play(pp, c.ePlaying);
    if (c.bEnded) anim_EndFlagSet(&pp->oAnimData);
    PlayerO_MoveStateSet(pp, MOVE_STATE_ON_GROUND);
    anim_RequestSet(&pp->oAnimInfo, c.eReq);
    for (std::int32_t e : c.raise) move_EventRaise(pp, e);
    anim_aTable[c.ePlaying].pfnDispatch(pp, c.eReq, &pp->oAnimData);
    EXPECT_EQ(pp->MoveState, c.wantState) << c.ePlaying << " req " << c.eReq;
    std::vector<std::int32_t> left;
    for (std::int32_t e = 1; e < MOVE_EVENT_MAX; e++) {
      if (pp->abMoveEvents[e]) left.push_back(e);
    }
    EXPECT_EQ(left, c.left) << c.ePlaying << " req " << c.eReq;
  }
}

TEST_F(MoveTest, KeeperStanceVariesAfterTwentyTicks) {
  Player* pk = EnginePlayer(0);
  ASSERT_EQ(pk->MoveState, MOVE_STATE_KEEPER_IDLE);
  ASSERT_EQ(pk->oAnimData.eActionAnim, ANIM_GOALIE_STANCE);
  // His own machine idle: only the movement pass plays him.
  newgoalo_StateSet(pk->pGoalie, GOALIE_STATE_IDLE);
  std::int32_t iTick = 0;
  while (pk->oAnimData.eActionAnim == ANIM_GOALIE_STANCE && iTick < 50) {
    EngineTick();
    iTick++;
  }
  std::uint32_t e = pk->oAnimData.eActionAnim;
  EXPECT_TRUE(e == 72 || e == 73 || e == 74) << e;
  // The stance clip's tick counter reaches 20 on the keeper's 20th advance;
  // every other tick his move flag holds him to the animation alone.
  EXPECT_GE(iTick, 20);
  EXPECT_EQ(pk->oAnimInfo.iTargetX, pk->x);
}

TEST_F(MoveTest, InvalidStateAndRunClipAssert) {
  Player* pp = EnginePlayer(4);
  EXPECT_DEATH(move_apfnStates[MOVE_STATE_INVALID](pp), "MOVE_STATE_INVALID");
  EnginePlace(pp, 0, 0, 0);
  anim_TargetPointSet(&pp->oAnimInfo, 3000, 0);
  EXPECT_DEATH(move_RunEvent(pp, ANIM_NONE), "eAnim > ANIM_NONE");
  EXPECT_DEATH(move_RunEvent(pp, ANIM_MAX), "eAnim < ANIM_MAX");
}

TEST_F(MoveTest, DebugLogIsSilentUnlessNamed) {
  const korvena_test::TempDir dir;
  const std::string path = dir / "debuglog.txt";
  unsetenv("KORVENA_DEBUG_LOG");
  debuglog_Reset();
  debuglog_Printf("duff foul\n");
  EXPECT_FALSE(std::ifstream(path).good());
  setenv("KORVENA_DEBUG_LOG", path.c_str(), 1);
  debuglog_Reset();
  debuglog_Printf("duff foul\n");
  debuglog_Printf("%d\n", 42);
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(), "duff foul\n42\n");
  unsetenv("KORVENA_DEBUG_LOG");
  debuglog_Reset();
}

}  // namespace
