// The touch machine: the reach of a loose ball at its boundary, the pitch
// zones at theirs, the states' transitions, the sides' contact records, the
// knock-on's random draws, the trap table against the clips' ball tracks,
// and a receiver's glide onto his approach point against a model of it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/action.h"
#include "engine/action_programs.h"
#include "engine/anim.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/move.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/target.h"
#include "engine/touch.h"
#include "engine_env.h"
#include "framework/math/qrand.h"
#include "shell/global.h"
#include "tournament/dbplayer.h"

namespace {

class Touch : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineMatchSetup();
    global_SetGameMode(GAME_MODE_PLAY);
    action_TableInit();
    closedown_DelaySet(0);
    ball_oBall.poOwner = nullptr;
  }
  void TearDown() override { action_TableInit(); }
  // A ball lying at (x, y) at the given height with the given flight kind.
  static void BallAt(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iKind) {
    ball_PlaceAt(&ball_oBall, x, h, y);
    ball_oBall.iKind = iKind;
    ball_oBall.iState = BALL_STATE_FREE;
    ball_oBall.poOwner = nullptr;
  }
  static void Seed(std::uint32_t n) {
    QMathRandState o;
    QMathRandStateInitial(&o);
    QMathRandStateRestore(&o);
    QMathRandSkip(n);
  }
};

// ---- Reach -------------------------------------------------------------------------------------------
TEST_F(Touch, ABallAt144IsWithinReachAndAt145IsNot) {
  struct Row {
    std::int32_t dx, dy;
    bool bReach;
  } rows[] = {{144, 0, true}, {0, -144, true}, {145, 0, false}, {0, 145, false}, {101, 101, true}, {102, 102, false}};
  for (const Row& r : rows) {
    SetUp();
    Player* pp = EnginePlayer(6);
    EnginePlace(pp, 1000, -500, 0);
    // A ball at rest is simply taken.
    BallAt(1000 + r.dx, 0, -500 + r.dy, BALL_KIND_NONE);
    std::uint32_t e = 7;
    EXPECT_EQ(touch_BallReach(pp, 0, &e), 0);
    EXPECT_EQ(e, ANIM_NONE);
    EXPECT_EQ(ball_OwnerGet() == pp, r.bReach) << r.dx << "," << r.dy;
    // A rolling ball at a slow player's feet asks for the trap clip.
    SetUp();
    EnginePlace(pp, 1000, -500, 0);
    BallAt(1000 + r.dx, 30, -500 + r.dy, BALL_KIND_ROLLING);
    ball_iPathIndex = 20;
    EXPECT_EQ(touch_BallReach(pp, 1, &e), r.bReach ? 1 : 0) << r.dx << "," << r.dy;
    EXPECT_EQ(e, r.bReach ? trap_AnimGet(1) : ANIM_NONE);
    EXPECT_EQ(ball_OwnerGet(), nullptr);
  }
}

TEST_F(Touch, AFastPlayerTakesALowBallAndPlaysOnAHigherOne) {
  Player* pp = EnginePlayer(8);
  EnginePlace(pp, 0, 0, 0);
  pp->iSpeed = 31;
  std::uint32_t e;
  BallAt(100, 60, 0, BALL_KIND_ROLLING);
  ball_iPathIndex = 20;
  EXPECT_EQ(touch_BallReach(pp, 2, &e), 0);
  EXPECT_EQ(ball_OwnerGet(), pp);
  // Chest high, in front of him: knocked on ahead along his facing.
  SetUp();
  EnginePlace(pp, 0, 0, 0);
  pp->iSpeed = 40;
  BallAt(100, 150, 0, BALL_KIND_LOFT);
  ball_iPathIndex = 20;
  EXPECT_EQ(touch_BallReach(pp, 6, &e), 0);
  EXPECT_EQ(ball_OwnerGet(), nullptr);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_HIGH_HEADER);
  EXPECT_GT(ball_oBall.iTargetX, 400);
  EXPECT_EQ(pp->oAnimData.eActionAnim, 142u);
  EXPECT_EQ(pp->MoveState, MOVE_STATE_ANIM_END);
  // Behind him: dropped 72 behind.
  SetUp();
  EnginePlace(pp, 0, 0, 0);
  pp->iSpeed = 40;
  BallAt(-100, 150, 0, BALL_KIND_LOFT);
  ball_iPathIndex = 20;
  touch_BallReach(pp, 6, &e);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_KNOCK_ON);
  EXPECT_EQ(ball_oBall.iTargetX, -72);
}

TEST_F(Touch, AQuickHighBallComesOffHimWithinItsRangeOverManySeeds) {
  for (std::uint32_t s = 0; s < 300; s++) {
    SetUp();
    Seed(s);
    Player* pp = EnginePlayer(3);
    EnginePlace(pp, -2000, 1000, 401);
    BallAt(-2050, 200, 1020, BALL_KIND_LOFT);
    ball_iPathIndex = 3;
    std::uint32_t e;
    ASSERT_EQ(touch_BallReach(pp, 7, &e), 0);
    ASSERT_EQ(ball_oBall.iKind, BALL_KIND_KNOCK_ON);
    std::int32_t d = player_Dist(ball_oBall.iTargetX + 2050, ball_oBall.iTargetY - 1020);
    // 720..1439 along a whole-degree heading, rounded to units.
    EXPECT_GE(d, 718) << "seed " << s;
    EXPECT_LE(d, 1441) << "seed " << s;
    EXPECT_EQ(pp->oTouch.iState, TOUCH_STATE_DELAY);
    EXPECT_EQ(pp->oTouch.iTimer, 15);
  }
}

// ---- Pitch zones -------------------------------------------------------------------------------------
TEST_F(Touch, PitchZonesAtTheirBoundariesBothWays) {
  struct Row {
    std::int32_t x, y, iDirection, iZone;
  } rows[] = {
      {-3601, 0, 1, 0},    {-3600, 0, 1, 3},    {3600, 4000, 1, 3},  {3601, 3169, 1, 1},  {3601, -3169, 1, 1},
      {3601, 3168, 1, 3},  {3601, 3000, 1, 3},  {4320, 0, 1, 3},     {4321, 0, 1, 2},     {4321, 3000, 1, 2},
      {4321, 3168, 1, 2},  {4321, -3169, 1, 1}, {9000, 0, 1, 2},     {3601, 0, 0, 0},     {-3601, 3000, 0, 3},
      {-4321, 0, 0, 2},    {-3601, -3200, 0, 1}, {3600, 0, 0, 3},    {-9000, 5000, 0, 1},
  };
  Player* pp = EnginePlayer(9);
  for (const Row& r : rows) {
    pp->x = static_cast<std::int16_t>(r.x);
    pp->y = static_cast<std::int16_t>(r.y);
    pp->Direction = r.iDirection;
    EXPECT_EQ(touch_PitchZoneGet(pp), r.iZone) << r.x << "," << r.y << " direction " << r.iDirection;
  }
}

// ---- States ---------------------------------------------------------------------------------------------
TEST_F(Touch, StateForceNeverPutsAGoalkeeperIntoTheCountdown) {
  for (std::int32_t id : {0, 11}) {
    Player* pk = EnginePlayer(id);
    pk->oTouch.iState = TOUCH_STATE_MAIN;
    touch_StateForce(pk, 12);
    EXPECT_EQ(pk->oTouch.iState, TOUCH_STATE_MAIN);
  }
  Player* pp = EnginePlayer(4);
  pp->oTouch.iState = TOUCH_STATE_MAIN;
  touch_StateForce(pp, 12);
  EXPECT_EQ(pp->oTouch.iState, TOUCH_STATE_DELAY);
  EXPECT_EQ(pp->oTouch.iTimer, 12);
  // Only from the decision: a receiver keeps his state.
  pp->oTouch.iState = TOUCH_STATE_RECEIVE;
  touch_StateForce(pp, 3);
  EXPECT_EQ(pp->oTouch.iState, TOUCH_STATE_RECEIVE);
}

TEST_F(Touch, StateTransitionsAndWhoTheActionTakes) {
  struct Row {
    const char* psz;
    std::int32_t iState;
    std::int32_t iTimer;
    bool bEnded;
    std::int32_t iMoveState;
    std::int32_t iNext;
    bool bTaken;
  } rows[] = {
      {"wait, clip running", TOUCH_STATE_WAIT, 0, false, MOVE_STATE_ANIM_WAIT, TOUCH_STATE_WAIT, true},
      {"wait, clip ended", TOUCH_STATE_WAIT, 0, true, MOVE_STATE_ANIM_WAIT, TOUCH_STATE_MAIN, true},
      {"wait, standing", TOUCH_STATE_WAIT, 0, false, MOVE_STATE_STAND, TOUCH_STATE_MAIN, true},
      {"countdown running", TOUCH_STATE_DELAY, 3, false, MOVE_STATE_STAND, TOUCH_STATE_DELAY, false},
      {"countdown at 0", TOUCH_STATE_DELAY, 0, false, MOVE_STATE_STAND, TOUCH_STATE_MAIN, true},
      {"clip wait, running", TOUCH_STATE_ANIM, 0, false, MOVE_STATE_ANIM_WAIT, TOUCH_STATE_ANIM, true},
      {"clip wait, ended", TOUCH_STATE_ANIM, 0, true, MOVE_STATE_ANIM_WAIT, TOUCH_STATE_MAIN, true},
      {"decision, nothing to do", TOUCH_STATE_MAIN, 0, false, MOVE_STATE_STAND, TOUCH_STATE_MAIN, false},
      {"receive, kind gone", TOUCH_STATE_RECEIVE, 0, false, MOVE_STATE_STAND, TOUCH_STATE_MAIN, true},
  };
  for (const Row& r : rows) {
    SetUp();
    BallAt(-5000, 0, 3000, BALL_KIND_NONE);
    Player* pp = EnginePlayer(14);
    EnginePlace(pp, 2000, 0, 401);
    anim_ActionAnimSetAt(&pp->oAnimData, 131, 0);
    if (r.bEnded) anim_EndFlagSet(&pp->oAnimData);
    pp->MoveState = r.iMoveState;
    pp->oTouch.iState = r.iState;
    pp->oTouch.iTimer = r.iTimer;
    Player* po = EnginePlayer(15);
    po->oTouch.iState = TOUCH_STATE_DELAY;
    po->oTouch.iTimer = 50;
    ActionNode aNodes[2] = {{nullptr, nullptr, pp}, {nullptr, nullptr, po}};
    aNodes[0].poNext = &aNodes[1];
    aNodes[1].poPrev = &aNodes[0];
    ActionNode* poLeft = touch_Handler(&aNodes[0]);
    EXPECT_EQ(pp->oTouch.iState, r.iNext) << r.psz;
    // The other player only counts down and stays listed.
    ASSERT_NE(poLeft, nullptr) << r.psz;
    EXPECT_EQ(poLeft->poPlayer == pp, !r.bTaken) << r.psz;
    EXPECT_EQ(po->oTouch.iTimer, 49);
    if (r.bTaken) {
      EXPECT_EQ(pp->oAIInfo.eAction, ACTION_TOUCH) << r.psz;
    }
  }
}

TEST_F(Touch, ALooseBallInReachIsTrappedWithTheTableClip) {
  Player* pp = EnginePlayer(7);
  EnginePlace(pp, 0, 0, 0);
  anim_ActionAnimSetAt(&pp->oAnimData, ANIM_STAND, 0);
  BallAt(100, 60, 0, BALL_KIND_ROLLING);
  ball_iPathIndex = 30;
  EXPECT_EQ(touch_MainUpdate(pp), TOUCH_STATE_WAIT);
  EXPECT_EQ(ball_OwnerGet(), pp);
  EXPECT_EQ(pp->oAnimData.eActionAnim, trap_AnimGet(60 / 24));
  EXPECT_EQ(pp->MoveState, MOVE_STATE_ANIM_WAIT);
}

// ---- A keeper's release --------------------------------------------------------------------------------
// An opponent takes the ball off a keeper releasing it (clip 129) only from
// in front of him: within a quarter turn of his facing either side, the
// exact sides included, never from behind.
TEST_F(Touch, AKeepersReleaseIsTakenFromInFrontAndTheSidesNeverFromBehind) {
  struct Row {
    const char* psz;
    std::int32_t dx, dy;
    bool bTaken;
  } rows[] = {{"in front", 100, 0, true},  {"left side", 0, 100, true}, {"right side", 0, -100, true},
              {"in front, off centre", 70, 60, true}, {"behind", -100, 0, false}, {"behind, off centre", -70, -60, false}};
  for (const Row& r : rows) {
    std::int32_t cTaken = 0;
    for (std::uint32_t n = 0; n < 20; n++) {
      SetUp();
      Seed(n * 7);
      Player* poKeeper = EnginePlayer(0);
      Player* pp = EnginePlayer(14);
      EngineDbPlayer(14)->uTackling = 100;
      EngineDbPlayer(0)->uControl = 1;
      EnginePlace(poKeeper, 0, 0, 0);  // facing +x
      anim_ActionAnimSetAt(&poKeeper->oAnimData, 129, 0);
      BallAt(0, 0, 0, BALL_KIND_NONE);
      ball_oBall.poOwner = poKeeper;
      EnginePlace(pp, r.dx, r.dy, 401);
      EXPECT_EQ(touch_MainUpdate(pp), TOUCH_STATE_MAIN) << r.psz;
      if (ball_OwnerGet() != pp) continue;
      cTaken++;
      EXPECT_EQ(poKeeper->oTouch.iState, TOUCH_STATE_DELAY) << r.psz;
      EXPECT_EQ(poKeeper->oTouch.iTimer, 9) << r.psz;
      EXPECT_EQ(poKeeper->iWantedSpeed, 23) << r.psz;
    }
    if (r.bTaken) {
      EXPECT_GE(cTaken, 15) << r.psz;
    } else {
      EXPECT_EQ(cTaken, 0) << r.psz;
    }
  }
}

// ---- Contact records ----------------------------------------------------------------------------------
TEST_F(Touch, ASideHasOneContactPlayerAndTheKindFollowsHim) {
  Player* a = EnginePlayer(5);
  Player* b = EnginePlayer(6);
  Player* c = EnginePlayer(16);
  touch_ContactSet(a, a, TOUCH_KIND_PASS_ON);
  touch_ContactSet(b, b, TOUCH_KIND_FIRST_TOUCH);
  touch_ContactSet(c, c, TOUCH_KIND_LAY_BACK);
  EXPECT_EQ(touch_aTeams[0].poContact, a);
  EXPECT_EQ(touch_aTeams[0].iKind, TOUCH_KIND_PASS_ON);
  EXPECT_EQ(touch_ContactGet(a), 1);
  EXPECT_EQ(touch_ContactGet(b), 0);
  EXPECT_EQ(touch_aTeams[1].poContact, c);
  EXPECT_EQ(touch_KindFor(b), TOUCH_KIND_PASS_ON);
  // Cleared: nobody marked, kinds none, everybody but the holder deciding.
  newballA_OwnerSet(b, 1);
  b->oTouch.iState = TOUCH_STATE_TRAP;
  c->oTouch.iState = TOUCH_STATE_RECEIVE;
  touch_ContactClear();
  EXPECT_EQ(touch_ContactGet(a), 0);
  EXPECT_EQ(touch_aTeams[0].iKind, TOUCH_KIND_NONE);
  EXPECT_EQ(touch_aTeams[1].iKind, TOUCH_KIND_NONE);
  EXPECT_EQ(b->oTouch.iState, TOUCH_STATE_TRAP);
  EXPECT_EQ(c->oTouch.iState, TOUCH_STATE_MAIN);
  // Marking again brings the saved kind back.
  touch_ContactMark(a);
  EXPECT_EQ(touch_aTeams[0].iKind, TOUCH_KIND_PASS_ON);
  EXPECT_EQ(touch_ContactGet(a), 1);
}

TEST_F(Touch, AUserChaserKeepsTheContactFromTheOthers) {
  Player* pu = EnginePlayer(9);
  Player* pc = EnginePlayer(10);
  pu->Control = PLAYER_CONTROL_USER;
  chaser_PlayerSet(pu);
  touch_ContactSet(pc, pc, TOUCH_KIND_PASS_ON);
  EXPECT_EQ(touch_aTeams[0].poContact, nullptr);
  EXPECT_EQ(touch_ContactGet(pc), 0);
  touch_ContactSet(pu, pu, TOUCH_KIND_PASS_ON);
  EXPECT_EQ(touch_aTeams[0].poContact, pu);
}

TEST_F(Touch, AKeeperAsContactLeavesTheOthersWithoutOne) {
  Player* pk = EnginePlayer(11);
  Player* pp = EnginePlayer(15);
  touch_ContactSet(pk, pk, TOUCH_KIND_PASS_ON);
  EXPECT_EQ(touch_KindFor(pk), TOUCH_KIND_PASS_ON);
  EXPECT_EQ(touch_KindFor(pp), TOUCH_KIND_NONE);
}

TEST_F(Touch, EveryMatchStartsWithoutContactsOrStates) {
  Player* pp = EnginePlayer(2);
  touch_ContactSet(pp, pp, TOUCH_KIND_FIRST_TOUCH);
  pp->oTouch.iState = TOUCH_STATE_RECEIVE;
  touch_aTeams[0].iOffsetX = 99;
  action_TableInit();
  EXPECT_EQ(touch_aTeams[0].poContact, nullptr);
  EXPECT_EQ(touch_aTeams[0].iKind, TOUCH_KIND_NONE);
  EXPECT_EQ(touch_aTeams[0].iSavedKind, TOUCH_KIND_NONE);
  EXPECT_EQ(touch_aTeams[0].iOffsetX, 0);
  EXPECT_EQ(pp->oTouch.iState, TOUCH_STATE_MAIN);
  EXPECT_EQ(touch_ContactGet(pp), 0);
}

// ---- Trap table ---------------------------------------------------------------------------------------------
TEST_F(Touch, EachTrapClipMeetsTheBallInItsHeightClassOrTheNext) {
  for (std::int32_t c = 0; c < TRAP_HEIGHT_CLASSES; c++) {
    std::uint32_t e = trap_AnimGet(c);
    if (e == ANIM_NONE) continue;
    std::int32_t ai[3];
    ASSERT_TRUE(anim_ContactBallOffsetGet(0, e, ai)) << "class " << c << " clip " << e;
    // The ball sits below its track by the drop of a held ball.
    std::int32_t h = ai[1] - ANIM_HOLDER_BALL_DROP;
    std::int32_t k = h < 0 ? 0 : h / 24;
    EXPECT_TRUE(k == c || k == c + 1) << "class " << c << " clip " << e << " ball height " << ai[1];
  }
}

// ---- Receiving --------------------------------------------------------------------------------------------
// A ball passed along the ground to a chaser whose side plays it on first
// time: while he glides he moves each tick by the offsets a model of the
// approach computes, the kick clip starts exactly its contact ticks before
// the ball reaches his entry, and the clip meets the ball.
TEST_F(Touch, TheReceiverGlidesOntoHisApproachPointAndTheClipMeetsTheBall) {
  Player* pp = EnginePlayer(7);
  Player* pa = EnginePlayer(6);
  EnginePlace(pp, 1500, 600, 401);
  EnginePlace(pa, -1500, 0, 0);
  for (std::int32_t id = 12; id < PLAYER_MAX; id++) EnginePlace(EnginePlayer(id), 8000, -5000 + id * 300, 401);
  newballA_OwnerSet(pa, 1);
  BallAt(-1400, 0, 0, BALL_KIND_NONE);
  ball_oBall.poOwner = pa;
  touch_ContactSet(pa, pa, TOUCH_KIND_PASS_ON);
  ball_GroundPassLaunch(1500, 600);
  chaser_PlayerSet(pp);
  pp->oTouch.iState = TOUCH_STATE_MAIN;

  bool bStarted = false, bMet = false;
  std::int32_t cGlides = 0;
  for (std::int32_t iTick = 0; iTick < 200 && !bMet; iTick++) {
    std::int32_t s = pp->oTouch.iState;
    std::int32_t x0 = pp->x, y0 = pp->y;
    std::int32_t iAway = pp->iInterceptEntry - ball_PathIndexGet();
    std::int32_t n = s == TOUCH_STATE_RECEIVE ? touch_KickTicks(pp->eKickAnim) : 0;
    bool bNear = player_Dist2(pp->iApproachX - x0, pp->iApproachY - y0) <= TOUCH_APPROACH2;
    move_FrameUpdate();
    x0 = pp->x;
    y0 = pp->y;
    action_Run(pp, ACTION_TOUCH);
    if (s == TOUCH_STATE_RECEIVE && bNear && iAway > n) {
      // The model of the glide: a 128th of the way a tick, clamped.
      auto step = [&](std::int32_t a, std::int32_t p) {
        std::int32_t o = (a - p) * 128 / iAway;
        o = o < -6144 ? -6144 : o > 6144 ? 6144 : o;
        return o / 128;
      };
      EXPECT_EQ(pp->x, x0 + step(pp->iApproachX, x0)) << "tick " << iTick;
      EXPECT_EQ(pp->y, y0 + step(pp->iApproachY, y0)) << "tick " << iTick;
      cGlides++;
    }
    if (s == TOUCH_STATE_RECEIVE && pp->oTouch.iState == TOUCH_STATE_TRAP) {
      bStarted = true;
      EXPECT_EQ(pp->oAnimData.eActionAnim, pp->eKickAnim);
      EXPECT_EQ(pp->iInterceptEntry - ball_PathIndexGet(), touch_KickTicks(pp->eKickAnim));
    }
    ball_Update();
    if (bStarted && ball_OwnerGet() == pp) bMet = true;
    if (bStarted && pp->oTouch.iState != TOUCH_STATE_TRAP) break;
  }
  EXPECT_GT(cGlides, 0);
  EXPECT_TRUE(bStarted);
  EXPECT_TRUE(bMet);
}

// Near the end of the path the look ahead reads the last entry.
TEST_F(Touch, TheLookAheadStopsAtThePathsLastEntry) {
  Player* pp = EnginePlayer(8);
  EnginePlace(pp, 0, 0, 0);
  chaser_PlayerSet(pp);
  touch_aTeams[0].iKind = TOUCH_KIND_PASS_ON;
  BallAt(-100, 0, 0, BALL_KIND_ROLLING);
  ball_PredictPath(&ball_oBall);
  std::int32_t iLast = ball_PathLengthGet() - 1;
  ball_iPathIndex = iLast - 1;
  pp->eKickAnim = 131;
  pp->iApproachX = 3000;  // far from his approach point
  pp->iApproachY = 3000;
  pp->iInterceptEntry = iLast - 1;
  pp->oTouch.iState = TOUCH_STATE_RECEIVE;
  touch_ReceiveUpdate(pp);
  EXPECT_EQ(ball_OwnerGet(), pp);
  EXPECT_EQ(pp->iInterceptEntry, iLast);
}

}  // namespace

namespace {

// Five minutes of open play between two real squads, the ball put back on
// the centre spot whenever it leaves the pitch: every player keeps a touch
// state, loose balls are trapped, both sides have the ball, and nothing
// asserts.
TEST(TouchInPlay, BallsAreMetTrappedAndPlayedOn) {
  EngineMatchSetupFromSquads();
  global_SetGameMode(GAME_MODE_PLAY);
  action_TableInit();
  Player* pp = EnginePlayer(7);
  ball_PlaceAt(&ball_oBall, pp->x, 0, pp->y);
  newballA_OwnerSet(pp, 1);
  std::int32_t aiStates[8] = {};
  std::int32_t cKicks = 0, cOwners = 0;
  std::int32_t acSides[3] = {};
  Player* poOwner = ball_OwnerGet();
  std::int32_t cKeeperHeld = 0;
  for (std::int32_t iTick = 0; iTick < 5 * 60 * 30; iTick++) {
    global_SetGameMode(GAME_MODE_PLAY);
    std::int32_t iKind = ball_oBall.iKind;
    EngineTick();
    ball_Update();
    if (ball_oBall.iKind != iKind && ball_oBall.iKind != BALL_KIND_NONE) cKicks++;
    for (std::int32_t id = 0; id < PLAYER_MAX; id++) {
      Player* p = EnginePlayer(id);
      std::int32_t s = p->oTouch.iState;
      ASSERT_GE(s, 1);
      ASSERT_LE(s, 7);
      aiStates[s]++;
    }
    if (ball_OwnerGet() != poOwner) {
      poOwner = ball_OwnerGet();
      cOwners += poOwner != nullptr;
      if (poOwner) acSides[poOwner->MyTeam]++;
    }
    Ball* pb = &ball_oBall;
    // No keeper's release without the match flow: a keeper's ball goes back
    // to the centre spot after a second.
    cKeeperHeld = pb->poOwner && player_IsGoalkeeper(pb->poOwner) ? cKeeperHeld + 1 : 0;
    if (cKeeperHeld > 30) {
      newballA_OwnerSet(nullptr, 0);
      ball_Release(pb);
      ball_PlaceAt(pb, 0, 0, 0);
      pb->iState = BALL_STATE_FREE;
    }
    if (!pb->poOwner && (std::abs(ball_XGet(pb)) > BALL_GOAL_LINE_X || std::abs(ball_YGet(pb)) > BALL_TOUCH_LINE_Y)) {
      ball_Release(pb);
      ball_PlaceAt(pb, 0, 0, 0);
      pb->iState = BALL_STATE_FREE;
    }
  }
  // Loose balls met with a trap clip, and the ball changing feet often.
  EXPECT_GT(aiStates[TOUCH_STATE_WAIT], 0);
  EXPECT_GT(cKicks, 50);
  EXPECT_GT(cOwners, 50);
  EXPECT_GT(acSides[player_PlaysFor_Home], 10);
  EXPECT_GT(acSides[player_PlaysFor_Away], 10);
}

}  // namespace
