// Outcodes, the box test, the two vertex transforms and the line clipper,
// against a plain double-precision model over seeded random cases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "framework/math/qmatrix.h"
#include "framework/qdx_mem.h"
#include "render3d/q3d_camera.h"
#include "render3d/q3d_transform.h"

namespace {

struct D4 {
  double x, y, z, w;
};

// The reference: object (3 x 3 + fourth row) times a camera matrix, in doubles.
D4 Ref(const QMathMatrix* obj, const QMathMatrix& cam, const QMathVec3& p) {
  double q[3] = {p.x, p.y, p.z};
  if (obj) {
    double r[3];
    for (int j = 0; j < 3; ++j) r[j] = q[0] * obj->m[j] + q[1] * obj->m[4 + j] + q[2] * obj->m[8 + j] + obj->m[12 + j];
    q[0] = r[0];
    q[1] = r[1];
    q[2] = r[2];
  }
  double o[4];
  for (int j = 0; j < 4; ++j) o[j] = q[0] * cam.m[j] + q[1] * cam.m[4 + j] + q[2] * cam.m[8 + j] + cam.m[12 + j];
  return D4{o[0], o[1], o[2], o[3]};
}

uint32_t RefCode(const D4& c) {
  uint32_t k = 0;
  if (c.x < 0) k |= 1;
  if (c.w - c.x < 0) k |= 2;
  if (c.y < 0) k |= 4;
  if (c.w - c.y < 0) k |= 8;
  if (c.z < 0) k |= 16;
  if (c.w - c.z < 0) k |= 32;
  return k;
}

// A camera looking along a random direction from a random point.
void RandomCamera(std::mt19937* rng, Q3DCamera* c) {
  std::uniform_int_distribution<int> angle(0, 65535);
  std::uniform_real_distribution<float> pos(-50.0f, 50.0f);
  QMathMatrix world, tilt;
  QMathMatrixIdentity(&world);
  QMathMatrixIdentity(&tilt);
  QMathMatrixSetRotateY(&world, angle(*rng));
  QMathMatrixSetRotateX(&tilt, angle(*rng) / 8);
  QMathMatrixMultiply(&world, &tilt, &world);
  world.m[12] = pos(*rng);
  world.m[13] = pos(*rng) * 0.2f;
  world.m[14] = pos(*rng);
  QMathMatrixInvertRigid(&c->mView, &world);
  c->uFov = static_cast<uint16_t>(4000 + angle(*rng) % 8000);
  c->fNear = 3.0f;
  c->fFar = 400.0f;
  c->uChanged = Q3DCAM_VIEW | Q3DCAM_FOV;
  Q3DCameraUpdate(c);
}

void RandomObject(std::mt19937* rng, QMathMatrix* m) {
  std::uniform_int_distribution<int> angle(0, 65535);
  std::uniform_real_distribution<float> pos(-30.0f, 30.0f);
  QMathMatrixIdentity(m);
  QMathMatrixSetRotateY(m, angle(*rng));
  m->m[12] = pos(*rng);
  m->m[13] = pos(*rng) * 0.1f;
  m->m[14] = pos(*rng);
  m->m[3] = 5.0f;  // the fourth column is never read
  m->m[7] = -2.0f;
}

TEST(Outcode, SignBitsOfEveryPlane) {
  struct Case {
    float x, y, z, w;
    uint32_t code;
  } cases[] = {
      {0.5f, 0.5f, 0.5f, 1.0f, 0},  {0.0f, 0.0f, 0.0f, 1.0f, 0},   {1.0f, 1.0f, 1.0f, 1.0f, 0},
      {-0.0f, 0.5f, 0.5f, 1.0f, 1}, {0.5f, -0.0f, 0.5f, 1.0f, 4},  {0.5f, 0.5f, -0.0f, 1.0f, 16},
      {-1.0f, 0.5f, 0.5f, 1.0f, 1}, {2.0f, 0.5f, 0.5f, 1.0f, 2},   {0.5f, -1.0f, 0.5f, 1.0f, 4},
      {0.5f, 2.0f, 0.5f, 1.0f, 8},  {0.5f, 0.5f, -1.0f, 1.0f, 16}, {0.5f, 0.5f, 2.0f, 1.0f, 32},
      {-1.0f, -1.0f, -1.0f, 1.0f, 21}, {2.0f, 2.0f, 2.0f, 1.0f, 42},
      // w - x is +0.0 on the plane (inside), and a point at w = 0 is inside only at the origin.
      {1.0f, 0.0f, 0.0f, 1.0f, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Q3DOutcode(c.x, c.y, c.z, c.w), c.code) << c.x << " " << c.y << " " << c.z;
}

TEST(BoxTest, WorkedCases) {
  Q3DCamera c;  // at the origin looking along +z, near 2, far 1000
  Q3DCameraUpdate(&c);
  auto box = [](float x0, float y0, float z0, float x1, float y1, float z1, Q3DBounds* b) {
    const QMathVec3 pts[2] = {{x0, y0, z0}, {x1, y1, z1}};
    Q3DBoundsFromPoints(b, pts, 2);
  };
  Q3DBounds b;
  box(-1, -1, -10, 1, 1, -5, &b);  // wholly behind the camera
  EXPECT_EQ(model_iBoxOutcodes(b.aCorner, nullptr, &c), -1);
  box(-1, -1, 10, 1, 1, 20, &b);  // wholly inside
  EXPECT_EQ(model_iBoxOutcodes(b.aCorner, nullptr, &c), 0);
  box(-30, -1, 10, 1, 1, 20, &b);  // straddles the left edge
  const int32_t r = model_iBoxOutcodes(b.aCorner, nullptr, &c);
  EXPECT_NE(r, -1);
  EXPECT_TRUE(r & 1);
  EXPECT_FALSE(r & 2);
  // The same box moved by an object matrix.
  QMathMatrix m;
  QMathMatrixIdentity(&m);
  m.m[14] = -100.0f;
  box(-1, -1, 10, 1, 1, 20, &b);
  EXPECT_EQ(model_iBoxOutcodes(b.aCorner, &m, &c), -1);
}

TEST(Bounds, FromPointsAndCorners) {
  Q3DBounds b{};
  const QMathVec3 one{1.5f, -2.0f, 3.0f};
  Q3DBoundsFromPoints(&b, &one, 1);
  EXPECT_EQ(b.oMin.x, 1.5f);
  EXPECT_EQ(b.oMax.z, 3.0f);
  EXPECT_EQ(b.fRadius, 0.0f);
  EXPECT_EQ(b.bStale, 0u);
  const QMathVec3 pts[3] = {{0, 5, 1}, {-2, 0, 4}, {3, 1, -1}};
  Q3DBoundsFromPoints(&b, pts, 3);
  EXPECT_EQ(b.oMin.x, -2.0f);
  EXPECT_EQ(b.oMin.y, 0.0f);
  EXPECT_EQ(b.oMin.z, -1.0f);
  EXPECT_EQ(b.oMax.x, 3.0f);
  EXPECT_EQ(b.oMax.y, 5.0f);
  EXPECT_EQ(b.oMax.z, 4.0f);
  EXPECT_FLOAT_EQ(b.fRadius, 0.5f * std::sqrt(25.0f + 25.0f + 25.0f));
  // Corner order: (x0 y0 z0) (x0 y1 z0) (x1 y1 z0) (x1 y0 z0), then z1.
  EXPECT_EQ(b.aCorner[1].y, 5.0f);
  EXPECT_EQ(b.aCorner[2].x, 3.0f);
  EXPECT_EQ(b.aCorner[3].y, 0.0f);
  EXPECT_EQ(b.aCorner[6].z, 4.0f);
  EXPECT_EQ(b.aCorner[7].x, 3.0f);
  // Count 0: min and max to zero, nothing else.
  b.fRadius = 9.0f;
  Q3DBoundsFromPoints(&b, pts, 0);
  EXPECT_EQ(b.oMax.y, 0.0f);
  EXPECT_EQ(b.fRadius, 9.0f);
  // A stale flag rebuilds the corners.
  b.oMin = {1, 1, 1};
  b.oMax = {2, 2, 2};
  b.bStale = 1;
  Q3DBoundsCornersUpdate(&b);
  EXPECT_EQ(b.aCorner[0].x, 1.0f);
  EXPECT_EQ(b.aCorner[6].x, 2.0f);
  EXPECT_EQ(b.bStale, 0u);
}

TEST(Transforms, MatchTheReferenceOverRandomCases) {
  std::mt19937 rng(1234);
  std::uniform_real_distribution<float> coord(-40.0f, 40.0f);
  for (int round = 0; round < 200; ++round) {
    Q3DCamera cam;
    RandomCamera(&rng, &cam);
    QMathMatrix obj;
    RandomObject(&rng, &obj);
    QMathVec3 pts[8];
    for (QMathVec3& p : pts) p = {coord(rng), coord(rng) * 0.2f, coord(rng)};
    Q3DVertexList vl;
    vl.pVertices = pts;
    vl.uCount = 8;

    // Box test over the same eight points as corners.
    uint32_t any = 0, all = 63;
    for (const QMathVec3& p : pts) {
      const uint32_t k = RefCode(Ref(&obj, cam.mViewProj, p));
      any |= k;
      all &= k;
    }
    const int32_t box = model_iBoxOutcodes(pts, &obj, &cam);
    EXPECT_EQ(box, all ? -1 : static_cast<int32_t>(any)) << "round " << round;

    ASSERT_EQ(Q3DVertexListClipTransform(&vl, 0, 8, &obj, &cam), 0u);
    EXPECT_EQ(vl.uState & 3u, 2u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(vl.pClip) % 32, 0u);
    for (int i = 0; i < 8; ++i) {
      const D4 r = Ref(&obj, cam.mViewProj, pts[i]);
      const double tol = 1e-4 * (1.0 + std::fabs(r.w));
      EXPECT_NEAR(vl.pClip[i].x, r.x, tol);
      EXPECT_NEAR(vl.pClip[i].w, r.w, tol);
      const Q3DClipCoord& cc = vl.pClip[i];
      EXPECT_EQ(vl.pOutcodes[i], Q3DOutcode(cc.x, cc.y, cc.z, cc.w));
      // Away from the planes the float outcode is the reference's.
      const double margin = 1e-3 * (1.0 + std::fabs(r.w));
      if (std::fabs(r.x) > margin && std::fabs(r.w - r.x) > margin && std::fabs(r.y) > margin &&
          std::fabs(r.w - r.y) > margin && std::fabs(r.z) > margin && std::fabs(r.w - r.z) > margin) {
        EXPECT_EQ(vl.pOutcodes[i], RefCode(r));
      }
      if (vl.pOutcodes[i] == 0) {
        const D4 s = Ref(&obj, cam.mScreen, pts[i]);
        EXPECT_NEAR(vl.pScreen[i].x, s.x / s.w, 2e-2);
        EXPECT_NEAR(vl.pScreen[i].y, s.y / s.w, 2e-2);
        EXPECT_NEAR(vl.pScreen[i].z, r.z / r.w, 1e-4);
        EXPECT_NEAR(vl.pScreen[i].rhw, 1.0 / r.w, 1e-5 / std::fabs(r.w) + 1e-7);
      }
    }

    ASSERT_EQ(Q3DVertexListProject(&vl, 0, 8, &obj, &cam), 0u);
    EXPECT_EQ(vl.uState & 3u, 1u);
    for (int i = 0; i < 8; ++i) {
      const D4 s = Ref(&obj, cam.mScreen, pts[i]);
      if (std::fabs(s.w) < 0.5) continue;  // near the eye plane the quotient is ill-conditioned
      EXPECT_NEAR(vl.pScreen[i].x, s.x / s.w, 2e-2 * (1.0 + std::fabs(s.x / s.w) * 1e-3));
      EXPECT_NEAR(vl.pScreen[i].rhw, 1.0 / s.w, 1e-4);
    }
    Q3DVertexListRelease(&vl);
  }
}

TEST(Transforms, ArraysGrowAndNeverShrink) {
  Q3DCamera cam;
  Q3DCameraUpdate(&cam);
  QMathVec3 pts[40];
  for (int i = 0; i < 40; ++i) pts[i] = {static_cast<float>(i), 0.0f, 10.0f};
  Q3DVertexList vl;
  EXPECT_EQ(vl.pScreen, nullptr);
  EXPECT_EQ(vl.uScreenCapacity, 0u);
  EXPECT_EQ(vl.pClip, nullptr);
  EXPECT_EQ(vl.pOutcodes, nullptr);
  vl.pVertices = pts;
  vl.uCount = 4;
  Q3DVertexListClipTransform(&vl, 0, 4, nullptr, &cam);
  EXPECT_EQ(vl.uClipCapacity, 4u);
  const Q3DClipCoord first = vl.pClip[3];
  vl.uCount = 40;
  Q3DVertexListClipTransform(&vl, 10, 5, nullptr, &cam);  // a run inside a larger list
  EXPECT_EQ(vl.uClipCapacity, 40u);
  EXPECT_EQ(vl.uOutcodeCapacity, 40u);
  EXPECT_EQ(vl.pClip[3].x, first.x);  // the old elements were carried over
  EXPECT_EQ(reinterpret_cast<uintptr_t>(vl.pScreen) % 32, 0u);
  vl.uCount = 2;
  Q3DVertexListProject(&vl, 0, 2, nullptr, &cam);
  EXPECT_EQ(vl.uScreenCapacity, 40u);
  // A run past the end of the list stops at its end.
  vl.uCount = 3;
  Q3DVertexListProject(&vl, 1, 100, nullptr, &cam);
  EXPECT_NEAR(vl.pScreen[2].x, 320.0f + 2.0f * 320.0f / 10.0f * (std::cos(4824 * 2 * M_PI / 65536.0) /
                                                                       std::sin(4824 * 2 * M_PI / 65536.0)),
              0.5f);
  Q3DVertexListRelease(&vl);
  EXPECT_EQ(vl.pScreen, nullptr);
  EXPECT_EQ(vl.uScreenCapacity, 0u);
}

// The reference clipper: parametric clipping of a segment in doubles.
bool RefClip(D4 a, D4 b, D4* oa, D4* ob) {
  double t0 = 0.0, t1 = 1.0;
  auto d = [](const D4& p, int plane) {
    switch (plane) {
      case 0: return p.x;
      case 1: return p.w - p.x;
      case 2: return p.y;
      case 3: return p.w - p.y;
      case 4: return p.z;
      default: return p.w - p.z;
    }
  };
  for (int pl = 0; pl < 6; ++pl) {
    const double da = d(a, pl), db = d(b, pl);
    if (da < 0 && db < 0) return false;
    if (da < 0) t0 = std::max(t0, da / (da - db));
    if (db < 0) t1 = std::min(t1, da / (da - db));
  }
  if (t0 > t1) return false;
  auto at = [&](double t) { return D4{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z), a.w + t * (b.w - a.w)}; };
  *oa = at(t0);
  *ob = at(t1);
  return true;
}

TEST(LineProject, WorkedCases) {
  Q3DCamera c;
  Q3DCameraUpdate(&c);
  Q3DLine line;
  // One end behind the near plane: the visible end point lies at depth 0.
  QMathVec3 a{0.0f, 0.0f, 10.0f}, b{0.5f, 0.2f, -5.0f};
  const int32_t r = Q3DLineProject(&line, &a, &b, &c);
  EXPECT_EQ(line.uOutcodeA, 0u);
  EXPECT_TRUE(line.uOutcodeB & 16u);
  EXPECT_EQ(static_cast<uint32_t>(r), line.uOutcodeB);
  const Q3DClipVertex& v = q3dClipContext.pOut[1];
  EXPECT_NEAR(v.af[2], 0.0f, 1e-5);
  EXPECT_EQ(v.auColour[0], 0xFFFFFFFFu);
  EXPECT_NEAR(line.afA[0], 319.9995f, 1e-3);
  // Both ends beyond the right edge: -1 without clipping.
  QMathVec3 c1{100.0f, 0.0f, 10.0f}, c2{200.0f, 1.0f, 20.0f};
  q3dClipContext.uPlaneMask = 0xABCD;
  EXPECT_EQ(Q3DLineProject(&line, &c1, &c2, &c), -1);
  EXPECT_EQ(q3dClipContext.uPlaneMask, 0xABCDu);
  // Wholly inside: 0, both screen points stored.
  QMathVec3 d1{0.0f, 0.0f, 10.0f}, d2{1.0f, 1.0f, 20.0f};
  EXPECT_EQ(Q3DLineProject(&line, &d1, &d2, &c), 0);
}

TEST(LineClip, MinusZeroAgainstPlusZeroGivesTheEndPoint) {
  Q3DClipContext& k = q3dClipContext;
  k.uPlaneMask = 1;
  k.uCount = 2;
  k.uFloats = 4;
  k.pIn = k.aBuffer0;
  k.pOut = k.aBuffer1;
  k.aBuffer0[0] = Q3DClipVertex{{-0.0f, 0.3f, 0.5f, 1.0f}, {1, 2}};
  k.aBuffer0[1] = Q3DClipVertex{{0.0f, 0.6f, 0.5f, 1.0f}, {3, 4}};
  Q3DLineClip();
  ASSERT_EQ(k.uCount, 2u);
  EXPECT_EQ(k.pOut, k.aBuffer1);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(std::isnan(k.pOut[0].af[i]));
  EXPECT_EQ(k.pOut[0].af[1], 0.3f);
  EXPECT_EQ(k.pOut[0].auColour[0], 0xFFFFFFFFu);
  EXPECT_EQ(k.pOut[1].auColour[0], 3u);
  // Two planes: the result is in the buffer the second one wrote (the first).
  k.uPlaneMask = 1 | 2;
  k.uCount = 2;
  k.pIn = k.aBuffer0;
  k.pOut = k.aBuffer1;
  k.aBuffer0[0] = Q3DClipVertex{{-1.0f, 0.5f, 0.5f, 1.0f}, {0, 0}};
  k.aBuffer0[1] = Q3DClipVertex{{3.0f, 0.5f, 0.5f, 1.0f}, {0, 0}};
  Q3DLineClip();
  ASSERT_EQ(k.uCount, 2u);
  EXPECT_EQ(k.pOut, k.aBuffer0);
  EXPECT_FLOAT_EQ(k.pOut[0].af[0], 0.0f);
  EXPECT_FLOAT_EQ(k.pOut[1].af[0], 1.0f);
}

TEST(LineProject, MatchesTheReferenceOverRandomSegments) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> coord(-60.0f, 60.0f);
  int clipped = 0;
  for (int round = 0; round < 2000; ++round) {
    Q3DCamera cam;
    if (round % 50 == 0 || round == 0) RandomCamera(&rng, &cam);
    RandomCamera(&rng, &cam);
    QMathVec3 a{coord(rng), coord(rng) * 0.3f, coord(rng)}, b{coord(rng), coord(rng) * 0.3f, coord(rng)};
    Q3DLine line;
    const int32_t r = Q3DLineProject(&line, &a, &b, &cam);
    const D4 ra = Ref(nullptr, cam.mViewProj, a), rb = Ref(nullptr, cam.mViewProj, b);
    const uint32_t ka = RefCode(ra), kb = RefCode(rb);
    D4 ca, cb;
    const bool visible = RefClip(ra, rb, &ca, &cb);
    if (ka & kb) {
      EXPECT_EQ(r, -1);
      continue;
    }
    if (r == -1) {
      // Our clipper may drop a segment that only grazes the volume.
      if (visible) {
        const double len = std::fabs(ca.x / ca.w - cb.x / cb.w) + std::fabs(ca.y / ca.w - cb.y / cb.w);
        EXPECT_LT(len, 1e-3) << "round " << round;
      }
      continue;
    }
    ASSERT_TRUE(visible) << "round " << round;
    EXPECT_EQ(static_cast<uint32_t>(r), line.uOutcodeA | line.uOutcodeB);
    if (r == 0) continue;
    ++clipped;
    const float* S = cam.mViewport.m;
    auto sx = [&](const D4& p) { return (p.x * S[0] + p.w * S[12]) / p.w; };
    auto sy = [&](const D4& p) { return (p.y * S[5] + p.w * S[13]) / p.w; };
    EXPECT_NEAR(line.afA[0], sx(ca), 0.05) << "round " << round;
    EXPECT_NEAR(line.afA[1], sy(ca), 0.05);
    EXPECT_NEAR(line.afB[0], sx(cb), 0.05);
    EXPECT_NEAR(line.afB[1], sy(cb), 0.05);
  }
  EXPECT_GT(clipped, 100);
}

}  // namespace
