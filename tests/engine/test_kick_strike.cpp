// Kick choice by players, kicks started at once, and the strikes.
#include <gtest/gtest.h>

#include <cmath>

#include "e2_fixture.h"
#include "engine/aiopt.h"
#include "engine/anim.h"
#include "engine/ball_services.h"
#include "engine/ball.h"
#include "engine/chaser.h"
#include "engine/engine_services.h"
#include "engine/kick.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/target.h"
#include "engine/team.h"
#include "framework/math/qrand.h"
#include "shell/global.h"
#include "shell/imath.h"
#include "tournament/dbplayer.h"

namespace {

using Kicks = EngineSides;

int Dist(int dx, int dy) { return static_cast<int>(std::lround(std::sqrt(double(dx) * dx + double(dy) * dy))); }

TEST_F(Kicks, ChoiceByPlayer) {
  Player* pp = Home(6);
  Place(pp, 0, 0, 0);
  struct {
    int x, y, h, iFacing;
    std::uint32_t eRunning;
    std::uint32_t eWant;
    int a, b;
  } aCases[] = {
      {1000, 0, 0, 0, 0, 131, 5, 200},      // ahead, near, on the ground: pair 0
      {2159, 0, 0, 0, 0, 131, 5, 200},
      {2160, 0, 0, 0, 0, 109, 10, 80},      // exactly 2160 is far: pair 9
      {0, 1000, 0, 0, 0, 113, 5, 200},      // to the side (89 degrees): pair 1, first
      {0, -1000, 0, 0, 0, 114, 5, 200},     // the other side: second
      {-1000, 0, 0, 0, 0, 6, 5, 200},       // behind: pair 2
      {1000, 0, 200, 0, 0, 91, 5, 100},     // band 4 ahead: pair 6
      {1000, 0, 383, 0, 0, 90, 5, 100},     // band 7 ahead: pair 16
      {1000, 0, 0, 0, 129, 182, 5, 200},    // running with the ball: pair 17
      {3000, 0, 0, 0, 105, 182, 10, 80},
      {1000, 0, 0, 401, 0, 6, 5, 200},      // facing away from the target
  };
  for (auto& c : aCases) {
    pp->oAnimData.eActionAnim = c.eRunning;
    pp->oTouch.aiOffset[0] = pp->oTouch.aiOffset[1] = -1;
    EXPECT_EQ(kick_AnimChoose(pp, c.x, c.y, c.h, c.iFacing), c.eWant) << c.x << "," << c.y << " h " << c.h;
    EXPECT_EQ(pp->oTouch.aiOffset[0], c.a);
    EXPECT_EQ(pp->oTouch.aiOffset[1], c.b);
  }
  pp->oAnimData.eActionAnim = ANIM_STAND;
  EXPECT_EQ(kick_AnimChoose(pp, 1000, 0, 384, 0), ANIM_NONE);
  EXPECT_EQ(target_HeaderReachGet(pp), 100);
  EXPECT_EQ(target_HeaderSpeedGet(pp), 12);
  // The long-kick choice splits at 2880.
  EXPECT_EQ(kick_AnimChooseAlt(pp, 2879, 0, 0, 0), 109u);
  EXPECT_EQ(kick_AnimChooseAlt(pp, 2880, 0, 0, 0), 89u);
  // A chaser kicks from his interception point.
  chaser_PlayerSet(pp);
  pp->iInterceptX = 5000;
  pp->iInterceptY = 0;
  EXPECT_EQ(kick_AnimChoose(pp, 6000, 0, 0, 0), 131u);
  chaser_Clear();
  EXPECT_EQ(kick_AnimChoose(pp, 6000, 0, 0, 0), 109u);
}

TEST_F(Kicks, StartedAtOnce) {
  Player* pp = Home(6);
  pp->Direction = 1;
  target_YSet(0);
  struct {
    int iFacing;
    std::uint32_t eWant;
  } aShots[] = {{0, 32}, {100, 31}, {200, 29}, {401, 29}, {602, 30}, {700, 30}, {780, 32}};
  for (auto c : aShots) {
    Place(pp, 0, 0, c.iFacing);
    pp->oAnimData.pfnContact = nullptr;
    kick_ShotAnimStart(pp);
    EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), c.eWant) << c.iFacing;
    EXPECT_EQ(pp->oAnimData.pfnContact, &target_StrikeExecute);
  }
  // A volley at a point ahead, to the side and behind.
  Place(pp, 0, 0, 0);
  anim_RequestSet(&pp->oAnimInfo, ANIM_STAND);
  kick_PointAnimStart(pp, -1000, 0);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), ANIM_STAND);
  EXPECT_EQ(pp->oAnimData.pfnContact, &target_DoVolley);
  EXPECT_EQ(target_AngleGet(), 401);
  kick_PointAnimStart(pp, 1000, 200);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 110u);
  kick_PointAnimStart(pp, 1000, -200);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 109u);
  target_AngleSet(0);
  kick_AnimStartSide(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 20u);
  EXPECT_EQ(pp->oAnimData.pfnContact, &target_DoLob);
  target_AngleSet(200);
  kick_AnimStartSide(pp);
  EXPECT_EQ(anim_RequestGet(&pp->oAnimInfo), 19u);
}

using Strikes = EngineSides;

TEST_F(Strikes, StateAndAims) {
  struct {
    int a, want;
  } aAngles[] = {{-1, 801}, {802, 0}, {801, 801}, {-803, 801}, {1609, 5}};
  for (auto c : aAngles) {
    target_AngleSet(c.a);
    EXPECT_EQ(target_AngleGet(), c.want) << c.a;
  }
  target_Start(nullptr, 900, 3);
  EXPECT_EQ(target_IsActive(), 1);
  EXPECT_EQ(target_AngleGet(), 98);
  EXPECT_EQ(target_DistanceGet(), 0);
  target_Clear();
  EXPECT_EQ(target_IsActive(), 0);

  struct {
    int iDir, x, y, want;
  } aShots[] = {{1, 9000, 100, 9936}, {1, 8000, 100, 9456}, {1, 7000, 100, 9312}, {1, 8000, 600, 9360},
                {1, 8496, 0, 9456},   {1, 8497, 0, 9936},   {0, -9000, 100, -9936}, {0, -7632, 0, -9312},
                {0, -7633, 0, -9456}, {0, -8000, -700, -9360}};
  for (auto c : aShots) EXPECT_EQ(target_ShotAimXGet(c.iDir, c.x, c.y), c.want) << c.x << "," << c.y;
  global_SetGameMode(static_cast<GameMode>(66));
  EXPECT_EQ(target_ShotAimXGet(0, -9000, 0), 9504);
  global_SetGameMode(GAME_MODE_PLAY);
}

TEST_F(Strikes, ChipHeightsAndReach) {
  Player* pp = Home(9);
  pp->Direction = 1;
  struct {
    int iCharge, iHeight, iFactor;
  } aCases[] = {{2, 24, 10}, {3, 0, 30}, {7, 192, 100}};
  for (auto c : aCases) {
    Place(pp, 3000, 0, 0);
    ball_PlaceAt(&ball_oBall, 3000, 0, 0);
    newballA_OwnerSet(pp, 1);
    target_YSet(0);
    target_DistanceSet(c.iCharge);
    // The aim height goes through the striker's spread first.
    QMathRandState oRand;
    QMathRandStateSave(&oRand);
    std::int32_t ax = 9360, ah = c.iHeight, ay = 0;
    shot_SpreadGet(pp, &ax, &ah, &ay);
    QMathRandStateRestore(&oRand);
    target_ChipExecute(pp, 100);
    EXPECT_EQ(ball_oBall.iTargetHeight, ah) << c.iCharge;
    EXPECT_EQ(target_DistanceGet(), c.iFactor * 6360 / 100) << c.iCharge;
    EXPECT_EQ(ball_oBall.iKind, BALL_KIND_CHIP);
    EXPECT_EQ(ball_oBall.poOwner, nullptr);
  }
}

TEST_F(Strikes, KeeperReleaseThrowAndDeflection) {
  Player* poKeeper = Home(0);
  Place(poKeeper, -8000, 0, 0);
  ball_PlaceAt(&ball_oBall, -8000, 0, 0);
  newballA_OwnerSet(poKeeper, 1);
  poKeeper->oAnimData.eActionAnim = 129;
  target_PowerSet(50);
  target_DoKeeperRelease(poKeeper);
  EXPECT_NEAR(Dist(newballA_TargetXGet(&ball_oBall) + 8000, newballA_TargetYGet(&ball_oBall)), 720, 1);
  EXPECT_EQ(ball_oBall.poTargetPlayer, poKeeper);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_LOFT);
  EXPECT_EQ(ball_oBall.iSpin, 1300);
  poKeeper->oAnimData.eActionAnim = 105;
  target_PowerSet(100);
  newballA_OwnerSet(poKeeper, 1);
  target_DoKeeperRelease(poKeeper);
  EXPECT_NEAR(Dist(newballA_TargetXGet(&ball_oBall) + 8000, newballA_TargetYGet(&ball_oBall)), 1000, 1);

  // A nudge plays the ball a little ahead of its player for himself, a
  // goalkeeper's too.
  Place(poKeeper, -8000, 0, 0);
  poKeeper->iSpeed = 10;
  ball_PlaceAt(&ball_oBall, -8000, 0, 0);
  newballA_OwnerSet(poKeeper, 1);
  target_DoNudge(poKeeper);
  EXPECT_EQ(ball_oBall.poTargetPlayer, poKeeper);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_LOFT);
  EXPECT_NEAR(ball_oBall.iTargetX, -8000 + 360, 1);

  // A throw aimed 8000 away (the aim point stands in at the centre spot)
  // lands 5760 away in the same direction.
  Player* pp = Away(5);
  Place(pp, 8000, 0, 0);
  ball_PlaceAt(&ball_oBall, 8000, 0, 0);
  newballA_OwnerSet(pp, 1);
  target_DoThrow(pp);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_THROW);
  EXPECT_NEAR(ball_oBall.iTargetX, 8000 - 5760, 1);
  EXPECT_EQ(ball_oBall.iTargetY, 0);
  EXPECT_EQ(ball_oBall.poOwner, nullptr);
  EXPECT_EQ(ball_oBall.pplyrWhoKicked, pp);

  // A deflection: flight kind 14, the ball leaves the player.
  Place(pp, 0, 0, 0);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  target_DoDeflect(pp, 200);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_DEFLECT);
  EXPECT_EQ(ball_oBall.poOwner, nullptr);
  EXPECT_NEAR(ball_oBall.iTargetY, 144, 1);
  EXPECT_NEAR(ball_oBall.iTargetX, 0, 3);

  // A shot at a point in the goal is aimed 1440 further on along x, its
  // height and y grown by the same share (dx + 1440) / dx.
  struct {
    int bx, by, tx, th, ty;
    int wx, wh, wy;
  } aShots[] = {
      {7920, 100, 9360, 200, 460, 10800, 400, 820},     // dx 1440: twice the offsets
      {-8640, 0, -9360, 240, -300, -10800, 720, -900},  // dx 720: three times
      {0, 0, 8000, 240, 300, 8000, 240, 300},           // short of the goal: unchanged
  };
  for (auto c : aShots) {
    ball_PlaceAt(&ball_oBall, c.bx, 0, c.by);
    target_XSet(c.tx);
    target_ZSet(c.th);
    target_YSet(c.ty);
    target_DoShotAtPoint(pp);
    EXPECT_EQ(ball_oBall.iKind, BALL_KIND_SHOT) << c.tx;
    EXPECT_EQ(ball_oBall.iTargetX, c.wx) << c.tx;
    EXPECT_EQ(ball_oBall.iTargetHeight, c.wh) << c.tx;
    EXPECT_EQ(ball_oBall.iTargetY, c.wy) << c.tx;
  }

  // A shot at a point beyond the goal line from a ball already past it keeps
  // the point (nothing to scale by) and clears it afterwards.
  ball_PlaceAt(&ball_oBall, 9500, 0, 0);
  target_XSet(9400);
  target_ZSet(100);
  target_YSet(50);
  target_DoShotAtPoint(pp);
  EXPECT_EQ(ball_oBall.iTargetX, 9400);
  EXPECT_EQ(ball_oBall.iTargetY, 50);
  EXPECT_EQ(target_XGet(), 0);
}

TEST_F(Strikes, ShotsAndHeadersLaunch) {
  Player* pp = Away(8);
  pp->Direction = 0;
  for (int iKind = 0; iKind < 3; iKind++) {
    for (int k = 0; k < 10; k++) {
      Place(pp, -6000, 300, 401);
      ball_PlaceAt(&ball_oBall, -6000, 0, 300);
      newballA_OwnerSet(pp, 1);
      target_KindSet(iKind);
      target_DoShotRandom(pp);
      EXPECT_EQ(ball_oBall.iKind, BALL_KIND_SHOT);
      EXPECT_EQ(ball_oBall.pplyrWhoKicked, pp);
      EXPECT_LT(ball_oBall.iTargetX, -8000);
      EXPECT_GE(ball_oBall.iTargetHeight, 48);
    }
  }
  // A high ball is headed: kind 10 toward the aim.
  Place(pp, -6000, 300, 401);
  ball_PlaceAt(&ball_oBall, -6000, 150, 300);
  newballA_OwnerSet(pp, 1);
  target_KindSet(0);
  target_DoShotMedium(pp);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_HIGH_HEADER);
  EXPECT_EQ(ball_oBall.iElevation, 12);

  // A cross from the right wing drops toward the box.
  Player* poWinger = Home(10);
  poWinger->Direction = 1;
  Place(poWinger, 6500, -4000, 0);
  ball_PlaceAt(&ball_oBall, 6500, 0, -4000);
  newballA_OwnerSet(poWinger, 1);
  target_AngleSet(0);
  target_DistanceSet(3000);
  target_StrikeExecute(poWinger);
  EXPECT_EQ(ball_oBall.iKind, BALL_KIND_STRIKE);
  EXPECT_GT(ball_LandXGet(), 6000);
  EXPECT_GT(ball_LandYGet(), -3000);
}

TEST_F(Strikes, ATapHeaderGoesWhereThePassRecordSays) {
  // A passer who never misses taps the ball along the ground to a receiver
  // 3000 ahead who faces a quarter turn (200 of 802) to his left.
  Player* pp = Home(6);
  pp->pDBPlayer->uSpeed = 100;
  Player* poReceiver = Home(7);
  Place(poReceiver, 3000, 1000, 200);
  const int d = Dist(3000, 1000);
  struct Case {
    std::int32_t iMode;
    int x, y;  // where the ball is sent
  } aCases[] = {
      {PASS_RECORD_AT_POINT, 3600, 400},
      {PASS_RECORD_AT_RECEIVER, 3000, 1000},
      {PASS_RECORD_AHEAD, 3000 + imath_CosScale(72 * (d / 144 + 10), 200 * 360 / 802),
       1000 + imath_SinScale(72 * (d / 144 + 10), 200 * 360 / 802)},
  };
  for (const Case& c : aCases) {
    Place(pp, 0, 0, 0);
    ball_PlaceAt(&ball_oBall, 0, 0, 0);
    newballA_OwnerSet(pp, 1);
    target_ReceiverSet(poReceiver);
    pass_RecordSet(c.iMode, 3600, 400);
    target_DoTapHeader(pp);
    EXPECT_EQ(ball_oBall.iKind, BALL_KIND_GROUND_PASS) << c.iMode;
    EXPECT_EQ(ball_oBall.iTargetX, c.x) << c.iMode;
    EXPECT_EQ(ball_oBall.iTargetY, c.y) << c.iMode;
    EXPECT_EQ(ball_oBall.poOwner, nullptr);
  }
  // Without a receiver the record is not read: 1440 along the strike angle.
  Place(pp, 0, 0, 0);
  ball_PlaceAt(&ball_oBall, 0, 0, 0);
  newballA_OwnerSet(pp, 1);
  target_ReceiverSet(nullptr);
  target_AngleSet(0);
  pass_RecordSet(PASS_RECORD_AT_POINT, 3600, 400);
  target_DoTapHeader(pp);
  EXPECT_EQ(ball_oBall.iTargetX, imath_CosScale(1440, 0));
  EXPECT_EQ(ball_oBall.iTargetY, 0);
  pass_MatchReset();
  EXPECT_EQ(pass_RecordModeGet(), PASS_RECORD_AT_RECEIVER);
}

TEST_F(Strikes, ShotStatisticsGoToTheKickersSide) {
  Player* pp = Home(9);
  pp->Direction = 1;
  MatchStats& st = match_HomeTeamGet()->MatchStats;
  MatchStats& away = match_AwayTeamGet()->MatchStats;
  int iShots = st.Shots, iOnTarget = st.OnTarget, iAwayShots = away.Shots;
  // Into the goal he attacks: a shot on target (and so a shot).
  ball_PlaceAt(&ball_oBall, 8000, 0, 0);
  newballA_OwnerSet(pp, 1);
  ball_ShotLaunch(9700, 100, 0, 100);
  ASSERT_EQ(ball_OutcomeGet(), BALL_OUTCOME_GOAL);
  EXPECT_EQ(st.OnTarget, iOnTarget + 1);
  EXPECT_EQ(st.Shots, iShots + 1);
  // Toward his own goal nothing is counted.
  ball_PlaceAt(&ball_oBall, -8000, 0, 0);
  newballA_OwnerSet(pp, 1);
  ball_ShotLaunch(-9700, 100, 0, 100);
  ASSERT_EQ(ball_OutcomeGet(), BALL_OUTCOME_GOAL);
  EXPECT_EQ(st.Shots, iShots + 1);
  EXPECT_EQ(away.Shots, iAwayShots);
}

}  // namespace
