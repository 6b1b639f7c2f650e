// Path queries that involve players, the dribble spin, and the landing point
// a deflection leaves.
#include <gtest/gtest.h>

#include <cstdlib>

#include <cmath>

#include "e2_fixture.h"
#include "engine/ball.h"
#include "engine/engine_services.h"
#include "engine/newballA.h"
#include "engine/player.h"
#include "engine/target.h"
#include "engine/team.h"

namespace {

using BallPath = EngineSides;

// A straight path along +x from (x0, 0) at dx a tick and the given heights.
void StraightPath(int x0, int dx, int iHeight, int iLength) {
  ball_iPathLength = iLength;
  ball_iPathIndex = 0;
  ball_iPathApex = 0;
  for (int i = 0; i < iLength; i++) ball_aPath[i] = {i, x0 + dx * i, iHeight, 0, 0};
}

TEST_F(BallPath, ClosestAndKeeperPoint) {
  StraightPath(-2000, 50, 0, 100);
  Player* pp = Home(5);
  Place(pp, 500, 300, 0);
  BallPathEntry* pe = ball_PathClosestGet(pp);
  ASSERT_NE(pe, nullptr);
  EXPECT_EQ(pe->iIndex, 50);  // x 500
  ball_iPathIndex = 60;
  EXPECT_EQ(ball_PathClosestGet(pp)->iIndex, 60);

  // The keeper's point: the first entry below the height inside his box after
  // which the ball moves away from him.
  StraightPath(-6000, -40, 100, 200);
  Player* poKeeper = Home(0);
  Place(poKeeper, -8600, 400, 0);
  pe = ball_PathKeeperPointGet(poKeeper, 200);
  ASSERT_NE(pe, nullptr);
  EXPECT_EQ(pe->iX, -8600);
  // Too high for the first search: the second takes any height.
  StraightPath(-6000, -40, 300, 200);
  pe = ball_PathKeeperPointGet(poKeeper, 200);
  ASSERT_NE(pe, nullptr);
  EXPECT_EQ(pe->iX, -8600);
  // A path that never enters the box: none.
  StraightPath(0, 10, 0, 200);
  EXPECT_EQ(ball_PathKeeperPointGet(poKeeper, 200), nullptr);
}

TEST_F(BallPath, EarlyIntercept) {
  // A ball at rest: the path becomes sixteen copies of the ball.
  ball_PlaceAt(&ball_oBall, 1234, 0, -567);
  ball_oBall.iKind = BALL_KIND_NONE;
  BallPathEntry* pe = ball_PathInterceptGet(Home(3));
  ASSERT_NE(pe, nullptr);
  EXPECT_EQ(ball_PathLengthGet(), BALL_PATH_REST);
  for (int i = 0; i < BALL_PATH_REST; i++) {
    EXPECT_EQ(ball_aPath[i].iX, 1234);
    EXPECT_EQ(ball_aPath[i].iY, -567);
  }

  // A ball rolling along +x at 40 a tick: a player 1000 ahead of it and 600
  // aside meets it where he needs under 31 a tick.
  ball_oBall.iKind = BALL_KIND_ROLLING;
  StraightPath(0, 40, 0, 255);
  Player* pp = Home(7);
  Place(pp, 1000, 600, 0);
  pe = ball_PathInterceptGet(pp);
  ASSERT_NE(pe, nullptr);
  int i = pe->iIndex;
  ASSERT_GT(i, 0);
  double d = std::hypot(pe->iX - 1000.0, 600.0);
  EXPECT_LT(static_cast<int>(d) / i, 31);
  double dBefore = std::hypot(ball_aPath[i - 1].iX - 1000.0, 600.0);
  EXPECT_GE(static_cast<int>(dBefore) / (i - 1 > 0 ? i - 1 : 1), 31);

  // The entry under the ball now is reachable only by a player standing on it.
  StraightPath(0, 0, 0, 255);
  Place(pp, 0, 0, 0);
  EXPECT_EQ(ball_PathInterceptGet(pp)->iIndex, 0);
  Place(pp, 5, 0, 0);
  EXPECT_EQ(ball_PathInterceptGet(pp)->iIndex, 1);

  // Heights of 97..215 inside the pitch are skipped, 384 or more never taken.
  StraightPath(0, 40, 150, 255);
  for (int k = 100; k < 255; k++) ball_aPath[k].iHeight = 50;
  Place(pp, 400, 0, 0);
  pe = ball_PathInterceptGet(pp);
  EXPECT_GE(pe->iIndex, 100);
}

TEST_F(BallPath, NearestPlayers) {
  BallPathEntry oEntry = {0, -8700, 0, 0, 0};
  Place(Home(0), -8800, 0, 0);
  Place(Away(0), 8800, 0, 0);
  // Home in possession: side 0 is the away team, side 1 home.
  Player* pp = nullptr;
  int d = ball_PathNearestPlayerGet(&pp, &oEntry, 1);
  EXPECT_EQ(pp, Home(0));
  EXPECT_EQ(d, 100);
  d = ball_PointNearestPlayerGet(&pp, -8700, 0, 1);
  EXPECT_NE(pp, Home(0));
  EXPECT_FALSE(player_IsGoalkeeper(pp));
  ball_PathNearestPlayerGet(&pp, &oEntry, 0);
  EXPECT_EQ(pp->MyTeam, player_PlaysFor_Away);
  match_AwayTeamGet()->poPlayers = nullptr;
  EXPECT_EQ(ball_PathNearestPlayerGet(&pp, &oEntry, 0), -1);
  EXPECT_EQ(pp, nullptr);
}

TEST_F(BallPath, DribbleSpinAndDeflectionLanding) {
  Player* pp = Home(4);
  Place(pp, 0, 0, 200);
  pp->iSpeed = 20;
  ball_SpinAxisFromHolderSet(pp);
  EXPECT_EQ(ball_oBall.iSpinAxisX, 4 * ball_SinDeg(89));
  EXPECT_EQ(ball_oBall.iSpinAxisZ, 4 * ball_CosDeg(89));
  EXPECT_EQ(ball_oBall.iSpinRate, 36 * 20 * 401 / 64);

  // A parried shot lands where its new arc meets the ground.
  struct {
    int iAngleAdd, iHeadingAdd;
  } aParries[] = {{3000, 9000}, {0, 0}, {6000, -5000}, {1500, 20000}};
  for (auto c : aParries) {
    ball_PlaceAt(&ball_oBall, -8000, 200, 100);
    ball_oBall.iStepStartHeight = 210;
    ball_oBall.iKind = BALL_KIND_SHOT;
    ball_oBall.iHSpeed = 40 * 128;
    ball_oBall.iHeading = 401;
    ball_Deflect(c.iAngleAdd, c.iHeadingAdd);
    int iLandX = ball_LandXGet(), iLandY = ball_LandYGet();
    // The step that bounces may overrun the landing point by one tick's travel.
    double iSlack = 2.0 * ball_oBall.iHSpeed / 128 + 20;
    EXPECT_NE(iLandX, 2 * ball_LaunchXGet());
    for (int k = 0; k < 400; k++) {
      if (ball_FlightStep(&ball_oBall, 0) == 0) break;
    }
    EXPECT_NEAR(ball_CurXGet(), iLandX, iSlack);
    EXPECT_NEAR(ball_CurYGet(), iLandY, iSlack);
  }

  // A deflection without a turn keeps every heading; half a turn reverses it.
  for (int h = 0; h < 802; h++) {
    for (int iTurn : {0, 32768}) {
      ball_PlaceAt(&ball_oBall, 0, 200, 0);
      ball_oBall.iStepStartHeight = 210;
      ball_oBall.iHSpeed = 40 * 128;
      ball_oBall.iHeading = h;
      ball_Deflect(0, iTurn);
      int iWant = iTurn == 0 ? h : (h + 401) % 802;
      EXPECT_LE(std::abs(ball_oBall.iHeading - iWant), iTurn == 0 ? 0 : 1) << h << " turned " << iTurn;
    }
  }
}

}  // namespace
