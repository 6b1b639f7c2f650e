// The goal frame: posts, bar, side nets, roof and back of the net.
#include <gtest/gtest.h>

#include "ball_fakes.h"
#include "engine/ball.h"
#include "scene3d/scene3d_services.h"
#include "shell/imath.h"
#include "shell/vsync.h"

namespace {

// A ball in flight at (x, h, y) moving along the heading at hs (1/128 unit a
// half-tick), its arc launched at launch height lh with vertical speed vs
// and clock t; s mirrors everything to the -x goal.
void Flying(std::int32_t x, std::int32_t h, std::int32_t y, std::int32_t iHeading, std::int32_t hs,
            std::int32_t lh, std::int32_t vs, std::int32_t t) {
  ball_Init(&ball_oBall);
  BallFakesReset();
  ball_Release(&ball_oBall);
  ball_PlaceAt(&ball_oBall, x, h, y);
  ball_oBall.iState = BALL_STATE_FREE;
  ball_oBall.iKind = BALL_KIND_SHOT;
  ball_oBall.iHeading = iHeading;
  ball_oBall.iHSpeed = hs;
  ball_oBall.iLaunchHeight = lh;
  ball_oBall.iVSpeed = vs;
  ball_oBall.iT = t;
  ball_oBall.iFlightDuration = 200;
  ball_oBall.iTargetX = 20000;
  ball_oBall.iTargetY = 20000;
}

int NetDepthX() { return 9360 + 4 * goals_NetDepth; }

TEST(BallGoal, PostsAndBar) {
  struct {
    const char* pszName;
    int x, h, y, iHeading, lh, vs;
    int iWantHeading;
  } aCases[] = {
      // Straight at the post's face from the pitch: x reflected.
      {"post face", 9340, 100, 588, 0, 100, 1, 401},
      {"post face -y", 9340, 100, -600, 0, 100, 1, 401},
      // Coming out of the goal mouth into the post's inner side: y reflected.
      {"post inner side", 9340, 100, 550, 100, 100, 1, 702},
      {"bar", 9340, 400, 0, 0, 400, 1, 401},
      {"bar high edge", 9340, 430, 300, 0, 430, 1, 401},
  };
  for (auto& c : aCases) {
    for (int s : {1, -1}) {
      int iHeading = s == 1 ? c.iHeading : (401 - c.iHeading + 802) % 802;
      Flying(s * c.x, c.h, c.y, iHeading, 40 * 128, c.lh, c.vs, 0);
      ball_FlightStep(&ball_oBall, 1);
      EXPECT_EQ(ball_oBall.iX128, s * 1194496) << c.pszName << " " << s;
      int iWant = s == 1 ? c.iWantHeading : (401 - c.iWantHeading + 802) % 802;
      EXPECT_EQ(ball_oBall.iHeading, iWant) << c.pszName << " " << s;
      EXPECT_EQ(ball_oBall.iHSpeed, 40 * 128 * 60 / 100) << c.pszName;
      ASSERT_FALSE(g_oBallFakes.aSounds.empty()) << c.pszName;
      EXPECT_EQ(g_oBallFakes.aSounds.back(), 9) << c.pszName;
      EXPECT_TRUE(g_oBallFakes.aTrails.empty()) << c.pszName;
      if (c.iWantHeading != 401) continue;
      // The ball now heads back into play.
      int iBefore = ball_CurXGet();
      ball_FlightStep(&ball_oBall, 1);
      EXPECT_LT(s * ball_CurXGet(), s * iBefore) << c.pszName;
    }
  }
  // Wide of the post and under the bar: no contact.
  Flying(9340, 100, 700, 0, 40 * 128, 100, 1, 0);
  ball_FlightStep(&ball_oBall, 1);
  EXPECT_EQ(ball_oBall.iHeading, 0);
  Flying(9340, 200, 0, 0, 40 * 128, 200, 1, 0);
  ball_FlightStep(&ball_oBall, 1);
  EXPECT_EQ(ball_oBall.iHeading, 0);
  EXPECT_TRUE(g_oBallFakes.aSounds.empty());
}

TEST(BallGoal, NetsTrailsAndSound) {
  int iBack = NetDepthX();
  // Side net at +y from inside the goal: part 4, y mirrored about 576.
  Flying(9500, 100, 560, 200, 20 * 128, 100, 1, 0);
  ball_FlightStep(&ball_oBall, 1);
  ASSERT_EQ(g_oBallFakes.aTrails.size(), 1u);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[6], 1);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[7], 4);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[0], 9500);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[2], 560);
  EXPECT_EQ(ball_CurYGet(), 1152 - (560 * 128 + 2 * imath_SinScale(20 * 128, 89)) / 128);
  EXPECT_EQ(ball_oBall.iHeading, 602);
  EXPECT_EQ(ball_oBall.iHSpeed, 20 * 128 / 2);
  ASSERT_EQ(g_oBallFakes.aVolumeSounds.size(), 1u);
  EXPECT_TRUE(g_oBallFakes.aVolumeSounds[0].a[0] == 16 || g_oBallFakes.aVolumeSounds[0].a[0] == 17);
  EXPECT_EQ(g_oBallFakes.aVolumeSounds[0].a[1], 8192);

  // Side net at -y of the -x goal: goal 0, part 3.
  Flying(-9500, 100, -560, 602, 20 * 128, 100, 1, 0);
  ball_FlightStep(&ball_oBall, 1);
  ASSERT_EQ(g_oBallFakes.aTrails.size(), 1u);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[6], 0);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[7], 3);
  EXPECT_EQ(ball_CurYGet(), -1152 - (-560 * 128 + 2 * imath_SinScale(20 * 128, 602 * 180 / 401)) / 128);

  // Back of the net: x mirrored about the back plane, kept speed 0..10 percent,
  // the ball drops from where it is.
  Flying(iBack - 20, 100, 0, 0, 40 * 128, 100, 1, 0);
  ball_FlightStep(&ball_oBall, 1);
  ASSERT_EQ(g_oBallFakes.aTrails.size(), 1u);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[7], 1);
  EXPECT_EQ(ball_CurXGet(), 2 * iBack - ((iBack - 20) * 128 + 2 * imath_CosScale(40 * 128, 0)) / 128);
  EXPECT_EQ(ball_oBall.iHeading, 401);
  EXPECT_LE(ball_oBall.iHSpeed, 40 * 128 / 10);
  EXPECT_EQ(ball_oBall.iVSpeed, 1);
  EXPECT_EQ(ball_oBall.iT, 0);
  EXPECT_EQ(ball_oBall.iLaunchX, ball_CurXGet());

  // Roof from below: the ball drops from under it.
  Flying(9500, 370, 0, 0, 4 * 128, 370, 10, 0);
  ball_FlightStep(&ball_oBall, 1);
  ASSERT_EQ(g_oBallFakes.aTrails.size(), 1u);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[7], 2);
  EXPECT_EQ(ball_oBall.iLaunchHeight, 356);
  EXPECT_EQ(ball_oBall.iVSpeed, 1);
  EXPECT_EQ(ball_oBall.iT, 0);
  for (int k = 0; k < 4; k++) ball_FlightStep(&ball_oBall, 1);
  EXPECT_LT(ball_HeightGet(&ball_oBall), 356);

  // Roof from above: put on it and sent up again.
  Flying(9500, 389, 0, 0, 4 * 128, 400, 1, 10);
  ball_FlightStep(&ball_oBall, 1);
  ASSERT_EQ(g_oBallFakes.aTrails.size(), 1u);
  EXPECT_EQ(g_oBallFakes.aTrails[0].a[7], 2);
  EXPECT_GT(ball_oBall.iVSpeed, 0);
  EXPECT_EQ(ball_oBall.iFlightDuration, 90);
  EXPECT_EQ(ball_oBall.iLaunchHeight, 412);

  // An owned ball leaves no trail; the net sound plays at most once in 25 frames.
  Flying(9500, 100, 560, 200, 20 * 128, 100, 1, 0);
  static int iDummy;
  ball_oBall.poOwner = reinterpret_cast<Player*>(&iDummy);
  ball_FlightStep(&ball_oBall, 1);
  EXPECT_TRUE(g_oBallFakes.aTrails.empty());
  EXPECT_EQ(g_oBallFakes.aVolumeSounds.size(), 1u);
  for (int iFrame : {10, 24, 25, 30, 49, 50}) {
    vsync_iFrame = iFrame;
    ball_oBall.poOwner = nullptr;
    ball_PlaceAt(&ball_oBall, 9500, 100, 560);
    ball_oBall.iHeading = 200;
    ball_oBall.iHSpeed = 20 * 128;
    ball_FlightStep(&ball_oBall, 1);
  }
  // Frames 0, 25 and 50 sound.
  EXPECT_EQ(g_oBallFakes.aVolumeSounds.size(), 3u);
  EXPECT_EQ(g_oBallFakes.aTrails.size(), 6u);
}

}  // namespace
