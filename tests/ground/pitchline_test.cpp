#include <gtest/gtest.h>

#include <cmath>

#include "framework/math/qmatrix.h"
#include "scene3d/pitchline.h"

namespace {

constexpr float kYard = 0.9144f;

QMathVec3 World(const PitchLineMesh& m, uint32_t i) {
  QMathVec3 out;
  QMathMatrixTransformPoint(&m.oMatrix, &out, &m.oVertices.pVertices[i]);
  return out;
}

}  // namespace

TEST(PitchLines, StraightMarkingsHaveTheirMeasures) {
  PitchMarkings pm;
  pitch_MarkingsBuild(&pm);
  const float* e = &pitch_afEndVertices[0][0];
  auto X = [&](int i) { return e[2 * i]; };
  auto Z = [&](int i) { return e[2 * i + 1]; };
  // Lines are 3.5 inches wide and lie inside the measured position.
  EXPECT_NEAR(X(1) - X(0), kPitchLineWidth, 1e-4);
  EXPECT_NEAR(Z(4) - Z(6), kPitchLineWidth, 1e-4);
  EXPECT_NEAR(X(5) - X(7), kPitchLineWidth, 1e-4);
  EXPECT_NEAR(pitch_afBoundaryVertices[5][0] - pitch_afBoundaryVertices[4][0], kPitchLineWidth, 1e-4);
  // Penalty area 18 by 44 yards, goal area 6 by 20, the spot 12 yards out.
  EXPECT_NEAR(X(5) - X(0), 18 * kYard, 1e-3);
  EXPECT_NEAR(Z(4) - Z(10), 44 * kYard, 1e-3);
  EXPECT_NEAR(X(13) - X(0), 6 * kYard, 1e-3);
  EXPECT_NEAR(Z(12) - Z(18), 20 * kYard, 1e-3);
  EXPECT_NEAR((X(20) + X(21)) / 2 - X(0), 12 * kYard, 1e-3);
  // The far end is the near end turned half a turn.
  for (uint32_t i = 0; i < 24; ++i) {
    const QMathVec3 a = World(pm.oEndNear, i), b = World(pm.oEndFar, i);
    EXPECT_NEAR(a.x, -b.x, 1e-3);
    EXPECT_NEAR(a.z, -b.z, 1e-3);
  }
  // Texels: line square everywhere but the spot.
  for (uint32_t q = 0; q < pm.oEndNear.oQuads.uCount; ++q) {
    const Q3DTexel t = pm.oEndNear.oQuads.pQuads[q].aTexel[0];
    EXPECT_FLOAT_EQ(t.u, q == 7 ? 33.0f / 64 : 1.0f / 64) << q;
    EXPECT_FLOAT_EQ(pm.oEndNear.oQuads.pQuads[q].aTexel[2].v, 30.0f / 64) << q;
  }
  EXPECT_EQ(pm.oBoundary.oQuads.uCount, 3u);
  EXPECT_EQ(pm.oBoundary.oEdges.uCount, 3u);
  EXPECT_EQ(pm.oEndNear.oEdges.uCount, 7u);
}

TEST(PitchLines, CurvesMeetTheLinesAndCloseTheirRings) {
  PitchMarkings pm;
  pitch_MarkingsBuild(&pm);
  const float front = pitch_afEndVertices[5][0];  // outer edge of the area's front line
  for (int lvl = 0; lvl < 3; ++lvl) {
    for (const PitchLineMesh* arc : {&pm.aPenaltyNear[lvl], &pm.aPenaltyFar[lvl]}) {
      const uint32_t half = arc->oVertices.uCount / 2;
      EXPECT_EQ(arc->oQuads.uCount, half - 1);
      for (uint32_t end : {0u, half - 1}) {
        const QMathVec3 p = World(*arc, end);
        EXPECT_NEAR(std::fabs(p.x), std::fabs(front), kPitchLineWidth) << lvl;
        EXPECT_LT(std::fabs(p.z), pitch_afEndVertices[4][1]) << lvl;
      }
      // Every point of the arc lies outside the penalty area, toward the centre.
      for (uint32_t i = 0; i < arc->oVertices.uCount; ++i)
        EXPECT_LE(std::fabs(World(*arc, i).x), std::fabs(front) + kPitchLineWidth) << lvl << " " << i;
    }
    // The centre circle: its last band quad joins the last ring point to the first.
    const PitchLineMesh& c = pm.aCircle[lvl];
    const uint32_t half = (c.oVertices.uCount - 4) / 2;
    const Q3DQuad& last = c.oQuads.pQuads[half - 1];
    EXPECT_EQ(last.auIndex[0], half - 1);
    EXPECT_EQ(last.auIndex[1], 0u);
    EXPECT_EQ(last.auIndex[2], half);
    EXPECT_EQ(c.oEdges.pEdges[half - 1][1], 0u);
    EXPECT_EQ(c.oQuads.uCount, half + 1);
    EXPECT_FLOAT_EQ(c.oQuads.pQuads[half].aTexel[0].u, 33.0f / 64);
    // Consecutive ring points are equally apart, the closing step too.
    const QMathVec3* v = c.oVertices.pVertices;
    const float step = std::hypot(v[1].x - v[0].x, v[1].z - v[0].z);
    EXPECT_NEAR(std::hypot(v[0].x - v[half - 1].x, v[0].z - v[half - 1].z), step, 1e-4) << lvl;
  }
  // Corner arcs lie inside the pitch and end on its two lines.
  for (int k = 0; k < 4; ++k) {
    const PitchLineMesh& a = pm.aCorner[k];
    for (uint32_t i = 0; i < a.oVertices.uCount; ++i) {
      const QMathVec3 p = World(a, i);
      EXPECT_LE(std::fabs(p.x), kPitchHalfLength - kPitchLineWidth + 1e-3f) << k << " " << i;
      EXPECT_LE(std::fabs(p.z), kPitchHalfWidth - kPitchLineWidth + 1e-3f) << k << " " << i;
    }
    const QMathVec3 s = World(a, 0), e = World(a, 4);
    const bool sOnEnd = std::fabs(std::fabs(s.x) - 59.34782f) < 1e-3f, eOnEnd = std::fabs(std::fabs(e.x) - 59.34782f) < 1e-3f;
    const bool sOnSide = std::fabs(std::fabs(s.z) - 36.487545f) < 1e-3f, eOnSide = std::fabs(std::fabs(e.z) - 36.487545f) < 1e-3f;
    EXPECT_TRUE((sOnEnd && eOnSide) || (sOnSide && eOnEnd)) << k;
  }
}

TEST(PitchLines, DetailLevelsByDepth) {
  const struct {
    float depth;
    int32_t level;
  } cases[] = {{-5, 0}, {0, 0}, {39.99f, 0}, {40, 1}, {59.99f, 1}, {60, 2}, {999, 2}, {1000, 2}, {1e6f, 2}};
  for (const auto& c : cases) EXPECT_EQ(pitch_iDetailLevel(c.depth), c.level) << c.depth;
}
