#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "groundart.h"
#include "scene3d/groundtab.h"

TEST(GroundTables, LightOnTheGround) {
  const float x0 = pitch_fShadowX0(5), z0 = pitch_fShadowZ0(3);
  EXPECT_NEAR(x0, -45.72055f, 1e-4);
  EXPECT_NEAR(z0, -32.00439f, 1e-4);
  const struct {
    int32_t xc, zc;
    float x, z, level;
  } cases[] = {
      {5, 3, x0 + 0.125f, 0.0f, 228},      // in the soft edge across x
      {5, 3, x0, 10.0f, 200},              // on the shadow's edge
      {5, 3, x0 - 1, 10.0f, 200},          // in the shadow
      {5, 3, 10.0f, z0 - 1, 200},          // in the shadow along the side
      {5, 3, 10.0f, 10.0f, 255},           // in the light
      {5, 3, 10.0f, z0 + 0.125f, 228},     // in the soft edge across z
      {5, 3, x0, z0, 200},                 // the inner corner
      {0, 0, -60.0f, -40.0f, 255},         // no shadow: light everywhere
  };
  for (const auto& c : cases) EXPECT_NEAR(pitch_fLightLevel(c.xc, c.zc, c.x, c.z), c.level, 1e-3) << c.x << "," << c.z;
  // Within both soft edges the light rises from the corner and stays below full.
  float last = 0;
  for (int i = 0; i <= 9; ++i) {
    const float d = 0.0249f * static_cast<float>(i);
    const float l = pitch_fLightLevel(5, 3, x0 + d, z0 + d);
    EXPECT_GE(l, last);
    EXPECT_LT(l, 256.0f);
    last = l;
  }
  // Types: dry ground has its own colours; a type outside the table takes type 0's.
  EXPECT_EQ(pitch_TypeGet(4).aLit[0], 130);
  EXPECT_EQ(std::string(pitch_TypeGet(6).pszPattern), pitch_aTypes[0].pszPattern);
  EXPECT_EQ(std::string(pitch_TypeGet(-1).pszPattern), pitch_aTypes[0].pszPattern);
}

TEST(GroundTables, StadiumLooksLightsAndHoardings) {
  // Every look with a folder has its art, and the art has no look without a table row.
  std::set<std::string> table, art(groundart::LookNames().begin(), groundart::LookNames().end());
  for (int32_t i = 0; i < kStadiumLookCount - 1; ++i)
    if (std::string(stadium3d_aLooks[i].szName) != "NULL") table.insert(stadium3d_aLooks[i].szName);
  EXPECT_EQ(table, art);
  EXPECT_EQ(std::string(stadium3d_aLooks[8].szName), "NULL");
  EXPECT_EQ(stadium3d_aLooks[17].uHoardings, 0u);
  EXPECT_EQ(stadium3d_aLooks[21].uHoardings, 0u);

  QMathVec3 l[4];
  ASSERT_EQ(stadium3d_LightsPlace(1, 1, l), 4);
  EXPECT_FLOAT_EQ(l[0].x, -100);
  EXPECT_FLOAT_EQ(l[0].y, 55);
  EXPECT_FLOAT_EQ(l[0].z, 60);
  ASSERT_EQ(stadium3d_LightsPlace(17, 1, l), 4);
  EXPECT_FLOAT_EQ(l[3].y, 62);
  ASSERT_EQ(stadium3d_LightsPlace(17, 0, l), 1);
  EXPECT_FLOAT_EQ(l[0].y, 300);

  // The boards: 11 yards apart along each side, facing the pitch, clear of it.
  for (int32_t i = 0; i < kHoardingCount; ++i) {
    const HoardingSpot s = stadium3d_HoardingSpot(i);
    EXPECT_TRUE(std::fabs(s.fZ) > 42.9f || std::fabs(s.fX) > 67.6f) << i;
    if (i % 13 != 0 && i < 26) {
      EXPECT_NEAR(s.fX - stadium3d_HoardingSpot(i - 1).fX, 10.059f, 1e-3) << i;
    }
  }
  EXPECT_NEAR(stadium3d_HoardingSpot(12).fX, 60.351f, 1e-3);
  EXPECT_NEAR(stadium3d_HoardingSpot(32).fZ, 30.176f, 1e-3);
  EXPECT_EQ(stadium3d_HoardingSpot(39).uTurn, 49152);
  // Adverts: 2 across, 8 down; consecutive k walk the texture.
  float u, v;
  stadium3d_AdvertTexels(0, &u, &v);
  EXPECT_EQ(u, 0.0f);
  EXPECT_EQ(v, 0.0f);
  stadium3d_AdvertTexels(15, &u, &v);
  EXPECT_EQ(u, 0.5f);
  EXPECT_EQ(v, 0.875f);
  stadium3d_AdvertTexels(16, &u, &v);
  EXPECT_EQ(v, 0.0f);
}
