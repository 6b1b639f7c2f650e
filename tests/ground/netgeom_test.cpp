#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "framework/math/qmatrix.h"
#include "scene3d/netgeom.h"

TEST(GoalNets, StylesAndDimensions) {
  const struct {
    int32_t edition;
    int32_t league, finals;
  } styles[] = {{0, 1, 1}, {3, 1, 1}, {4, 1, 3}, {5, 1, 2}, {6, 1, 3}, {7, 1, 3}, {8, 1, 3}, {9, 3, 3}, {10, 3, 3}};
  for (const auto& s : styles) {
    EXPECT_EQ(goals_iStyleGet(s.edition, false), s.league) << s.edition;
    EXPECT_EQ(goals_iStyleGet(s.edition, true), s.finals) << s.edition;
  }
  const GoalParams p1 = goals_ParamsGet(1, false), p2 = goals_ParamsGet(2, false), p3 = goals_ParamsGet(3, true);
  EXPECT_FLOAT_EQ(p1.fGroundDepth, 1.46f + 0.6096f);
  EXPECT_FLOAT_EQ(p1.fTopDepth, 1.22f);
  EXPECT_FLOAT_EQ(p2.fBackHeight, 2.4384f);
  EXPECT_FLOAT_EQ(p2.fGroundDepth, 1.46f + 0.3048f);
  EXPECT_FLOAT_EQ(p3.fTopDepth, 1.22f + 0.6096f);
  EXPECT_FLOAT_EQ(p1.fTexEnd, 30.0f);
  EXPECT_FLOAT_EQ(p3.fTexEnd, 1.0f);
  EXPECT_EQ(goals_iNetDepthInches(p1), 48);
  EXPECT_EQ(goals_iNetDepthInches(p2), 48);
  EXPECT_EQ(goals_iNetDepthInches(p3), 72);
}

TEST(GoalNets, GeometryWeightsAndSag) {
  for (int style : {1, 2, 3}) {
    NetGeometry g;
    netgeom_Build(&g, goals_ParamsGet(style, false));
    const float W = g.oParams.fWidth, L = g.fProfileLength, c = g.fSideDepth;
    EXPECT_EQ(g.iColumns, 25);
    EXPECT_NEAR(g.fColumnStep * static_cast<float>(g.iColumns - 1), W, 1e-4);
    ASSERT_EQ(g.aRest.size(), static_cast<size_t>(g.iAllCount));
    float maxW = 0, maxSag = 0;
    for (int32_t i = 0; i < g.iAllCount; ++i) {
      const NetRecord& r = g.aRecords[static_cast<size_t>(i)];
      maxW = std::max(maxW, r.fWeight);
      const bool edge = std::fabs(r.fU + c) < 1e-4f || std::fabs(r.fU - W - c) < 1e-4f || std::fabs(r.fV) < 1e-5f ||
                        std::fabs(r.fV - L) < 1e-4f;
      if (edge) {
        EXPECT_NEAR(r.fWeight, 0.0f, 1e-7) << style << " " << i;
      }
      EXPECT_GE(r.fWeight, 0.0f);
      EXPECT_GE(r.fU, -c - 1e-4f);
      EXPECT_LE(r.fU, W + c + 1e-4f);
      const float tu = g.afTexels[2 * static_cast<size_t>(i)];
      EXPECT_GE(tu, 0.0f);
      EXPECT_LE(tu, 30.0f);
    }
    EXPECT_LE(maxW, 1.0f / 16 + 1e-6f);
    EXPECT_GT(maxW, 0.8f / 16);
    // Sag: the grid's corners stay on the frame, the middle hangs up to 0.381.
    const QMathVec3 ground = g.aRest[0], bar = g.aRest[static_cast<size_t>(g.iMainCount - 1)];
    EXPECT_FLOAT_EQ(ground.y, 0.0f);
    EXPECT_FLOAT_EQ(ground.z, g.oParams.fGroundDepth);
    EXPECT_NEAR(bar.y, g.oParams.fBarHeight, 1e-5);
    EXPECT_NEAR(bar.z, 0.0f, 1e-5);
    EXPECT_NEAR(bar.x, g.fHalfWidth, 1e-5);
    for (int32_t j = 0; j < g.iRows; ++j)
      for (int32_t i = 0; i < g.iColumns; ++i) {
        const QMathVec3 v = g.aRest[static_cast<size_t>(j * g.iColumns + i)];
        const float s = g.aRecords[static_cast<size_t>(j * g.iColumns + i)].fV;
        // Compare with the profile's own height at that distance.
        float y = s <= g.fBackLength ? g.oParams.fBackHeight * s / g.fBackLength
                                     : g.oParams.fBackHeight + (g.oParams.fBarHeight - g.oParams.fBackHeight) *
                                                                  (s - g.fBackLength) / g.fRoofLength;
        maxSag = std::max(maxSag, y - v.y);
      }
    EXPECT_LE(maxSag, 0.381f + 1e-4f);
    EXPECT_GT(maxSag, 0.3f);
    // Faces: four meshes covering every face, indexes in range.
    int32_t total = 0;
    for (int m = 0; m < 4; ++m) {
      EXPECT_GT(g.aiMeshCount[m], 0) << style << " mesh " << m;
      total += g.aiMeshCount[m];
    }
    EXPECT_EQ(static_cast<size_t>(total), g.aFaces.size());
    for (const NetFace& f : g.aFaces)
      for (uint32_t k : f.auIndex) ASSERT_LT(k, static_cast<uint32_t>(g.iAllCount));
  }
}

TEST(GoalNets, HitsBulgeRippleAndRest) {
  NetGeometry g;
  netgeom_Build(&g, goals_ParamsGet(1, false));
  const float mid = g.oParams.fGroundDepth * 0.5f;
  // A shot into the back of the net, low and straight.
  const QMathVec3 a{0.3f, 0.8f, -1.0f}, b{0.3f, 0.8f, g.oParams.fGroundDepth + 1.0f};
  NetState s;
  goalnet_StateInit(&s, &g);
  ASSERT_EQ(goalnet_HitApply(&s, 2, 100, a, b, 90.0f), 0) << "roof only: the back is not tested";
  ASSERT_NE(goalnet_HitApply(&s, 1, 100, a, b, 90.0f), 0);
  EXPECT_FLOAT_EQ(s.oHit.fStrength, 70.0f);
  EXPECT_NEAR(s.oHit.fU, 0.3f + g.fHalfWidth, 1e-4);
  NetState weak;
  goalnet_StateInit(&weak, &g);
  ASSERT_NE(goalnet_HitApply(&weak, 1, 100, a, b, 5.0f), 0);
  EXPECT_FLOAT_EQ(weak.oHit.fStrength, 20.0f);
  // A path ending inside the goal mouth meets nothing.
  EXPECT_EQ(goalnet_HitApply(&weak, 1, 100, QMathVec3{0, 1, -3}, QMathVec3{0, 1, mid * 0.5f}, 40.0f), 0);

  // Same hit, same net, frame after frame.
  NetState twin;
  goalnet_StateInit(&twin, &g);
  ASSERT_NE(goalnet_HitApply(&twin, 1, 100, a, b, 90.0f), 0);
  float maxMove = 0;
  for (int f = 1; f <= 89; ++f) {
    const float t = static_cast<float>(f) / 30.0f;
    goalnet_Animate(&s, t);
    goalnet_Animate(&twin, t);
    ASSERT_EQ(std::memcmp(s.aVertices.data(), twin.aVertices.data(), s.aVertices.size() * sizeof(QMathVec3)), 0);
    for (size_t i = 0; i < s.aVertices.size(); ++i) maxMove = std::max(maxMove, s.aVertices[i].z - g.aRest[i].z);
  }
  EXPECT_GT(maxMove, 0.3f) << "the net bulges outward";
  EXPECT_TRUE(s.bActive);
  goalnet_Animate(&s, 3.01f);
  EXPECT_FALSE(s.bActive);
  EXPECT_EQ(std::memcmp(s.aVertices.data(), g.aRest.data(), s.aVertices.size() * sizeof(QMathVec3)), 0);

  // The bulge alone never moves the net's fixed edges.
  goalnet_StateInit(&s, &g);
  ASSERT_NE(goalnet_HitApply(&s, 1, 0, a, b, 70.0f), 0);
  s.oHit.uFlags = 2;
  goalnet_Animate(&s, 0.2f);
  for (size_t i = 0; i < s.aVertices.size(); ++i)
    if (g.aRecords[i].fWeight == 0.0f) {
      ASSERT_EQ(s.aVertices[i].z, g.aRest[i].z) << i;
    }
  // The ripple is capped at 25 and its images cancel on the reflection lines
  // where they pair up: far smaller there than at the hit.
  NetHit h = s.oHit;
  h.fStrength = 70;
  NetHit capped = h;
  capped.fStrength = 25;
  EXPECT_EQ(goalnet_fRipple(g, h, 2.0f, 1.0f, 0.5f), goalnet_fRipple(g, capped, 2.0f, 1.0f, 0.5f));
  for (float t : {0.3f, 0.6f, 1.0f}) {
    float inner = 0, edge = 0;
    for (float v = 0.2f; v < g.fProfileLength; v += 0.2f) {
      inner = std::max(inner, std::fabs(goalnet_fRipple(g, h, h.fU, v, t)));
      edge = std::max(edge, std::fabs(goalnet_fRipple(g, h, -g.fSideDepth, v, t)));
    }
    for (float u = -g.fSideDepth; u < g.oParams.fWidth + g.fSideDepth; u += 0.2f)
      edge = std::max(edge, std::fabs(goalnet_fRipple(g, h, u, 0.0f, t)));
    EXPECT_LT(edge, inner * 0.35f) << t;
  }
}

TEST(GoalNets, SideHitsBulgeTheSideTheBallWentThrough) {
  NetGeometry g;
  netgeom_Build(&g, goals_ParamsGet(1, false));
  // Goals as placed: at -x turned three quarters, at +x turned a quarter.
  for (bool plusX : {false, true}) {
    QMathMatrix m, inv;
    QMathMatrixIdentity(&m);
    QMathMatrixSetRotateY(&m, plusX ? 16384 : 49152);
    const QMathVec3 pos{plusX ? 59.4367f : -59.4367f, 0, 0};
    QMathMatrixSetTranslation(&m, &pos);
    QMathMatrixInvertRigid(&inv, &m);
    // The ball comes in from the pitch's +z, low, into the side netting.
    const float gx = plusX ? 60.3f : -60.3f;
    const QMathVec3 worldA{gx, 0.5f, 6.0f}, worldB{gx, 0.5f, 2.0f};
    QMathVec3 a, b;
    QMathMatrixTransformPoint(&inv, &a, &worldA);
    QMathMatrixTransformPoint(&inv, &b, &worldB);
    const int32_t enginePanel = 4;  // the engine's side at +z
    NetState s;
    goalnet_StateInit(&s, &g);
    ASSERT_NE(goalnet_HitApply(&s, goalnet_iPanelForGoal(enginePanel, plusX), 1, a, b, 40.0f), 0) << plusX;
    QMathVec3 w;
    QMathMatrixTransformPoint(&m, &w, &s.oHit.oPoint);
    EXPECT_NEAR(w.z, 3.6576f, 1e-3) << plusX;
    // Unmapped, the +x goal would test its far side and miss.
    if (plusX) {
      NetState wrong;
      goalnet_StateInit(&wrong, &g);
      EXPECT_EQ(goalnet_HitApply(&wrong, enginePanel, 1, a, b, 40.0f), 0);
    }
  }
}
