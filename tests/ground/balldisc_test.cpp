#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scene3d/balldisc.h"

TEST(BallDisc, DiscRingsQuadsAndTexels) {
  BallDisc d;
  ball_DiscBuild(&d);
  EXPECT_EQ(d.aVertex[0].x, 0.0f);
  for (int k = 1; k < 25; ++k) {
    const float r = std::hypot(d.aVertex[k].x, d.aVertex[k].y);
    EXPECT_NEAR(r, k <= 8 ? 0.0508f : k <= 16 ? 0.1016f : kBallRadius, 1e-6) << k;
  }
  EXPECT_NEAR(d.aVertex[17].y, kBallRadius, 1e-6);  // angle 0 points up
  // Fan quads close on vertex 1; ring quads join a ring to the one inside.
  EXPECT_EQ(d.aQuad[7][2], 1);
  EXPECT_EQ(d.aQuad[15][0], 16);
  EXPECT_EQ(d.aQuad[15][1], 9);
  EXPECT_EQ(d.aQuad[15][2], 1);
  EXPECT_EQ(d.aQuad[15][3], 8);
  for (int q = 0; q < 24; ++q)
    for (int c = 0; c < 4; ++c) {
      ASSERT_LT(d.aQuad[q][c], 25);
      EXPECT_GE(d.aTexel[q][c][0], 0.0f - 1e-6f);
      EXPECT_LE(d.aTexel[q][c][0], 0.5f + 1e-6f);
    }
  EXPECT_FLOAT_EQ(d.aTexel[0][0][0], 0.25f);  // the centre maps to the window's middle
}

TEST(BallDisc, ScrollStaysInItsWindow) {
  ball_ScrollReset();
  const float steps[][2] = {{0.1f, 0.2f}, {0.3f, -0.7f}, {-2.3f, 1.9f}, {0.5f, 0.5f}, {-0.01f, 0.26f}, {7.3f, -5.2f}};
  float su, sv;
  float eu = 0, ev = 0;  // a reference kept modulo 0.5
  for (const auto& s : steps) {
    ball_Scroll(s[0], s[1]);
    ball_ScrollGet(&su, &sv);
    EXPECT_GE(su, 0.0f);
    EXPECT_LE(su, 0.5f);
    EXPECT_GE(sv, 0.0f);
    EXPECT_LE(sv, 0.5f);
    eu = std::fmod(std::fmod(eu + s[0], 0.5f) + 0.5f, 0.5f);
    ev = std::fmod(std::fmod(ev + s[1], 0.5f) + 0.5f, 0.5f);
    EXPECT_NEAR(std::fmod(su, 0.5f), eu, 1e-4) << s[0];
    EXPECT_NEAR(std::fmod(sv, 0.5f), ev, 1e-4) << s[1];
  }
  // A step so far back that the loops would run past their guard: both reset.
  ball_Scroll(-100.0f, 0.1f);
  ball_ScrollGet(&su, &sv);
  EXPECT_EQ(su, 0.0f);
  EXPECT_EQ(sv, 0.0f);
  ball_ScrollReset();
}

TEST(BallDisc, TexturesByEditionAndColourMode) {
  const struct {
    int32_t edition, mode;
    const char *ball, *light;
  } cases[] = {{0, 0, "ball\\tanpc.tga", "ball\\PChilight4b.tga"}, {2, 1, "ball\\chekpc.tga", "ball\\PChilight1.tga"},
               {3, 0, "ball\\chekpc.tga", "ball\\PChilight1.tga"}, {6, 2, "ball\\chekpc.tga", "ball\\PChilight1.tga"},
               {7, 0, "ball\\ball7.tga", "ball\\PChilight1.tga"},  {10, 0, "ball\\ball7.tga", "ball\\PChilight1.tga"}};
  for (const auto& c : cases) {
    const char *b, *l;
    ball_TexturesGet(c.edition, c.mode, &b, &l);
    EXPECT_EQ(std::string(b), c.ball) << c.edition;
    EXPECT_EQ(std::string(l), c.light) << c.edition;
  }
}
